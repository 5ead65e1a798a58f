// check.cpp: `korvoui check` compiles the UI script and reports like a
// compiler (PATH:LINE:COLUMN with the source line and a caret), and `korvoui
// dump` prints one compiled dialog's dump.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"
#include "tools/korvoui/diagnostics.h"
#include "tools/korvoui/options.h"
#include "tools/korvoui/verbs.h"

namespace {

bool LoadScript(const ToolOptions& options, std::string* path, std::string* text) {
  if (options.positional.empty()) {
    *path = (options.root.empty() ? DefaultAssetRoot() : options.root) + "/" +
            kUIScriptPath;
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

}  // namespace

int RunCheck(int argc, char** argv) {
  ToolOptions options;
  if (!ParseToolOptions(argc, argv, &options) || options.positional.size() > 1) {
    std::fprintf(stderr, "usage: korvoui check [--root DIR] [SCRIPT]\n");
    return 2;
  }
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
  int dialogs = 0, controls = 0;
  for (const auto& entry : DialogTable()->Entries()) {
    ++dialogs;
    controls += entry.second->ChildCount();
  }
  std::printf("%s: %d dialog%s, %d control%s\n", path.c_str(), dialogs, dialogs == 1 ? "" : "s",
              controls, controls == 1 ? "" : "s");
  GUI_Release();
  return 0;
}

int RunDump(int argc, char** argv) {
  ToolOptions options;
  if (!ParseToolOptions(argc, argv, &options) || options.positional.size() != 1) {
    std::fprintf(stderr, "usage: korvoui dump [--root DIR] DIALOG\n");
    return 2;
  }
  if (!PrepareHost(options)) return 2;
  GUI_Initialize();
  if (!GUI_Compile()) {
    std::printf("%s\n", GUI_GetLastError());
    GUI_Release();
    return 1;
  }
  const auto& entries = DialogTable()->Entries();
  auto it = entries.find(options.positional[0]);
  if (it == entries.end()) {
    std::printf("dump: no %s\n", options.positional[0].c_str());
    GUI_Release();
    return 1;
  }
  std::string out;
  it->second->Dump(out);
  std::fwrite(out.data(), 1, out.size(), stdout);
  GUI_Release();
  return 0;
}
