// match_flow.cpp: the game's moves around the simulated match.
#include "tools/korvoui/match_flow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/overlays.h"
#include "korvogui/room.h"
#include "netkorvo/netkorvo.h"
#include "refhost/campaign.h"
#include "refhost/host_script.h"
#include "runtime/module_state.h"

namespace {

using korvohost::EMatchPhase;
using korvohost::SSimMatchEvent;
using EKind = korvohost::SSimMatchEvent::EKind;

constexpr uint32_t kWhite = 0xFFFFFFFF, kRed = 0xFFFF1E1E, kGold = 0xFFFFD75A, kCyan = 0xFF60DEFF;
constexpr uint32_t kMessageMs = 3000, kShortMs = 2000;

// A message export takes its text as char*.
void Message(void (*line)(char*, uint32_t, uint32_t), const std::string& text, uint32_t ms, uint32_t argb) {
  std::string copy = text;
  line(copy.data(), ms, argb);
}

uintptr_t FloatBits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

const char* ItemName(int type) {
  switch (type) {
    case 27: return "FULL SHIELD";
    case 28: return "ARMOR RESTORED";
    case 29: return "COOLING";
    case 30: return "INSULATION";
    case 31: return "REINFORCED DAMAGE";
    case 33: return "INVINCIBLE";
    default: return "ITEM";
  }
}

const std::string& Name(const korvohost::SSimMatchStatus& s, int slot) {
  static const std::string none;
  return slot >= 0 && slot < int(s.players.size()) ? s.players[size_t(slot)].name : none;
}

uint32_t TeamColour(const korvohost::SSimMatchStatus& s, int slot) {
  return slot >= 0 && slot < int(s.players.size())
             ? uint32_t(GUI_GetTeamColorByID(s.players[size_t(slot)].team))
             : kWhite;
}

}  // namespace

// ---- Stages ---------------------------------------------------------------------------------

bool CMatchFlow::MenusClosed() const {
  return !DialogStack().empty() && DialogStack().back() == nullptr;
}

// The menus leave (the marker on the dialog stack is the game), then the
// mission's briefing, or at once the loading scene with its gauge.
void CMatchFlow::EnterLoading(bool briefing) {
  if (!MenusClosed()) GUI_NextDialog(nullptr);
  if (briefing && GUI_CreateDialog("MISSIONLOADING")) {
    stage_ = EStage::kBriefing;
  } else {
    GUI_InitLoadingScene();
    stage_ = EStage::kLoading;
  }
  shownSecond_ = -1;
}

// The briefing gives way to the gauge once half the loaders are done.
void CMatchFlow::AdvanceLoading(int loaders, int pending) {
  if (stage_ != EStage::kBriefing || pending * 2 > loaders) return;
  GUI_DestroyDialog("MISSIONLOADING");
  GUI_InitLoadingScene();
  stage_ = EStage::kLoading;
}

void CMatchFlow::StartPlaying() {
  GUI_DestroyDialog("MISSIONLOADING");
  if (GUI_IsLoadingSceneAlive()) GUI_ReleaseLoadingScene();
  GUI_CreateDialog("PLAYINTERFACE");
  GUI_CreateDialog("PLAYCHAT");
  GUI_SetRadarState(2, FloatBits(0.5f));   // 200 units: the arena fills the disc
  stage_ = EStage::kPlaying;
}

// The clock shows the time left once a second; no limit: "TIME UNLIMITED".
void CMatchFlow::ShowClock(uint32_t elapsedMs, int limitSeconds) {
  const int second = int(elapsedMs / 1000);
  if (second == shownSecond_) return;
  shownSecond_ = second;
  if (limitSeconds == 0) GUI_TimerMessage(1, 0);
  else GUI_TimerMessage(3, std::max(0, limitSeconds - second));
}

void CMatchFlow::CloseOverlays() {
  for (const char* id : {"MULTIPLAYGAMEOVER", "PLAYTAB", "PLAYCHAT", "PLAYINTERFACE", "MISSIONLOADING"})
    GUI_DestroyDialog(id);
  if (GUI_IsLoadingSceneAlive()) GUI_ReleaseLoadingScene();
  bChatInputMode = 0;
}

