// fuzz_net.cpp: each input is one received frame of the network stand-in's
// protocol (a room message or a game-list datagram). The decoder must take or
// drop it without crashing; what it takes must encode back to a frame that
// decodes to the same message, with every text within its record's room and
// every slot within the room; a taken choice or slot record then goes
// through the room's rules, a match state's rows are distinct slots with its
// winners among them.
#include <cstdint>
#include <cstdlib>

#include "netkorvo/room.h"
#include "netkorvo/wire.h"

namespace wire = netkorvo::wire;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool Fits(const std::string& text, size_t room) {
  return text.size() < room && text.find('\0') == std::string::npos;
}

void CheckTexts(const wire::SMessage& message) {
  if (const auto* m = std::get_if<wire::SAnnounce>(&message))
    Check(Fits(m->name, wire::kGameNameRoom) && Fits(m->text, wire::kGameTextRoom));
  if (const auto* m = std::get_if<wire::SHello>(&message))
    Check(Fits(m->name, wire::kPlayerNameRoom) && Fits(m->password, wire::kPasswordRoom));
  if (const auto* m = std::get_if<wire::SSlotRecord>(&message)) Check(Fits(m->name, wire::kPlayerNameRoom) && m->slot < 8);
  if (const auto* m = std::get_if<wire::SWelcome>(&message))
    Check(Fits(m->room, wire::kRoomTextRoom) && Fits(m->map, wire::kRoomTextRoom) && m->slot < 8);
  if (const auto* m = std::get_if<wire::SSay>(&message)) Check(Fits(m->text, wire::kChatTextRoom));
  if (const auto* m = std::get_if<wire::SChatLine>(&message))
    Check(Fits(m->name, wire::kPlayerNameRoom) && Fits(m->text, wire::kChatTextRoom) && m->slot < 8);
  if (const auto* m = std::get_if<wire::SMatchEvent>(&message)) {
    Check(Fits(m->text, wire::kNoticeRoom));
    const bool slots = m->slot < 8 && m->other == wire::kNoSlot;
    switch (m->kind) {
      case wire::EMatchEvent::kFrag: Check(m->slot < 8 && m->other < 8 && m->text.empty()); break;
      case wire::EMatchEvent::kLead: Check(slots && m->text.empty()); break;
      case wire::EMatchEvent::kNotice: Check(m->slot == wire::kNoSlot && m->other == wire::kNoSlot); break;
      default: Check(false);
    }
  }
  if (const auto* m = std::get_if<wire::SMatchState>(&message)) {
    Check(m->rows.size() <= wire::kMatchRows && m->end <= 2 && (m->end || !m->winners));
    unsigned seen = 0;
    for (const wire::SMatchRow& row : m->rows) {
      Check(row.slot < 8 && !(seen & (1u << row.slot)) && row.frags >= 0 && row.deaths >= 0);
      seen |= 1u << row.slot;
    }
    Check((m->winners & ~seen) == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  wire::SMessage message;
  uint8_t version = 0;
  wire::EType type{};
  const wire::EDecode result = wire::Decode(data, size, &message, &version, &type);
  if (result != wire::EDecode::kOk) return 0;
  CheckTexts(message);
  const std::vector<uint8_t> again = wire::Encode(message, version);
  Check(again.size() <= wire::kMaxFrame);
  wire::SMessage decoded;
  Check(wire::Decode(again.data(), again.size(), &decoded) == wire::EDecode::kOk);
  Check(decoded == message);

  netkorvo::CRoom room("HOST");
  if (const auto* hello = std::get_if<wire::SHello>(&message)) {
    const int slot = room.Join(hello->name);
    Check(slot == 1 && room.Slot(slot).name.size() < wire::kPlayerNameRoom);
  }
  if (const auto* choice = std::get_if<wire::SChoice>(&message)) {
    room.SetChoice(0, *choice);
    Check(room.Slot(0).choice == *choice);
  }
  return 0;
}
