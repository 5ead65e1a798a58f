// session_script.cpp: lines, tokens, argument conversions and result quoting
// of session scripts.
#include "tools/korvoui/session_script.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "refhost/record_lines.h"
#include "host/state_values.h"

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

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

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
          if (!korvohost::ReadQuotedText(body, &i, &token.text, error)) return false;
          break;
        }
        token.text += body[i++];
      }
      tokens->push_back(std::move(token));
      continue;
    }
    token.quoted = true;
    if (!korvohost::ReadQuotedText(body, &i, &token.text, error)) return false;
    tokens->push_back(std::move(token));
  }
  return true;
}


bool ParseSessionInt(const std::string& text, long long* value) {
  return korvohost::values::ParseInteger(text, LLONG_MIN, LLONG_MAX, value);
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
