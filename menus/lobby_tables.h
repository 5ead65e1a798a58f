// lobby_tables.h: what the lobby screens share with the KN_* exports: the
// class icons beside the pilot rows and the record panel of the lobby.
#pragma once

struct PLAYER_INFO;

namespace lobby {

// Hides the ten class icons when every pilot row is in view; otherwise icon i
// shows the class of the pilot row at visible position i, or hides.
void RefreshClassIcons();
// The panel's class name, ranking, wins / losses and score of a pilot.
void ShowPilotRecord(const PLAYER_INFO& pilot);
// The record attached to row `row` of the pilot list, or null.
PLAYER_INFO* PilotRecord(int row);

}  // namespace lobby
