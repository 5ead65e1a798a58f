// menu_state.h: the front end's module-wide state: which message box is open
// and the script console's list and line counter. It is a part of the module
// state, so freeing the compiled table clears every window pointer in it.
#pragma once
#include "runtime/module_state.h"

class CGUI_List;

struct SMenuState final : CModulePart {
  const char* openBox = nullptr;     // id of the message box opened last, kept after it closed
  CGUI_List* consoleList = nullptr;  // list of the console created last, kept after it closed
  int consoleLines = 0;              // number of the console's last line

  // A recompile or a release forgets the console's list (a window): a message
  // is then dropped as before the console was ever opened. The box's record
  // is an id, not a window, and stays: closing "the current box" destroys a
  // dialog of that id if one is open and answers true.
  void OnTableReleased() override { consoleList = nullptr; }
};
