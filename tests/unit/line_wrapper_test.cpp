// Tests of the line wrapper with a fixed-width metric: every byte is 1/64 of
// the screen wide (exact in binary), so a list 10/64 wide takes 10 bytes a row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menus/line_wrapper.h"
#include "runtime/list.h"

namespace {

using Rows = std::vector<std::string>;

constexpr float kByte = 1.0f / 64;
constexpr float kTen = 10 * kByte;

float FixedWidth(const char*, int len) { return kByte * float(len); }

Rows Wrap(const char* text, float width = kTen, const char* name = nullptr) {
  return WrapText(name, text, width, &FixedWidth);
}

}  // namespace

// ---- Rows that fit, line ends --------------------------------------------------------------

TEST(LineWrapper, TextThatFitsIsOneRow) {
  EXPECT_EQ(Wrap("all fits"), Rows{"all fits"});
  EXPECT_EQ(Wrap("0123456789"), Rows{"0123456789"});
  EXPECT_EQ(Wrap(""), Rows{""});
  EXPECT_EQ(Wrap(nullptr), Rows{""});
}

TEST(LineWrapper, LineFeedsAndCarriageReturnsStartNewRows) {
  EXPECT_EQ(Wrap("ab\ncd"), (Rows{"ab", "cd"}));
  EXPECT_EQ(Wrap("ab\rcd"), (Rows{"ab", "cd"}));
  EXPECT_EQ(Wrap("ab\r\ncd"), (Rows{"ab", "cd"}));
  EXPECT_EQ(Wrap("ab\n\ncd"), (Rows{"ab", "", "cd"}));
  // A final line end adds no empty row.
  EXPECT_EQ(Wrap("ab\n"), Rows{"ab"});
}

// ---- Breaking long rows ----------------------------------------------------------------------

TEST(LineWrapper, BreaksAtABlankFewerThanFiveCharactersBack) {
  // "abcdefg hi" fills 10; 'j' overflows with the blank 3 characters back.
  EXPECT_EQ(Wrap("abcdefg hij"), (Rows{"abcdefg", "hij"}));
  // Blank 4 characters back still breaks there.
  EXPECT_EQ(Wrap("abcdef ghij"), (Rows{"abcdef", "ghij"}));
  // A blank that itself overflows ends the row and is dropped.
  EXPECT_EQ(Wrap("0123456789 next"), (Rows{"0123456789", "next"}));
  // Control characters are break points too.
  EXPECT_EQ(Wrap("abcdefg\thij"), (Rows{"abcdefg", "hij"}));
}

TEST(LineWrapper, CutsAtTheCharacterWhenTheBlankIsTooFarBack) {
  // Blank 5 characters back: cut right before the overflowing 'k'.
  EXPECT_EQ(Wrap("abcde fghijk"), (Rows{"abcde fghi", "jk"}));
  EXPECT_EQ(Wrap("0123456789abcdefghijXY"), (Rows{"0123456789", "abcdefghij", "XY"}));
}

TEST(LineWrapper, EveryRowTakesAtLeastOneCharacter) {
  EXPECT_EQ(Wrap("abc", kByte / 2), (Rows{"a", "b", "c"}));
}

TEST(LineWrapper, DoubleBytePairsAreNeverSplit) {
  // Nine single bytes, then a pair that would end at byte 11: it moves whole.
  const std::string text = "123456789\xB0\xA1z";
  EXPECT_EQ(Wrap(text.c_str()), (Rows{"123456789", "\xB0\xA1z"}));
  // A lead byte at the very end stands alone.
  EXPECT_EQ(Wrap("ab\xB0"), Rows{"ab\xB0"});
}

// ---- Sender prefix -----------------------------------------------------------------------------

TEST(LineWrapper, PrefixStartsTheFirstRowOnlyAndNarrowsEveryRow) {
  // "Kim : " is 6 wide, leaving 4 per row.
  EXPECT_EQ(Wrap("hello world", kTen, "Kim"), (Rows{"Kim : hell", "o", "worl", "d"}));
  EXPECT_EQ(Wrap("hi", kTen, "Kim"), Rows{"Kim : hi"});
  EXPECT_EQ(Wrap("", kTen, "Kim"), Rows{"Kim : "});
}

// ---- Into a list ---------------------------------------------------------------------------------

TEST(LineWrapper, RowsGoToTheListWithTheColourAsItemData) {
  CGUI_List list;
  const float region[4] = {0, 0, kTen, 0.5f};
  list.SetRegion(region);
  list.AddString("earlier");
  WrapIntoList(&list, "Ann", "one two", 0xFF00FF00u, &FixedWidth);
  ASSERT_EQ(list.GetCount(), 3);
  std::string row;
  list.GetText(1, row);
  EXPECT_EQ(row, "Ann : one");
  list.GetText(2, row);
  EXPECT_EQ(row, "two");
  uint32_t color = 0;
  list.GetItemData(0, color);
  EXPECT_EQ(color, 0u);
  list.GetItemData(1, color);
  EXPECT_EQ(color, 0xFF00FF00u);
  list.GetItemData(2, color);
  EXPECT_EQ(color, 0xFF00FF00u);
}
