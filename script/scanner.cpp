// scanner.cpp: the automaton walk: one tree lookup per byte, longest match,
// an error token "failed" where the automaton stops in a non-accepting state.
#include "script/scanner.h"

// ---- CScanner -------------------------------------------------------------------------

void CScanner::Attach(CLexerTables* tables) {
  tables_ = tables;
  transitions_ = tables->Transitions(&transitionCount_);
  accepting_ = tables->Accepting(&acceptingCount_);
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

bool CScanner::Lookup(uint32_t state, uint8_t byte, uint32_t* next) const {
  return LexTransition(transitions_, transitionCount_, state, byte, next);
}

bool CScanner::AcceptingToken(uint32_t state, int* token) const {
  uint32_t t;
  if (!LexAccepting(accepting_, acceptingCount_, state, &t)) return false;
  *token = static_cast<int>(t);
  return true;
}

void CScanner::NextToken(CToken& token) {
  tam::CString lexeme;
  bool stoppedAtByte = false;
  while (!atEnd_) {
    uint32_t next;
    if (!Lookup(state_, current_, &next)) {
      stoppedAtByte = true;
      break;
    }
    lexeme.Append(static_cast<char>(current_));
    state_ = next;
    Advance(false);
  }

  int number;
  if (!AcceptingToken(state_, &number)) {
    if (stoppedAtByte) lexeme.Append(static_cast<char>(current_));
    token.name = "failed";
    token.text = lexeme;
    token.number = -1;
    token.line = startLine_;
    token.column = startColumn_;
    token.skipped = false;
    token.valueMaker = nullptr;
    if (stoppedAtByte) Advance(false);
    BeginToken();
    return;
  }
  token.text = tables_->TokenAction(this, number, lexeme);
  token.skipped = tables_->IsSkipped(number);
  const char* name = tables_->TokenName(number);
  token.name = name ? name : "";
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
