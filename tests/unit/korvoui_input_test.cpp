// korvoui_input_test.cpp: how `korvoui play` maps SDL input to the host's:
// virtual-key codes, UTF-8 text in CP949 and IME composition bytes.
#include <gtest/gtest.h>

#include "tools/korvoui/play_input.h"

// Editing keys map to the host's virtual keys, letters and digits to their
// upper-case codes, other keys to none. Keys that make a character without
// text input give it after the key-down, as a game window's message loop
// does; every other key gives none.
TEST(PlayInput, KeysMapToTheHostVirtualKeysAndTheirCharacters) {
  const struct {
    SDL_Keycode key;
    int virtualKey;
    char character;
  } kCases[] = {
      {SDLK_BACKSPACE, 8, 8}, {SDLK_TAB, 9, 9},       {SDLK_RETURN, 13, 13}, {SDLK_KP_ENTER, 13, 13},
      {SDLK_ESCAPE, 27, 27},  {SDLK_PAGEUP, 33, 0},   {SDLK_PAGEDOWN, 34, 0}, {SDLK_END, 35, 0},
      {SDLK_HOME, 36, 0},     {SDLK_LEFT, 37, 0},     {SDLK_UP, 38, 0},       {SDLK_RIGHT, 39, 0},
      {SDLK_DOWN, 40, 0},     {SDLK_DELETE, 46, 0},   {SDLK_a, 'A', 0},       {SDLK_z, 'Z', 0},
      {SDLK_0, '0', 0},       {SDLK_9, '9', 0},       {SDLK_SPACE, ' ', 0},   {SDLK_F12, 0, 0},
      {SDLK_LSHIFT, 0, 0},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(VirtualKeyOf(c.key), c.virtualKey) << "key " << c.key;
    EXPECT_EQ(CharacterOfKey(VirtualKeyOf(c.key)), c.character) << "key " << c.key;
  }
}

TEST(PlayInput, Utf8BecomesCp949) {
  std::string out;
  ASSERT_TRUE(Utf8ToCodePage("\xED\x95\x9C\xEA\xB0\x80", kHostCodePage, &out));   // 한가
  EXPECT_EQ(out, "\xC7\xD1\xB0\xA1");
  // A character CP949 lacks (an emoji) becomes '?'; a stray byte is dropped.
  ASSERT_TRUE(Utf8ToCodePage("a\xF0\x9F\x98\x80" "b\xFF" "c", kHostCodePage, &out));
  EXPECT_EQ(out, "a?bc");
  // A sequence cut at the end is dropped.
  ASSERT_TRUE(Utf8ToCodePage("x\xED\x95", kHostCodePage, &out));
  EXPECT_EQ(out, "x");
  EXPECT_FALSE(Utf8ToCodePage("a", "NO-SUCH-CODEPAGE", &out));
}

TEST(PlayInput, CompositionGivesTheLastCharacterInTheCodePage) {
  const struct {
    const char* text;
    uint8_t lead, trail;
  } kCases[] = {
      {"\xEA\xB0\x80\xED\x95\x9C", 0xC7, 0xD1},   // 가한
      {"\xE3\x84\xB1", 0xA4, 0xA1},               // the jamo ㄱ
      {"k", 'k', 0},
      {"", 0, 0},
  };
  for (const auto& c : kCases) {
    char lead = 1, trail = 1;
    CompositionBytes(c.text, kHostCodePage, &lead, &trail);
    EXPECT_EQ(uint8_t(lead), c.lead) << c.text;
    EXPECT_EQ(uint8_t(trail), c.trail) << c.text;
  }
}
