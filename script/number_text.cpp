// number_text.cpp: exact decimal conversion of the number tokens. Up to 19
// significant digits fit a 64-bit integer; a mantissa of at most 2^53 and a
// power of ten up to 10^22 are both exact doubles, so one division gives the
// correctly rounded double, which is what strtod gives.
#include "script/number_text.h"

#include <cstdlib>
#include <string>

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr uint32_t kMaxPower = 22;
constexpr uint32_t kMaxDigits = 19;   // below 2^64 whatever the digits
constexpr uint64_t kMaxExactMantissa = 1ull << 53;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The C library's conversions work on NUL-terminated text; the token text
// is one, but a caller may pass a prefix.
std::string Terminated(const char* text, uint32_t length) { return std::string(text, length); }

}  // namespace

int32_t IntegerTokenValue(const char* text, uint32_t length) {
  uint32_t at = 0;
  bool negative = false;
  if (at < length && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  while (at < length && text[at] == '0') ++at;   // leading zeros add no digit
  uint64_t value = 0;
  uint32_t digits = 0;
  for (; at < length && IsDigit(text[at]); ++at, ++digits) {
    if (digits == 18) return static_cast<int32_t>(std::strtol(Terminated(text, length).c_str(), nullptr, 10));
    value = value * 10 + static_cast<uint64_t>(text[at] - '0');
  }
  // At most 18 digits: within long, so no saturation; cut to 32 bits as a
  // conversion of strtol's result would.
  const int64_t signedValue = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(signedValue)));
}

float FloatTokenValue(const char* text, uint32_t length) {
  uint32_t at = 0;
  bool negative = false;
  if (at < length && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  // Trailing zeros of the fraction add nothing: the digits end at the last
  // non-zero one.
  uint32_t end = length;
  const char* dot = nullptr;
  for (uint32_t i = at; i < length; ++i)
    if (text[i] == '.') dot = text + i;
  if (dot)
    while (end > static_cast<uint32_t>(dot - text) + 1 && text[end - 1] == '0') --end;

  uint64_t mantissa = 0;
  uint32_t digits = 0, fractionDigits = 0;
  bool inFraction = false;
  for (uint32_t i = at; i < end; ++i) {
    const char c = text[i];
    if (c == '.') {
      inFraction = true;
      continue;
    }
    if (!IsDigit(c)) break;
    if (inFraction) ++fractionDigits;
    if (mantissa == 0 && c == '0') continue;   // leading zeros
    if (++digits > kMaxDigits) {
      mantissa = kMaxExactMantissa + 1;   // out of the fast range
      break;
    }
    mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
  }
  if (mantissa > kMaxExactMantissa || fractionDigits > kMaxPower)
    return static_cast<float>(std::strtod(Terminated(text, length).c_str(), nullptr));
  double value = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
  if (negative) value = -value;
  return static_cast<float>(value);
}
