// game_flow.cpp: the host's moves between menus and the simulated mission.
#include "tools/korvoui/game_flow.h"

#include "korvogui/korvogui.h"
#include "refhost/sim_mission.h"

void CGameFlow::Update() {
  const korvohost::SSimMissionStatus status = korvohost::SimMissionStatus();
  const bool running = status.outcome == korvohost::ESimOutcome::kRunning;
  if (running && !running_) {
    GUI_NextDialog(nullptr);   // the briefing leaves; the marker is the game
  } else if (!running && running_) {
    GUI_PumpDialog();          // an escape menu still open closes
    GUI_NextDialog(status.outcome == korvohost::ESimOutcome::kWon ? "STATISTICSMENU"
                                                                    : "MISSIONFAILEDMENU");
  }
  running_ = running;
}

bool CGameFlow::OnEscape() {
  if (!running_) return false;
  GUI_NextDialog("SINGLEPLAYESC");
  return true;
}
