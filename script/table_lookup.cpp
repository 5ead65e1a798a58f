// table_lookup.cpp: tree walks over transition and action records, linear
// searches over accepting records and symbol names.
#include "script/table_lookup.h"

#include <cstring>

// ---- Scanner ----------------------------------------------------------------

bool LexTransition(const uint32_t (*records)[5], uint32_t count, uint32_t state, uint8_t byte,
                   uint32_t* next) {
  uint32_t at = count > 0 ? 0 : kNoRecord;
  while (at < count) {
    const uint32_t* record = records[at];
    bool go_right;
    if (record[0] == state) {
      const uint32_t record_byte = record[2] & 0xFFu;
      if (record_byte == byte) {
        *next = record[1];
        return true;
      }
      go_right = record_byte < byte;
    } else {
      go_right = record[0] < state;
    }
    at = go_right ? record[4] : record[3];
  }
  return false;
}

bool LexAccepting(const uint32_t (*records)[2], uint32_t count, uint32_t state, uint32_t* token) {
  for (uint32_t i = 0; i < count; i++) {
    if (records[i][0] == state) {
      *token = records[i][1];
      return true;
    }
  }
  return false;
}

// ---- Parser -----------------------------------------------------------------

bool FindAction(const uint32_t (*records)[5], uint32_t count, uint32_t key, uint32_t* kind,
                uint32_t* target) {
  uint32_t at = count > 0 ? 0 : kNoRecord;
  while (at < count) {
    const uint32_t* record = records[at];
    if (record[0] == key) {
      *kind = record[1];
      *target = record[2];
      return true;
    }
    at = record[0] < key ? record[4] : record[3];
  }
  return false;
}

int32_t SymbolNumber(const char* const* names, uint32_t count, const char* name) {
  if (name == nullptr) return -1;
  for (uint32_t i = 0; i < count; i++) {
    if (std::strcmp(names[i], name) == 0) return static_cast<int32_t>(i);
  }
  return -1;
}

const char* SymbolName(const char* const* names, uint32_t count, int32_t number) {
  if (number < 0 || static_cast<uint32_t>(number) >= count) return "";
  return names[number];
}
