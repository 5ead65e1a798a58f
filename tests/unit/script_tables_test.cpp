// script_tables_test.cpp: the generated UI script tables, run directly through
// the table lookups: a longest-match tokenizer over the scanner automaton and
// an LR driver over the action tree, checked against the language's rules.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "script/table_lookup.h"
#include "script/ui_script_tables.h"

namespace {

// ---- Test tokenizer -----------------------------------------------------------

struct Lexeme {
  int32_t token;  // -1 for the error token "failed"
  std::string text;
};

// Consumes bytes while a transition exists, then takes the stop state's token;
// without one, the bytes so far plus the byte without a transition are the
// error token. No stepping back to an earlier accepting state.
std::vector<Lexeme> Tokenize(std::string_view text) {
  std::vector<Lexeme> out;
  size_t pos = 0;
  while (pos < text.size() && text[pos] != '\0') {
    const size_t start = pos;
    uint32_t state = 0;
    uint32_t next = 0;
    while (pos < text.size() && text[pos] != '\0' &&
           LexTransition(kUiScriptTransitions, kUiScriptTransitionCount, state,
                         static_cast<uint8_t>(text[pos]), &next)) {
      state = next;
      pos++;
    }
    uint32_t token = 0;
    if (LexAccepting(kUiScriptAccepting, kUiScriptAcceptingCount, state, &token)) {
      out.push_back({static_cast<int32_t>(token), std::string(text.substr(start, pos - start))});
      continue;
    }
    if (pos < text.size() && text[pos] != '\0') pos++;  // the byte without a transition
    out.push_back({-1, std::string(text.substr(start, pos - start))});
  }
  return out;
}

// "NAME NAME failed[text] ..." for compact expectations.
std::string Names(std::string_view text) {
  std::string out;
  for (const Lexeme& lexeme : Tokenize(text)) {
    if (!out.empty()) out += ' ';
    if (lexeme.token < 0)
      out += "failed[" + lexeme.text + "]";
    else
      out += kUiScriptTokenNames[lexeme.token];
  }
  return out;
}

// ---- Test LR driver ---------------------------------------------------------------

struct ParseOutcome {
  bool accepted;
  size_t failed_at;  // index of the rejected token; the token count for the end
};

// Shifts the symbols, then "$"; reductions pop the right side and take the goto
// of the left side from the uncovered state.
ParseOutcome Parse(const std::vector<std::string>& names) {
  std::vector<uint32_t> states;
  uint32_t state = 0;
  for (size_t i = 0; i <= names.size(); i++) {
    const char* name = i < names.size() ? names[i].c_str() : "$";
    const int32_t symbol = SymbolNumber(kUiScriptSymbolNames, kUiScriptSymbolCount, name);
    if (symbol < 0) return {false, i};
    for (;;) {
      uint32_t kind = 0;
      uint32_t target = 0;
      if (!FindAction(kUiScriptActions, kUiScriptActionCount,
                      state * kUiScriptSymbolCount + static_cast<uint32_t>(symbol), &kind, &target))
        return {false, i};
      if (kind == ACTION_ACCEPT) return {true, i};
      if (kind == ACTION_SHIFT) {
        states.push_back(state);
        state = target;
        break;
      }
      if (kind != ACTION_REDUCE) return {false, i};  // a goto on a terminal is a table fault
      const uint32_t* rule = kUiScriptRules[target];
      for (uint32_t n = 1; n < kUiScriptRuleLengths[target]; n++) {
        state = states.back();
        states.pop_back();
      }
      uint32_t goto_kind = 0;
      uint32_t goto_target = 0;
      if (!FindAction(kUiScriptActions, kUiScriptActionCount, state * kUiScriptSymbolCount + rule[0],
                      &goto_kind, &goto_target) ||
          goto_kind != ACTION_GOTO)
        return {false, i};
      states.push_back(state);
      state = goto_target;
    }
  }
  return {false, names.size()};
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string word; in >> word;) out.push_back(word);
  return out;
}

// The parser's view of a text: the names of the tokens it is not meant to skip.
std::vector<std::string> ParserTokens(std::string_view text) {
  std::vector<std::string> out;
  for (const Lexeme& lexeme : Tokenize(text)) {
    if (lexeme.token < 0)
      out.push_back("failed");
    else if (!kUiScriptTokenSkipped[lexeme.token])
      out.push_back(kUiScriptTokenNames[lexeme.token]);
  }
  return out;
}

