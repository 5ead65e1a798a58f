// room_records.h: limits of the multiplayer setup's shared records (client
// slots, team colours, option parts); the records and their exports are in
// korvogui/room.h.
#pragma once
#include "korvogui/room.h"

namespace room {

constexpr int kClientSlots = 8;        // client records, slot 0-7
constexpr int kTeamColors = 8;         // team colour entries
constexpr int kTeamNameRoom = 16;      // a team name with its NUL
constexpr int kNoTeam = 1000;          // teams from here on have the neutral colour
constexpr unsigned long kNoTeamColor = 0xFFFFBD1E;
constexpr int kOptionEntries = 127;    // option table entries

}  // namespace room
