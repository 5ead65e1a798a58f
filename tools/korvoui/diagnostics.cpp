// diagnostics.cpp: positions, source lines, carets, hints and notes of
// compile errors.
#include "tools/korvoui/diagnostics.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "runtime/registry.h"
#include "tools/korvoui/script_outline.h"
#include "tools/korvoui/script_tokens.h"

namespace {

constexpr const char kOpenStringNote[] =
    "this string runs past the end of its line: is a closing quote missing?";

// The compiler's line and column (1-based) and the bare message of an error.
bool ErrorPosition(const std::string& error, int* line, int* column, std::string* message) {
  const char* p = std::strstr(error.c_str(), "Error (");
  if (!p || std::sscanf(p, "Error (%d, %d)", line, column) != 2) return false;
  const char* colon = std::strstr(p, ") : ");
  *message = colon ? colon + 4 : p;
  return true;
}

// One past the last byte of the text (up to a NUL, where the compiler stops).
void EndOfText(const std::string& text, int* line, int* column) {
  *line = 1;
  *column = 1;
  for (char c : text) {
    if (c == '\0') break;
    if (c == '\n') {
      ++*line;
      *column = 1;
    } else {
      ++*column;
    }
  }
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
      for (const auto& entry : registry->ByClass())
        if (entry.first != "DIALOG") classes += " " + entry.first;
    return "known control classes:" + classes;
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

// The earliest string holding a line feed among the last few tokens up to
// `upTo` (or the end): where a closing quote is most likely missing. A string
// that lost its closing quote takes the next string's opening one, and the
// tokens after it go wrong within a few tokens.
constexpr size_t kRunawayReach = 8;   // tokens between such a string and the error

const SScriptToken* RunawayString(const std::vector<SScriptToken>& tokens, const SScriptToken* upTo) {
  std::vector<const SScriptToken*> seen;
  for (const SScriptToken& t : tokens) {
    if (!t.skipped) seen.push_back(&t);
    if (&t == upTo) break;
  }
  const size_t from = seen.size() > kRunawayReach + 1 ? seen.size() - kRunawayReach - 1 : 0;
  for (size_t i = from; i < seen.size(); ++i) {
    const SScriptToken& t = *seen[i];
    const bool string = t.name == "STRING" || (t.name == "failed" && !t.text.empty() && t.text[0] == '"');
    if (string && t.text.find('\n') != std::string::npos) return &t;
  }
  return nullptr;
}

// Notes naming the dialog and control that the end of the text left open.
void OpenParts(const std::string& text, const std::vector<SScriptToken>& tokens,
               std::vector<ScriptNote>* notes) {
  SScriptOutline outline;
  OutlineScript(tokens, &outline);
  if (const SOutlineWindow* d = outline.openDialog)
    notes->push_back({PlaceIn(text, d->at.line, d->at.column),
                      "dialog '" + d->id + "' begins here and has no END"});
  if (const SOutlineWindow* c = outline.openControl)
    notes->push_back({PlaceIn(text, c->at.line, c->at.column),
                      "the last control, " + c->className + " '" + c->id + "', begins here"});
}

}  // namespace

ScriptPlace PlaceIn(const std::string& text, int line, int column) {
  ScriptPlace p;
  p.line = line;
  p.column = column;
  p.source = SourceLine(text, line);
  for (int i = 0; i + 1 < column && i < int(p.source.size()); ++i)
    p.caret += p.source[i] == '\t' ? '\t' : ' ';
  p.caret += '^';
  return p;
}

ScriptDiagnostic DiagnoseCompileError(const std::string& error, const std::string& text) {
  ScriptDiagnostic d;
  const std::vector<SScriptToken> tokens = ScanScript(text);
  int moduleLine = 0, moduleColumn = 0;
  if (ErrorPosition(error, &moduleLine, &moduleColumn, &d.message)) {
    const SScriptToken* at = TokenAt(tokens, moduleLine, moduleColumn);
    d.line = at ? at->line : moduleLine;
    d.column = at ? at->column : moduleColumn;
    if (const SScriptToken* s = RunawayString(tokens, at))
      d.notes.push_back({PlaceIn(text, s->line, s->column), kOpenStringNote});
  } else if (error.find("Unexpected end-of-file") != std::string::npos) {
    EndOfText(text, &d.line, &d.column);
    d.message = "unexpected end of file (a dialog or control is not finished)";
    OpenParts(text, tokens, &d.notes);
    if (const SScriptToken* s = RunawayString(tokens, nullptr))
      d.notes.push_back({PlaceIn(text, s->line, s->column), kOpenStringNote});
  } else {
    return d;
  }
  d.positioned = true;
  const ScriptPlace place = PlaceIn(text, d.line, d.column);
  d.source = place.source;
  d.caret = place.caret;
  // A string that lost its quote explains the error better than the hint
  // for the token that happens to follow it.
  const bool runaway = !d.notes.empty() && d.notes.back().text == kOpenStringNote;
  d.hint = runaway ? "" : Hint(d.message);
  return d;
}

std::string FormatDiagnostic(const std::string& path, const std::string& error,
                             const ScriptDiagnostic& d) {
  if (!d.positioned) return path + ": error: " + error + "\n";
  std::string out = path + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) +
                    ": error: " + d.message + "\n" + d.source + "\n" + d.caret + "\n";
  if (!d.hint.empty()) out += "hint: " + d.hint + "\n";
  for (const ScriptNote& n : d.notes)
    out += path + ":" + std::to_string(n.place.line) + ":" + std::to_string(n.place.column) +
           ": note: " + n.text + "\n" + n.place.source + "\n" + n.place.caret + "\n";
  return out;
}