const char kExampleScript[] =
    "// main screen\n"
    "DIALOG \"Main\" MAINMENU WF_FOREGROUND 0.0, 0.0, 1.0, 1.0\n"
    "BEGIN\n"
    "BUTTON \"\" IDC_BUTTON_MAINSINGLEPLAY CF_TABSTOP | CF_ALIGN_HCENTER 0.375, 0.333, 0.25, 0.067\n"
    "PARAM \"menuline01.tga\", 1, 0.5\n"
    "EDIT \"\" IDC_EDIT_LOGINPASSWORD ES_PASSWORD 0.375, 0.433, 0.25, 0.04\n"
    "END\n";

const char kBox[] = " FLOAT COMMA FLOAT COMMA FLOAT COMMA FLOAT ";
const std::string kDialogHead = std::string("DIALOG STRING CHARS") + kBox + "BEGIN ";

}  // namespace

// ---- Lookups over hand-made records ---------------------------------------------------

TEST(TableLookup, TransitionTreeComparesStateFirstThenByte) {
  // Root (1,'b'); left (1,'a'); right (2,'a').
  const uint32_t records[3][5] = {
      {1, 10, 'b', 1, 2}, {1, 11, 'a', kNoRecord, kNoRecord}, {2, 12, 'a', kNoRecord, kNoRecord}};
  uint32_t next = 0;
  ASSERT_TRUE(LexTransition(records, 3, 1, 'b', &next));
  EXPECT_EQ(next, 10u);
  ASSERT_TRUE(LexTransition(records, 3, 1, 'a', &next));
  EXPECT_EQ(next, 11u);
  ASSERT_TRUE(LexTransition(records, 3, 2, 'a', &next));
  EXPECT_EQ(next, 12u);
  EXPECT_FALSE(LexTransition(records, 3, 1, 'c', &next));
  EXPECT_FALSE(LexTransition(records, 3, 0, 'a', &next));
  EXPECT_FALSE(LexTransition(records, 3, 2, 'b', &next));
  EXPECT_FALSE(LexTransition(records, 0, 1, 'b', &next));
}

TEST(TableLookup, AcceptingTakesTheFirstRecordOfTheState) {
  const uint32_t records[3][2] = {{4, 7}, {2, 1}, {4, 9}};
  uint32_t token = 0;
  ASSERT_TRUE(LexAccepting(records, 3, 4, &token));
  EXPECT_EQ(token, 7u);
  EXPECT_FALSE(LexAccepting(records, 3, 3, &token));
}

TEST(TableLookup, ActionTreeSearchesByKey) {
  const uint32_t records[3][5] = {
      {50, ACTION_REDUCE, 3, 1, 2}, {20, ACTION_SHIFT, 4, kNoRecord, kNoRecord}, {80, ACTION_GOTO, 5, kNoRecord, kNoRecord}};
  uint32_t kind = 9;
  uint32_t target = 9;
  ASSERT_TRUE(FindAction(records, 3, 80, &kind, &target));
  EXPECT_EQ(kind, ACTION_GOTO);
  EXPECT_EQ(target, 5u);
  ASSERT_TRUE(FindAction(records, 3, 20, &kind, &target));
  EXPECT_EQ(kind, ACTION_SHIFT);
  EXPECT_FALSE(FindAction(records, 3, 21, &kind, &target));
  EXPECT_FALSE(FindAction(records, 0, 50, &kind, &target));
}

TEST(TableLookup, SymbolNamesAndNumbers) {
  EXPECT_EQ(SymbolNumber(kUiScriptSymbolNames, kUiScriptSymbolCount, "$"), 24);
  EXPECT_EQ(SymbolNumber(kUiScriptSymbolNames, kUiScriptSymbolCount, "CTRL_ATTR_FLAG_BLK"), 0);
  EXPECT_EQ(SymbolNumber(kUiScriptSymbolNames, kUiScriptSymbolCount, "DIALOG"), 32);
  EXPECT_EQ(SymbolNumber(kUiScriptSymbolNames, kUiScriptSymbolCount, "CHARS"), 34);
  for (const char* absent : {"MENU", "START", "COLON", "MINUS", "failed", "dialog", "DIALO", "DIALOGS", ""})
    EXPECT_EQ(SymbolNumber(kUiScriptSymbolNames, kUiScriptSymbolCount, absent), -1) << absent;
  EXPECT_STREQ(SymbolName(kUiScriptSymbolNames, kUiScriptSymbolCount, 8), "UI_SCRIPT");
  EXPECT_STREQ(SymbolName(kUiScriptSymbolNames, kUiScriptSymbolCount, 24), "$");
  EXPECT_STREQ(SymbolName(kUiScriptSymbolNames, kUiScriptSymbolCount, 35), "");
  EXPECT_STREQ(SymbolName(kUiScriptSymbolNames, kUiScriptSymbolCount, -1), "");
}

