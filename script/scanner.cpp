// scanner.cpp: the automaton walk: one step per byte, longest match, an error
// token "failed" where the automaton stops in a non-accepting state.
#include "script/scanner.h"

#include <utility>

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
  const bool stoppedAtByte = Walk();

  int number;
  if (!AcceptingToken(state_, &number)) {
    if (stoppedAtByte) lexeme_.Append(static_cast<char>(current_));
    token.name = "failed";
    token.text = std::move(lexeme_);
    token.number = -1;
    token.line = startLine_;
    token.column = startColumn_;
    token.skipped = false;
    token.valueMaker = nullptr;
    if (stoppedAtByte) Advance(false);
    BeginToken();
    return;
  }
  tables_->TokenAction(this, number, lexeme_);
  // The lexeme's storage goes to the token (and on to its parse node) and
  // the token's old storage, if it has any, holds the next lexeme: no copy.
  token.text = std::move(lexeme_);
  token.skipped = tables_->IsSkipped(number);
  // A token of the same number and tables as the last one keeps its name.
  if (token.number != number || token.valueMaker != tables_ || token.name.Capacity() == 0) {
    const char* name = tables_->TokenName(number);
    token.name = name ? name : "";
  }
  token.number = number;
  token.line = startLine_;
  token.column = startColumn_;
  token.valueMaker = tables_;
  BeginToken();
}

// ---- CStringScanner ---------------------------------------------------------------------

CStringScanner::CStringScanner(CLexerTables* tables, const char* text)
    : text_(text), length_(text_.Length()) {
  Attach(tables);
  BeginToken();
  if (length_ == 0) MarkEnd();
  else Advance(true);
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
// at once and the column grows by the bytes advanced past.
bool CStringScanner::Walk() {
  if (atEnd_) return false;
  const auto* text = reinterpret_cast<const uint8_t*>(text_.Data());
  const uint32_t first = position_ - 1;   // the current byte
  uint32_t position = position_;
  uint32_t state = state_;
  uint8_t c = current_;
  bool stoppedAtByte = true;
  for (;;) {
    uint32_t next;
    if (!Lookup(state, c, &next)) break;
    state = next;
    if (position == length_) {
      stoppedAtByte = false;
      break;
    }
    c = text[position++];
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
