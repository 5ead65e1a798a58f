// record_lines.cpp: tokenising and writing record lines.
#include "refhost/record_lines.h"

#include <cerrno>
#include <cstdlib>

namespace korvohost {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsPlain(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.' || c == '/' || c == ':' || c == '+' || c == ',';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool Tokenise(const std::string& line, std::vector<SLineToken>* tokens, std::string* why) {
  size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) return true;
    SLineToken token;
    if (line[i] == '"') {
      token.quoted = true;
      if (!ReadQuotedText(line, &i, &token.value, why)) return false;
    } else {
      const size_t start = i;
      while (i < line.size() && !IsBlank(line[i]) && line[i] != '=' && line[i] != '"') ++i;
      std::string word = line.substr(start, i - start);
      if (i < line.size() && line[i] == '=') {
        token.field = true;
        token.name = word;
        ++i;
        if (i < line.size() && line[i] == '"') {
          token.quoted = true;
          if (!ReadQuotedText(line, &i, &token.value, why)) return false;
        } else {
          const size_t vstart = i;
          while (i < line.size() && !IsBlank(line[i])) ++i;
          token.value = line.substr(vstart, i - vstart);
        }
        if (token.name.empty()) {
          *why = "field without a name";
          return false;
        }
      } else if (i < line.size() && line[i] == '"') {
        *why = "quote inside a word '" + word + "'";
        return false;
      } else {
        token.value = word;
      }
    }
    if (i < line.size() && !IsBlank(line[i])) {
      *why = "no blank after a quoted text";
      return false;
    }
    tokens->push_back(std::move(token));
  }
}

}  // namespace

bool ReadQuotedText(const std::string& line, size_t* at, std::string* out, std::string* why) {
  size_t i = *at + 1;
  while (i < line.size()) {
    const char c = line[i++];
    if (c == '"') {
      *at = i;
      return true;
    }
    if (c != '\\') {
      *out += c;
      continue;
    }
    if (i >= line.size()) break;
    const char e = line[i++];
    switch (e) {
      case '"': *out += '"'; break;
      case '\\': *out += '\\'; break;
      case 'n': *out += '\n'; break;
      case 'r': *out += '\r'; break;
      case 't': *out += '\t'; break;
      case 'x': {
        const int hi = i < line.size() ? HexDigit(line[i]) : -1;
        const int lo = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
        if (hi < 0 || lo < 0) {
          *why = "bad escape '\\x' in a quoted text";
          return false;
        }
        *out += char(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        *why = std::string("bad escape '\\") + e + "' in a quoted text";
        return false;
    }
  }
  *why = "quoted text without its closing quote";
  return false;
}


std::string LineError(const std::string& label, int line, const std::string& why) {
  return label + ":" + std::to_string(line) + ": " + why;
}

std::vector<SRecordLine> SplitRecordLines(const std::string& bytes, const std::string& label,
                                          std::vector<std::string>* errors) {
  std::vector<SRecordLine> lines;
  // A UTF-8 byte-order mark (an editor's) is no part of the first line.
  size_t pos = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  int number = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    if (first == line.size() || line[first] == '#') continue;
    SRecordLine record;
    record.number = number;
    std::string why;
    if (!Tokenise(line, &record.tokens, &why)) {
      if (errors) errors->push_back(LineError(label, number, why));
      continue;
    }
    lines.push_back(std::move(record));
  }
  return lines;
}

std::string QuoteText(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20 || c == 0x7F) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

std::string WriteToken(const std::string& text) {
  bool plain = !text.empty();
  for (unsigned char c : text) plain = plain && IsPlain(c);
  return plain ? text : QuoteText(text);
}

bool ParseNumber(const std::string& text, int64_t min, int64_t max, int64_t* out) {
  if (text.empty() || text.size() > 20) return false;
  size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size()) return false;
  for (size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') return false;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value < min || value > max) return false;
  *out = value;
  return true;
}

std::string JoinList(const std::vector<std::string>& items) {
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
  return out;
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  size_t pos = 0;
  while (true) {
    const size_t comma = text.find(',', pos);
    items.push_back(text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
    if (comma == std::string::npos) return items;
    pos = comma + 1;
  }
}

}  // namespace korvohost