// ---- Table shape -----------------------------------------------------------------------

namespace {

// Visits a record tree in order; fails on a repeated or missing record.
template <typename Key>
void CheckTree(const uint32_t (*records)[5], uint32_t count, Key key) {
  std::vector<uint32_t> order;
  std::set<uint32_t> seen;
  std::vector<uint32_t> stack;
  uint32_t at = 0;
  while (at != kNoRecord || !stack.empty()) {
    while (at != kNoRecord) {
      ASSERT_LT(at, count);
      ASSERT_TRUE(seen.insert(at).second) << "record " << at << " reached twice";
      stack.push_back(at);
      at = records[at][3];
    }
    at = stack.back();
    stack.pop_back();
    order.push_back(at);
    at = records[at][4];
  }
  ASSERT_EQ(order.size(), count);
  for (size_t i = 1; i < order.size(); i++)
    EXPECT_LT(key(records[order[i - 1]]), key(records[order[i]])) << "at in-order position " << i;
}

}  // namespace

TEST(UiScriptTables, Sizes) {
  EXPECT_EQ(kUiScriptScannerStates, 52u);
  EXPECT_EQ(kUiScriptTransitionCount, 3295u);
  EXPECT_EQ(kUiScriptAcceptingCount, 34u);
  EXPECT_EQ(kUiScriptTokenCount, 18u);
  EXPECT_EQ(kUiScriptParserStates, 54u);
  EXPECT_EQ(kUiScriptActionCount, 134u);
  EXPECT_EQ(kUiScriptNonterminals, 24u);
  EXPECT_EQ(kUiScriptTerminals, 11u);
  EXPECT_EQ(kUiScriptEndSymbol, 24u);
  EXPECT_EQ(kUiScriptNodeWidth, 8u);
  EXPECT_EQ(kUiScriptRuleCount, 33u);
}

TEST(UiScriptTables, TransitionRecordsFormOneSearchTreeWithoutNul) {
  CheckTree(kUiScriptTransitions, kUiScriptTransitionCount,
            [](const uint32_t* r) { return (uint64_t{r[0]} << 8) | r[2]; });
  for (uint32_t i = 0; i < kUiScriptTransitionCount; i++) {
    EXPECT_NE(kUiScriptTransitions[i][2], 0u);
    EXPECT_LT(kUiScriptTransitions[i][0], kUiScriptScannerStates);
    EXPECT_LT(kUiScriptTransitions[i][1], kUiScriptScannerStates);
  }
  uint32_t next = 0;
  for (uint32_t state = 0; state < kUiScriptScannerStates; state++)
    EXPECT_FALSE(LexTransition(kUiScriptTransitions, kUiScriptTransitionCount, state, 0, &next));
}

TEST(UiScriptTables, ActionRecordsFormOneSearchTree) {
  CheckTree(kUiScriptActions, kUiScriptActionCount, [](const uint32_t* r) { return r[0]; });
  for (uint32_t i = 0; i < kUiScriptActionCount; i++) {
    const uint32_t* record = kUiScriptActions[i];
    const uint32_t symbol = record[0] % kUiScriptSymbolCount;
    EXPECT_LT(record[0] / kUiScriptSymbolCount, kUiScriptParserStates);
    EXPECT_EQ(record[1] == ACTION_GOTO, symbol < kUiScriptNonterminals) << "record " << i;
    if (record[1] == ACTION_REDUCE) {
      EXPECT_LT(record[2], kUiScriptRuleCount);
    }
  }
}

