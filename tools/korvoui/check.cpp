// check.cpp: `korvoui check` compiles the UI script and reports like a
// compiler (PATH:LINE:COLUMN with the source line and a caret), and `korvoui
// dump` prints one compiled dialog's dump.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"
#include "tools/korvoui/options.h"
#include "tools/korvoui/verbs.h"

namespace {

// Line and column (1-based) of a compile error message, when it has one. An
// unexpected end of the text points past the last byte.
bool ErrorPosition(const std::string& error, const std::string& text, int* line, int* column,
                   std::string* message) {
  const char* p = std::strstr(error.c_str(), "Error (");
  if (p && std::sscanf(p, "Error (%d, %d)", line, column) == 2) {
    const char* colon = std::strstr(p, ") : ");
    *message = colon ? colon + 4 : p;
    return true;
  }
  if (error.find("Unexpected end-of-file") != std::string::npos) {
    *line = 1;
    *column = 1;
    for (char c : text) {
      if (c == '\n') {
        ++*line;
        *column = 1;
      } else {
        ++*column;
      }
    }
    *message = "unexpected end of file (a dialog or control is not finished)";
    return true;
  }
  return false;
}

// A suggestion for the commonest mistakes, or "".
std::string Hint(const std::string& message) {
  if (message.rfind("INTEGER", 0) == 0)
    return "rectangle values are floats: write 1.0, not 1";
  if (message.rfind("failed (", 0) == 0)
    return "not a token of the script: names have two or more characters, numbers need a "
           "digit before the dot, strings have no escapes, and = ; ( . # are not used";
  if (message.rfind("no window class", 0) == 0) {
    std::string classes;
    for (const auto& entry : GetClassRegistry()->ByClass()) classes += " " + entry.first;
    return "known classes:" + classes;
  }
  if (message.rfind("MENU", 0) == 0 || message.rfind("START", 0) == 0 || message.rfind("COLON", 0) == 0 ||
      message.rfind("MINUS", 0) == 0)
    return "reserved word or sign without a rule in the script language";
  return "";
}

std::string SourceLine(const std::string& text, int line) {
  std::istringstream in(text);
  std::string s;
  for (int i = 1; std::getline(in, s); ++i)
    if (i == line) {
      if (!s.empty() && s.back() == '\r') s.pop_back();
      return s;
    }
  return "";
}

bool LoadScript(const ToolOptions& options, std::string* path, std::string* text) {
  if (options.positional.empty()) {
    *path = (options.root.empty() ? std::string(KORVO_ASSET_ROOT) : options.root) + "/" +
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
    int line = 0, column = 0;
    std::string message;
    if (readable && ErrorPosition(error, text, &line, &column, &message)) {
      const std::string source = SourceLine(text, line);
      std::string caret;
      for (int i = 0; i + 1 < column && i < int(source.size()); ++i)
        caret += source[i] == '\t' ? '\t' : ' ';
      std::printf("%s:%d:%d: error: %s\n%s\n%s^\n", path.c_str(), line, column, message.c_str(),
                  source.c_str(), caret.c_str());
      const std::string hint = Hint(message);
      if (!hint.empty()) std::printf("hint: %s\n", hint.c_str());
    } else {
      std::printf("%s: error: %s\n", path.c_str(), readable ? error.c_str() : "cannot read the script");
    }
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
