// menu_dialogs.h: the two dialog bases of the front-end screens. A menu dialog
// tells the host that a menu is up (ambient light, system-menu flag, mouse
// cursor) while it is open and focuses its first tab stop; the exclusive one
// is also drawn alone while open.
#pragma once
#include "runtime/dialog.h"

class CGUI_MenuDialog : public CGUI_Dialog {
 public:
  bool OnCreate() override;
  bool OnDestroy() override;
};

class CGUI_ExclusiveMenuDialog : public CGUI_MenuDialog {
 public:
  bool OnCreate() override;
  bool OnDestroy() override;
};
