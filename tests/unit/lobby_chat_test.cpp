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

}  // namespace

// Pieces fill the width, a name narrows it; a piece loses one leading blank,
// comma or full stop; double-byte pairs are never cut; a box too narrow still
// takes one character a piece; a piece holds at most 499 bytes.
TEST(LobbyChat, PiecesOfMessages) {
  const std::string a498(498, 'a');
  const struct {
    std::string text;
    float width;
    const char* name;
    Pieces pieces;
  } kCases[] = {
      {"0123456789abc", kTen, nullptr, {"0123456789", "abc"}},
      {"short", kTen, nullptr, {"short"}},
      {"0123456789", kTen, "AB", {"01234567", "89"}},
      {"0123456789", kTen, "", {"0123456789"}},
      {"", kTen, nullptr, {}},
      {"0123456789 next", kTen, nullptr, {"0123456789", "next"}},
      {"0123456789,next", kTen, nullptr, {"0123456789", "next"}},
      {"0123456789.next", kTen, nullptr, {"0123456789", "next"}},
      {" first", kTen, nullptr, {"first"}},
      {"0123456789  x", kTen, nullptr, {"0123456789", " x"}},
      {"012345678\xB0\xA1z", kTen, nullptr, {"012345678\xB0\xA1", "z"}},
      {"\xB0\xA1\xB0\xA1\xB0\xA1", 3 * kByte, nullptr, {"\xB0\xA1\xB0\xA1", "\xB0\xA1"}},
      {"ab\xB0", kTen, nullptr, {"ab\xB0"}},
      {"abc", 0.0f, nullptr, {"a", "b", "c"}},
      {"a\xB0\xA1", -1.0f, nullptr, {"a", "\xB0\xA1"}},
      {std::string(1200, 'a'), 1000.0f, nullptr, {std::string(499, 'a'), std::string(499, 'a'), std::string(202, 'a')}},
      {a498 + "\xB0\xA1" + "b", 1000.0f, nullptr, {a498, "\xB0\xA1" "b"}},   // the pair starts the next piece
  };
  for (const auto& c : kCases)
    EXPECT_EQ(lobby::CutChatMessage(c.name, c.text.c_str(), c.width, &FixedWidth), c.pieces) << c.text;
  EXPECT_TRUE(lobby::CutChatMessage(nullptr, nullptr, kTen, &FixedWidth).empty());
}