void CMatchFlow::Begin(const korvohost::SSimMatchStatus& status) {
  fromRoom_ = GUI_IsDialogCreated("ROOMMENU");
  // A match a mission script started shows the mission's briefing first.
  EnterLoading(!status.script.empty());
  std::printf("match: loading %d players\n", status.loaders);
}

void CMatchFlow::Finish() {
  CloseOverlays();
  GUI_PumpDialog();          // an escape menu or question still open closes
  // The marker goes and the menu before the match comes back; a room that
  // was left with the match goes too.
  GUI_PrevDialog(fromRoom_ && !NET_bInitialized ? 2 : 1, true);
  stage_ = EStage::kIdle;
  fromRoom_ = false;
  std::printf("match: left\n");
}

// A room left without a match (its Cancel releases the network, or the room
// ended under it): the menu before the room comes back.
void CMatchFlow::WatchRoom() {
  const bool roomShown = GUI_IsDialogCreated("ROOMMENU");
  const bool inRoom = netkorvo::LiveInRoom();
  if (inRoom_ && !inRoom && roomShown) {
    GUI_PrevDialog(1, true);
    std::printf("match: room left\n");
  }
  inRoom_ = inRoom && roomShown;
}

void CMatchFlow::GameOver(const korvohost::SSimMatchStatus& status) {
  if (bChatInputMode) GUI_LeaveChatMode();
  for (const char* id : {"PLAYTAB", "PLAYCHAT", "PLAYINTERFACE"}) GUI_DestroyDialog(id);
  GUI_PumpDialog();
  GUI_CreateDialog("MULTIPLAYGAMEOVER");
  const bool time = status.end == korvohost::EMatchEnd::kTime;
  Message(GUI_EventMessage5, time ? "TIME OVER" : "FRAG LIMIT REACHED", 0, kWhite);
  stage_ = EStage::kOver;
  std::string winners;
  for (size_t i = 0; i < status.players.size(); ++i)
    if (korvohost::SimMatchWinner(int(i))) winners += (winners.empty() ? "" : " ") + status.players[i].name;
  std::printf("match: over (%s) after %u s, winners: %s\n", time ? "time" : "frags",
              status.elapsedMs / 1000, winners.c_str());
}

// ---- Per frame --------------------------------------------------------------------------------

void CMatchFlow::Update() {
  netkorvo::ServiceSimMatch();
  const korvohost::SSimMissionStatus mission = korvohost::SimMissionStatus();
  if (mission_ || (stage_ == EStage::kIdle && mission.outcome == korvohost::ESimOutcome::kRunning)) {
    UpdateMission(mission);
    return;
  }
  const korvohost::SSimMatchStatus status = korvohost::SimMatchStatus();
  if (status.phase == EMatchPhase::kNone) {
    if (stage_ != EStage::kIdle) Finish();
    WatchRoom();
    return;
  }
  inRoom_ = false;
  if (stage_ == EStage::kIdle) Begin(status);
  AdvanceLoading(status.loaders, status.pendingLoaders);
  for (const SSimMatchEvent& e : korvohost::TakeSimMatchEvents()) Show(e, status);
  if (stage_ == EStage::kPlaying) Tick(status);
}

