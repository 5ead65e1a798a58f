// game_flow.h: what the game executable does between the menus and a
// mission, for `korvoui play`: when a mission starts (its script's `mission`
// line) the menus leave the screen and a marker on the dialog stack stands
// for the game; Escape during the mission opens the escape menu; when the
// mission ends the host shows the statistics (won), the final ending (the
// last story mission won) or the failure screen.
#pragma once

#include "refhost/sim_mission.h"

// The screen the host opens for a mission that ended.
const char* MissionResultScreen(const korvohost::SSimMissionStatus& status);

class CGameFlow {
 public:
  // Once per frame, after the host clock was set.
  void Update();
  // Escape pressed with no dialog open: true when the game took it.
  bool OnEscape();

 private:
  bool running_ = false;
};
