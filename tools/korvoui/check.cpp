// check.cpp: `korvoui check` compiles the UI script and reports like a
// compiler (PATH:LINE:COLUMN with the source line and a caret), then checks
// what opening its dialogs would find; `korvoui dump` prints one compiled
// dialog's dump, and with --verbose each window's binding and PARAM lists.
#include <dirent.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/control.h"
#include "runtime/module_state.h"
#include "runtime/param_shapes.h"
#include "runtime/registry.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"
#include "tools/korvoui/diagnostics.h"
#include "tools/korvoui/inspector.h"
#include "tools/korvoui/observe.h"
#include "tools/korvoui/options.h"
#include "tools/korvoui/script_lint.h"
#include "tools/korvoui/usage.h"
#include "tools/korvoui/verbs.h"

namespace {

std::string RootOf(const ToolOptions& options) {
  return options.root.empty() ? DefaultAssetRoot() : options.root;
}

bool LoadScript(const ToolOptions& options, std::string* path, std::string* text) {
  if (options.positional.empty()) {
    *path = RootOf(options) + "/" + kUIScriptPath;
    return korvohost::ReadFile(kUIScriptPath, text);
  }
  *path = options.positional[0];
  std::ifstream in(*path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  korvohost::OverlayFile(kUIScriptPath, *text);
  return true;
}

// The textures of the root's menu folder (a folder root only), for suggestions.
std::vector<std::string> RootTextures(const std::string& root) {
  std::vector<std::string> names;
  if (DIR* dir = opendir((root + "/menu").c_str())) {
    while (dirent* e = readdir(dir))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(dir);
  }
  return names;
}

SLintContext LintContext(const std::string& root) {
  SLintContext context;
  // Each name is read once; the shipped script names the same few textures
  // hundreds of times.
  auto known = std::make_shared<std::map<std::string, bool>>();
  context.textureExists = [known](const std::string& name) {
    auto it = known->find(name);
    if (it != known->end()) return it->second;
    std::string bytes;
    return (*known)[name] = korvohost::ReadFile(GUI_GetTexPath(name.c_str()), &bytes);
  };
  context.textures = RootTextures(root);
  if (CGUI_ClassRegistry* registry = GetClassRegistry()) {
    for (const auto& r : registry->IdRegistrations()) context.boundIds[r.id].insert(r.className);
    for (const auto& entry : registry->ByClass()) context.classes.insert(entry.first);
  }
  return context;
}

// "PATH:L:C: error: MESSAGE", the source line and caret, "hint: ...".
void PrintFinding(const std::string& path, const std::string& text, const SLintFinding& f) {
  const ScriptPlace place = PlaceIn(text, f.at.line, f.at.column);
  std::printf("%s:%d:%d: %s: %s\n%s\n%s\n", path.c_str(), f.at.line, f.at.column,
              f.error ? "error" : "warning", f.message.c_str(), place.source.c_str(),
              place.caret.c_str());
  if (!f.hint.empty()) std::printf("hint: %s\n", f.hint.c_str());
}

std::string Count(size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

int RunCheck(int argc, char** argv) {
  ToolOptions options;
  if (!ParseToolOptions(argc, argv, &options) || options.positional.size() > 1)
    return UsageError("check");
  if (!PrepareHost(options)) return 2;
  std::string path, text;
  const bool readable = LoadScript(options, &path, &text);
  GUI_Initialize();
  if (!GUI_Compile()) {
    const std::string error = GUI_GetLastError();
    std::printf("%s\n", error.c_str());
    const std::string report =
        readable ? FormatDiagnostic(path, error, DiagnoseCompileError(error, text))
                 : path + ": error: cannot read the script\n";
    std::fwrite(report.data(), 1, report.size(), stdout);
    GUI_Release();
    return 1;
  }
  int controls = 0;
  const size_t dialogs = DialogTable()->Entries().size();
  for (const auto& entry : DialogTable()->Entries()) controls += entry.second->ChildCount();

  SScriptOutline outline;
  OutlineScript(ScanScript(text), &outline);
  size_t errors = 0, warnings = 0;
  for (const SLintFinding& f : LintScript(outline, LintContext(RootOf(options)))) {
    PrintFinding(path, text, f);
    ++(f.error ? errors : warnings);
  }
  std::printf("%s: %s, %s", path.c_str(), Count(dialogs, "dialog").c_str(),
              Count(size_t(controls), "control").c_str());
  if (errors || warnings)
    std::printf(", %s, %s", Count(errors, "error").c_str(), Count(warnings, "warning").c_str());
  std::printf("\n");
  GUI_Release();
  return errors ? 1 : 0;
}

// ---- dump -----------------------------------------------------------------------------------

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
  const std::string script = RootOf(options) + "/" + kUIScriptPath;
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
