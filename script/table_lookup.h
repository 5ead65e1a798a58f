// table_lookup.h: the searches the scanner and parser runtime make in the
// generated tables (script/ui_script_tables.h): the scanner's transition tree
// and accepting list, the parser's action tree, and symbol names.
#pragma once
#include <cstdint>

// A missing child in a transition or action tree.
inline constexpr uint32_t kNoRecord = 0xFFFFFFFFu;

// Kinds of action records.
enum : uint32_t {
  ACTION_SHIFT = 0,    // target: next state
  ACTION_GOTO = 1,     // target: next state after a reduction
  ACTION_REDUCE = 2,   // target: rule number
  ACTION_ACCEPT = 3,
};

// ---- Scanner ----------------------------------------------------------------

// Transition records are {state, next state, byte, left, right}, one search
// tree rooted at record 0, ordered by state then byte. Sets *next and gives
// true when (state, byte) has a transition.
bool LexTransition(const uint32_t (*records)[5], uint32_t count, uint32_t state, uint8_t byte,
                   uint32_t* next);

// Accepting records are {state, token}; the first record of the state wins.
// Sets *token and gives true when the state accepts.
bool LexAccepting(const uint32_t (*records)[2], uint32_t count, uint32_t state, uint32_t* token);

// ---- Parser -----------------------------------------------------------------

// Action records are {key, kind, target, left, right}, one search tree on the
// key (state * symbol count + symbol) rooted at record 0. Gives false when the
// key has no action: a syntax error.
bool FindAction(const uint32_t (*records)[5], uint32_t count, uint32_t key, uint32_t* kind,
                uint32_t* target);

// The number of the symbol called name (exact comparison), -1 if none.
int32_t SymbolNumber(const char* const* names, uint32_t count, const char* name);

// The name of symbol number, "" when it is out of range.
const char* SymbolName(const char* const* names, uint32_t count, int32_t number);
