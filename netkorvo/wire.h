// wire.h: the messages of rooms and of the local game list as they travel.
// Each message is one frame: a 16-bit length of what follows, the protocol
// version, the message type, then its body. The decoder checks every length
// against the bytes present, refuses frames above kMaxFrame, unknown types and
// other versions, and cuts texts to the room of the record they fill.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace netkorvo::wire {

// 2: chat lines and the room's match (kSay, kChatLine, kMatchEvent, kMatchState).
// 3: the hello carries the room's password and the welcome no longer does;
//    the game list's query carries a nonce that its answer echoes.
constexpr uint8_t kProtocolVersion = 3;
constexpr size_t kHeaderSize = 4;     // u16 length of the rest, u8 version, u8 type
constexpr size_t kMaxFrame = 512;

// Rooms of the texts (with their NUL) in the records they fill.
constexpr size_t kPlayerNameRoom = 32;    // SClientInfo::name
constexpr size_t kGameNameRoom = 25;      // CGameListItem::Name
constexpr size_t kGameTextRoom = 17;      // CGameListItem::Text
constexpr size_t kRoomTextRoom = 64;      // room name and map file name
constexpr size_t kPasswordRoom = 16;
constexpr size_t kNoticeRoom = 128;
constexpr size_t kChatTextRoom = 128;     // a chat line's text
constexpr size_t kMatchRows = 8;          // a match state's rows: one per slot at most

enum class EType : uint8_t {
  kQuery = 1,     // game list: who runs a game? (finder to the announce address)
  kAnnounce,      // game list: a game (server to the finder)
  kHello,         // client to server: join with this name (and the room's password)
  kWelcome,       // server to client: your slot and the room's settings
  kRefuse,        // server to client: not taken, and why (same layout in every version)
  kSlot,          // server to clients: one slot's record
  kChoice,        // client to server: the choices of its own slot
  kStart,         // server to clients: the match starts
  kClosed,        // server to clients: the room ends, and why
  kSay,           // client to server: a chat line the player typed
  kChatLine,      // server to clients: a chat line of a slot, in its colour
  kMatchEvent,    // server to clients: a frag, lead or notice of the room's match
  kMatchState,    // server to clients: the match's frags, deaths, time, end and winners
};

// A query carries the finder's nonce, which an announcement echoes (so that
// only answers to a query of ours are taken), and is at least as long as the
// longest announcement (zero bytes after the nonce), so that answering it
// never sends more than it received.
constexpr size_t kQueryPadding = 56;
struct SQuery {
  uint64_t nonce = 0;
  bool operator==(const SQuery&) const = default;
};
struct SAnnounce {
  uint64_t nonce = 0;     // the query's
  uint32_t serverId = 0;
  uint16_t roomPort = 0;
  uint8_t type = 0, players = 0, maxPlayers = 0;
  std::string name, text;
  bool operator==(const SAnnounce&) const = default;
};
struct SHello {
  std::string name;
  std::string password = "";   // the room's, when it has one
  bool operator==(const SHello&) const = default;
};
struct SWelcome {
  uint8_t slot = 0;
  std::string room, map;   // never the room's password
  int32_t type = 0, frag = 0, time = 0, parts = 0, armor = 0, shield = 0;
  bool operator==(const SWelcome&) const = default;
};
struct SRefuse {
  std::string reason;
  bool operator==(const SRefuse&) const = default;
};
struct SChoice {
  int32_t character = -1, left = -1, right = -1, team = 0, classIndex = 0;
  uint8_t ready = 0;
  bool operator==(const SChoice&) const = default;
};
struct SSlotRecord {
  uint8_t slot = 0;
  uint8_t inUse = 0, bot = 0;
  int32_t state = 0;
  std::string name;
  SChoice choice;
  bool operator==(const SSlotRecord&) const = default;
};
struct SStart {
  bool operator==(const SStart&) const = default;
};
struct SClosed {
  std::string reason;
  bool operator==(const SClosed&) const = default;
};

struct SSay {
  std::string text;
  bool operator==(const SSay&) const = default;
};
struct SChatLine {
  uint8_t slot = 0;
  uint32_t colour = 0;          // ARGB
  std::string name, text;
  bool operator==(const SChatLine&) const = default;
};
// Slots are room slots (0-7); kNoSlot where an event names nobody.
constexpr uint8_t kNoSlot = 0xFF;
enum class EMatchEvent : uint8_t { kFrag = 1, kLead, kNotice };
struct SMatchEvent {
  EMatchEvent kind = EMatchEvent::kNotice;
  uint8_t slot = kNoSlot, other = kNoSlot;   // frag: who destroyed whom; lead: who leads
  std::string text;                          // notice
  bool operator==(const SMatchEvent&) const = default;
};
struct SMatchRow {
  uint8_t slot = 0;
  int32_t frags = 0, deaths = 0;
  bool operator==(const SMatchRow&) const = default;
};
struct SMatchState {
  uint32_t elapsedMs = 0;
  uint8_t end = 0;              // 0 running, 1 time limit, 2 frag limit
  uint8_t winners = 0;          // bit k: slot k won (with an end)
  std::vector<SMatchRow> rows;  // at most kMatchRows, each slot once
  bool operator==(const SMatchState&) const = default;
};

// Alternatives in the order of EType.
using SMessage = std::variant<SQuery, SAnnounce, SHello, SWelcome, SRefuse, SSlotRecord, SChoice,
                              SStart, SClosed, SSay, SChatLine, SMatchEvent, SMatchState>;

EType TypeOf(const SMessage& message);

// The frame of a message; texts longer than their room are cut. `version`
// other than kProtocolVersion only for tests of the refusal.
std::vector<uint8_t> Encode(const SMessage& message, uint8_t version = kProtocolVersion);

enum class EDecode {
  kOk,
  kTruncated,   // shorter than its header or its lengths say
  kOversized,   // above kMaxFrame, or longer than its length says
  kUnknown,     // a type this version does not know
  kVersion,     // another protocol version (*type and *version tell which)
  kMalformed,   // a value out of its range
};
const char* DecodeName(EDecode result);

// Decodes one frame that fills data[0, size). On kVersion, *version and *type
// are those of the frame (a refusal decodes in every version).
EDecode Decode(const uint8_t* data, size_t size, SMessage* message, uint8_t* version = nullptr,
               EType* type = nullptr);

}  // namespace netkorvo::wire
