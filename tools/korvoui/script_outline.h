// script_outline.h: the dialogs and controls of a UI script with the file
// position of every part (class, id, flag, PARAM line, value), read from the
// module's tokens. `korvoui check` checks them; on a script that ends too
// early it says which dialog or control was left open.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/korvoui/script_tokens.h"

struct SOutlinePlace {
  int line = 0, column = 0;   // in the file, from 1
};

struct SOutlineValue {
  SOutlinePlace at;
  uint32_t type = 0;          // PARAM_INTEGER, PARAM_FLOAT or PARAM_STRING
  std::string text;           // as written (a string with its quotes)
  long integer = 0;
  std::string string;         // a string's text without quotes
};

struct SOutlineList {
  SOutlinePlace at;           // the PARAM keyword
  std::vector<SOutlineValue> values;
};

struct SOutlineFlag {
  SOutlinePlace at;
  std::string word;
};

struct SOutlineWindow {
  SOutlinePlace at;           // the class name, or the DIALOG keyword
  std::string className;      // "DIALOG" for a dialog
  std::string id;
  SOutlinePlace idAt;
  std::vector<SOutlineFlag> flags;
  std::vector<SOutlineList> lists;
  std::vector<SOutlineWindow> controls;   // a dialog's
};

struct SScriptOutline {
  std::vector<SOutlineWindow> dialogs;
  // Where reading stopped early: the end of the text inside a dialog (or a
  // token out of place); the dialog and control being read then.
  bool complete = true;
  const SOutlineWindow* openDialog = nullptr;
  const SOutlineWindow* openControl = nullptr;
};

// Reads the outline out of the tokens; the result points into itself, so it
// is returned by pointer and not copied.
void OutlineScript(const std::vector<SScriptToken>& tokens, SScriptOutline* outline);
