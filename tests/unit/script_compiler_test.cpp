// The script compiler end to end: scanner positions, syntax error texts, the
// parse result, evaluation values and GUI_Compile's reports.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/control.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"
#include "script/parser.h"
#include "script/scanner.h"
#include "script/ui_script_language.h"
#include "tests/unit/runtime_fixture.h"

namespace {

struct Tok {
  std::string name, text;
  uint32_t line, column;
};

// Reads its text one byte at a time through Advance only, so it takes the
// byte-by-byte walk of CScanner rather than the string scanner's own.
class CByteScanner : public CScanner {
 public:
  CByteScanner(CLexerTables* tables, std::string text) : text_(std::move(text)) {
    Attach(tables);
    BeginToken();
    if (text_.empty()) MarkEnd();
    else Advance(true);
  }
  void Advance(bool noCount) override {
    if (position_ >= text_.size()) {
      MarkEnd();
      return;
    }
    current_ = static_cast<uint8_t>(text_[position_++]);
    if (!noCount) NextColumn();
  }

 private:
  std::string text_;
  size_t position_ = 0;
};

// The tokens of a text, every one (NextToken until the end) or those the
// parser takes (NextKeptToken).
template <class Scanner = CStringScanner>
std::vector<Tok> Scan(const char* text, bool keptOnly = false) {
  CUIScriptLexerTables tables;
  Scanner scanner(&tables, text);
  std::vector<Tok> out;
  CToken t;
  while (keptOnly ? scanner.NextKeptToken(t) : !scanner.AtEnd()) {
    if (!keptOnly) scanner.NextToken(t);
    out.push_back({t.name.Data(), t.text.Data(), t.line + 1, t.column + 1});
  }
  return out;
}

// "NAME 'text' line:column" of each token, to compare whole scans.
std::vector<std::string> Describe(const std::vector<Tok>& toks) {
  std::vector<std::string> out;
  for (const Tok& t : toks)
    out.push_back(t.name + " '" + t.text + "' " + std::to_string(t.line) + ":" + std::to_string(t.column));
  return out;
}

// The runtime error text after compiling `text`, or "OK".
std::string CompileError(const char* text) {
  CDialogTable* table = CompileScript(text);
  if (!table) return GetErrorText();
  delete table;
  return "OK";
}

class CompilerTest : public RuntimeTest {};

}  // namespace

TEST(Scanner, PositionsCountCrLfCommentsAndStrings) {
  const auto toks = Scan("A1 B2\r\n  C3 // note\nD4 /* x\ny */ E5 \"s\nt\" F6");
  std::vector<std::string> seen;
  for (const Tok& t : toks)
    if (t.name == "CHARS" || t.name == "STRING")
      seen.push_back(t.text + "@" + std::to_string(t.line) + ":" + std::to_string(t.column));
  // A block comment's line end sets the column to 0 although bytes follow it.
  EXPECT_EQ(seen, (std::vector<std::string>{"A1@1:1", "B2@1:4", "C3@2:3", "D4@3:1", "E5@4:2",
                                            "\"s\nt\"@4:5", "F6@4:11"}));
}

// "NAME NAME failed[text]": the token names the scanner gives a text.
std::string Names(std::string_view text) {
  std::string out;
  for (const Tok& t : Scan(std::string(text).c_str())) {
    if (!out.empty()) out += ' ';
    out += t.name == "failed" ? "failed[" + t.text + "]" : t.name;
  }
  return out;
}

