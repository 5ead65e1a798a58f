// diagnostics.h: compile errors of the UI script as a compiler reports them:
// PATH:LINE:COLUMN, the source line, a caret under the column and a hint for
// the commonest mistakes. Shared by `korvoui check` and `korvoui play`.
#pragma once
#include <string>

struct ScriptDiagnostic {
  bool positioned = false;   // line and column were found
  int line = 0, column = 0;  // 1-based
  std::string message;       // the error without its position prefix
  std::string source;        // the source line (no line end)
  std::string caret;         // blanks (tabs kept) up to the column, then '^'
  std::string hint;          // a suggestion, or ""
};

// Reads the position out of a compile error (as GUI_GetLastError gives it) in
// the script text. An unexpected end of the text points past the last byte.
ScriptDiagnostic DiagnoseCompileError(const std::string& error, const std::string& text);

// The report below the raw error: "PATH:L:C: error: MESSAGE", the source line,
// the caret line and "hint: ..." when there is one, each ending in a newline;
// "PATH: error: ERROR" when the error has no position.
std::string FormatDiagnostic(const std::string& path, const std::string& error,
                             const ScriptDiagnostic& diagnostic);
