// wire.cpp: encoding and decoding of the room and game-list messages.
// Integers travel little-endian; a text is a byte count and its bytes.
#include "netkorvo/wire.h"

#include <algorithm>
#include <type_traits>

namespace netkorvo::wire {

namespace {

// ---- Writing ------------------------------------------------------------------------------

// A text cut at its first NUL and to room - 1 bytes.
std::string Cut(const std::string& text, size_t room) {
  const size_t end = text.find('\0');
  return text.substr(0, std::min(end == std::string::npos ? text.size() : end, room - 1));
}

class CWriter {
 public:
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v) {
    U8(uint8_t(v));
    U8(uint8_t(v >> 8));
  }
  void U32(uint32_t v) {
    U16(uint16_t(v));
    U16(uint16_t(v >> 16));
  }
  void I32(int32_t v) { U32(uint32_t(v)); }
  void Text(const std::string& text, size_t room) {
    const std::string cut = Cut(text, room);
    U8(uint8_t(cut.size()));
    bytes_.insert(bytes_.end(), cut.begin(), cut.end());
  }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

void WriteChoice(CWriter& w, const SChoice& c) {
  w.I32(c.character);
  w.I32(c.left);
  w.I32(c.right);
  w.I32(c.team);
  w.I32(c.classIndex);
  w.U8(c.ready);
}

void WriteBody(CWriter& w, const SMessage& message) {
  std::visit(
      [&w](const auto& m) {
        using T = std::decay_t<decltype(m)>;
        if constexpr (std::is_same_v<T, SQuery>) {
          w.U32(uint32_t(m.nonce));
          w.U32(uint32_t(m.nonce >> 32));
          for (size_t i = 0; i < kQueryPadding; ++i) w.U8(0);
        } else if constexpr (std::is_same_v<T, SAnnounce>) {
          w.U32(uint32_t(m.nonce));
          w.U32(uint32_t(m.nonce >> 32));
          w.U32(m.serverId);
          w.U16(m.roomPort);
          w.U8(m.type);
          w.U8(m.players);
          w.U8(m.maxPlayers);
          w.Text(m.name, kGameNameRoom);
          w.Text(m.text, kGameTextRoom);
        } else if constexpr (std::is_same_v<T, SHello>) {
          w.Text(m.name, kPlayerNameRoom);
          w.Text(m.password, kPasswordRoom);
        } else if constexpr (std::is_same_v<T, SWelcome>) {
          w.U8(m.slot);
          w.Text(m.room, kRoomTextRoom);
          w.Text(m.map, kRoomTextRoom);
          for (int32_t v : {m.type, m.frag, m.time, m.parts, m.armor, m.shield}) w.I32(v);
        } else if constexpr (std::is_same_v<T, SRefuse> || std::is_same_v<T, SClosed>) {
          w.Text(m.reason, kNoticeRoom);
        } else if constexpr (std::is_same_v<T, SSlotRecord>) {
          w.U8(m.slot);
          w.U8(m.inUse);
          w.U8(m.bot);
          w.I32(m.state);
          w.Text(m.name, kPlayerNameRoom);
          WriteChoice(w, m.choice);
        } else if constexpr (std::is_same_v<T, SChoice>) {
          WriteChoice(w, m);
        } else if constexpr (std::is_same_v<T, SSay>) {
          w.Text(m.text, kChatTextRoom);
        } else if constexpr (std::is_same_v<T, SChatLine>) {
          w.U8(m.slot);
          w.U32(m.colour);
          w.Text(m.name, kPlayerNameRoom);
          w.Text(m.text, kChatTextRoom);
        } else if constexpr (std::is_same_v<T, SMatchEvent>) {
          w.U8(uint8_t(m.kind));
          w.U8(m.slot);
          w.U8(m.other);
          w.Text(m.text, kNoticeRoom);
        } else if constexpr (std::is_same_v<T, SMatchState>) {
          w.U32(m.elapsedMs);
          w.U8(m.end);
          w.U8(m.winners);
          const size_t count = std::min(m.rows.size(), kMatchRows);
          w.U8(uint8_t(count));
          for (size_t i = 0; i < count; ++i) {
            w.U8(m.rows[i].slot);
            w.I32(m.rows[i].frags);
            w.I32(m.rows[i].deaths);
          }
        }
      },
      message);
}

// ---- Reading ----------------------------------------------------------------------------

// Reads fields in order; a read past the end sets the failure and gives 0.
class CReader {
 public:
  CReader(const uint8_t* data, size_t size) : data_(data), left_(size) {}
  bool Failed() const { return failed_; }
  size_t Left() const { return left_; }

