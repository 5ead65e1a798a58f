// match_flow.h: what the game executable does around the host's simulated
// match, for `korvoui play` and `render`: the menus leave and the loading
// scenes show while it loads; then the HUD and the chat, fed every frame
// through the module's exports (event and timer messages, item, radar and
// play-mark states, chat lines); the score table while its key is held, the
// escape menu on Escape; at the end the game-over screen with its message,
// and on leaving (Escape there, or the leave question) the menu the match
// started from. A room's match goes back to the room from the results; the
// leave question leaves the room as well, to the menu before it. Lines saying where the match is, and the local player's chat
// lines, go to stdout ("match: ...").
//
// A single-player mission (the host's simulated mission, started by its
// script) goes the same way: its loading screens, the HUD fed with its
// events (enemies destroyed, objective progress, overheat) and its clock
// counting down the time limit, its escape menu, and at the end the result
// screen: the statistics, the ending after the last story mission, or the
// failure screen (lost, or surrendered). Lines go to stdout ("mission: ...").
#pragma once
#include <string>
#include <vector>

#include "refhost/sim_match.h"
#include "refhost/sim_mission.h"

class CMatchFlow {
 public:
  // Once per frame, after the host clock was set and before GUI_Update.
  void Update();
  bool Active() const { return stage_ != EStage::kIdle; }
  // The game's fire input reaches the mission: one runs (loading counts, so
  // that the first step of the fight sees the trigger) and no menu is open.
  bool MissionControls() const { return mission_ && MenusClosed(); }
  // Keys the match takes before the module; true when taken.
  bool OnEscape();
  bool OnScoreKey(bool down);
  bool OnChatKey();

 private:
  enum class EStage { kIdle, kBriefing, kLoading, kPlaying, kOver };
  void Begin(const korvohost::SSimMatchStatus& status);
  void Finish();
  // Shared by the match and the mission.
  void EnterLoading(bool briefing);
  void AdvanceLoading(int loaders, int pending);
  void StartPlaying();
  void ShowClock(uint32_t elapsedMs, int limitSeconds);
  static void CloseOverlays();
  // The mission.
  void UpdateMission(const korvohost::SSimMissionStatus& status);
  void ShowMission(const korvohost::SSimMissionEvent& e, const korvohost::SSimMissionStatus& status);
  void Conclude(const char* screen);
  void WatchRoom();
  void Show(const korvohost::SSimMatchEvent& e, const korvohost::SSimMatchStatus& status);
  void GameOver(const korvohost::SSimMatchStatus& status);
  void Tick(const korvohost::SSimMatchStatus& status);
  bool MenusClosed() const;

  EStage stage_ = EStage::kIdle;
  bool fromRoom_ = false;   // started by a room's start: the results lead back to it
  bool inRoom_ = false;     // a room's menu is open and its network session runs
  int shownSecond_ = -1;
  bool mission_ = false;          // following a single-player mission
  uint32_t missionStarts_ = 0;    // the mission's start count when it was taken up
};

// Takes the match options of argument i (--match RULE, --frags N, --time MIN,
// --bots N, --seed N) into `line`, a host script's match line; false when
// argument i is none of them.
bool TakeMatchOption(const std::vector<std::string>& args, size_t* i, std::string* line);
// Starts the match that `line` asks for; false with a reason.
bool StartMatchFromLine(const std::string& line, std::string* error);
