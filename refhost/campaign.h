// campaign.h: the story's order, from the campaign table of the game data
// (data/table/campaign.txt, in GameState::campaign): winning a mission
// records the clear time in the current pilot's account, opens the mission
// boxes that follow it (a route of the branching missions by the table's
// conditions) and saves the account.
#pragma once
#include <string>

#include "refhost/korvohost.h"
#include "refhost/sim_mission.h"

namespace korvohost {

// The current pilot won the mission whose script is `script` in `seconds`:
// every achievement of that mission gets the time (latest, best, count + 1;
// one with the mission's key is added when the pilot has none), the total
// clear time grows by it, the boxes the table opens after it are added
// (those the pilot has stay as they are), and the account is saved. Nothing
// without a current pilot or a mission of that script.
KORVOHOST_API void RecordMissionWin(const std::string& script, int seconds);

// Whether winning the mission of that script ends the story.
KORVOHOST_API bool EndsStory(const std::string& script);

// The screen the game opens for a mission that ended: the statistics after
// a win, the final ending after the win that ends the story, else (lost, or
// ended without an outcome) the failure screen.
KORVOHOST_API const char* MissionResultScreen(const SSimMissionStatus& status);

}  // namespace korvohost
