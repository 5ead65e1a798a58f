// observe.cpp: window descriptions shared by the session runner and the
// inspector.
#include "tools/korvoui/observe.h"

#include "runtime/control.h"
#include "runtime/edit.h"
#include "runtime/game_pushbutton.h"
#include "runtime/list.h"
#include "runtime/rotate_button.h"
#include "runtime/rotate_text_button.h"
#include "runtime/slider.h"
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
    return line;
  }
  auto* control = dynamic_cast<CGUI_Control*>(w);
  if (!control) return line;
  line += " align=" + std::to_string(control->GetAlign()) + " tabstop=" + B(control->IsTabStop());
  if (auto* edit = dynamic_cast<CGUI_Edit*>(w)) {
    std::string text;
    edit->GetText(text);
    line += " text=" + QuoteSessionString(text) + " caret=" + std::to_string(edit->GetCursor());
  } else if (auto* list = dynamic_cast<CGUI_List*>(w)) {
    line += " count=" + std::to_string(list->GetCount()) + " sel=" + std::to_string(list->GetCurSel()) +
            " top=" + std::to_string(list->GetTopIndex());
  } else if (auto* slider = dynamic_cast<CGUI_Slider*>(w)) {
    line += " value=" + std::to_string(slider->GetValue()) + " min=" + std::to_string(slider->GetMin()) +
            " max=" + std::to_string(slider->GetMax());
  } else if (auto* button = dynamic_cast<CGUI_GamePushButton*>(w)) {
    line += std::string(" disabled=") + B(button->IsDisabled());
  } else if (auto* rotate = dynamic_cast<CGUI_RotateButton*>(w)) {
    line += " state=" + std::to_string(rotate->GetState());
  } else if (auto* rotateText = dynamic_cast<CGUI_RotateTextButton*>(w)) {
    line += " state=" + std::to_string(rotateText->GetState());
  }
  return line;
}

void AbsoluteRect(CGUI_Window* w, float out[4]) {
  if (auto* control = dynamic_cast<CGUI_Control*>(w)) {
    control->GetAlignedPos(out, true);
  } else {
    out[0] = w->Origin()[0] + w->Region()[0];
    out[1] = w->Origin()[1] + w->Region()[1];
  }
  out[2] = w->Region()[2];
  out[3] = w->Region()[3];
}

bool RowsText(CGUI_Window* w, std::string* out) {
  auto* list = dynamic_cast<CGUI_List*>(w);
  if (!list) return false;
  *out = "rows " + WindowName(w) + " count=" + std::to_string(list->GetCount()) +
         " sel=" + std::to_string(list->GetCurSel()) + " top=" + std::to_string(list->GetTopIndex()) + "\n";
  for (int i = 0; i < list->GetCount(); ++i) {
    std::string text;
    list->GetText(i, text);
    *out += "  " + std::to_string(i) + ": " + QuoteSessionString(text) + "\n";
  }
  return true;
}