TEST(UiScriptTables, TellingActionRows) {
  struct Row {
    uint32_t state;
    const char* symbol;
    uint32_t kind;
    uint32_t target;
  };
  const Row rows[] = {
      {0, "DIALOG", ACTION_SHIFT, 1}, {0, "$", ACTION_REDUCE, 10}, {0, "DLG_BLK", ACTION_GOTO, 2},
      {0, "DLG", ACTION_GOTO, 3},     {0, "UI_SCRIPT", ACTION_GOTO, 4}, {4, "$", ACTION_ACCEPT, 0},
      {2, "$", ACTION_REDUCE, 32},
  };
  for (const Row& row : rows) {
    const int32_t symbol = SymbolNumber(kUiScriptSymbolNames, kUiScriptSymbolCount, row.symbol);
    uint32_t kind = 99;
    uint32_t target = 99;
    ASSERT_TRUE(FindAction(kUiScriptActions, kUiScriptActionCount,
                           row.state * kUiScriptSymbolCount + static_cast<uint32_t>(symbol), &kind, &target))
        << row.state << " " << row.symbol;
    EXPECT_EQ(kind, row.kind) << row.state << " " << row.symbol;
    if (kind != ACTION_ACCEPT) {
      EXPECT_EQ(target, row.target) << row.state << " " << row.symbol;
    }
  }
}

TEST(UiScriptTables, RulesHoldLeftSideThenRightSide) {
  EXPECT_EQ(kUiScriptRuleLengths[0], 3u);
  EXPECT_EQ(kUiScriptRules[0][0], 8u);   // UI_SCRIPT
  EXPECT_EQ(kUiScriptRules[0][1], 14u);  // DLG_BLK
  EXPECT_EQ(kUiScriptRules[0][2], 1u);   // MENU_BLK
  EXPECT_EQ(kUiScriptRuleLengths[1], 8u);  // BOX: seven symbols, the longest right side
  for (uint32_t rule : {10u, 17u, 20u, 28u, 30u, 32u}) EXPECT_EQ(kUiScriptRuleLengths[rule], 1u) << rule;
  for (uint32_t rule = 0; rule < kUiScriptRuleCount; rule++) {
    EXPECT_LT(kUiScriptRules[rule][0], kUiScriptNonterminals) << rule;
    EXPECT_LE(kUiScriptRuleLengths[rule] - 1, kUiScriptNodeWidth) << rule;
  }
  EXPECT_STREQ(kUiScriptTokenNames[16], "CHARS");
  for (uint32_t token = 0; token < kUiScriptTokenCount; token++) EXPECT_EQ(kUiScriptTokenSkipped[token], token < 4) << token;
}

// ---- Scanner rules -----------------------------------------------------------------------

TEST(UiScriptScanner, KeywordsAreExactUpperCaseWords) {
  EXPECT_EQ(Names("BEGIN"), "BEGIN");
  EXPECT_EQ(Names("END DIALOG MENU START PARAM"),
            "END T_WHITESPACE DIALOG T_WHITESPACE MENU T_WHITESPACE START T_WHITESPACE PARAM");
  for (const char* name : {"BEGINNER", "BEGIN2", "ENDING", "DIALOGS", "begin", "BEG", "BE", "PARAM_", "x1", "__"})
    EXPECT_EQ(Names(name), "CHARS") << name;
}

TEST(UiScriptScanner, NamesHaveAtLeastTwoCharacters) {
  for (const char* single : {"x", "_", "B", "D", "E", "M", "P", "S", "Z"})
    EXPECT_EQ(Names(single), std::string("failed[") + single + "]") << single;
  EXPECT_EQ(Names("x "), "failed[x ]");
  EXPECT_EQ(Names("E,"), "failed[E,]");
  EXPECT_EQ(Names("2x"), "INTEGER failed[x]");
}

TEST(UiScriptScanner, SignsBindToDigits) {
  EXPECT_EQ(Names("-5"), "INTEGER");
  EXPECT_EQ(Names("+3"), "INTEGER");
  EXPECT_EQ(Names("-2.5"), "FLOAT");
  EXPECT_EQ(Names("0.375"), "FLOAT");
  EXPECT_EQ(Names("+"), "failed[+]");
  EXPECT_EQ(Names("+ 3"), "failed[+ ] INTEGER");
  EXPECT_EQ(Names("-"), "MINUS");
  EXPECT_EQ(Names("- 3"), "MINUS T_WHITESPACE INTEGER");
  EXPECT_EQ(Names("--3"), "MINUS INTEGER");
}

TEST(UiScriptScanner, NoSteppingBackAndNoLeadingDot) {
  EXPECT_EQ(Names("12. "), "failed[12. ]");
  EXPECT_EQ(Names("12."), "failed[12.]");
  EXPECT_EQ(Names(".5"), "failed[.] INTEGER");
  EXPECT_EQ(Names("1e5"), "INTEGER CHARS");
  EXPECT_EQ(Tokenize("1.0,2")[1].token, UI_SCRIPT_TOKEN_COMMA);
}

