// script_tokens.h: the UI script's tokens as the module's scanner cuts them,
// each with the position the compiler reports and its true place in the file.
// The compiler counts a line feed inside a string literal as a column, not a
// line, so after such a string its positions drift from the file's.
#pragma once
#include <string>
#include <vector>

struct SScriptToken {
  std::string name;              // "CHARS", "STRING", "T_NEWLINE", ..., "failed"
  std::string text;              // the bytes it matched
  int moduleLine = 0, moduleColumn = 0;   // as the compiler reports them, from 1
  int line = 0, column = 0;      // in the file, from 1 (a TAB is one column)
  bool skipped = false;          // blanks, line ends, comments
};

// Every token up to the end of the text (a NUL ends it, as for the compiler)
// or up to and with the first "failed" token.
std::vector<SScriptToken> ScanScript(const std::string& text);

// The token the compiler's position (line, column) names, skipped tokens
// excluded; null when none starts there.
const SScriptToken* TokenAt(const std::vector<SScriptToken>& tokens, int moduleLine,
                            int moduleColumn);
