// menu_dialogs.cpp: host calls around the menu screens' creation and
// destruction.
#include "menus/menu_dialogs.h"

#include "host/host_services.h"
#include "runtime/routing.h"

// ---- Menu dialog ---------------------------------------------------------------------

bool CGUI_MenuDialog::OnCreate() {
  SetAmbientLight(-1);
  bSystemMenu = 1;
  EnterMouseCursorMode();
  if (!CGUI_Dialog::OnCreate()) return false;
  // The controls registered their tab stops while being created above.
  if (!tabStops_.empty()) SetFocusWindow(NextTabStop(nullptr));
  return true;
}

bool CGUI_MenuDialog::OnDestroy() {
  LeaveMouseCursorMode();
  bSystemMenu = 0;
  return CGUI_Dialog::OnDestroy();
}

// ---- Exclusive menu dialog ---------------------------------------------------------------

bool CGUI_ExclusiveMenuDialog::OnCreate() {
  SetExclusive(true);
  return CGUI_MenuDialog::OnCreate();
}

bool CGUI_ExclusiveMenuDialog::OnDestroy() {
  SetExclusive(false);
  return CGUI_MenuDialog::OnDestroy();
}