// The language's lexical rules: keywords, names, numbers and signs, line
// ends, comments and strings; no stepping back to an earlier accepting state.
TEST(Scanner, LexicalRules) {
  const std::pair<const char*, const char*> rows[] = {
      {"END DIALOG MENU START PARAM", "END T_WHITESPACE DIALOG T_WHITESPACE MENU T_WHITESPACE START T_WHITESPACE PARAM"},
      {"BEGINNER", "CHARS"}, {"BEGIN2", "CHARS"}, {"begin", "CHARS"}, {"BE", "CHARS"}, {"__", "CHARS"},
      {"x", "failed[x]"}, {"B", "failed[B]"}, {"x ", "failed[x ]"}, {"2x", "INTEGER failed[x]"},
      {"-5", "INTEGER"}, {"+3", "INTEGER"}, {"-2.5", "FLOAT"}, {"+", "failed[+]"},
      {"+ 3", "failed[+ ] INTEGER"}, {"- 3", "MINUS T_WHITESPACE INTEGER"}, {"--3", "MINUS INTEGER"},
      {"12.", "failed[12.]"}, {".5", "failed[.] INTEGER"}, {"1e5", "INTEGER CHARS"},
      {"=", "failed[=]"}, {"\xB0", "failed[\xB0]"}, {"\x01", "failed[\x01]"},
      {", : |", "COMMA T_WHITESPACE COLON T_WHITESPACE OR"},
      {"\r\n\n", "T_NEWLINE T_NEWLINE"}, {"\r", "failed[\r]"}, {" \t \t", "T_WHITESPACE"},
      {"// main\r\nBEGIN", "T_COMMENTLINE BEGIN"}, {"// last line", "failed[// last line]"},
      {"// lone \r here\n", "failed[// lone \r ] CHARS T_NEWLINE"}, {"/x", "failed[/x]"},
      {"/**/", "T_COMMENTBLOCK"}, {"/* a\r\n b\n */", "T_COMMENTBLOCK"},
      {"/* a **/ b */", "T_COMMENTBLOCK"}, {"/* a **/", "failed[/* a **/]"},
      {"/* /* */", "failed[/* /*] T_WHITESPACE failed[*] failed[/]"}, {"/* open", "failed[/* open]"},
      {"\"two\r\nlines\nand \r lone CR\"", "STRING"}, {"\"cut off", "failed[\"cut off]"},
      {"\"a\"\"b\"", "STRING STRING"}, {"", ""},
  };
  for (const auto& [text, names] : rows) EXPECT_EQ(Names(text), names) << text;
  // A string holds every byte but the quote and NUL.
  std::string every = "\"";
  for (int b = 0x01; b <= 0xFF; b++)
    if (b != '"') every += static_cast<char>(b);
  every += "\"";
  EXPECT_EQ(Names(every), "STRING");
}

// The string scanner walks its text in place; a scanner that only supplies
// bytes through Advance must see the same tokens, texts and positions,
// including errors in the middle and at the very end of the text.
TEST(Scanner, InPlaceWalkMatchesByteByByteWalk) {
  const char* const texts[] = {
      "DIALOG \"Main\" DLG_MAIN 0.0, 0.0, 1.0, 1.0\r\nBEGIN\n  BUTTON \"Ok\" IDC_OK CF_TABSTOP | "
      "WF_NOHITTEST -0.5, .5, 1, 2\n    PARAM \"a.tga\", 3, 0.25 // c\n/* x\ny */END",
      "AB = CD",  "\"open string", "12. ", "x", "=", "AB\n\n=", "1.5", "/* unterminated", "-"};
  for (const char* text : texts) {
    const std::vector<Tok> byteByByte = Scan<CByteScanner>(text);
    EXPECT_EQ(Describe(Scan(text)), Describe(byteByByte)) << text;
    // The parser's path skips whitespace, line ends and comments in between.
    std::vector<Tok> kept;
    for (const Tok& t : byteByByte)
      if (t.name.rfind("T_", 0) != 0) kept.push_back(t);
    EXPECT_EQ(Describe(Scan(text, true)), Describe(kept)) << text;
    EXPECT_EQ(Describe(Scan<CByteScanner>(text, true)), Describe(kept)) << text;
  }
}

