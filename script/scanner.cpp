// scanner.cpp: the automaton walk: one step per byte, longest match, an error
// token "failed" where the automaton stops in a non-accepting state.
#include "script/scanner.h"

#include <cstring>

// ---- CScanner -------------------------------------------------------------------------

void CScanner::Attach(CLexerTables* tables) {
  tables_ = tables;
  transitions_ = tables->Transitions(&transitionCount_);
  accepting_ = tables->Accepting(&acceptingCount_);
  stateCount_ = 0;
  for (uint32_t i = 0; i < transitionCount_; ++i) {
    if (transitions_[i][0] >= stateCount_) stateCount_ = transitions_[i][0] + 1;
    if (transitions_[i][1] >= stateCount_) stateCount_ = transitions_[i][1] + 1;
  }
  steps_.assign(static_cast<size_t>(stateCount_) * 256u, kUnknownStep);
  accepts_.assign(stateCount_, kUnknownToken);
  tokenInfo_.clear();
  ready_ = true;
  line_ = column_ = 0;
  startLine_ = startColumn_ = 0;
}

void CScanner::Reset() {
  state_ = 0;
  tables_ = nullptr;
  transitions_ = nullptr;
  accepting_ = nullptr;
  transitionCount_ = acceptingCount_ = 0;
  stateCount_ = 0;
  steps_.clear();
  accepts_.clear();
  tokenInfo_.clear();
  ready_ = false;
}

void CScanner::BeginToken() {
  state_ = 0;
  startLine_ = line_;
  startColumn_ = column_;
}

void CScanner::MarkEnd() { atEnd_ = true; }

void CScanner::NewLine() {
  ++line_;
  column_ = 0;
}

void CScanner::NextColumn() { ++column_; }

bool CScanner::AtEnd() { return atEnd_; }

uint32_t CScanner::LookupInTree(uint32_t state, uint8_t byte) const {
  uint32_t next;
  return LexTransition(transitions_, transitionCount_, state, byte, &next) ? next : kNoRecord;
}

bool CScanner::AcceptingToken(uint32_t state, int* token) {
  int remembered = state < stateCount_ ? accepts_[state] : kUnknownToken;
  if (remembered == kUnknownToken) {
    uint32_t t;
    remembered = LexAccepting(accepting_, acceptingCount_, state, &t) ? static_cast<int>(t) : -1;
    if (state < stateCount_) accepts_[state] = remembered;
  }
  *token = remembered;
  return remembered >= 0;
}

CScanner::STokenInfo CScanner::AskInfo(int token) {
  const char* name = tables_->TokenName(token);
  STokenInfo info{name ? name : "", 0, tables_->IsSkipped(token)};
  info.length = static_cast<uint32_t>(std::strlen(info.name));
  if (token >= 0 && static_cast<uint32_t>(token) < kRememberedTokens) {
    if (static_cast<size_t>(token) >= tokenInfo_.size()) tokenInfo_.resize(static_cast<size_t>(token) + 1);
    tokenInfo_[static_cast<size_t>(token)] = info;
  }
  return info;
}

bool CScanner::Walk() {
  while (!atEnd_) {
    uint32_t next;
    if (!Lookup(state_, current_, &next)) return true;
    lexeme_.Append(static_cast<char>(current_));
    state_ = next;
    Advance(false);
  }
  return false;
}

void CScanner::NextToken(CToken& token) {
  lexeme_.Assign("", 0);
  FinishToken(token, Walk(), false);
}

bool CScanner::NextKeptToken(CToken& token) {
  while (!AtEnd()) {
    NextToken(token);
    if (!token.skipped) return true;
  }
  return false;
}

