// observe.cpp: window descriptions shared by the session runner and the
// inspector.
#include "tools/korvoui/observe.h"

#include "runtime/window.h"
#include "tools/korvoui/session_script.h"

namespace {
const char* B(bool v) { return v ? "true" : "false"; }
}  // namespace

std::string WindowName(CGUI_Window* w) {
  if (!w) return "none";
  return w->Id().empty() ? "(" + w->ClassName() + ")" : w->Id();
}

std::string CtrlLine(CGUI_Window* w, bool isDialog) {
  std::string caption;
  w->GetCaption(caption);
  std::string line = "ctrl " + WindowName(w) + " class=" + w->ClassName() +
                     " caption=" + QuoteSessionString(caption) + " created=" + B(w->IsCreated()) +
                     " hidden=" + B(w->IsHidden()) + " hittest=" + B(w->IsHitTest()) +
                     " fg=" + std::to_string(int(w->IsForeground()));
  if (isDialog) {
    line += std::string(" exclusive=") + B(w->IsExclusive()) +
            " children=" + std::to_string(w->ChildCount());
  }
  return line;
}

void AbsoluteRect(CGUI_Window* w, float out[4]) {
  out[0] = w->Origin()[0] + w->Region()[0];
  out[1] = w->Origin()[1] + w->Region()[1];
  out[2] = w->Region()[2];
  out[3] = w->Region()[3];
}

bool RowsText(CGUI_Window*, std::string*) { return false; }
