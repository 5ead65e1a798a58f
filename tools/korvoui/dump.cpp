// dump.cpp: `korvoui dump` prints one compiled dialog's dump, and with
// --verbose each window's ctrl line, bound class, region and PARAM lists.
#include <cstdio>
#include <string>
#include <vector>

#include "korvogui/korvogui.h"
#include "runtime/control.h"
#include "runtime/module_state.h"
#include "runtime/param_shapes.h"
#include "runtime/registry.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"
#include "tools/korvoui/inspector.h"
#include "tools/korvoui/observe.h"
#include "tools/korvoui/options.h"
#include "tools/korvoui/usage.h"
#include "tools/korvoui/verbs.h"

namespace {

// One window's record: the ctrl line, the bound class, the region and the
// PARAM lists with the shape each is read as.
void DumpWindow(CGUI_Window* w, bool isDialog, std::string* out) {
  *out += CtrlLine(w, isDialog) + "\n";
  const CGUI_ClassRegistry* registry = GetClassRegistry();
  const bool bound = registry && registry->ById().count(w->ClassName() + w->Id());
  *out += "  bound: " + (bound ? w->ClassName() + " " + w->Id() + " (the game's class for this id)"
                               : "none (the class " + w->ClassName() + " alone)") + "\n";
  const float* r = w->Region();
  char region[96];
  std::snprintf(region, sizeof region, "  region %.3f, %.3f, %.3f, %.3f\n", r[0], r[1], r[2], r[3]);
  *out += region;
  if (auto* control = dynamic_cast<CGUI_Control*>(w)) {
    const SClassParams* shapes = FindClassParams(w->ClassName());
    for (int i = 0; i < control->GetParamListCount(); ++i) {
      std::string shape;
      if (shapes && i < int(shapes->lists.size())) shape = std::string(" (") + shapes->lists[size_t(i)].shape->name + ")";
      else if (shapes && shapes->rest) shape = std::string(" (") + shapes->rest->name + ")";
      *out += "  PARAM " + std::to_string(i) + shape + ": " + ParamListText(control->GetParamList(i)) + "\n";
    }
  }
}

}  // namespace

int RunDump(int argc, char** argv) {
  ToolOptions options;
  if (!ParseToolOptions(argc, argv, &options, {"--verbose"})) return UsageError("dump");
  bool verbose = false;
  std::vector<std::string> dialogs;
  for (const std::string& a : options.positional) {
    if (a == "--verbose") verbose = true;
    else dialogs.push_back(a);
  }
  if (dialogs.size() != 1) return UsageError("dump");
  if (!PrepareHost(options)) return 2;
  const std::string script = (options.root.empty() ? DefaultAssetRoot() : options.root) + "/" + kUIScriptPath;
  GUI_Initialize();
  if (!GUI_Compile()) {
    std::printf("%s\n(`korvoui check%s` gives the position)\n", GUI_GetLastError(),
                options.root.empty() ? "" : (" --root " + options.root).c_str());
    GUI_Release();
    return 1;
  }
  const auto& entries = DialogTable()->Entries();
  auto it = entries.find(dialogs[0]);
  if (it == entries.end()) {
    std::printf("dump: no dialog %s in %s\n", dialogs[0].c_str(), script.c_str());
    GUI_Release();
    return 1;
  }
  std::string out;
  it->second->Dump(out);
  if (verbose) {
    out += "\n";
    DumpWindow(it->second, true, &out);
    for (CGUI_Window* child : it->second->Children()) DumpWindow(child, false, &out);
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  GUI_Release();
  return 0;
}
