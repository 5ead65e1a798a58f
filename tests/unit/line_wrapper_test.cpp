// Tests of the line wrapper and of cutting lobby chat messages, with a
// fixed-width metric: every byte is 1/64 of the screen wide (exact in binary),
// so a list or box 10/64 wide takes 10 bytes a row or piece.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menus/chat_lines.h"
#include "menus/line_wrapper.h"
#include "runtime/list.h"

namespace {

using Rows = std::vector<std::string>;

constexpr float kByte = 1.0f / 64;
constexpr float kTen = 10 * kByte;

float FixedWidth(const char*, int len) { return kByte * float(len); }

}  // namespace

// Rows that fit, line ends (a final one adds no row), breaks at a blank or
// control character fewer than five characters back (a blank that itself
// overflows ends the row and is dropped), cuts at the character otherwise,
// double-byte pairs kept whole, and a sender prefix that starts the first row
// only and narrows every row.
TEST(LineWrapper, RowsOfTexts) {
  const struct {
    const char* text;
    float width;
    const char* name;
    Rows rows;
  } kCases[] = {
      {"all fits", kTen, nullptr, {"all fits"}},
      {"0123456789", kTen, nullptr, {"0123456789"}},
      {"", kTen, nullptr, {""}},
      {nullptr, kTen, nullptr, {""}},
      {"ab\ncd", kTen, nullptr, {"ab", "cd"}},
      {"ab\r\ncd", kTen, nullptr, {"ab", "cd"}},
      {"ab\n", kTen, nullptr, {"ab"}},
      {"abcdef ghij", kTen, nullptr, {"abcdef", "ghij"}},   // 4 back
      {"0123456789 next", kTen, nullptr, {"0123456789", "next"}},
      {"abcdefg\thij", kTen, nullptr, {"abcdefg", "hij"}},
      {"abcde fghijk", kTen, nullptr, {"abcde fghi", "jk"}},   // 5 back: cut before 'k'
      {"abc", kByte / 2, nullptr, {"a", "b", "c"}},   // at least one character a row
      {"123456789\xB0\xA1z", kTen, nullptr, {"123456789", "\xB0\xA1z"}},
      {"ab\xB0", kTen, nullptr, {"ab\xB0"}},   // a lead byte at the end stands alone
      {"hello world", kTen, "Kim", {"Kim : hell", "o", "worl", "d"}},   // "Kim : " leaves 4
      {"", kTen, "Kim", {"Kim : "}},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(WrapText(c.name, c.text, c.width, &FixedWidth), c.rows) << (c.text ? c.text : "null");
}

TEST(LineWrapper, RowsGoToTheListWithTheColourAsItemData) {
  CGUI_List list;
  const float region[4] = {0, 0, kTen, 0.5f};
  list.SetRegion(region);
  list.AddString("earlier");
  WrapIntoList(&list, "Ann", "one two", 0xFF00FF00u, &FixedWidth);
  Rows rows;
  for (int i = 0; i < list.GetCount(); ++i) {
    std::string row;
    uint32_t color = 1;
    list.GetText(i, row);
    list.GetItemData(i, color);
    rows.push_back(row + " " + std::to_string(color));
  }
  EXPECT_EQ(rows, (Rows{"earlier 0", "Ann : one 4278255360", "two 4278255360"}));   // 0xFF00FF00
}

// Pieces fill the width, a name narrows it; a piece loses one leading blank,
// comma or full stop; double-byte pairs are never cut; a box too narrow still
// takes one character a piece; a piece holds at most 499 bytes.
TEST(LobbyChat, PiecesOfMessages) {
  const std::string a498(498, 'a');
  const struct {
    std::string text;
    float width;
    const char* name;
    Rows pieces;
  } kCases[] = {
      {"0123456789abc", kTen, nullptr, {"0123456789", "abc"}},
      {"short", kTen, nullptr, {"short"}},
      {"0123456789", kTen, "AB", {"01234567", "89"}},
      {"0123456789", kTen, "", {"0123456789"}},
      {"", kTen, nullptr, {}},
      {"0123456789 next", kTen, nullptr, {"0123456789", "next"}},
      {"0123456789,next", kTen, nullptr, {"0123456789", "next"}},
      {"0123456789.next", kTen, nullptr, {"0123456789", "next"}},
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
