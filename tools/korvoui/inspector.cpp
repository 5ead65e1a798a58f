// inspector.cpp: the inspector's window search and its lines.
#include "tools/korvoui/inspector.h"

#include <cstdio>

#include "runtime/control.h"
#include "runtime/module_state.h"
#include "runtime/params.h"
#include "runtime/routing.h"
#include "runtime/window_manager.h"
#include "tools/korvoui/observe.h"
#include "tools/korvoui/session_script.h"

namespace {

bool Contains(CGUI_Window* w, const float pt[2]) {
  float r[4];
  AbsoluteRect(w, r);
  return pt[0] >= r[0] && pt[0] <= r[0] + r[2] && pt[1] >= r[1] && pt[1] <= r[1] + r[3];
}

CGUI_Window* DeepestAt(CGUI_Window* w, const float pt[2]) {
  const auto& children = w->Children();
  for (size_t i = children.size(); i-- > 0;) {
    CGUI_Window* child = children[i];
    if (child->IsHidden() || !Contains(child, pt)) continue;
    return DeepestAt(child, pt);
  }
  return w;
}

std::string Fixed(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", v);
  return text;
}

std::string RectText(const float r[4]) {
  return Fixed(r[0]) + ", " + Fixed(r[1]) + ", " + Fixed(r[2]) + ", " + Fixed(r[3]);
}

}  // namespace

CGUI_Window* WindowAt(const float pt[2]) {
  const auto& open = GetRootWindow()->Children();
  for (size_t i = open.size(); i-- > 0;)
    if (!open[i]->IsHidden() && Contains(open[i], pt)) return DeepestAt(open[i], pt);
  return nullptr;
}

std::string ParamListText(const SParamList* list) {
  std::string out;
  for (const SParamList* cell = list; cell; cell = cell->next) {
    if (!out.empty()) out += ", ";
    const SParamValue* v = cell->value;
    if (!v) {
      out += "?";
    } else if (v->type == PARAM_INTEGER) {
      out += std::to_string(v->i);
    } else if (v->type == PARAM_FLOAT) {
      char text[32];
      std::snprintf(text, sizeof text, "%g", double(v->f));
      out += text;
    } else {
      out += QuoteSessionString(v->s);
    }
  }
  return out;
}

std::vector<std::string> InspectorLines(const float pt[2]) {
  std::vector<std::string> lines;
  lines.push_back("mouse " + Fixed(pt[0]) + ", " + Fixed(pt[1]) + "   (F12 hides)");
  if (CGUI_Window* w = WindowAt(pt)) {
    const bool isDialog = w->GetParent() == GetRootWindow();
    // The ctrl line, broken before its flags to keep the panel narrow.
    const std::string line = CtrlLine(w, isDialog);
    const size_t flags = line.find(" created=");
    lines.push_back(line.substr(0, flags));
    if (flags != std::string::npos) lines.push_back("  " + line.substr(flags + 1));
    float r[4];
    AbsoluteRect(w, r);
    lines.push_back("  region " + RectText(w->Region()) + "   on screen " + RectText(r));
    if (auto* control = dynamic_cast<CGUI_Control*>(w))
      for (int i = 0; i < control->GetParamListCount(); ++i)
        lines.push_back("  PARAM " + ParamListText(control->GetParamList(i)));
  } else {
    lines.push_back("no window under the mouse");
  }
  lines.push_back("hover: " + WindowName(Routing().hover) + "   focus: " + WindowName(Routing().focus));
  std::string open = "open:";
  for (CGUI_Window* w : GetRootWindow()->Children()) open += " " + WindowName(w);
  lines.push_back(open);
  std::string stack = "stack:";
  for (CGUI_Window* w : DialogStack()) stack += " " + (w ? WindowName(w) : std::string("-"));
  lines.push_back(stack);
  return lines;
}