void CMatchFlow::Show(const SSimMatchEvent& e, const korvohost::SSimMatchStatus& s) {
  switch (e.kind) {
    case EKind::kLoaded:
      StartPlaying();
      Message(GUI_EventMessage1, "FIGHT", kShortMs, kGold);
      std::printf("match: fight\n");
      break;
    case EKind::kFrag:
      Message(GUI_EventMessage1, Name(s, e.slot) + " DESTROYED " + Name(s, e.other), kMessageMs,
              TeamColour(s, e.slot));
      if (e.other == my_client) Message(GUI_EventMessage2, "DESTROYED BY " + Name(s, e.slot), kMessageMs, kRed);
      else if (e.slot == my_client) Message(GUI_EventMessage2, "YOU DESTROYED " + Name(s, e.other), kMessageMs, kGold);
      break;
    case EKind::kOverheat:
      Message(GUI_EventMessage3, "OVERHEAT", kShortMs, kRed);
      break;
    case EKind::kChat: {
      std::string name = Name(s, e.slot), text = e.text;
      GUI_ChatMessage(TeamColour(s, e.slot), name.data(), text.data());
      if (e.slot == my_client) std::printf("match: %s says \"%s\"\n", name.c_str(), text.c_str());
      break;
    }
    case EKind::kItem:
      GUI_SetItemState(e.item, 1, e.on);
      if (!e.on) break;
      GUI_SetItemState(e.item, 3, kCyan);
      GUI_SetItemState(e.item, 2, FloatBits(0));
      Message(GUI_EventMessage3, ItemName(e.item->type), kShortMs, kCyan);
      break;
    case EKind::kJam:
      GUI_SetRadarState(1, e.on);
      if (e.on) Message(GUI_EventMessage3, "RADAR JAMMED", kShortMs, kRed);
      break;
    case EKind::kHide:
      GUI_SetRadarState(e.on ? 3 : 4, reinterpret_cast<uintptr_t>(e.character));
      break;
    case EKind::kLead: {
      Message(GUI_EventMessage4, Name(s, e.slot) + " TAKES THE LEAD", kMessageMs, TeamColour(s, e.slot));
      std::string mark = e.slot == my_client ? "mapcursor1.tga" : "";
      GUI_SetPlayMark(mark.data(), kGold);
      break;
    }
    case EKind::kNotice:
      Message(GUI_EventMessage4, e.text, kMessageMs, kWhite);
      break;
    case EKind::kOver:
      GameOver(s);
      break;
  }
}

// The item gauges run down and the clock goes on.
void CMatchFlow::Tick(const korvohost::SSimMatchStatus& s) {
  for (const korvohost::SSimMatchItem& item : s.items)
    if (item.active) GUI_SetItemState(item.item, 2, FloatBits(item.used));
  ShowClock(s.elapsedMs, s.timeLimitMin * 60);
}

// ---- The mission ------------------------------------------------------------------------------

void CMatchFlow::UpdateMission(const korvohost::SSimMissionStatus& s) {
  using korvohost::ESimOutcome;
  if (!mission_ || (s.outcome == ESimOutcome::kRunning && s.starts != missionStarts_)) {
    // Taken up, or started again (restart): from its loading on.
    CloseOverlays();
    mission_ = true;
    missionStarts_ = s.starts;
    EnterLoading(true);
    std::printf("mission: loading %s\n", s.script.c_str());
  } else if (s.outcome == ESimOutcome::kNone) {
    // Ended without an outcome: surrendered, or its scene released.
    korvohost::TakeSimMissionEvents();
    std::printf("mission: left\n");
    Conclude("MISSIONFAILEDMENU");
    return;
  }
  AdvanceLoading(s.loaders, s.pendingLoaders);
  for (const korvohost::SSimMissionEvent& e : korvohost::TakeSimMissionEvents()) {
    ShowMission(e, s);
    if (!mission_) return;
  }
  if (stage_ == EStage::kPlaying) ShowClock(s.playTimeMs, int(s.timeLimitMs / 1000));
}

