// validation.h: the rules for what a client may register or name. Each check
// answers kOk or the refusal code the client shows.
#pragma once
#include <string_view>

#include "lobbyd/protocol.h"

namespace lobbyd {

constexpr size_t kIdMin = 4;
constexpr size_t kPasswordMin = 6;

// 4-21 bytes: a letter first, then letters, digits and '_'.
ECode CheckId(std::string_view id);
// 6-64 bytes of printable ASCII (blank included).
ECode CheckPassword(std::string_view password);
// "YYMMDD": six digits, month 1-12, a day that month can have (29 February allowed).
ECode CheckBirthday(std::string_view birthday);
// local@domain, at most 64 bytes: local part of letters, digits and "._+-";
// domain of at least two dot-separated labels of letters, digits and '-'.
ECode CheckEmail(std::string_view email);
// 1-19 bytes, no control character; double-byte characters allowed whole.
ECode CheckChannelName(std::string_view name);
ECode CheckGameName(std::string_view name);
ECode CheckMapName(std::string_view name);
// 1-200 bytes, no control character.
ECode CheckChat(std::string_view text);

}  // namespace lobbyd
