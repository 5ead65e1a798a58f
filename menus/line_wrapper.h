// line_wrapper.h: breaks a text into rows that fit a list's width, as the
// message box, the typewriter lists and the chat lists show text.
//
// The first row starts with "NAME : " when a name is given. A row grows
// character by character while it fits the width less the width of that
// prefix; a double-byte character (a byte with the high bit set and the byte
// after it) is never split; a line feed or carriage return (CR LF counts as
// one) ends a row. Blanks and control characters (1 to 32) are break points:
// a row that overflows is broken at the last one when it lies fewer than 5
// characters back (the blank itself is dropped), otherwise right before the
// character that did not fit. Every row holds at least one character.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CGUI_List;
class CGUI_GameList;

// Width, as a fraction of the screen, of the first len bytes of text.
using TextMeasure = std::function<float(const char* text, int len)>;

// The rows of text (null counts as empty) for a list `width` wide; name may be null.
std::vector<std::string> WrapText(const char* name, const char* text, float width,
                                  const TextMeasure& measure);

// Appends the rows to the list, each with `color` (0xAARRGGBB; 0 for the
// list's own colour) as its item data.
void WrapIntoList(CGUI_List* list, const char* name, const char* text, uint32_t color,
                  const TextMeasure& measure);
// Measures with the text object of the game list's row static.
void WrapIntoList(CGUI_GameList* list, const char* name, const char* text, uint32_t color);
