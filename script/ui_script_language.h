// ui_script_language.h: the table objects of the UI script: its scanner
// automaton and token functions, and its parser tables with the evaluator
// that builds the dialog table.
#pragma once
#include <vector>

#include "script/tables.h"

class CUIScriptLexerTables : public CLexerTables {
 public:
  const STransitionRecord* Transitions(uint32_t* count) override;
  const SAcceptRecord* Accepting(uint32_t* count) override;
  bool IsSkipped(int token) override;
  const char* TokenName(int token) override;
  bool MakeValue(int token, const char* text, void** value) override;
  void TokenAction(CScanner* scanner, int token, tam::CString& text) override;
  void FreeValue(void* value) override;
};

class CUIScriptParserTables : public CParserTables {
 public:
  CUIScriptParserTables();
  ~CUIScriptParserTables() override;
  CUIScriptParserTables(const CUIScriptParserTables&) = delete;
  CUIScriptParserTables& operator=(const CUIScriptParserTables&) = delete;

  const SRule* Rules(uint32_t* count) override;
  const SActionRecord* Actions(uint32_t* count) override;
  const char* SymbolName(int symbol) override;
  int SymbolNumber(const char* name) override;
  void* Evaluate(CParser* parser, CParseNode* root) override;
  tam::CString ErrorMessage(uint32_t line, uint32_t column, const char* tokenName,
                            const char* tokenText) override;
  void Sizes(uint32_t* states, uint32_t* nonterminals, uint32_t* terminals, uint32_t* endSymbol,
             uint32_t* nodeWidth) override;
  void FreeEvalValue(uint32_t symbol, void* value) override;

 private:
  std::vector<SRule> rules_;   // built from the generated tables
};
