// game_flow.cpp: the host's moves between menus and the simulated mission.
#include "tools/korvoui/game_flow.h"

#include "korvogui/korvogui.h"
#include "refhost/game_state.h"
#include "refhost/sim_mission.h"

namespace {

// The story ends with the last mission of the mission table: winning it
// shows the final ending instead of the statistics.
bool IsLastStoryMission(const std::string& script) {
  const auto& missions = korvohost::Game().missions;
  return !missions.empty() && !script.empty() && missions.back()->record.script == script;
}

}  // namespace

const char* MissionResultScreen(const korvohost::SSimMissionStatus& status) {
  if (status.outcome != korvohost::ESimOutcome::kWon) return "MISSIONFAILEDMENU";
  return IsLastStoryMission(status.script) ? "MISSIONENDINGMENU" : "STATISTICSMENU";
}

void CGameFlow::Update() {
  const korvohost::SSimMissionStatus status = korvohost::SimMissionStatus();
  const bool running = status.outcome == korvohost::ESimOutcome::kRunning;
  if (running && !running_) {
    GUI_NextDialog(nullptr);   // the briefing leaves; the marker is the game
  } else if (!running && running_) {
    GUI_PumpDialog();          // an escape menu still open closes
    GUI_NextDialog(MissionResultScreen(status));
  }
  running_ = running;
}

bool CGameFlow::OnEscape() {
  if (!running_) return false;
  GUI_NextDialog("SINGLEPLAYESC");
  return true;
}
