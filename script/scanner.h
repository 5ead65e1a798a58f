// scanner.h: the table-driven scanner. CScanner runs the automaton of a
// CLexerTables object over bytes with longest match and no stepping back;
// CStringScanner reads a NUL-terminated text.
#pragma once
#include <cstdint>

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

  CLexerTables* Tables() const { return tables_; }
  uint32_t Line() const { return line_; }
  uint32_t Column() const { return column_; }

 protected:
  bool Lookup(uint32_t state, uint8_t byte, uint32_t* next) const;
  bool AcceptingToken(uint32_t state, int* token) const;

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
};

class CStringScanner : public CScanner {
 public:
  // Attaches the tables, copies the text and loads its first byte (without
  // counting a column); an empty text is at its end at once.
  CStringScanner(CLexerTables* tables, const char* text);
  void Advance(bool noCount) override;

 private:
  tam::CString text_;
  uint32_t length_ = 0;      // the text's length, measured once
  uint32_t position_ = 0;
};
