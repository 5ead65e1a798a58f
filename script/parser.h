// parser.h: CParser, the LALR(1) driver. It pulls tokens from a scanner, looks
// actions up in the tables' binary search tree and builds one parse node per
// shifted token and per reduced rule. Nodes, evaluation records and stack
// chunks come from named allocators of the foundation library.
#pragma once
#include <cstdint>
#include <new>
#include <vector>

#include "foundation/allocator.h"
#include "foundation/string.h"
#include "script/parse_node.h"
#include "script/parse_stack.h"
#include "script/scanner.h"
#include "script/tables.h"

// One evaluation record: a node's position, text and semantic value.
struct CEvalNode {
  uint32_t column = 0;
  uint32_t line = 0;
  tam::CString text{tam::kNoStorage};     // a token's text, storage taken when set
  void* value = nullptr;
  uint32_t symbol = 0;                     // whose value it is (for clean-up)
  CEvalNode* prevLive = nullptr;
  CEvalNode* nextLive = nullptr;
};

class CParser {
 public:
  CParser(CParserTables* tables, CScanner* scanner);
  ~CParser();
  CParser(const CParser&) = delete;
  CParser& operator=(const CParser&) = delete;

  CParseResult Parse();
  // One driver step: -1 failed, 0 consumed, 1 accepted.
  int Push(int symbol, const char* text, uint32_t line, uint32_t column, void* value);
  // The evaluator's value of a valid result of this parser's current
  // generation, else null.
  void* Evaluate(const CParseResult& result);
  // Drops all nodes and evaluation records (freeing values nobody took),
  // zeroes the state and marks the parser not ready.
  void Clear();

  // ---- Evaluation records, for the tables' evaluator ------------------------------------
  CEvalNode* NewEvalNode(uint32_t symbol);
  // Returns a record; its value must have been taken (or is dropped).
  void ReturnEvalNode(CEvalNode* node);
  // Takes a token's value out of a parse node (the node no longer frees it).
  static void* TakeValue(CParseNode* node);
  // Moves a token node's text, value and position into rec.
  void TakeToken(CParseNode* node, CEvalNode* rec);
  // Takes a token node's value and position, dropping its text: for steps
  // that pass a token's value on without a record for the token.
  void* TakeTokenValue(CParseNode* node, uint32_t* line, uint32_t* column);
  // Frees the text and value of a token node that no step takes (keywords
  // and separators), while its lines are still in the cache.
  void DropToken(CParseNode* node);

  int Status() const { return status_; }
  int32_t Generation() const { return generation_; }
  int StateStackChunks() const { return states_.ChunkCount(); }
  // Token nodes whose text or value no evaluation step has taken yet.
  uint32_t HeldTokens() const { return heldTokens_; }

 private:
  void AttachTables(CParserTables* tables);
  // A node from the parse-node allocator, its child slots right behind it.
  CParseNode* NewNode() {
    void* memory = nodeAllocator_->New(1);
    auto* node = new (memory) CParseNode;
    node->children = reinterpret_cast<CParseNode**>(static_cast<char*>(memory) + sizeof(CParseNode));
    return node;
  }
  // Pops the right side of rule ruleNumber into a new node and takes the goto
  // on its left side; false when the tables have no goto there.
  bool Reduce(uint32_t ruleNumber, uint32_t width);
  // Remembered actions: kind << 32 | target, kNoAction when the tree has
  // none, kUnknownAction when not looked up yet.
  static constexpr uint64_t kUnknownAction = ~uint64_t{0};
  static constexpr uint64_t kNoAction = ~uint64_t{0} - 1;
  // The action for (current state, symbol) from the remembered actions,
  // filled from the action tree on first use; kNoAction when there is none.
  uint64_t ActionStep(uint32_t symbol, uint32_t width) {
    const size_t key = size_t(state_) * width + symbol;
    if (key < actionSteps_.size() && actionSteps_[key] != kUnknownAction) return actionSteps_[key];
    return LookUpAction(key);
  }
  uint64_t LookUpAction(size_t key);
  // Marks the parse failed; gives -1.
  int Fail();
  // The driver step of Push; a shifted token takes the text of ownedText
  // (moved, not copied) when the caller gives one, else a copy of text.
  int Step(int symbol, const char* text, tam::CString* ownedText, uint32_t line, uint32_t column,
           void* value);
  // The grammar symbol of a scanned token: its name looked up with the
  // tables' symbol number function, once per token number and parse.
  int TokenSymbol(const CToken& token);

  bool ready_ = false;
  uint32_t state_ = 0;
  int status_ = 0;                   // 0 running, 1 accepted, -1 failed
  CParserTables* tables_ = nullptr;
  CScanner* scanner_ = nullptr;
  const SRule* rules_ = nullptr;
  uint32_t ruleCount_ = 0;
  const SActionRecord* actions_ = nullptr;
  uint32_t actionCount_ = 0;
  uint32_t stateCount_ = 0, nonterminals_ = 0, terminals_ = 0, endSymbol_ = 0, nodeWidth_ = 0;
  int32_t generation_ = -1;          // advanced at every attach of tables; a result
                                     // carries the one it was made in
  uint32_t nodeSize_ = 0;

  std::vector<int> tokenSymbols_;   // per token number: symbol, or kUnknownSymbol
  // stateCount_ x width: kind << 32 | target, kNoAction or kUnknownAction.
  std::vector<uint64_t> actionSteps_;

  TParseStack<uint32_t> states_;
  TParseStack<CParseNode*> nodes_;
  tam::CAllocator<CParseNode>* nodeAllocator_ = nullptr;   // "Ortan Parsed"
  tam::CAllocator<CEvalNode> evalAllocator_;                // "Ortan Evaluated"
  // Token nodes still holding text or a value (rule nodes hold neither);
  // when an evaluation has taken or dropped them all, clear() need not visit
  // the tree again.
  uint32_t heldTokens_ = 0;
  CEvalNode* liveEvals_ = nullptr;
};
