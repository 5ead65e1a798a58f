// session_script.cpp: lines, tokens, argument conversions and result quoting
// of session scripts.
#include "tools/korvoui/session_script.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>

std::vector<SessionLine> SplitSessionLines(const std::string& script) {
  std::vector<SessionLine> lines;
  size_t start = 0;
  int number = 1;
  while (start < script.size()) {
    size_t end = script.find('\n', start);
    const size_t next = end == std::string::npos ? script.size() : end + 1;
    SessionLine line;
    line.number = number++;
    line.raw = script.substr(start, next - start);
    line.body = line.raw;
    if (!line.body.empty() && line.body.back() == '\n') line.body.pop_back();
    if (!line.body.empty() && line.body.back() == '\r') line.body.pop_back();
    lines.push_back(std::move(line));
    start = next;
  }
  return lines;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Decodes the quoted string at body[*at] (its opening quote), appends it to
// *out and moves *at past its closing quote.
bool ReadQuoted(const std::string& body, size_t* at, std::string* out, std::string* error) {
  size_t i = *at + 1;
  while (i < body.size()) {
    const char c = body[i++];
    if (c == '"') {
      *at = i;
      return true;
    }
    if (c != '\\') {
      *out += c;
      continue;
    }
    if (i >= body.size()) break;
    const char e = body[i++];
    switch (e) {
      case '"': *out += '"'; break;
      case '\\': *out += '\\'; break;
      case 'n': *out += '\n'; break;
      case 'r': *out += '\r'; break;
      case 't': *out += '\t'; break;
      case 'x': {
        const int hi = i < body.size() ? HexDigit(body[i]) : -1;
        const int lo = i + 1 < body.size() ? HexDigit(body[i + 1]) : -1;
        if (hi < 0 || lo < 0) {
          *error = "bad \\x escape (two hex digits needed)";
          return false;
        }
        *out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        *error = std::string("unknown escape \\") + e;
        return false;
    }
  }
  *error = "unterminated quoted token";
  return false;
}

}  // namespace

bool TokenizeSessionLine(const std::string& body, std::vector<SessionToken>* tokens,
                         std::string* error) {
  tokens->clear();
  size_t i = 0;
  while (i < body.size()) {
    if (IsBlank(body[i])) {
      ++i;
      continue;
    }
    SessionToken token;
    if (body[i] != '"') {
      while (i < body.size() && !IsBlank(body[i])) {
        if (body[i] == '"' && !token.text.empty() && token.text.back() == '=') {
          token.fieldQuoted = token.text.find('=') == token.text.size() - 1;
          if (!ReadQuoted(body, &i, &token.text, error)) return false;
          break;
        }
        token.text += body[i++];
      }
      tokens->push_back(std::move(token));
      continue;
    }
    token.quoted = true;
    if (!ReadQuoted(body, &i, &token.text, error)) return false;
    tokens->push_back(std::move(token));
  }
  return true;
}


bool ParseSessionInt(const std::string& text, long long* value) {
  if (text.size() > 6 && text.compare(0, 5, "bits(") == 0 && text.back() == ')') {
    double d;
    if (!ParseSessionFloat(text.substr(5, text.size() - 6), &d)) return false;
    const float f = static_cast<float>(d);
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    *value = bits;
    return true;
  }
  if (text.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    i = 1;
  }
  int base = 10;
  if (text.size() > i + 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long magnitude = std::strtoull(text.c_str() + i, &end, base);
  if (errno || *end || text[i] == '-' || text[i] == '+') return false;
  // The 64-bit range: up to 2^63 - 1, or 2^63 with a minus sign.
  constexpr auto kLargest = static_cast<unsigned long long>(LLONG_MAX);
  if (magnitude > kLargest + (negative ? 1 : 0)) return false;
  if (!negative) *value = static_cast<long long>(magnitude);
  else if (magnitude > kLargest) *value = LLONG_MIN;
  else *value = -static_cast<long long>(magnitude);
  return true;
}

bool ParseSessionFloat(const std::string& text, double* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  std::string t = text;
  // C float literals may carry an f suffix.
  if (t.size() > 1 && (t.back() == 'f' || t.back() == 'F') && t.find_first_of("xX") == std::string::npos)
    t.pop_back();
  *value = std::strtod(t.c_str(), &end);
  return *end == 0;
}

bool ParseSessionBool(const std::string& text, bool* value) {
  if (text == "true" || text == "1") *value = true;
  else if (text == "false" || text == "0") *value = false;
  else return false;
  return true;
}

std::string QuoteSessionString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string QuoteSessionString(const char* text) {
  return text ? QuoteSessionString(std::string(text)) : std::string("null");
}
