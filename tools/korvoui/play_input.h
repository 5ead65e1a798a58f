// play_input.h: how `korvoui play` turns SDL input into the host's input: the
// host's virtual-key codes and text in the host code page.
#pragma once
#include <SDL2/SDL_keycode.h>

#include <string>

// The host's virtual-key code of an SDL key (Backspace 8, Tab 9, Enter 13,
// Escape 27, Page Up/Down 33/34, End 35, Home 36, arrows 37-40, Delete 46,
// letters and digits as their upper-case ASCII codes); 0 for other keys.
int VirtualKeyOf(SDL_Keycode key);

// The character a game window receives after the key-down of a virtual key
// that makes one but brings no text input (Backspace 8, Tab 9, Enter 13,
// Escape 27); 0 for every other key.
char CharacterOfKey(int virtualKey);

// UTF-8 text in the code page (an iconv name, e.g. "CP949"). A character the
// code page lacks becomes '?'; bytes that are no UTF-8 are dropped. False only
// when iconv knows no such conversion.
bool Utf8ToCodePage(const std::string& utf8, const char* codepage, std::string* out);

// The composed character of an IME pre-edit text: the bytes of its last
// character in the code page, lead and trail (trail 0 for a single byte);
// (0, 0) for an empty pre-edit.
void CompositionBytes(const std::string& preeditUtf8, const char* codepage, char* lead, char* trail);

// The host's code page of text given to the module.
inline constexpr const char* kHostCodePage = "CP949";
