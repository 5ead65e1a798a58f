// state_values.cpp: parsing and printing of the network stand-in's values.
#include "netkorvo/state_values.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace netkorvo {

// ---- Token parsing ------------------------------------------------------------------------

namespace {

// Digits of one base, all of text; false on anything else or overflow.
bool ParseDigits(const std::string& text, int base, unsigned long long* value) {
  if (text.empty()) return false;
  unsigned long long v = 0;
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    if (d >= base || v > (~0ULL - d) / base) return false;
    v = v * base + d;
  }
  *value = v;
  return true;
}

// bits(F): the IEEE-754 pattern of the float F.
bool ParseBits(const std::string& text, long long* value) {
  if (text.size() < 7 || text.compare(0, 5, "bits(") != 0 || text.back() != ')') return false;
  const std::string inner = text.substr(5, text.size() - 6);
  if (inner.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const float f = std::strtof(inner.c_str(), &end);
  if (*end || errno == ERANGE) return false;
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  *value = bits;
  return true;
}

}  // namespace

bool ParseInt(const SToken& token, long long min, long long max, long long* value,
              std::string& error) {
  const std::string& t = token.text;
  long long v = 0;
  if (!ParseBits(t, &v)) {
    size_t at = 0;
    const bool negative = !t.empty() && t[0] == '-';
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) at = 1;
    int base = 10;
    if (t.size() > at + 1 && t[at] == '0' && (t[at + 1] == 'x' || t[at + 1] == 'X')) {
      base = 16;
      at += 2;
    }
    unsigned long long digits;
    if (!ParseDigits(t.substr(at), base, &digits) || digits > (1ULL << 63)) {
      error = "not an integer: " + t;
      return false;
    }
    if (negative) {
      v = digits == (1ULL << 63) ? std::numeric_limits<long long>::min() : -static_cast<long long>(digits);
    } else if (digits == (1ULL << 63)) {
      error = "not an integer: " + t;
      return false;
    } else {
      v = static_cast<long long>(digits);
    }
  }
  if (v < min || v > max) {
    error = "out of range (" + std::to_string(min) + " to " + std::to_string(max) + "): " + t;
    return false;
  }
  *value = v;
  return true;
}

bool ParseBool(const SToken& token, bool* value, std::string& error) {
  const std::string& t = token.text;
  if (t == "true" || t == "1") *value = true;
  else if (t == "false" || t == "0") *value = false;
  else {
    error = "not a boolean: " + t;
    return false;
  }
  return true;
}

bool ParseAddress(const SToken& token, uint8_t bytes[4], std::string& error) {
  const std::string& t = token.text;
  uint8_t parsed[4];
  size_t at = 0;
  for (int i = 0; i < 4; ++i) {
    const size_t dot = i < 3 ? t.find('.', at) : t.size();
    unsigned long long part;
    if (dot == std::string::npos || dot - at > 3 || !ParseDigits(t.substr(at, dot - at), 10, &part) ||
        part > 255) {
      error = "not an address (A.B.C.D): " + t;
      return false;
    }
    parsed[i] = static_cast<uint8_t>(part);
    at = dot + 1;
  }
  std::memcpy(bytes, parsed, 4);
  return true;
}

std::string PrintAddress(const uint8_t bytes[4]) {
  return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
         std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}

// ---- Values bound to storage -----------------------------------------------------------------

namespace {

bool IsNull(const SToken& t) { return !t.quoted && t.text == "null"; }

}  // namespace

std::string Cut(const std::string& text, size_t room) {
  if (room == 0) return text;
  const size_t end = text.find('\0');
  return text.substr(0, std::min(end == std::string::npos ? text.size() : end, room - 1));
}

void CopyCut(char* field, size_t room, const std::string& text) {
  const std::string cut = Cut(text, room);
  std::memcpy(field, cut.data(), cut.size());
  std::memset(field + cut.size(), 0, room - cut.size());
}

SValue BoolValue(const std::string& name, bool* storage) {
  return {name, [storage] { return korvostate::PrintBool(*storage); },
          [storage](const SToken& t, std::string& error) { return ParseBool(t, storage, error); }};
}

SValue TextValue(const std::string& name, char* field, size_t room) {
  return {name, [field, room] { return korvostate::PrintText(std::string(field, strnlen(field, room)).c_str()); },
          [name, field, room](const SToken& t, std::string& error) {
            if (IsNull(t)) {
              error = name + " cannot be null";
              return false;
            }
            CopyCut(field, room, t.text);
            return true;
          }};
}

SValue TextValue(const std::string& name, std::string* storage, size_t room) {
  return {name, [storage] { return korvostate::PrintText(storage->c_str()); },
          [name, storage, room](const SToken& t, std::string& error) {
            if (IsNull(t)) {
              error = name + " cannot be null";
              return false;
            }
            *storage = Cut(t.text, room);
            return true;
          }};
}

SValue OptionalTextValue(const std::string& name, std::optional<std::string>* storage, size_t room) {
  return {name,
          [storage] { return korvostate::PrintText(*storage ? (*storage)->c_str() : nullptr); },
          [storage, room](const SToken& t, std::string&) {
            if (IsNull(t)) storage->reset();
            else *storage = Cut(t.text, room);
            return true;
          }};
}

SValue AddressValue(const std::string& name, uint8_t* bytes) {
  return {name, [bytes] { return PrintAddress(bytes); },
          [bytes](const SToken& t, std::string& error) { return ParseAddress(t, bytes, error); }};
}

// ---- Records of fields --------------------------------------------------------------------------

bool ApplyFields(const std::string& kind, ValueList& values, const std::vector<SField>& fields,
                 std::string& error) {
  for (const SField& field : fields) {
    SValue* target = nullptr;
    for (SValue& v : values)
      if (v.name == field.name) target = &v;
    if (!target) {
      error = "unknown field " + field.name + " of " + kind;
      return false;
    }
    if (!target->set(field.value, error)) {
      error = field.name + ": " + error;
      return false;
    }
  }
  return true;
}

std::string PrintValues(const ValueList& values) {
  std::string out;
  for (const SValue& v : values) out += " " + v.name + "=" + v.print();
  return out;
}

}  // namespace netkorvo
