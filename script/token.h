// token.h: CToken, one token produced by the scanner.
#pragma once
#include <cstdint>

#include "foundation/string.h"

class CLexerTables;

struct CToken {
  tam::CString name;             // the token's name, "failed" for a lexical error
  tam::CString text;             // the bytes it matched (after the token action)
  int32_t number = -1;           // token number, -1 for the error token
  uint32_t line = 0;             // from 0
  uint32_t column = 0;           // from 0
  bool skipped = false;          // the parser never sees it
  CLexerTables* valueMaker = nullptr;   // makes the token's value on demand
};
