// scanner.h: the table-driven scanner. CScanner runs the automaton of a
// CLexerTables object over bytes with longest match and no stepping back;
// CStringScanner reads a NUL-terminated text.
//
// The transition tree stays the source of truth: every (state, byte) pair is
// looked up in it once, the first time the scanner meets it, and the answer
// is kept in a per-state table of 256 steps so that later bytes cost one
// array read. Accepting states are remembered the same way.
#pragma once
#include <cstdint>
#include <vector>

#include "foundation/string.h"
#include "script/tables.h"
#include "script/token.h"

class CScanner {
 public:
  CScanner() = default;
  CScanner(const CScanner&) = delete;
  CScanner& operator=(const CScanner&) = delete;

  virtual ~CScanner() = default;
  // Stores the tables; clears line, column and the token start.
  virtual void Attach(CLexerTables* tables);
  // Back to state 0 with nothing attached.
  virtual void Reset();
  // A new token starts at the current line and column.
  virtual void BeginToken();
  // Loads the next byte; counts a column unless noCount.
  virtual void Advance(bool noCount) = 0;
  virtual void NextToken(CToken& token);
  virtual void MarkEnd();
  virtual void NewLine();
  virtual void NextColumn();
  virtual bool AtEnd();
  // The next token the parser sees: tokens it never sees (skipped ones) are
  // scanned and their token action done, so lines are counted, but they are
  // not stored in token. False when the text ends before such a token. This
  // one takes tokens from NextToken; a scanner over a buffer may scan them
  // directly.
  virtual bool NextKeptToken(CToken& token);

  CLexerTables* Tables() const { return tables_; }
  uint32_t Line() const { return line_; }
  uint32_t Column() const { return column_; }

 protected:
  // Walks the automaton from the current state, appending every byte that
  // has a transition to lexeme_ and advancing past it. True when it stopped
  // at a byte without a transition, false at the end of the text. This one
  // reads byte by byte through Advance; a scanner over a buffer may walk it
  // directly.
  virtual bool Walk();
  // The rest of NextToken after the walk: the error token "failed", or the
  // token the accepting state gives. False (with token untouched) for a
  // skipped token when keepOnly is set. Begins the next token.
  bool FinishToken(CToken& token, bool stoppedAtByte, bool keepOnly);

  // The next state for (state, byte) from the remembered steps, filled from
  // the tree on first use; false when there is no transition.
  bool Lookup(uint32_t state, uint8_t byte, uint32_t* next) {
    if (state < stateCount_) {
      uint32_t& step = steps_[state * 256u + byte];
      if (step == kUnknownStep) step = LookupInTree(state, byte);
      *next = step;
      return step != kNoRecord;
    }
    const uint32_t step = LookupInTree(state, byte);
    *next = step;
    return step != kNoRecord;
  }
  bool AcceptingToken(uint32_t state, int* token);
  // The remembered steps: StateCount() rows of 256, each step a next state,
  // kNoRecord or kUnknownStep (not looked up yet; see LookupInTree).
  uint32_t StateCount() const { return stateCount_; }
  uint32_t* Steps() { return steps_.data(); }
  static constexpr uint32_t kUnknownStep = 0xFFFFFFFEu;
  uint32_t LookupInTree(uint32_t state, uint8_t byte) const;

  CLexerTables* tables_ = nullptr;
  const STransitionRecord* transitions_ = nullptr;
  uint32_t transitionCount_ = 0;
  const SAcceptRecord* accepting_ = nullptr;
  uint32_t acceptingCount_ = 0;
  bool ready_ = false;
  uint32_t state_ = 0;
  uint8_t current_ = 0;
  bool started_ = false;
  bool atEnd_ = false;
  uint32_t line_ = 0, column_ = 0;
  uint32_t startLine_ = 0, startColumn_ = 0;
  tam::CString lexeme_;            // the bytes of the token being scanned

 private:
  static constexpr int kUnknownToken = -2;

  uint32_t stateCount_ = 0;        // states named by the transition records
  std::vector<uint32_t> steps_;    // stateCount_ x 256: next state, kNoRecord or kUnknownStep
  std::vector<int> accepts_;       // per state: token, -1 or kUnknownToken
  // Per token number (below kRememberedTokens): its name, the name's length
  // and whether it is skipped, asked of the tables once.
  static constexpr uint32_t kRememberedTokens = 1024;
  struct STokenInfo {
    const char* name = nullptr;   // null until asked for
    uint32_t length = 0;
    bool skipped = false;
  };
  std::vector<STokenInfo> tokenInfo_;
  STokenInfo InfoOf(int token) {
    if (static_cast<uint32_t>(token) < tokenInfo_.size() && tokenInfo_[static_cast<uint32_t>(token)].name)
      return tokenInfo_[static_cast<uint32_t>(token)];
    return AskInfo(token);
  }
  STokenInfo AskInfo(int token);
};

class CStringScanner : public CScanner {
 public:
  // Attaches the tables, copies the text and loads its first byte (without
  // counting a column); an empty text is at its end at once.
  CStringScanner(CLexerTables* tables, const char* text);
  void Advance(bool noCount) override;
  void NextToken(CToken& token) override;
  bool NextKeptToken(CToken& token) override;

 protected:
  bool Walk() override;

 private:
  tam::CString text_;
  uint32_t length_ = 0;      // the text's length, measured once
  uint32_t position_ = 0;    // of the byte after the current one
};
