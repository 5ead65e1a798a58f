// diagnostics.h: compile errors of the UI script as a compiler reports them:
// PATH:LINE:COLUMN in the file, the source line, a caret under the column, a
// hint for the commonest mistakes and notes that point at where the mistake
// probably is (a string that runs past its line, the dialog or control left
// open at the end of the file). Shared by `korvoui check` and `korvoui play`.
#pragma once
#include <string>
#include <vector>

// A place in the file with its source line and caret.
struct ScriptPlace {
  int line = 0, column = 0;  // 1-based, in the file
  std::string source;        // the source line (no line end)
  std::string caret;         // blanks (tabs kept) up to the column, then '^'
};

struct ScriptNote {
  ScriptPlace place;
  std::string text;
};

struct ScriptDiagnostic {
  bool positioned = false;   // line and column were found
  int line = 0, column = 0;  // 1-based, in the file
  std::string message;       // the error without its position prefix
  std::string source;        // the source line (no line end)
  std::string caret;         // blanks (tabs kept) up to the column, then '^'
  std::string hint;          // a suggestion, or ""
  std::vector<ScriptNote> notes;
};

// Reads the position out of a compile error (as GUI_GetLastError gives it) and
// places it in the script text. An unexpected end of the text points past the
// last byte.
ScriptDiagnostic DiagnoseCompileError(const std::string& error, const std::string& text);

// A place of the text with its source line and caret.
ScriptPlace PlaceIn(const std::string& text, int line, int column);

// The report below the raw error: "PATH:L:C: error: MESSAGE", the source line,
// the caret line, "hint: ..." when there is one and each note as
// "PATH:L:C: note: TEXT" with its source and caret, each ending in a newline;
// "PATH: error: ERROR" when the error has no position.
std::string FormatDiagnostic(const std::string& path, const std::string& error,
                             const ScriptDiagnostic& diagnostic);
