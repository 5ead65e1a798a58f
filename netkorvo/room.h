// room.h: the eight slots of a room as its server keeps them: who sits where
// (the server's player in slot 0, joined players, bots), open and closed
// slots, each slot's choices, and when the match may start. No sockets here.
#pragma once
#include <array>
#include <string>

#include "netkorvo/rule_tables.h"
#include "netkorvo/wire.h"

namespace netkorvo {

constexpr int kSlotCount = 8;

struct SSlot {
  bool inUse = false, bot = false;
  int32_t state = kSlotOpen;
  std::string name;            // cut to SClientInfo's room
  wire::SChoice choice;

  wire::SSlotRecord Record(int slot) const;
  static SSlot FromRecord(const wire::SSlotRecord& record);
  bool operator==(const SSlot&) const = default;
};

class CRoom {
 public:
  // A room with the server's player in slot 0.
  explicit CRoom(const std::string& hostName);

  const SSlot& Slot(int slot) const { return slots_[size_t(slot)]; }
  static bool Valid(int slot) { return slot >= 0 && slot < kSlotCount; }
  int Players() const;          // slots in use, bots included

  // The first open slot for a joining player, -1 when the room is full.
  int Join(const std::string& name);
  // The slot becomes open again. False for slot 0 or a slot without a player.
  bool Leave(int slot);
  // An open slot takes a bot; a bot's slot becomes open. False otherwise.
  bool AddBot(int slot);
  bool RemoveBot(int slot);
  // The room menu's states: 1 closes an open slot, 0 opens a closed one.
  bool UpdateMenuState(int slot, int state);
  // The choices of a slot in use. False when unchanged or not in use.
  bool SetChoice(int slot, const wire::SChoice& choice);
  // Every joined player (not the server's, not bots) is ready.
  bool CanStart() const;

 private:
  std::array<SSlot, kSlotCount> slots_;
};

}  // namespace netkorvo
