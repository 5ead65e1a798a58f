// flag_words.h: applying the script's flag words ("WF_HIDE", "CF_TABSTOP",
// "ES_NUMBER", ...) to a window while a dialog tree is built. Words are matched
// exactly; a word the window does not know is ignored.
#pragma once
#include <string_view>

class CGUI_Control;
class CGUI_Window;

// The window words "WF_HIDE", "WF_NOHITTEST" and "WF_FOREGROUND" (dialogs).
// True when the word was applied.
bool ApplyWindowFlag(CGUI_Window* w, std::string_view word);

// The window words, then the control words "CF_*" for controls and, for a
// window of class "EDIT", "ES_NUMBER" and "ES_PASSWORD". True when applied.
bool ApplyControlFlag(CGUI_Window* w, std::string_view word);
// The same for a caller that has already asked whether w is a control
// (control: w as a control, or null).
bool ApplyControlFlag(CGUI_Window* w, CGUI_Control* control, std::string_view word);

// Where a flag word has an effect: on any window, on controls only, or on
// "EDIT" controls only.
enum class EFlagScope { kWindow, kControl, kEdit };
// The scope of a known flag word; false for a word no window knows.
bool FindFlagWord(std::string_view word, EFlagScope* scope);
// Every known flag word, window words first.
const char* const* FlagWords(int* count);
