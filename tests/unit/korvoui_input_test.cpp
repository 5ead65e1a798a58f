// korvoui_input_test.cpp: how `korvoui play` maps SDL input to the host's:
// virtual-key codes, UTF-8 text in CP949 and IME composition bytes.
#include <gtest/gtest.h>

#include "tools/korvoui/play_input.h"

TEST(PlayInput, EditingKeysMapToTheHostVirtualKeys) {
  EXPECT_EQ(VirtualKeyOf(SDLK_BACKSPACE), 8);
  EXPECT_EQ(VirtualKeyOf(SDLK_TAB), 9);
  EXPECT_EQ(VirtualKeyOf(SDLK_RETURN), 13);
  EXPECT_EQ(VirtualKeyOf(SDLK_KP_ENTER), 13);
  EXPECT_EQ(VirtualKeyOf(SDLK_ESCAPE), 27);
  EXPECT_EQ(VirtualKeyOf(SDLK_PAGEUP), 33);
  EXPECT_EQ(VirtualKeyOf(SDLK_PAGEDOWN), 34);
  EXPECT_EQ(VirtualKeyOf(SDLK_END), 35);
  EXPECT_EQ(VirtualKeyOf(SDLK_HOME), 36);
  EXPECT_EQ(VirtualKeyOf(SDLK_LEFT), 37);
  EXPECT_EQ(VirtualKeyOf(SDLK_UP), 38);
  EXPECT_EQ(VirtualKeyOf(SDLK_RIGHT), 39);
  EXPECT_EQ(VirtualKeyOf(SDLK_DOWN), 40);
  EXPECT_EQ(VirtualKeyOf(SDLK_DELETE), 46);
}

TEST(PlayInput, LettersAndDigitsAreTheirUpperCaseCodes) {
  EXPECT_EQ(VirtualKeyOf(SDLK_a), 'A');
  EXPECT_EQ(VirtualKeyOf(SDLK_z), 'Z');
  EXPECT_EQ(VirtualKeyOf(SDLK_0), '0');
  EXPECT_EQ(VirtualKeyOf(SDLK_9), '9');
  EXPECT_EQ(VirtualKeyOf(SDLK_F12), 0);
  EXPECT_EQ(VirtualKeyOf(SDLK_LSHIFT), 0);
}

// Keys that make a character without text input give it after the key-down,
// as a game window's message loop does; every other key gives none.
TEST(PlayInput, KeysThatMakeACharacterWithoutText) {
  const struct {
    SDL_Keycode key;
    char character;
  } kCases[] = {{SDLK_BACKSPACE, 8}, {SDLK_TAB, 9},   {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13},
                {SDLK_ESCAPE, 27},   {SDLK_DELETE, 0}, {SDLK_LEFT, 0},    {SDLK_HOME, 0},
                {SDLK_a, 0},         {SDLK_SPACE, 0},  {SDLK_F12, 0}};
  for (const auto& c : kCases)
    EXPECT_EQ(CharacterOfKey(VirtualKeyOf(c.key)), c.character) << "key " << c.key;
}

TEST(PlayInput, Utf8BecomesCp949) {
  std::string out;
  ASSERT_TRUE(Utf8ToCodePage("ab", kHostCodePage, &out));
  EXPECT_EQ(out, "ab");
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
  char lead = 1, trail = 1;
  CompositionBytes("\xED\x95\x9C", kHostCodePage, &lead, &trail);   // 한
  EXPECT_EQ(uint8_t(lead), 0xC7);
  EXPECT_EQ(uint8_t(trail), 0xD1);
  CompositionBytes("\xEA\xB0\x80\xED\x95\x9C", kHostCodePage, &lead, &trail);   // 가한
  EXPECT_EQ(uint8_t(lead), 0xC7);
  EXPECT_EQ(uint8_t(trail), 0xD1);
  CompositionBytes("\xE3\x84\xB1", kHostCodePage, &lead, &trail);   // the jamo ㄱ
  EXPECT_EQ(uint8_t(lead), 0xA4);
  EXPECT_EQ(uint8_t(trail), 0xA1);
  CompositionBytes("k", kHostCodePage, &lead, &trail);
  EXPECT_EQ(lead, 'k');
  EXPECT_EQ(trail, 0);
  CompositionBytes("", kHostCodePage, &lead, &trail);
  EXPECT_EQ(lead, 0);
  EXPECT_EQ(trail, 0);
}