  uint8_t U8() {
    if (left_ < 1) return Fail();
    --left_;
    return *data_++;
  }
  uint16_t U16() {
    const uint16_t lo = U8();
    return uint16_t(lo | (U8() << 8));
  }
  uint32_t U32() {
    const uint32_t lo = U16();
    return lo | (uint32_t(U16()) << 16);
  }
  int32_t I32() { return int32_t(U32()); }
  std::string Text(size_t room) {
    const size_t n = U8();
    if (n > left_) return Fail(), std::string();
    std::string text(reinterpret_cast<const char*>(data_), n);
    data_ += n;
    left_ -= n;
    return Cut(text, room);
  }

 private:
  uint8_t Fail() {
    failed_ = true;
    left_ = 0;
    return 0;
  }
  const uint8_t* data_;
  size_t left_;
  bool failed_ = false;
};

bool IsFlag(uint8_t v) { return v <= 1; }
bool IsSlot(uint8_t v) { return v < kMatchRows; }

// A match event names the slots its kind needs and no others.
bool ValidEvent(const SMatchEvent& m) {
  switch (m.kind) {
    case EMatchEvent::kFrag: return IsSlot(m.slot) && IsSlot(m.other) && m.text.empty();
    case EMatchEvent::kLead: return IsSlot(m.slot) && m.other == kNoSlot && m.text.empty();
    case EMatchEvent::kNotice: return m.slot == kNoSlot && m.other == kNoSlot;
  }
  return false;
}

// Rows of distinct slots, counts not negative; winners only at the end and among the rows.
bool ValidState(const SMatchState& m) {
  if (m.end > 2 || (m.end == 0 && m.winners != 0)) return false;
  uint32_t seen = 0;
  for (const SMatchRow& row : m.rows) {
    if (!IsSlot(row.slot) || (seen & (1u << row.slot)) || row.frags < 0 || row.deaths < 0) return false;
    seen |= 1u << row.slot;
  }
  return (m.winners & ~seen) == 0;
}

SChoice ReadChoice(CReader& r) {
  SChoice c;
  c.character = r.I32();
  c.left = r.I32();
  c.right = r.I32();
  c.team = r.I32();
  c.classIndex = r.I32();
  c.ready = r.U8();
  return c;
}

// The body of a known type; kMalformed for values out of range.
EDecode ReadBody(CReader& r, EType type, SMessage* out) {
  switch (type) {
    case EType::kQuery: {
      SQuery m;
      m.nonce = r.U32();
      m.nonce |= uint64_t(r.U32()) << 32;
      for (size_t i = 0; i < kQueryPadding; ++i)
        if (r.U8() != 0) return EDecode::kMalformed;
      *out = m;
      break;
    }
    case EType::kAnnounce: {
      SAnnounce m;
      m.nonce = r.U32();
      m.nonce |= uint64_t(r.U32()) << 32;
      m.serverId = r.U32();
      m.roomPort = r.U16();
      m.type = r.U8();
      m.players = r.U8();
      m.maxPlayers = r.U8();
      m.name = r.Text(kGameNameRoom);
      m.text = r.Text(kGameTextRoom);
      if (!r.Failed() && (m.maxPlayers > 8 || m.players > m.maxPlayers)) return EDecode::kMalformed;
      *out = m;
      break;
    }
    case EType::kHello: {
      SHello m;
      m.name = r.Text(kPlayerNameRoom);
      m.password = r.Text(kPasswordRoom);
      *out = m;
      break;
    }
    case EType::kWelcome: {
      SWelcome m;
      m.slot = r.U8();
      m.room = r.Text(kRoomTextRoom);
      m.map = r.Text(kRoomTextRoom);
      for (int32_t* v : {&m.type, &m.frag, &m.time, &m.parts, &m.armor, &m.shield}) *v = r.I32();
      if (!r.Failed() && m.slot >= 8) return EDecode::kMalformed;
      *out = m;
      break;
    }
    case EType::kRefuse:
      *out = SRefuse{r.Text(kNoticeRoom)};
      break;
    case EType::kSlot: {
      SSlotRecord m;
      m.slot = r.U8();
      m.inUse = r.U8();
      m.bot = r.U8();
      m.state = r.I32();
      m.name = r.Text(kPlayerNameRoom);
      m.choice = ReadChoice(r);
      if (!r.Failed() && (m.slot >= 8 || !IsFlag(m.inUse) || !IsFlag(m.bot) || !IsFlag(m.choice.ready)))
        return EDecode::kMalformed;
      *out = m;
      break;
    }
    case EType::kChoice: {
      SChoice m = ReadChoice(r);
      if (!r.Failed() && !IsFlag(m.ready)) return EDecode::kMalformed;
      *out = m;
      break;
    }
    case EType::kStart:
      *out = SStart{};
      break;
    case EType::kClosed:
      *out = SClosed{r.Text(kNoticeRoom)};
      break;
    case EType::kSay:
      *out = SSay{r.Text(kChatTextRoom)};
      break;
    case EType::kChatLine: {
      SChatLine m;
      m.slot = r.U8();
      m.colour = r.U32();
      m.name = r.Text(kPlayerNameRoom);
      m.text = r.Text(kChatTextRoom);
      if (!r.Failed() && !IsSlot(m.slot)) return EDecode::kMalformed;
      *out = m;
      break;
    }
    case EType::kMatchEvent: {
      SMatchEvent m;
      m.kind = EMatchEvent(r.U8());
      m.slot = r.U8();
      m.other = r.U8();
      m.text = r.Text(kNoticeRoom);
      if (!r.Failed() && !ValidEvent(m)) return EDecode::kMalformed;
      *out = m;
      break;
    }
    case EType::kMatchState: {
      SMatchState m;
      m.elapsedMs = r.U32();
      m.end = r.U8();
      m.winners = r.U8();
      const size_t count = r.U8();
      if (count > kMatchRows) return r.Failed() ? EDecode::kTruncated : EDecode::kMalformed;
      for (size_t i = 0; i < count && !r.Failed(); ++i) {
        SMatchRow row;
        row.slot = r.U8();
        row.frags = r.I32();
        row.deaths = r.I32();
        m.rows.push_back(row);
      }
      if (!r.Failed() && !ValidState(m)) return EDecode::kMalformed;
      *out = m;
      break;
    }
    default:
      return EDecode::kUnknown;
  }
  return EDecode::kOk;
}

}  // namespace

// ---- Interface -----------------------------------------------------------------------------

EType TypeOf(const SMessage& message) { return EType(message.index() + 1); }

std::vector<uint8_t> Encode(const SMessage& message, uint8_t version) {
  CWriter w;
  w.U16(0);
  w.U8(version);
  w.U8(uint8_t(TypeOf(message)));
  WriteBody(w, message);
  std::vector<uint8_t>& bytes = w.Bytes();
  const size_t rest = bytes.size() - 2;
  bytes[0] = uint8_t(rest);
  bytes[1] = uint8_t(rest >> 8);
  return std::move(bytes);
}

const char* DecodeName(EDecode result) {
  switch (result) {
    case EDecode::kOk: return "ok";
    case EDecode::kTruncated: return "truncated";
    case EDecode::kOversized: return "oversized";
    case EDecode::kUnknown: return "unknown type";
    case EDecode::kVersion: return "other protocol version";
    case EDecode::kMalformed: return "malformed";
  }
  return "?";
}

EDecode Decode(const uint8_t* data, size_t size, SMessage* message, uint8_t* version, EType* type) {
  if (size > kMaxFrame) return EDecode::kOversized;
  if (!data || size < kHeaderSize) return EDecode::kTruncated;
  const size_t rest = size_t(data[0]) | (size_t(data[1]) << 8);
  if (rest + 2 > kMaxFrame) return EDecode::kOversized;
  if (rest + 2 > size) return EDecode::kTruncated;
  if (rest + 2 < size) return EDecode::kOversized;
  const uint8_t frameVersion = data[2];
  const EType frameType = EType(data[3]);
  if (version) *version = frameVersion;
  if (type) *type = frameType;
  if (frameVersion != kProtocolVersion && frameType != EType::kRefuse) return EDecode::kVersion;
  CReader r(data + kHeaderSize, size - kHeaderSize);
  SMessage decoded;
  const EDecode result = ReadBody(r, frameType, &decoded);
  if (result != EDecode::kOk) return result;
  if (r.Failed()) return EDecode::kTruncated;
  if (r.Left() != 0) return EDecode::kOversized;
  if (message) *message = std::move(decoded);
  return EDecode::kOk;
}

}  // namespace netkorvo::wire