TEST(UiScriptScanner, StrayBytesAtTokenStartAreErrors) {
  for (char c : std::string("=;(.#!$%&')*<>?@[\\]^`{}~")) {
    EXPECT_EQ(Names(std::string(1, c)), std::string("failed[") + c + "]") << c;
  }
  for (int b = 0x80; b <= 0xFF; b++) {
    const std::string text(1, static_cast<char>(b));
    EXPECT_EQ(Names(text), "failed[" + text + "]") << b;
  }
  for (int b = 0x01; b < 0x20; b++) {
    if (b == '\t' || b == '\n' || b == '\r') continue;
    const std::string text(1, static_cast<char>(b));
    EXPECT_EQ(Names(text), "failed[" + text + "]") << b;
  }
  EXPECT_EQ(Names(", : |"), "COMMA T_WHITESPACE COLON T_WHITESPACE OR");
}

TEST(UiScriptScanner, LineEnds) {
  EXPECT_EQ(Names("\n"), "T_NEWLINE");
  EXPECT_EQ(Names("\r\n"), "T_NEWLINE");
  EXPECT_EQ(Names("\r\n\n"), "T_NEWLINE T_NEWLINE");
  EXPECT_EQ(Names("\r"), "failed[\r]");
  EXPECT_EQ(Names("\rx1"), "failed[\rx] INTEGER");
  EXPECT_EQ(Names(" \t \t"), "T_WHITESPACE");
}

TEST(UiScriptScanner, LineComments) {
  EXPECT_EQ(Names("// main screen\n"), "T_COMMENTLINE");
  EXPECT_EQ(Names("// main\r\nBEGIN"), "T_COMMENTLINE BEGIN");
  EXPECT_EQ(Names("// \x01\xff\"/* */\n"), "T_COMMENTLINE");
  EXPECT_EQ(Names("// last line"), "failed[// last line]");
  EXPECT_EQ(Names("// lone \r here\n"), "failed[// lone \r ] CHARS T_NEWLINE");
  EXPECT_EQ(Names("/"), "failed[/]");
  EXPECT_EQ(Names("/x"), "failed[/x]");
}

TEST(UiScriptScanner, BlockComments) {
  EXPECT_EQ(Names("/* a */"), "T_COMMENTBLOCK");
  EXPECT_EQ(Names("/**/"), "T_COMMENTBLOCK");
  EXPECT_EQ(Names("/* a */BEGIN"), "T_COMMENTBLOCK BEGIN");
  EXPECT_EQ(Names("/* a\r\n b\n */"), "T_COMMENTBLOCK");
  EXPECT_EQ(Names("/* \x01\x7f\xfe\xff \" // */"), "T_COMMENTBLOCK");
  // The second '*' returns to the body: "**/" does not close.
  EXPECT_EQ(Names("/* a **/ b */"), "T_COMMENTBLOCK");
  EXPECT_EQ(Names("/* a **/"), "failed[/* a **/]");
  EXPECT_EQ(Names("/* / */"), "T_COMMENTBLOCK");
  EXPECT_EQ(Names("/* /* */"), "failed[/* /*] T_WHITESPACE failed[*] failed[/]");
  EXPECT_EQ(Names("/* open"), "failed[/* open]");
  EXPECT_EQ(Names("/*"), "failed[/*]");
}

TEST(UiScriptScanner, Strings) {
  EXPECT_EQ(Names("\"\""), "STRING");
  EXPECT_EQ(Names("\"Main\""), "STRING");
  EXPECT_EQ(Names("\"two\r\nlines\nand \r lone CR\""), "STRING");
  std::string every = "\"";
  for (int b = 0x01; b <= 0xFF; b++)
    if (b != '"') every += static_cast<char>(b);
  every += "\"";
  const std::vector<Lexeme> one = Tokenize(every);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].token, UI_SCRIPT_TOKEN_STRING);
  EXPECT_EQ(one[0].text, every);
  EXPECT_EQ(Names("\"cut off"), "failed[\"cut off]");
  EXPECT_EQ(Names("\"a\"\"b\""), "STRING STRING");
  // A NUL ends the text, also inside a string.
  EXPECT_EQ(Names(std::string_view("\"ab\0cd\"", 7)), "failed[\"ab]");
}

// ---- Parser tables -------------------------------------------------------------------------

TEST(UiScriptParser, EmptyScriptIsAccepted) {
  EXPECT_TRUE(Parse({}).accepted);
  EXPECT_TRUE(Parse(ParserTokens("// only comments\n/* and */ \t\r\n")).accepted);
}

