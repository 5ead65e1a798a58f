// runtime_support.h: shared set-up for tests that drive the module through its
// exported input functions, each on a freshly started module.
#pragma once
#include "korvogui/korvogui.h"
#include "runtime/dialog.h"
#include "runtime/routing.h"
#include "tests/unit/fresh_module.h"

// An open dialog covering the screen's top-left quarter, on a module started
// for it; closing it (by deleting it) drops its windows from the hover and
// focus state, then the module ends.
class ScopedDialog {
 public:
  ScopedDialog() {
    RestartModule();
    const float region[4] = {0, 0, 0.5f, 0.5f};
    dialog_->SetRegion(region);
  }
  ~ScopedDialog() {
    SetFocusWindow(nullptr);
    delete dialog_;
    GUI_Release();
  }
  ScopedDialog(const ScopedDialog&) = delete;
  ScopedDialog& operator=(const ScopedDialog&) = delete;

  CGUI_Dialog* operator->() { return dialog_; }
  CGUI_Dialog* get() { return dialog_; }

 private:
  CGUI_Dialog* dialog_ = new CGUI_Dialog;
};

inline void SetRegion(CGUI_Window* w, float x, float y, float width, float height) {
  const float r[4] = {x, y, width, height};
  w->SetRegion(r);
}

// Moves the mouse, then queues a full click and runs the frame's update.
inline void ClickAt(float x, float y) {
  GUI_MouseMove(x, y);
  GUI_LButtonDown();
  GUI_LButtonUp();
  GUI_Update();
}
