// protocol.cpp: the schema of every message type and the names of the codes.
#include "lobbyd/protocol.h"

#include <array>
#include <optional>

namespace lobbyd {

namespace {

constexpr SFieldSpec T(size_t max) { return {EField::kText, static_cast<uint16_t>(max)}; }
constexpr SFieldSpec kU8{EField::kU8, 0};
constexpr SFieldSpec kU16{EField::kU16, 0};
constexpr SFieldSpec kU32{EField::kU32, 0};

// Texts first, then numbers, in each schema.
const std::array<std::optional<std::vector<SFieldSpec>>, 256>& Schemas() {
  static const auto table = [] {
    std::array<std::optional<std::vector<SFieldSpec>>, 256> s;
    auto put = [&s](EMsg type, std::vector<SFieldSpec> fields) {
      s[static_cast<uint8_t>(type)] = std::move(fields);
    };
    put(EMsg::kIdPw, {T(kIdMax), T(kPasswordMax)});
    put(EMsg::kLogOut, {});
    put(EMsg::kPrivateInfo, {});
    put(EMsg::kNewIdPw, {T(kIdMax), T(kPasswordMax), T(kPasswordMax), T(kBirthdayMax), T(kEmailMax)});
    put(EMsg::kChgPw, {T(kIdMax), T(kPasswordMax), T(kPasswordMax), T(kPasswordMax)});
    put(EMsg::kChannelList, {});
    put(EMsg::kChgChannel, {T(kChannelMax)});
    put(EMsg::kPlayerList, {});
    put(EMsg::kSessionList, {});
    put(EMsg::kSessionInfo, {T(kGameNameMax)});
    put(EMsg::kJoinGame, {T(kGameNameMax), T(kGamePasswordMax), T(kAddressMax)});
    put(EMsg::kCreateGame, {T(kGameNameMax), T(kGamePasswordMax), T(kMapMax), kU8, kU8, kU16});
    put(EMsg::kChatMsg, {T(kChatMax)});
    put(EMsg::kLeaveGame, {});
    put(EMsg::kResult, {kU8, kU8});
    put(EMsg::kPlayerEntry, {T(kIdMax), kU16, kU16, kU32, kU16, kU8});
    put(EMsg::kChannelEntry, {T(kChannelMax), kU16});
    put(EMsg::kSessionEntry, {T(kGameNameMax), T(kMapMax), kU8, kU32, kU16, kU8, kU8, kU8});
    put(EMsg::kSessionPlayer, {T(kGameNameMax), T(kIdMax), kU16, kU16, kU16, kU8});
    put(EMsg::kChat, {T(kIdMax), T(kChatMax)});
    put(EMsg::kJoinGranted, {T(kGameNameMax), kU32, kU16});
    put(EMsg::kSessionClosed, {T(kGameNameMax)});
    return s;
  }();
  return table;
}

}  // namespace

const std::vector<SFieldSpec>* Schema(uint8_t type) {
  const auto& entry = Schemas()[type];
  return entry ? &*entry : nullptr;
}

const char* CodeName(ECode code) {
  static const char* const kNames[kCodeCount] = {
      "ok",           "bad id",           "bad password",   "verify mismatch", "bad birthday",
      "bad e-mail",   "id taken",         "wrong login",    "throttled",       "not logged in",
      "already logged in", "bad channel name", "channel limit", "bad game name", "game name taken",
      "no such game", "wrong game password", "game full",   "bad chat",        "bad map",
      "bad players",  "server error",     "game limit",
  };
  const auto i = static_cast<size_t>(code);
  return i < kCodeCount ? kNames[i] : "unknown";
}

const std::string& SMessage::Text(size_t i) const {
  static const std::string kEmpty;
  return i < texts.size() ? texts[i] : kEmpty;
}

uint32_t SMessage::Number(size_t i) const { return i < numbers.size() ? numbers[i] : 0; }

}  // namespace lobbyd