void CMatchFlow::ShowMission(const korvohost::SSimMissionEvent& e, const korvohost::SSimMissionStatus& s) {
  using MKind = korvohost::SSimMissionEvent::EKind;
  const std::string targets = " " + std::to_string(s.enemies);
  switch (e.kind) {
    case MKind::kLoaded:
      StartPlaying();
      ShowClock(0, int(s.timeLimitMs / 1000));
      Message(GUI_EventMessage1, "MISSION START", kShortMs, kGold);
      Message(GUI_EventMessage2, "OBJECTIVE: DESTROY" + targets + " TARGETS", kMessageMs, kCyan);
      std::printf("mission: fight\n");
      break;
    case MKind::kDestroyed:
      Message(GUI_EventMessage1, "ENEMY DESTROYED", kMessageMs, kGold);
      Message(GUI_EventMessage2, "TARGETS DOWN " + std::to_string(s.enemies - e.left) + " /" + targets,
              kMessageMs, e.left == 0 ? kGold : kCyan);
      break;
    case MKind::kOverheat:
      Message(GUI_EventMessage3, "OVERHEAT", kShortMs, kRed);
      break;
    case MKind::kOver: {
      static const char* const kEnds[] = {"", "every enemy down", "armor lost", "time limit"};
      std::printf("mission: %s (%s) after %u s\n", s.outcome == korvohost::ESimOutcome::kWon ? "won" : "lost",
                  kEnds[int(s.end)], s.playTimeMs / 1000);
      Conclude(korvohost::MissionResultScreen(s));
      break;
    }
  }
}

// The overlays go, an escape menu still open closes, and the result screen
// opens in the marker's place, over the briefing: its buttons count their way
// back down to the briefing or the mission map.
void CMatchFlow::Conclude(const char* screen) {
  CloseOverlays();
  GUI_PumpDialog();
  if (MenusClosed()) GUI_PrevDialog(1, false);
  GUI_NextDialog(screen);
  stage_ = EStage::kIdle;
  mission_ = false;
}

// ---- Keys ---------------------------------------------------------------------------------------

bool CMatchFlow::OnEscape() {
  switch (stage_) {
    case EStage::kIdle: return false;
    case EStage::kBriefing:
    case EStage::kLoading: return true;   // no menu while it loads
    case EStage::kOver:
      if (mission_) return false;
      // Leaving the results leaves the match; a room's players stay in their room.
      if (fromRoom_) korvohost::EndSimMatch();
      else NET_Release();
      return true;
    case EStage::kPlaying:
      if (!MenusClosed() || bChatInputMode) return false;
      GUI_DestroyDialog("PLAYTAB");
      GUI_NextDialog(mission_ ? "SINGLEPLAYESC" : "MULTIPLAYESC");
      return true;
  }
  return false;
}

bool CMatchFlow::OnScoreKey(bool down) {
  if (stage_ != EStage::kPlaying || mission_ || bChatInputMode) return false;
  if (!down) return GUI_DestroyDialog("PLAYTAB"), true;
  if (MenusClosed() && !GUI_IsDialogCreated("PLAYTAB")) GUI_CreateDialog("PLAYTAB");
  return true;
}

bool CMatchFlow::OnChatKey() {
  if (stage_ != EStage::kPlaying || mission_ || bChatInputMode || !MenusClosed()) return false;
  GUI_EnterChatMode();
  return true;
}

// ---- Options -------------------------------------------------------------------------------------

bool TakeMatchOption(const std::vector<std::string>& args, size_t* i, std::string* line) {
  static const char* const kFields[][2] = {
      {"--match", "rule"}, {"--frags", "frags"}, {"--time", "time"}, {"--bots", "bots"}, {"--seed", "seed"}};
  for (const auto& field : kFields) {
    if (args[*i] != field[0] || *i + 1 >= args.size()) continue;
    if (line->empty()) *line = "match";
    std::string value = args[++*i];
    if (field[1] == std::string("rule"))   // a rule name's blanks do not count
      std::erase(value, ' ');
    *line += std::string(" ") + field[1] + "=" + value;
    return true;
  }
  return false;
}

bool StartMatchFromLine(const std::string& line, std::string* error) {
  std::vector<korvohost::SScriptStep> steps;
  std::vector<std::string> errors;
  if (!korvohost::ParseHostScript(line, "match", &steps, &errors)) {
    *error = errors.empty() ? "bad match options" : errors.front().substr(std::strlen("match:1: "));
    return false;
  }
  return netkorvo::StartSimMatch(steps.front().match, error);
}
