// console.h: the script console as the host calls it: an overlay of numbered
// diagnostic lines with a command line whose input goes to ExecuteCommand.
#pragma once
#include "korvogui/export.h"

extern "C" {

// Opens (true) or closes (false) the console.
KORVO_API void GUI_ShowScriptPanel(bool show);
// Appends "%4d:" and the formatted text as one line (at most 1023 bytes) and
// logs it; dropped when the console was never opened.
KORVO_API void GUI_ScriptMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
// While the host's DebugMode is set, shows the formatted text in the console.
KORVO_API void LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // extern "C"
