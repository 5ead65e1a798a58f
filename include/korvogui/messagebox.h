// messagebox.h: the message box as the host calls it: a small dialog with a
// text and answer buttons that reports the answer to a callback.
#pragma once
#include "korvogui/export.h"

extern "C" {

// Answer codes: 1 for "O K" and YES, 2 for "CANCEL" and NO. Returning false
// keeps the box open.
typedef bool (*MessageBoxCallback)(unsigned long code);

// Style bits of GUI_MessageBox.
enum {
  GUI_MB_OK = 0x1,           // the button reads "O K" and answers 1
  GUI_MB_CANCEL = 0x2,       // (without GUI_MB_OK) it reads "CANCEL" and answers 2
  GUI_MB_YESNO = 0x4,        // the YES / NO box instead of the one-button box
  GUI_MB_EXCLUSIVE = 0x1000  // drawn alone while open
};

// Closes an open box, then opens one with the text (the title is not shown).
// Always true. callback may be null: any button then closes the box.
KORVO_API bool GUI_MessageBox(const char* text, const char* title, unsigned long flags,
                              MessageBoxCallback callback);
// Closes the box opened last; false when none was opened.
KORVO_API bool GUI_CloseCurrentMessageBox();

}  // extern "C"
