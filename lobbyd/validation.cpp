// validation.cpp: id, password, birthday, e-mail and name rules.
#include "lobbyd/validation.h"

namespace lobbyd {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Printable text in the double-byte code page: no control byte; a byte with
// the high bit set is a lead byte (0x81-0xFE) and the byte after it a trail
// byte (0x41-0xFE, not 0x7F), so that no control byte hides inside a pair.
bool IsDisplayText(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7f) return false;
    if (c & 0x80) {
      if (c == 0x80 || c == 0xff || i + 1 >= text.size()) return false;
      const auto trail = static_cast<unsigned char>(text[++i]);
      if (trail < 0x41 || trail == 0x7f || trail == 0xff) return false;
    }
  }
  return true;
}

ECode CheckDisplayName(std::string_view name, size_t max, ECode refusal) {
  if (name.empty() || name.size() > max || !IsDisplayText(name)) return refusal;
  if (name.front() == ' ' || name.back() == ' ') return refusal;
  return ECode::kOk;
}

}  // namespace

ECode CheckId(std::string_view id) {
  if (id.size() < kIdMin || id.size() > kIdMax || !IsLetter(id.front())) return ECode::kBadId;
  for (char c : id)
    if (!IsLetter(c) && !IsDigit(c) && c != '_') return ECode::kBadId;
  return ECode::kOk;
}

ECode CheckPassword(std::string_view password) {
  if (password.size() < kPasswordMin || password.size() > kPasswordMax) return ECode::kBadPassword;
  for (char c : password)
    if (c < 0x20 || c > 0x7e) return ECode::kBadPassword;
  return ECode::kOk;
}

ECode CheckBirthday(std::string_view birthday) {
  if (birthday.size() != 6) return ECode::kBadBirthday;
  for (char c : birthday)
    if (!IsDigit(c)) return ECode::kBadBirthday;
  const int month = (birthday[2] - '0') * 10 + (birthday[3] - '0');
  const int day = (birthday[4] - '0') * 10 + (birthday[5] - '0');
  static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return ECode::kBadBirthday;
  return ECode::kOk;
}

ECode CheckEmail(std::string_view email) {
  if (email.size() > kEmailMax) return ECode::kBadEmail;
  const size_t at = email.find('@');
  if (at == std::string_view::npos || at == 0 || email.find('@', at + 1) != std::string_view::npos)
    return ECode::kBadEmail;
  for (char c : email.substr(0, at))
    if (!IsLetter(c) && !IsDigit(c) && c != '.' && c != '_' && c != '+' && c != '-') return ECode::kBadEmail;
  const std::string_view domain = email.substr(at + 1);
  size_t labels = 0, length = 0;
  for (size_t i = 0; i <= domain.size(); ++i) {
    if (i == domain.size() || domain[i] == '.') {
      if (length == 0) return ECode::kBadEmail;   // empty label: "a@.b", "a@b.", "a@b..c"
      ++labels;
      length = 0;
      continue;
    }
    const char c = domain[i];
    if (!IsLetter(c) && !IsDigit(c) && c != '-') return ECode::kBadEmail;
    ++length;
  }
  return labels >= 2 ? ECode::kOk : ECode::kBadEmail;
}

ECode CheckChannelName(std::string_view name) {
  return CheckDisplayName(name, kChannelMax, ECode::kBadChannelName);
}
ECode CheckGameName(std::string_view name) { return CheckDisplayName(name, kGameNameMax, ECode::kBadGameName); }
ECode CheckMapName(std::string_view name) { return CheckDisplayName(name, kMapMax, ECode::kBadMap); }

ECode CheckChat(std::string_view text) {
  if (text.empty() || text.size() > kChatMax || !IsDisplayText(text)) return ECode::kBadChat;
  return ECode::kOk;
}

}  // namespace lobbyd
