// state_values.h: reading and printing the values of session set-up lines
// (ints with bits(F), floats, bools, texts, colours, lists) for the state
// providers of the reference host and the network stand-in. For the
// stand-ins, their tools and tests only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/session_state.h"

// Declared here, defined by the reference host (libkorvohost.so).
#ifndef KORVOHOST_API
#define KORVOHOST_API __attribute__((visibility("default")))
#endif

namespace korvohost::values {

// An integer (decimal with optional sign, or 0x hex) or bits(F), the IEEE-754
// pattern of the float F; within [lo, hi].
KORVOHOST_API bool ParseInteger(const std::string& text, long long lo, long long hi, long long* out);
// A 32-bit value: -2^31 .. 2^32 - 1, stored modulo 2^32.
KORVOHOST_API bool ParseWord(const std::string& text, uint32_t* out);
KORVOHOST_API bool ParseFloat(const std::string& text, double* out);
KORVOHOST_API bool ParseBool(const std::string& text, bool* out);
// The null value: a bare null.
inline bool IsNull(const korvostate::SToken& t) { return !t.quoted && t.text == "null"; }
// Comma-separated elements; an empty token is the empty list.
KORVOHOST_API std::vector<std::string> SplitList(const std::string& text);
KORVOHOST_API std::string JoinList(const std::vector<std::string>& list);

}  // namespace korvohost::values
