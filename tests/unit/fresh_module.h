// fresh_module.h: tests that drive the module start it afresh and end it, so
// that none depends on what another left behind (the unit binary also runs
// whole and shuffled in one process).
#pragma once
#include "korvogui/korvogui.h"

// A restart as a host does it: everything the module kept is gone.
inline void RestartModule() {
  GUI_Release();
  GUI_Initialize();
}
