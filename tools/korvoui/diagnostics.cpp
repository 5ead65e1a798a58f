// diagnostics.cpp: positions, source lines, carets and hints of compile errors.
#include "tools/korvoui/diagnostics.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "runtime/registry.h"

namespace {

// Line and column (1-based) and the bare message of a compile error.
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
    if (CGUI_ClassRegistry* registry = GetClassRegistry())
      for (const auto& entry : registry->ByClass()) classes += " " + entry.first;
    return "known classes:" + classes;
  }
  if (message.rfind("MENU", 0) == 0 || message.rfind("START", 0) == 0 ||
      message.rfind("COLON", 0) == 0 || message.rfind("MINUS", 0) == 0)
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

}  // namespace

ScriptDiagnostic DiagnoseCompileError(const std::string& error, const std::string& text) {
  ScriptDiagnostic d;
  d.positioned = ErrorPosition(error, text, &d.line, &d.column, &d.message);
  if (!d.positioned) return d;
  d.source = SourceLine(text, d.line);
  for (int i = 0; i + 1 < d.column && i < int(d.source.size()); ++i)
    d.caret += d.source[i] == '\t' ? '\t' : ' ';
  d.caret += '^';
  d.hint = Hint(d.message);
  return d;
}

std::string FormatDiagnostic(const std::string& path, const std::string& error,
                             const ScriptDiagnostic& d) {
  if (!d.positioned) return path + ": error: " + error + "\n";
  std::string out = path + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) +
                    ": error: " + d.message + "\n" + d.source + "\n" + d.caret + "\n";
  if (!d.hint.empty()) out += "hint: " + d.hint + "\n";
  return out;
}
