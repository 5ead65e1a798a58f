// briefing.h: the briefing text as the host feeds it while a mission's
// briefing script runs.
#pragma once
#include "korvogui/export.h"

extern "C" {

// Wraps the text into the briefing's text list in the colour (0xAARRGGBB; 0 for
// the list's own colour) when the briefing is open; otherwise nothing.
KORVO_API void GUI_NextString(const char* text, unsigned long color);

}  // extern "C"