// What the grammar accepts (optional flag words, controls and PARAM lines,
// several dialogs, comments, names that start like keywords), and the first
// wrong token it refuses with its name and position; lexical errors are
// refusals of the failed token. (A wrong rectangle value, a cut dialog and
// an unknown class: the korvoui_check_bad_rect, _cut and _unknown_class tests.)
TEST_F(CompilerTest, CompileResults) {
  const std::string head = "DIALOG \"d\" DLG 0.0, 0.0, 1.0, 1.0 BEGIN ";
  const std::string button = "BUTTON \"\" IDC_B 0.0, 0.0, 1.0, 1.0 ";
  const std::string param = "DIALOG \"a\" AB 0.0, 0.0, 1.0, 1.0 BEGIN B1 \"\" ID 0.0, 0.0, 1.0, 1.0 PARAM ";
  const std::pair<std::string, const char*> rows[] = {
      {"", "OK"},
      {"// a\r\n/* b **/ still comment */\n", "OK"},
      {"DIALOG \"\" BEGINNER 0.0, 0.0, 1.0, 1.0 BEGIN BUTTON \"\" x1 0.0, 0.0, 1.0, 1.0 END", "OK"},
      {head + "END " + "DIALOG \"e\" DLG2 0.0, 0.0, 1.0, 1.0 BEGIN END", "OK"},
      {"DIALOG \"d\" DLG WF_HIDE | WF_FOREGROUND 0.0, 0.0, 1.0, 1.0 BEGIN END", "OK"},
      {head + button + "PARAM 1 PARAM 2.0, \"s\" " + button + "PARAM \"t\" END", "OK"},
      {"\n\n  START", "Error (3, 3) : START (START) is not expected here."},
      {param + "END", "Error (1, 74) : END (END) is not expected here."},
      {param + "name END", "Error (1, 74) : CHARS (name) is not expected here."},
      {head + "END x1", "Error (1, 45) : CHARS (x1) is not expected here."},
      {"DIALOG DLG \"d\" 0.0, 0.0, 1.0, 1.0 BEGIN END", "Error (1, 8) : CHARS (DLG) is not expected here."},
      {"DIALOG \"d\" DLG WF_HIDE | 0.0, 0.0, 1.0, 1.0 BEGIN END",
       "Error (1, 26) : FLOAT (0.0) is not expected here."},
      {"DIALOG \"a\" x", "Error (1, 12) : failed (x) is not expected here."},
      {"// comment without a line end", "Error (1, 1) : failed (// comment without a line end) is not expected here."},
  };
  for (const auto& [text, error] : rows) EXPECT_EQ(CompileError(text.c_str()), error) << text;
  // The reserved words are taken nowhere: put before any token of a good
  // script, each fails the compile (the exact message is START's row above;
  // the failed tokens' own texts are Scanner.LexicalRules').
  const std::string good = head + button + "PARAM 1, \"s\" END";
  for (const char* reserved : {"MENU", "START", ":", "-"}) {
    for (size_t at = 0; at != std::string::npos; at = good.find(' ', at + 1)) {
      const std::string text = good.substr(0, at) + " " + reserved + " " + good.substr(at);
      EXPECT_NE(CompileError(text.c_str()), "OK") << text;
    }
  }
}

// A parse result belongs to its parser; evaluating it takes or frees every
// token (separators and keywords included), and an evaluation that stops (no
// class for the first control) leaves the tokens after it to Clear().
TEST_F(CompilerTest, ParseResultsAndEvaluationTakeOrFreeEveryToken) {
  CUIScriptLexerTables lexer;
  CUIScriptParserTables tables;
  CStringScanner bad(&lexer, "DIALOG 5");
  CParser failing(&tables, &bad);
  const CParseResult failed = failing.Parse();
  EXPECT_STREQ(failed.message.Data(), "error (1, 8) : token 5 (INTEGER) is not expected here\n");
  EXPECT_FALSE(failed.IsValid());
  EXPECT_EQ(failing.Evaluate(failed), nullptr);
  EXPECT_EQ(failing.Status(), -1);

  CStringScanner good(&lexer,
                      "DIALOG \"Main\" MAINMENU WF_FOREGROUND | WF_HIDE 0.0, 0.0, 1.0, 1.0\nBEGIN\n"
                      "  BUTTON \"\" IDC_BUTTON_A CF_TABSTOP | CF_AUTOSIZE 0.375, 0.333, 0.25, 0.067\n"
                      "    PARAM \"menuline01.tga\", 1, 0.5\n    PARAM -2, +3.25, \"s\"\n"
                      "  EDIT \"x\" IDC_EDIT_B 0.1, 0.2, 0.3, 0.4\nEND\n"
                      "DIALOG \"Empty\" EMPTY 0.0, 0.0, 1.0, 1.0 BEGIN END\n");
  CParser parser(&tables, &good);
  const CParseResult ok = parser.Parse();
  ASSERT_TRUE(ok.IsValid()) << ok.message.Data();
  EXPECT_STREQ(ok.message.Data(), "OK");
  EXPECT_EQ(ok.generation, parser.Generation());
  EXPECT_EQ(failing.Evaluate(ok), nullptr);   // another parser's result
  EXPECT_GT(parser.HeldTokens(), 40u);
  auto* table = static_cast<CDialogTable*>(parser.Evaluate(ok));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(parser.HeldTokens(), 0u);
  EXPECT_EQ(table->Entries().size(), 2u);
  parser.Clear();
  delete table;

  CStringScanner unknown(&lexer, "DIALOG \"\" DLG 0.0, 0.0, 1.0, 1.0 BEGIN NOCLASS \"\" IDC_C 0.0, 0.0, 1.0, 1.0 PARAM 1 "
                                 "BUTTON \"\" IDC_D 0.0, 0.0, 1.0, 1.0 PARAM \"unread\" END");
  CParser third(&tables, &unknown);
  const CParseResult stopped = third.Parse();
  ASSERT_TRUE(stopped.IsValid());
  EXPECT_EQ(third.Evaluate(stopped), nullptr);
  EXPECT_GT(third.HeldTokens(), 0u);
  third.Clear();
  EXPECT_EQ(third.HeldTokens(), 0u);
}

