// tables.h: the two table objects that give the grammar-independent scanner
// and parser runtime one language: CLexerTables (scanner automaton, token
// names, values, actions) and CParserTables (rules, actions, symbols,
// evaluator, error messages, sizes). Virtual slots are in a fixed order.
#pragma once
#include <cstdint>

#include "foundation/string.h"
#include "script/table_lookup.h"

class CScanner;
class CParser;
struct CParseNode;

typedef uint32_t STransitionRecord[5];   // state, next state, byte, left, right
typedef uint32_t SAcceptRecord[2];       // state, token number
typedef uint32_t SActionRecord[5];       // key, kind, target, left, right

// One grammar rule: symbols[0] is the left side, the rest the right side.
struct SRule {
  const uint32_t* symbols;
  uint32_t length;
};

class CLexerTables {
 public:
  virtual const STransitionRecord* Transitions(uint32_t* count) = 0;
  virtual const SAcceptRecord* Accepting(uint32_t* count) = 0;
  virtual bool IsSkipped(int token) = 0;
  virtual const char* TokenName(int token) = 0;   // null for an unknown number
  // The token's semantic value; false when the token carries none.
  virtual bool MakeValue(int token, const char* text, void** value) = 0;
  // Turns text into the token's final text in place; counts line ends
  // through the scanner.
  virtual void TokenAction(CScanner* scanner, int token, tam::CString& text) = 0;
  virtual ~CLexerTables() = default;
  // Frees a value made by MakeValue that no evaluation took.
  virtual void FreeValue(void* value) = 0;
};

class CParserTables {
 public:
  virtual const SRule* Rules(uint32_t* count) = 0;
  virtual const SActionRecord* Actions(uint32_t* count) = 0;
  virtual const char* SymbolName(int symbol) = 0;       // "" out of range
  virtual int SymbolNumber(const char* name) = 0;       // -1 when unknown
  virtual void* Evaluate(CParser* parser, CParseNode* root) = 0;
  // The message of a syntax error; also writes the runtime error text.
  virtual tam::CString ErrorMessage(uint32_t line, uint32_t column, const char* tokenName,
                                    const char* tokenText) = 0;
  virtual void Sizes(uint32_t* states, uint32_t* nonterminals, uint32_t* terminals,
                     uint32_t* endSymbol, uint32_t* nodeWidth) = 0;
  virtual ~CParserTables() = default;
  // Frees the semantic value of a symbol that no evaluation step took.
  virtual void FreeEvalValue(uint32_t symbol, void* value) = 0;
};
