// Tests of cutting lobby chat messages with a fixed-width metric: every byte
// is 1/64 of the screen wide, so a box 10/64 wide takes 10 bytes a piece.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menus/chat_lines.h"

namespace {

using Pieces = std::vector<std::string>;

constexpr float kByte = 1.0f / 64;
constexpr float kTen = 10 * kByte;

float FixedWidth(const char*, int len) { return kByte * float(len); }

Pieces Cut(const char* text, float width = kTen, const char* name = nullptr) {
  return lobby::CutChatMessage(name, text, width, &FixedWidth);
}

}  // namespace

TEST(LobbyChat, PiecesFillTheWidthAndTheNameNarrowsIt) {
  EXPECT_EQ(Cut("0123456789abc"), (Pieces{"0123456789", "abc"}));
  EXPECT_EQ(Cut("short"), Pieces{"short"});
  // "AB" is two bytes wide: eight bytes remain for each piece.
  EXPECT_EQ(Cut("0123456789", kTen, "AB"), (Pieces{"01234567", "89"}));
  // An empty name narrows nothing.
  EXPECT_EQ(Cut("0123456789", kTen, ""), Pieces{"0123456789"});
}

TEST(LobbyChat, EmptyTextMakesNoPiece) {
  EXPECT_TRUE(Cut("").empty());
  EXPECT_TRUE(Cut(nullptr).empty());
}

TEST(LobbyChat, APieceLosesALeadingBlankCommaOrFullStop) {
  EXPECT_EQ(Cut("0123456789 next"), (Pieces{"0123456789", "next"}));
  EXPECT_EQ(Cut("0123456789,next"), (Pieces{"0123456789", "next"}));
  EXPECT_EQ(Cut("0123456789.next"), (Pieces{"0123456789", "next"}));
  EXPECT_EQ(Cut(" first"), Pieces{"first"});
  // Only one character goes.
  EXPECT_EQ(Cut("0123456789  x"), (Pieces{"0123456789", " x"}));
}

TEST(LobbyChat, DoubleByteCharactersAreNeverCut) {
  // The ninth byte leaves the piece narrower than the box: the pair goes in whole.
  EXPECT_EQ(Cut("012345678\xB0\xA1z"), (Pieces{"012345678\xB0\xA1", "z"}));
  EXPECT_EQ(Cut("\xB0\xA1\xB0\xA1\xB0\xA1", 3 * kByte), (Pieces{"\xB0\xA1\xB0\xA1", "\xB0\xA1"}));
  // A lead byte at the end has no partner and goes alone.
  EXPECT_EQ(Cut("ab\xB0"), Pieces{"ab\xB0"});
}

TEST(LobbyChat, APieceHoldsAtMost499Bytes) {
  const std::string long_text(1200, 'a');
  const Pieces pieces = Cut(long_text.c_str(), 1000.0f);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].size(), 499u);
  EXPECT_EQ(pieces[1].size(), 499u);
  EXPECT_EQ(pieces[2].size(), 202u);
  // A pair that would pass the limit starts the next piece.
  const std::string pair_at_end = std::string(498, 'a') + "\xB0\xA1" + "b";
  EXPECT_EQ(Cut(pair_at_end.c_str(), 1000.0f), (Pieces{std::string(498, 'a'), "\xB0\xA1" "b"}));
}

TEST(LobbyChat, ABoxTooNarrowStillTakesOneCharacterAPiece) {
  EXPECT_EQ(Cut("abc", 0.0f), (Pieces{"a", "b", "c"}));
  EXPECT_EQ(Cut("a\xB0\xA1", -1.0f), (Pieces{"a", "\xB0\xA1"}));
}