namespace {

// "int 1, float 2.000000, string a": the values of one PARAM line.
std::string ParamLine(const SParamList* list) {
  std::string out;
  for (const SParamList* p = list; p; p = p->next) {
    const SParamValue* v = p->value;
    out += out.empty() ? "" : ", ";
    if (v->type == PARAM_INTEGER) out += "int " + std::to_string(v->i);
    else if (v->type == PARAM_FLOAT) out += "float " + std::to_string(v->f);
    else out += std::string("string ") + v->s;
  }
  return out;
}

}  // namespace

TEST_F(CompilerTest, ParamLinesReachTheControlInWrittenOrder) {
  CDialogTable* table = CompileScript(
      "DIALOG \"d\" DLG 0.0, 0.0, 1.0, 1.0\nBEGIN\n"
      "  BUTTON \"b\" IDC_B 0.5, 0.25, 0.125, 0.0625\n"
      "    PARAM 1, 2.0, \"a\"\n    PARAM -7\n    PARAM +3, -2.5, \"x\ny\"\nEND\n");
  ASSERT_NE(table, nullptr) << GetErrorText();
  auto* b = dynamic_cast<CGUI_Control*>(table->Entries().at("DLG")->FindChild("IDC_B"));
  ASSERT_NE(b, nullptr);
  std::vector<std::string> lines;
  for (int i = 0; i < b->GetParamListCount(); ++i) lines.push_back(ParamLine(b->GetParamList(i)));
  EXPECT_EQ(lines, (std::vector<std::string>{"int 1, float 2.000000, string a", "int -7",
                                             "int 3, float -2.500000, string x\ny"}));
  float r[4];
  b->GetRegion(r);
  EXPECT_EQ(std::vector<float>(r, r + 4), (std::vector<float>{0.5f, 0.25f, 0.125f, 0.0625f}));
  delete table;
}

TEST_F(CompilerTest, GuiCompileReplacesTheTableAndReportsMissingFiles) {
  korvohost::OverlayFile(kUIScriptPath, "DIALOG \"a\" AB 0.0, 0.0, 1.0, 1.0 BEGIN END");
  ASSERT_TRUE(GUI_Compile());
  ASSERT_TRUE(GUI_NextDialog("AB"));
  ASSERT_TRUE(GUI_Compile());   // frees the open dialog and the stack with the old table
  EXPECT_TRUE(GetRootWindow()->Children().empty());
  EXPECT_TRUE(DialogStack().empty());
  EXPECT_TRUE(GUI_CreateDialog("AB"));
  korvohost::OverlayFile(kUIScriptPath, "DIALOG");
  EXPECT_FALSE(GUI_Compile());
  EXPECT_STREQ(GUI_GetLastError(), "Compile Error : error : Unexpected end-of-file");
  EXPECT_EQ(DialogTable(), nullptr);
  korvohost::RemoveOverlayFile(kUIScriptPath);
  korvohost::Unmount();
  EXPECT_FALSE(GUI_Compile());
  EXPECT_STREQ(GUI_GetLastError(), "Compile Error : data/script/ui/ui_script.txt not found");
  EXPECT_EQ(korvohost::OpenFileImages(), 0);
  table_ = nullptr;
}
