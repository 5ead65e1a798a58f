// state_values.h: fields and scalars of the network stand-in as sessions see
// them: each value bound to its storage, with its printed form and the rule
// that sets it from a script token (ints by width, bools, texts cut to their
// room, addresses).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "host/session_state.h"

namespace netkorvo {

using korvostate::SField;
using korvostate::SToken;

// One named value bound to its storage.
struct SValue {
  std::string name;
  std::function<std::string()> print;
  std::function<bool(const SToken& token, std::string& error)> set;
};
using ValueList = std::vector<SValue>;

// ---- Token parsing ------------------------------------------------------------------------
// An integer (decimal, sign, 0x hex or bits(F)) within [min, max].
bool ParseInt(const SToken& token, long long min, long long max, long long* value,
              std::string& error);
bool ParseBool(const SToken& token, bool* value, std::string& error);
// A.B.C.D, four decimal bytes.
bool ParseAddress(const SToken& token, uint8_t bytes[4], std::string& error);
std::string PrintAddress(const uint8_t bytes[4]);

// ---- Values bound to storage -----------------------------------------------------------------
// An integer of T's width: any value that fits the width signed or unsigned
// is taken (its low bits stored); it prints as T.
template <class T>
SValue IntValue(const std::string& name, T* storage) {
  static_assert(std::is_integral_v<T>);
  constexpr int bits = int(sizeof(T)) * 8;
  constexpr long long min = -(1LL << (bits - 1));
  constexpr long long max = bits >= 63 ? std::numeric_limits<long long>::max() : (1LL << bits) - 1;
  return {name, [storage] { return std::to_string(*storage); },
          [storage](const SToken& t, std::string& error) {
            long long v;
            if (!ParseInt(t, min, max, &v, error)) return false;
            *storage = static_cast<T>(v);
            return true;
          }};
}
SValue BoolValue(const std::string& name, bool* storage);
// A NUL-terminated text in a field of `room` bytes; null is not a value.
SValue TextValue(const std::string& name, char* field, size_t room);
// A text without null; room 0: no limit.
SValue TextValue(const std::string& name, std::string* storage, size_t room);
// A text or null.
SValue OptionalTextValue(const std::string& name, std::optional<std::string>* storage, size_t room);
SValue AddressValue(const std::string& name, uint8_t* bytes);

// ---- Records of fields --------------------------------------------------------------------------
// Sets each field by name; false at the first unknown field or bad value.
bool ApplyFields(const std::string& kind, ValueList& values, const std::vector<SField>& fields,
                 std::string& error);
// " name=value" for each value, in order.
std::string PrintValues(const ValueList& values);

// Copies text into a field of `room` bytes, cut to room - 1, rest zero-filled.
void CopyCut(char* field, size_t room, const std::string& text);
std::string Cut(const std::string& text, size_t room);

}  // namespace netkorvo
