// parser.cpp: the parse loop and the LALR(1) driver step.
#include "script/parser.h"

#include <new>
#include <utility>

#include "foundation/ortan_heap.h"
#include "foundation/string_alloc.h"
#include "runtime/error_text.h"

namespace {
constexpr int kUnknownSymbol = -2;
constexpr size_t kRememberedTokens = 1024;   // token numbers whose symbols are remembered
// The parse loop holds the string pool for this many tokens at a time, so
// that the strings of a token do not each take the pool's mutex while other
// threads still get their turn between batches.
constexpr int kTokensPerHold = 512;
}  // namespace

CParser::CParser(CParserTables* tables, CScanner* scanner)
    : evalAllocator_("Ortan", "Ortan Evaluated", 0x100000, sizeof(CEvalNode), true, false, false) {
  AttachTables(tables);
  scanner_ = scanner;
}

CParser::~CParser() {
  Clear();
  states_.Release();
  nodes_.Release();
}

void CParser::AttachTables(CParserTables* tables) {
  tables_ = tables;
  rules_ = tables->Rules(&ruleCount_);
  actions_ = tables->Actions(&actionCount_);
  tables->Sizes(&stateCount_, &nonterminals_, &terminals_, &endSymbol_, &nodeWidth_);
  state_ = 0;
  status_ = 0;
  ++generation_;
  states_.Clear();
  tokenSymbols_.clear();
  actionSteps_.assign(size_t(stateCount_) * (nonterminals_ + terminals_), kUnknownAction);
  nodeSize_ = static_cast<uint32_t>(sizeof(CParseNode) + nodeWidth_ * sizeof(CParseNode*));
  delete nodeAllocator_;
  nodeAllocator_ =
      new tam::CAllocator<CParseNode>("Ortan", "Ortan Parsed", 0x100000, nodeSize_, true, false, false);
  ready_ = true;
}

// ---- Nodes and evaluation records --------------------------------------------------------

void* CParser::TakeValue(CParseNode* node) {
  void* value = node->value;
  node->value = nullptr;
  return value;
}

namespace {
bool HoldsToken(const CParseNode* node) { return node->text.Capacity() != 0 || node->value; }
}  // namespace

void CParser::TakeToken(CParseNode* node, CEvalNode* rec) {
  const bool held = HoldsToken(node);
  rec->line = node->line;
  rec->column = node->column;
  rec->text = std::move(node->text);   // the tree is not read again
  rec->value = TakeValue(node);
  if (held && !HoldsToken(node)) --heldTokens_;
}

void* CParser::TakeTokenValue(CParseNode* node, uint32_t* line, uint32_t* column) {
  *line = node->line;
  *column = node->column;
  const bool held = HoldsToken(node);
  void* value = TakeValue(node);
  node->text = tam::CString(tam::kNoStorage);
  if (held && !HoldsToken(node)) --heldTokens_;
  return value;
}

void CParser::DropToken(CParseNode* node) {
  if (!HoldsToken(node)) return;
  if (node->value && scanner_ && scanner_->Tables()) scanner_->Tables()->FreeValue(node->value);
  node->value = nullptr;
  node->text = tam::CString(tam::kNoStorage);
  if (!HoldsToken(node)) --heldTokens_;
}

CEvalNode* CParser::NewEvalNode(uint32_t symbol) {
  auto* node = new (evalAllocator_.New(1)) CEvalNode;
  node->symbol = symbol;
  node->nextLive = liveEvals_;
  if (liveEvals_) liveEvals_->prevLive = node;
  liveEvals_ = node;
  return node;
}

void CParser::ReturnEvalNode(CEvalNode* node) {
  if (node->value && tables_) tables_->FreeEvalValue(node->symbol, node->value);
  if (node->prevLive) node->prevLive->nextLive = node->nextLive;
  else liveEvals_ = node->nextLive;
  if (node->nextLive) node->nextLive->prevLive = node->prevLive;
  node->~CEvalNode();
  CEvalNode* raw = node;
  evalAllocator_.Delete(raw);
}

void CParser::Clear() {
  tam::CStringHold hold(tam::StringAlloc());
  while (liveEvals_) ReturnEvalNode(liveEvals_);
  CLexerTables* lexer = scanner_ ? scanner_->Tables() : nullptr;
  // Rule nodes hold nothing; token nodes only until an evaluation took them.
  if (heldTokens_ != 0 && nodeAllocator_) {
    for (const tam::SAllocChunk* chunk = nodeAllocator_->Chunks(); chunk; chunk = chunk->next)
      for (uint32_t i = 0; i < chunk->capacity; ++i) {
        if (!chunk->slots[i]) continue;
        auto* node = reinterpret_cast<CParseNode*>(chunk->base + static_cast<size_t>(i) * nodeSize_);
        if (node->value && lexer) lexer->FreeValue(node->value);
        node->~CParseNode();
      }
  }
  heldTokens_ = 0;
  nodes_.Clear();
  states_.Clear();
  delete nodeAllocator_;   // gives its frames back
  nodeAllocator_ = nullptr;
  state_ = 0;
  status_ = 0;
  tables_ = nullptr;
  rules_ = nullptr;
  actions_ = nullptr;
  ruleCount_ = actionCount_ = 0;
  ready_ = false;
}

