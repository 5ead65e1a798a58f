// ui_script_language.cpp: the UI script's token values, line counting, syntax
// error messages and table accessors.
#include "script/ui_script_language.h"

#include <cstring>

#include "runtime/params.h"
#include "runtime/error_text.h"
#include "script/number_text.h"
#include "script/scanner.h"
#include "script/ui_script_evaluator.h"
#include "script/ui_script_tables.h"

// ---- Scanner tables -------------------------------------------------------------------

const STransitionRecord* CUIScriptLexerTables::Transitions(uint32_t* count) {
  *count = kUiScriptTransitionCount;
  return kUiScriptTransitions;
}

const SAcceptRecord* CUIScriptLexerTables::Accepting(uint32_t* count) {
  *count = kUiScriptAcceptingCount;
  return kUiScriptAccepting;
}

bool CUIScriptLexerTables::IsSkipped(int token) {
  return token >= 0 && token < int(kUiScriptTokenCount) && kUiScriptTokenSkipped[token];
}

const char* CUIScriptLexerTables::TokenName(int token) {
  return token >= 0 && token < int(kUiScriptTokenCount) ? kUiScriptTokenNames[token] : nullptr;
}

bool CUIScriptLexerTables::MakeValue(int token, const char* text, void** value) {
  switch (token) {
    case UI_SCRIPT_TOKEN_INTEGER:
      *value = NewIntParam(IntegerTokenValue(text, static_cast<uint32_t>(std::strlen(text))));
      return true;
    case UI_SCRIPT_TOKEN_FLOAT:
      *value = NewFloatParam(FloatTokenValue(text, static_cast<uint32_t>(std::strlen(text))));
      return true;
    case UI_SCRIPT_TOKEN_CHARS:
      *value = NewStringParam(text, std::strlen(text));
      return true;
    case UI_SCRIPT_TOKEN_STRING: {
      const size_t n = std::strlen(text);   // the text between the two quotes
      *value = NewStringParam(n >= 2 ? text + 1 : "", n >= 2 ? n - 2 : 0);
      return true;
    }
    default:
      *value = nullptr;
      return false;
  }
}

// The text stays as scanned; line ends are counted.
void CUIScriptLexerTables::TokenAction(CScanner* scanner, int token, tam::CString& text) {
  if (token == UI_SCRIPT_TOKEN_T_NEWLINE || token == UI_SCRIPT_TOKEN_T_COMMENTLINE) {
    scanner->NewLine();
  } else if (token == UI_SCRIPT_TOKEN_T_COMMENTBLOCK) {
    for (uint32_t i = 0; i < text.Length(); ++i)
      if (text[i] == '\n') scanner->NewLine();
  }
}

void CUIScriptLexerTables::FreeValue(void* value) { FreeParam(static_cast<SParamValue*>(value)); }

// ---- Parser tables --------------------------------------------------------------------

CUIScriptParserTables::CUIScriptParserTables() {
  rules_.reserve(kUiScriptRuleCount);
  for (uint32_t r = 0; r < kUiScriptRuleCount; ++r)
    rules_.push_back(SRule{kUiScriptRules[r], kUiScriptRuleLengths[r]});
}

CUIScriptParserTables::~CUIScriptParserTables() = default;

const SRule* CUIScriptParserTables::Rules(uint32_t* count) {
  *count = kUiScriptRuleCount;
  return rules_.data();
}

const SActionRecord* CUIScriptParserTables::Actions(uint32_t* count) {
  *count = kUiScriptActionCount;
  return kUiScriptActions;
}

const char* CUIScriptParserTables::SymbolName(int symbol) {
  return ::SymbolName(kUiScriptSymbolNames, kUiScriptSymbolCount, symbol);
}

int CUIScriptParserTables::SymbolNumber(const char* name) {
  return ::SymbolNumber(kUiScriptSymbolNames, kUiScriptSymbolCount, name);
}

void* CUIScriptParserTables::Evaluate(CParser* parser, CParseNode* root) {
  return EvaluateUIScript(parser, root);
}

tam::CString CUIScriptParserTables::ErrorMessage(uint32_t line, uint32_t column,
                                                 const char* tokenName, const char* tokenText) {
  SetErrorText("Error (%u, %u) : %s (%s) is not expected here.", line, column, tokenName, tokenText);
  tam::CString message;
  message.Format("error (%u, %u) : token %s (%s) is not expected here\n", line, column, tokenText,
                 tokenName);
  return message;
}

void CUIScriptParserTables::Sizes(uint32_t* states, uint32_t* nonterminals, uint32_t* terminals,
                                  uint32_t* endSymbol, uint32_t* nodeWidth) {
  *states = kUiScriptParserStates;
  *nonterminals = kUiScriptNonterminals;
  *terminals = kUiScriptTerminals;
  *endSymbol = kUiScriptEndSymbol;
  *nodeWidth = kUiScriptNodeWidth;
}

void CUIScriptParserTables::FreeEvalValue(uint32_t symbol, void* value) {
  FreeUIScriptValue(symbol, value);
}
