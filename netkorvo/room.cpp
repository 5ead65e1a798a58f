// room.cpp: the slot rules of a room.
#include "netkorvo/room.h"

#include <algorithm>

namespace netkorvo {

// ---- Slot records ---------------------------------------------------------------------------

wire::SSlotRecord SSlot::Record(int slot) const {
  wire::SSlotRecord r;
  r.slot = uint8_t(slot);
  r.inUse = inUse;
  r.bot = bot;
  r.state = state;
  r.name = name;
  r.choice = choice;
  return r;
}

SSlot SSlot::FromRecord(const wire::SSlotRecord& r) {
  SSlot s;
  s.inUse = r.inUse;
  s.bot = r.bot;
  s.state = r.state;
  s.name = r.name;
  s.choice = r.choice;
  return s;
}

// ---- Rules ------------------------------------------------------------------------------------

namespace {

std::string CutName(const std::string& name) {
  return name.substr(0, std::min(name.find('\0'), wire::kPlayerNameRoom - 1));
}

}  // namespace

CRoom::CRoom(const std::string& hostName) {
  SSlot& host = slots_[0];
  host.inUse = true;
  host.state = kSlotPlayer;
  host.name = CutName(hostName);
}

int CRoom::Players() const {
  int n = 0;
  for (const SSlot& s : slots_) n += s.inUse;
  return n;
}

int CRoom::Join(const std::string& name) {
  for (int i = 1; i < kSlotCount; ++i) {
    SSlot& s = slots_[size_t(i)];
    if (s.inUse || s.state != kSlotOpen) continue;
    s = SSlot();
    s.inUse = true;
    s.state = kSlotPlayer;
    s.name = CutName(name);
    return i;
  }
  return -1;
}

bool CRoom::Leave(int slot) {
  if (slot <= 0 || slot >= kSlotCount || !slots_[size_t(slot)].inUse || slots_[size_t(slot)].bot)
    return false;
  slots_[size_t(slot)] = SSlot();
  return true;
}

bool CRoom::AddBot(int slot) {
  if (slot <= 0 || slot >= kSlotCount) return false;
  SSlot& s = slots_[size_t(slot)];
  if (s.inUse || s.state != kSlotOpen) return false;
  s = SSlot();
  s.inUse = s.bot = true;
  s.state = kSlotBot;
  s.name = "BOT " + std::to_string(slot);
  s.choice.character = 0;
  s.choice.ready = 1;
  return true;
}

bool CRoom::RemoveBot(int slot) {
  if (slot <= 0 || slot >= kSlotCount || !slots_[size_t(slot)].bot) return false;
  slots_[size_t(slot)] = SSlot();
  return true;
}

bool CRoom::UpdateMenuState(int slot, int state) {
  if (slot <= 0 || slot >= kSlotCount) return false;
  SSlot& s = slots_[size_t(slot)];
  if (s.inUse) return false;
  const int32_t next = state == 1 ? kSlotClosed : state == 0 ? kSlotOpen : s.state;
  if (next == s.state) return false;
  s.state = next;
  return true;
}

bool CRoom::SetChoice(int slot, const wire::SChoice& choice) {
  if (!Valid(slot) || !slots_[size_t(slot)].inUse || slots_[size_t(slot)].choice == choice) return false;
  slots_[size_t(slot)].choice = choice;
  return true;
}

bool CRoom::CanStart() const {
  for (int i = 1; i < kSlotCount; ++i) {
    const SSlot& s = slots_[size_t(i)];
    if (s.inUse && !s.bot && !s.choice.ready) return false;
  }
  return true;
}

}  // namespace netkorvo