bool CScanner::FinishToken(CToken& token, bool stoppedAtByte, bool keepOnly) {
  int number;
  if (!AcceptingToken(state_, &number)) {
    if (stoppedAtByte) lexeme_.Append(static_cast<char>(current_));
    token.name = "failed";
    token.text.Assign(lexeme_.Data(), lexeme_.Length());
    token.number = -1;
    token.line = startLine_;
    token.column = startColumn_;
    token.skipped = false;
    token.valueMaker = nullptr;
    if (stoppedAtByte) Advance(false);
    BeginToken();
    return true;
  }
  tables_->TokenAction(this, number, lexeme_);
  const STokenInfo info = InfoOf(number);
  if (keepOnly && info.skipped) {
    BeginToken();
    return false;
  }
  // The lexeme stays the scanner's; the token gets a copy. A token whose text
  // went on to a parse node takes new storage here, so storage is taken in
  // the order tokens are scanned and, as the evaluation returns it in about
  // that order, goes back in runs.
  token.text.Assign(lexeme_.Data(), lexeme_.Length());
  token.skipped = info.skipped;
  // A token of the same number and tables as the last one keeps its name.
  if (token.number != number || token.valueMaker != tables_ || token.name.Capacity() == 0)
    token.name.Assign(info.name, info.length);
  token.number = number;
  token.line = startLine_;
  token.column = startColumn_;
  token.valueMaker = tables_;
  BeginToken();
  return true;
}

// ---- CStringScanner ---------------------------------------------------------------------

CStringScanner::CStringScanner(CLexerTables* tables, const char* text)
    : text_(text), length_(text_.Length()) {
  Attach(tables);
  BeginToken();
  if (length_ == 0) MarkEnd();
  else Advance(true);
}

void CStringScanner::NextToken(CToken& token) {
  lexeme_.Assign("", 0);
  FinishToken(token, CStringScanner::Walk(), false);
}

bool CStringScanner::NextKeptToken(CToken& token) {
  while (!atEnd_) {
    lexeme_.Assign("", 0);
    if (FinishToken(token, CStringScanner::Walk(), true)) return true;
  }
  return false;
}

void CStringScanner::Advance(bool noCount) {
  const char c = position_ < length_ ? text_[position_] : '\0';
  if (c == '\0') {
    MarkEnd();
    return;
  }
  current_ = static_cast<uint8_t>(c);
  ++position_;
  if (!noCount) NextColumn();
}

// The walk of CScanner over the text in place: the bytes taken are appended
// at once and the column grows by the bytes advanced past. Next states come
// from the transition records, so every state the walk reaches has its row
// of remembered steps; a step not looked up yet is filled from the tree.
bool CStringScanner::Walk() {
  if (atEnd_) return false;
  const auto* text = reinterpret_cast<const uint8_t*>(text_.Data());
  const uint32_t first = position_ - 1;   // the current byte
  const uint32_t length = length_;
  uint32_t position = position_;
  uint32_t state = state_;
  uint8_t c = current_;
  bool stoppedAtByte = true;
  if (state < StateCount()) {
    uint32_t* const steps = Steps();
    for (;;) {
      uint32_t step = steps[state * 256u + c];
      if (step >= kUnknownStep) {
        if (step == kNoRecord) break;
        step = steps[state * 256u + c] = LookupInTree(state, c);
        if (step == kNoRecord) break;
      }
      state = step;
      if (position == length) {
        stoppedAtByte = false;
        break;
      }
      c = text[position++];
    }
  } else {
    for (;;) {
      uint32_t next;
      if (!Lookup(state, c, &next)) break;
      state = next;
      if (position == length) {
        stoppedAtByte = false;
        break;
      }
      c = text[position++];
    }
  }
  // Bytes taken: up to the stopping byte, or every byte to the end.
  const uint32_t taken = (stoppedAtByte ? position - 1 : position) - first;
  lexeme_.Append(reinterpret_cast<const char*>(text) + first, taken);
  column_ += position - position_;
  position_ = position;
  state_ = state;
  current_ = c;
  if (!stoppedAtByte) MarkEnd();
  return stoppedAtByte;
}
