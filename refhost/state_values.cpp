// state_values.cpp: values of session set-up lines.
#include "host/state_values.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace korvohost::values {

namespace {

// Decimal or 0x hex with an optional sign, anywhere in the 64-bit range.
bool ParsePlain(const std::string& text, long long* out) {
  size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    i = 1;
  }
  int base = 10;
  if (text.size() > i + 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long magnitude = std::strtoull(text.c_str() + i, &end, base);
  if (errno || *end) return false;
  // Up to 2^63 - 1, or 2^63 with a minus sign.
  constexpr auto kLargest = static_cast<unsigned long long>(LLONG_MAX);
  if (magnitude > kLargest + (negative ? 1 : 0)) return false;
  if (!negative) *out = static_cast<long long>(magnitude);
  else if (magnitude > kLargest) *out = LLONG_MIN;
  else *out = -static_cast<long long>(magnitude);
  return true;
}

}  // namespace

bool ParseFloat(const std::string& text, double* out) {
  if (text.empty()) return false;
  std::string t = text;
  // C float literals may carry an f suffix.
  if (t.size() > 1 && (t.back() == 'f' || t.back() == 'F') && t.find_first_of("xX") == std::string::npos)
    t.pop_back();
  char* end = nullptr;
  *out = std::strtod(t.c_str(), &end);
  return *end == 0 && !std::isspace(static_cast<unsigned char>(t[0]));
}

bool ParseInteger(const std::string& text, long long lo, long long hi, long long* out) {
  long long v;
  if (text.size() > 6 && text.compare(0, 5, "bits(") == 0 && text.back() == ')') {
    double d;
    if (!ParseFloat(text.substr(5, text.size() - 6), &d)) return false;
    const float f = static_cast<float>(d);
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    v = bits;
  } else if (!ParsePlain(text, &v)) {
    return false;
  }
  if (v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool ParseWord(const std::string& text, uint32_t* out) {
  long long v;
  if (!ParseInteger(text, -2147483648ll, 4294967295ll, &v)) return false;
  *out = static_cast<uint32_t>(v);
  return true;
}

bool ParseBool(const std::string& text, bool* out) {
  if (text == "true" || text == "1") *out = true;
  else if (text == "false" || text == "0") *out = false;
  else return false;
  return true;
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> list;
  if (text.empty()) return list;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    list.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return list;
}

std::string JoinList(const std::vector<std::string>& list) {
  std::string out;
  for (size_t i = 0; i < list.size(); ++i) {
    if (i) out += ',';
    out += list[i];
  }
  return out;
}

}  // namespace korvohost::values
