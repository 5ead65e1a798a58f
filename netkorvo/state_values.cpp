// state_values.cpp: parsing and printing of the network stand-in's values.
#include "netkorvo/state_values.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "host/state_values.h"

namespace netkorvo {

// ---- Token parsing ------------------------------------------------------------------------

bool ParseInt(const SToken& token, long long min, long long max, long long* value,
              std::string& error) {
  const std::string& t = token.text;
  long long v = 0;
  if (!korvohost::values::ParseInteger(t, LLONG_MIN, LLONG_MAX, &v)) {
    error = "not an integer: " + t;
    return false;
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
    const std::string digits = dot == std::string::npos ? "" : t.substr(at, dot - at);
    long long part = -1;
    const bool decimal = !digits.empty() && digits.size() <= 3 &&
                         digits.find_first_not_of("0123456789") == std::string::npos;
    if (!decimal || !korvohost::values::ParseInteger(digits, 0, 255, &part)) {
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
