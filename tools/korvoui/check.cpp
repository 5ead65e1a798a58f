// check.cpp: `korvoui check` compiles the UI script and reports like a
// compiler (PATH:LINE:COLUMN with the source line and a caret), then checks
// what opening its dialogs would find.
#include <dirent.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"
#include "tools/korvoui/diagnostics.h"
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
  if (CGUI_ClassRegistry* registry = GetClassRegistry())
    for (const auto& r : registry->IdRegistrations()) context.boundIds[r.id].insert(r.className);
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
