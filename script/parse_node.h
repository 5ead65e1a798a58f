// parse_node.h: nodes of the concrete parse tree and the result of a parse.
#pragma once
#include <cstdint>

#include "foundation/string.h"

class CParser;

// One node per shifted token and per reduced rule. The child pointers are
// stored right behind the node, with room for the tables' node width. The
// record is one cache line (64 bytes): in a heap's page-aligned frames a token
// is one line and a rule node with its child slots two.
struct CParseNode {
  uint32_t symbol = 0;
  uint8_t terminal = 0;          // 1 for a token
  tam::CString text{tam::kNoStorage};   // the token's text; a rule node has none
  uint32_t column = 0;           // 1-based, tokens only
  uint32_t line = 0;             // 1-based, tokens only
  void* value = nullptr;         // the token's value until an evaluation takes it
  uint32_t childCount = 0;
  int32_t rule = -1;             // -1 for a token
  CParseNode** children = nullptr;
};
static_assert(sizeof(CParseNode) == 64, "a parse node record is one cache line");

struct CParseResult {
  CParser* parser = nullptr;
  CParseNode* root = nullptr;
  int32_t generation = -1;
  tam::CString message = "null parsed result";

  bool IsValid() const { return parser && root; }
};
