// script_tokens.cpp: running the module's scanner over a script and placing
// each token in the file.
#include "tools/korvoui/script_tokens.h"

#include "script/scanner.h"
#include "script/ui_script_language.h"

std::vector<SScriptToken> ScanScript(const std::string& text) {
  std::vector<SScriptToken> tokens;
  CUIScriptLexerTables tables;
  CStringScanner scanner(&tables, text.c_str());
  int line = 1, column = 1;
  for (;;) {
    CToken token;
    scanner.NextToken(token);
    if (token.text.Length() == 0) break;   // the end of the text
    SScriptToken t;
    t.name = token.name.Data();
    t.text.assign(token.text.Data(), token.text.Length());
    t.moduleLine = int(token.line) + 1;
    t.moduleColumn = int(token.column) + 1;
    t.line = line;
    t.column = column;
    t.skipped = token.skipped;
    // Tokens are contiguous: the next one starts where this one's bytes end.
    for (char c : t.text) {
      if (c == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    const bool failed = token.number < 0;
    tokens.push_back(std::move(t));
    if (failed) break;
  }
  return tokens;
}

const SScriptToken* TokenAt(const std::vector<SScriptToken>& tokens, int moduleLine,
                            int moduleColumn) {
  for (const SScriptToken& t : tokens)
    if (!t.skipped && t.moduleLine == moduleLine && t.moduleColumn == moduleColumn) return &t;
  return nullptr;
}
