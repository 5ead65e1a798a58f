// dialog.h: CGUI_Dialog (script class "DIALOG"). A created dialog is a child of
// the root window; it keeps the tab-stop list of its controls.
#pragma once
#include <vector>

#include "runtime/window.h"

class CGUI_Dialog : public CGUI_Window {
 public:
  CGUI_Dialog();

  bool OnCreate() override;
  bool OnDestroy() override;

  // ---- Appended operations ------------------------------------------------------
  virtual CGUI_Window* FindControl(const std::string& id);
  virtual bool AddTabStop(CGUI_Window* w);
  virtual bool RemoveTabStop(CGUI_Window* w);
  // The tab stop after `after` (wrapping), the first one when `after` is not a
  // created tab stop, `after` itself when there are none.
  virtual CGUI_Window* NextTabStop(CGUI_Window* after);

  const std::vector<CGUI_Window*>& TabStops() const { return tabStops_; }

 protected:
  std::vector<CGUI_Window*> tabStops_;   // not owned
};