int CParser::TokenSymbol(const CToken& token) {
  const auto number = static_cast<size_t>(token.number);
  if (token.number < 0 || number >= kRememberedTokens) return tables_->SymbolNumber(token.name.Data());
  if (number >= tokenSymbols_.size()) tokenSymbols_.resize(number + 1, kUnknownSymbol);
  int& symbol = tokenSymbols_[number];
  if (symbol == kUnknownSymbol) symbol = tables_->SymbolNumber(token.name.Data());
  return symbol;
}

// ---- Driver ------------------------------------------------------------------------------------

// One lookup per action. A reduction pops its right side, pushes the rule's
// node, takes the goto on the rule's left side and goes round again with the
// same symbol: a loop rather than a call per reduction, so that a long list
// (whose right-recursive rules all reduce at its end) keeps the C++ stack flat.
int CParser::Push(int symbol, const char* text, uint32_t line, uint32_t column, void* value) {
  return Step(symbol, text, nullptr, line, column, value);
}

int CParser::Step(int symbol, const char* text, tam::CString* ownedText, uint32_t line, uint32_t column,
                  void* value) {
  if (!ready_ || status_ == -1) return -1;
  const uint32_t width = nonterminals_ + terminals_;
  if (symbol < 0 || static_cast<uint32_t>(symbol) >= width) return Fail();
  for (;;) {
    const uint64_t step = ActionStep(static_cast<uint32_t>(symbol), width);
    if (step == kNoAction) return Fail();
    const uint32_t kind = uint32_t(step >> 32), target = uint32_t(step);
    switch (kind) {
      case ACTION_SHIFT: {
        CParseNode* node = NewNode();
        node->symbol = static_cast<uint32_t>(symbol);
        node->terminal = 1;
        node->column = column;
        node->line = line;
        node->value = value;
        if (ownedText) node->text = std::move(*ownedText);
        else node->text = text ? text : "";
        if (HoldsToken(node)) ++heldTokens_;
        node->rule = -1;
        node->childCount = 0;
        nodes_.Push(node);
        states_.Push(state_);
        state_ = target;
        return 0;
      }
      case ACTION_GOTO:
        states_.Push(state_);
        state_ = target;
        return 0;
      case ACTION_REDUCE:
        if (!Reduce(target, width)) return Fail();
        break;   // the same symbol again, in the state after the goto
      case ACTION_ACCEPT:
        status_ = 1;
        return 1;
      default:
        return Fail();
    }
  }
}

bool CParser::Reduce(uint32_t ruleNumber, uint32_t width) {
  const SRule& rule = rules_[ruleNumber];
  const uint32_t n = rule.length - 1;
  CParseNode* node = NewNode();
  node->symbol = rule.symbols[0];
  node->rule = static_cast<int32_t>(ruleNumber);
  node->childCount = n;
  states_.PopN(n, &state_);
  nodes_.PopInto(n, node->children);
  nodes_.Push(node);
  // The left side is a nonterminal: generated tables give it a goto, and
  // nothing else, in every state a reduction can uncover.
  if (rule.symbols[0] >= width) return false;
  const uint64_t step = ActionStep(rule.symbols[0], width);
  if (step == kNoAction || uint32_t(step >> 32) != ACTION_GOTO) return false;
  states_.Push(state_);
  state_ = uint32_t(step);
  return true;
}

uint64_t CParser::LookUpAction(size_t key) {
  uint32_t k = 0, t = 0;
  const uint64_t step = ::FindAction(actions_, actionCount_, uint32_t(key), &k, &t) ? uint64_t(k) << 32 | t : kNoAction;
  // A state the sizes do not count is not remembered: the tree alone answers.
  if (key < actionSteps_.size()) actionSteps_[key] = step;
  return step;
}

int CParser::Fail() {
  status_ = -1;
  return -1;
}

CParseResult CParser::Parse() {
  CParseResult result;
  CToken token;
  while (!scanner_->AtEnd() && status_ != -1) {
    tam::CStringHold hold(tam::StringAlloc());
    for (int n = 0; n < kTokensPerHold && status_ != -1; ++n) {
      if (!scanner_->NextKeptToken(token)) break;   // the text ended
      const int symbol = TokenSymbol(token);
      void* value = nullptr;
      if (token.valueMaker) token.valueMaker->MakeValue(token.number, token.text.Data(), &value);
      const int pushed = Step(symbol, token.text.Data(), &token.text, token.line + 1, token.column + 1, value);
      // A refused token's value was never stored in a node.
      if (pushed < 0 && value && scanner_->Tables()) scanner_->Tables()->FreeValue(value);
    }
  }
  if (status_ == -1) {
    result.message = tables_->ErrorMessage(token.line + 1, token.column + 1, token.name.Data(),
                                           token.text.Data());
    return result;
  }
  Push(static_cast<int>(endSymbol_), nullptr, 0, 0, nullptr);
  if (status_ == 1) {
    nodes_.Pop(&result.root);
    result.parser = this;
    result.generation = generation_;
    result.message = "OK";
    return result;
  }
  nodes_.Clear();
  result.message = "error : Unexpected end-of-file";
  SetErrorText("error : Unexpected end-of-file");
  return result;
}

void* CParser::Evaluate(const CParseResult& result) {
  if (!result.IsValid() || result.parser != this || result.generation != generation_ || !ready_)
    return nullptr;
  // The evaluation returns every token's text: one hold of the string pool.
  tam::CStringHold hold(tam::StringAlloc());
  return tables_->Evaluate(this, result.root);
}