TEST(UiScriptParser, ExampleScriptIsAccepted) {
  const std::vector<std::string> tokens = ParserTokens(kExampleScript);
  const std::vector<std::string> expected = Words(
      kDialogHead.substr(0, kDialogHead.find(" FLOAT")) + " CHARS" + kBox + "BEGIN "
      "CHARS STRING CHARS CHARS OR CHARS" + kBox + "PARAM STRING COMMA INTEGER COMMA FLOAT "
      "CHARS STRING CHARS CHARS" + kBox + "END");
  EXPECT_EQ(tokens, expected);
  EXPECT_TRUE(Parse(tokens).accepted);
}

TEST(UiScriptParser, AcceptsEveryOptionalPart) {
  const std::string control = std::string("CHARS STRING CHARS") + kBox;
  EXPECT_TRUE(Parse(Words(kDialogHead + "END")).accepted);
  EXPECT_TRUE(Parse(Words(kDialogHead + "END " + kDialogHead + "END")).accepted);
  EXPECT_TRUE(Parse(Words("DIALOG STRING CHARS CHARS OR CHARS OR CHARS" + std::string(kBox) + "BEGIN END")).accepted);
  EXPECT_TRUE(Parse(Words(kDialogHead + control + control + "END")).accepted);
  EXPECT_TRUE(Parse(Words(kDialogHead + control + "PARAM INTEGER PARAM FLOAT COMMA STRING " + control +
                          "PARAM STRING END")).accepted);
}

TEST(UiScriptParser, RejectsWhatTheGrammarLeavesOut) {
  // An INTEGER where a rectangle needs a FLOAT.
  ParseOutcome outcome = Parse(Words("DIALOG STRING CHARS INTEGER COMMA FLOAT COMMA FLOAT COMMA FLOAT BEGIN END"));
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(outcome.failed_at, 3u);
  outcome = Parse(Words(kDialogHead + "CHARS STRING CHARS FLOAT COMMA INTEGER COMMA FLOAT COMMA FLOAT END"));
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(outcome.failed_at, 16u);
  // "PARAM" with no parameter, and a bare name as parameter.
  const std::string control = std::string("CHARS STRING CHARS") + kBox;
  outcome = Parse(Words(kDialogHead + control + "PARAM END"));
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(outcome.failed_at, 22u);
  outcome = Parse(Words(kDialogHead + control + "PARAM CHARS END"));
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(outcome.failed_at, 22u);
  // Nothing may follow the last dialog; a dialog needs its caption first.
  EXPECT_FALSE(Parse(Words(kDialogHead + "END CHARS")).accepted);
  EXPECT_FALSE(Parse(Words("DIALOG CHARS STRING" + std::string(kBox) + "BEGIN END")).accepted);
  EXPECT_FALSE(Parse(Words("DIALOG STRING CHARS CHARS OR" + std::string(kBox) + "BEGIN END")).accepted);
}

TEST(UiScriptParser, ReservedWordsAreAcceptedNowhere) {
  const std::vector<std::string> example = ParserTokens(kExampleScript);
  for (const char* reserved : {"MENU", "START", "COLON", "MINUS", "failed"}) {
    for (size_t at = 0; at <= example.size(); at++) {
      std::vector<std::string> tokens = example;
      tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(at), reserved);
      const ParseOutcome outcome = Parse(tokens);
      EXPECT_FALSE(outcome.accepted) << reserved << " at " << at;
      EXPECT_EQ(outcome.failed_at, at) << reserved << " at " << at;
    }
  }
  EXPECT_FALSE(Parse(ParserTokens("DIALOG \"a\" ab - 3")).accepted);
}

TEST(UiScriptParser, ScriptEndingAfterBeginNeedsMoreInput) {
  const std::vector<std::string> tokens = Words(kDialogHead);
  const ParseOutcome outcome = Parse(tokens);
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(outcome.failed_at, tokens.size());  // rejected at "$"
}

TEST(UiScriptParser, LexicalErrorsReachTheParserAsUnknownSymbol) {
  const std::vector<std::string> tokens = ParserTokens("DIALOG \"Main\" x MAIN 0.0, 0.0, 1.0, 1.0 BEGIN END");
  ASSERT_EQ(tokens[2], "failed");
  const ParseOutcome outcome = Parse(tokens);
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(outcome.failed_at, 2u);
}
