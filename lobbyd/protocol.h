// protocol.h: the lobby protocol's vocabulary. A frame is a 16-bit big-endian
// payload length followed by the payload: version, message type, then the
// message's fields in the order of its schema (texts: 8-bit length and bytes;
// numbers: 1, 2 or 4 bytes big-endian). Every field has a hard limit.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lobbyd {

// Version 2: kLeaveGame and kSessionClosed, so that a game leaves every
// list as soon as its host leaves its room.
constexpr uint8_t kProtocolVersion = 2;
constexpr size_t kFrameHeader = 2;          // the payload length
constexpr size_t kMaxPayload = 1024;        // version, type and fields

// Messages. Requests (client to server) mirror the online client's requests;
// the server answers each with its entries (if any) and then one kResult.
enum class EMsg : uint8_t {
  // ---- Requests ----
  kIdPw = 1,           // id, password
  kLogOut = 2,
  kPrivateInfo = 3,
  kNewIdPw = 4,        // id, password, verify, birthday (YYMMDD), e-mail
  kChgPw = 5,          // id, password, new password, verify
  kChannelList = 6,
  kChgChannel = 7,     // name (created when absent)
  kPlayerList = 8,
  kSessionList = 9,
  kSessionInfo = 10,   // game name
  kJoinGame = 11,      // game name, password, dotted address seen ("" : any)
  kCreateGame = 12,    // name, password, map; players, type, port
  kChatMsg = 13,       // text
  kLeaveGame = 14,     // the player left its game's room: a hosted game closes
  // ---- Answers and events ----
  kResult = 64,        // request type, code
  kPlayerEntry = 65,   // id; wins, losses, score, ranking, grade
  kChannelEntry = 66,  // name; members
  kSessionEntry = 67,  // name, map; type, address, port, players, max players, locked
  kSessionPlayer = 68, // game name, id; wins, losses, ranking, slot
  kChat = 69,          // from, text
  kJoinGranted = 70,   // game name; address, port
  kSessionClosed = 71, // game name: told to every player logged in, unasked
};

// Result codes; everything but kOk is a refusal the client can show.
enum class ECode : uint8_t {
  kOk = 0,
  kBadId = 1,             // id length or characters
  kBadPassword = 2,       // password length or characters
  kVerifyMismatch = 3,    // new password and its repetition differ
  kBadBirthday = 4,
  kBadEmail = 5,
  kIdTaken = 6,
  kWrongLogin = 7,        // unknown id or wrong password (not told apart)
  kThrottled = 8,         // too many tries (logins, registrations, chat lines); try again later
  kNotLoggedIn = 9,
  kAlreadyLoggedIn = 10,  // this connection, or the id elsewhere
  kBadChannelName = 11,
  kChannelLimit = 12,
  kBadGameName = 13,
  kGameNameTaken = 14,
  kNoSuchGame = 15,
  kWrongGamePassword = 16,
  kGameFull = 17,
  kBadChat = 18,
  kBadMap = 19,
  kBadPlayers = 20,
  kServerError = 21,
  kGameLimit = 22,
};
constexpr int kCodeCount = 23;
// "ok", "bad id", ...: a short text for logs and tools.
const char* CodeName(ECode code);

// ---- Limits of the fields (bytes; a text never holds a NUL) ----
constexpr size_t kIdMax = 21;          // PLAYER_INFO id, char[22]
constexpr size_t kPasswordMax = 64;
constexpr size_t kBirthdayMax = 6;
constexpr size_t kEmailMax = 64;
constexpr size_t kChannelMax = 19;     // CHANNEL_INFO name, char[20]
constexpr size_t kGameNameMax = 19;    // SESSION_INFO name, char[20]
constexpr size_t kGamePasswordMax = 16;
constexpr size_t kMapMax = 22;         // SESSION_INFO map, char[23]
constexpr size_t kAddressMax = 15;     // "255.255.255.255"
constexpr size_t kChatMax = 200;

enum class EField : uint8_t { kText, kU8, kU16, kU32 };
struct SFieldSpec {
  EField kind;
  uint16_t max;   // texts: most bytes; numbers: unused
};
// The fields of a message type, or null for a type that does not exist.
const std::vector<SFieldSpec>* Schema(uint8_t type);

// A decoded message: its texts and numbers, each in schema order.
struct SMessage {
  EMsg type = EMsg::kResult;
  std::vector<std::string> texts;
  std::vector<uint32_t> numbers;

  const std::string& Text(size_t i) const;   // "" past the end
  uint32_t Number(size_t i) const;           // 0 past the end
};

}  // namespace lobbyd
