// match_flow.cpp: the game's moves around the simulated match.
#include "tools/korvoui/match_flow.h"

#include <cstdio>
#include <cstring>

#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/overlays.h"
#include "korvogui/room.h"
#include "netkorvo/netkorvo.h"
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

void CMatchFlow::Begin(const korvohost::SSimMatchStatus& status) {
  fromRoom_ = GUI_IsDialogCreated("ROOMMENU");
  GUI_NextDialog(nullptr);   // the menus leave; the marker is the game
  // A match a mission script started shows the mission's briefing first.
  if (!status.script.empty() && GUI_CreateDialog("MISSIONLOADING")) {
    stage_ = EStage::kBriefing;
  } else {
    GUI_InitLoadingScene();
    stage_ = EStage::kLoading;
  }
  shownSecond_ = -1;
  std::printf("match: loading %d players\n", status.loaders);
}

void CMatchFlow::Finish() {
  for (const char* id : {"MULTIPLAYGAMEOVER", "PLAYTAB", "PLAYCHAT", "PLAYINTERFACE", "MISSIONLOADING"})
    GUI_DestroyDialog(id);
  if (GUI_IsLoadingSceneAlive()) GUI_ReleaseLoadingScene();
  bChatInputMode = 0;
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
  const korvohost::SSimMatchStatus status = korvohost::SimMatchStatus();
  if (status.phase == EMatchPhase::kNone) {
    if (stage_ != EStage::kIdle) Finish();
    WatchRoom();
    return;
  }
  inRoom_ = false;
  if (stage_ == EStage::kIdle) Begin(status);
  if (stage_ == EStage::kBriefing && status.pendingLoaders * 2 <= status.loaders) {
    GUI_DestroyDialog("MISSIONLOADING");
    GUI_InitLoadingScene();
    stage_ = EStage::kLoading;
  }
  for (const SSimMatchEvent& e : korvohost::TakeSimMatchEvents()) Show(e, status);
  if (stage_ == EStage::kPlaying) Tick(status);
}

void CMatchFlow::Show(const SSimMatchEvent& e, const korvohost::SSimMatchStatus& s) {
  switch (e.kind) {
    case EKind::kLoaded:
      GUI_DestroyDialog("MISSIONLOADING");
      if (GUI_IsLoadingSceneAlive()) GUI_ReleaseLoadingScene();
      GUI_CreateDialog("PLAYINTERFACE");
      GUI_CreateDialog("PLAYCHAT");
      GUI_SetRadarState(2, FloatBits(0.5f));   // 200 units: the arena fills the disc
      Message(GUI_EventMessage1, "FIGHT", kShortMs, kGold);
      stage_ = EStage::kPlaying;
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
  const int second = int(s.elapsedMs / 1000);
  if (second == shownSecond_) return;
  shownSecond_ = second;
  if (s.timeLimitMin == 0) GUI_TimerMessage(1, 0);
  else GUI_TimerMessage(3, s.timeLimitMin * 60 - second);
}

// ---- Keys ---------------------------------------------------------------------------------------

bool CMatchFlow::OnEscape() {
  switch (stage_) {
    case EStage::kIdle: return false;
    case EStage::kBriefing:
    case EStage::kLoading: return true;   // no menu while it loads
    case EStage::kOver:
      // Leaving the results leaves the match; a room's players stay in their room.
      if (fromRoom_) korvohost::EndSimMatch();
      else NET_Release();
      return true;
    case EStage::kPlaying:
      if (!MenusClosed() || bChatInputMode) return false;
      GUI_DestroyDialog("PLAYTAB");
      GUI_NextDialog("MULTIPLAYESC");
      return true;
  }
  return false;
}

bool CMatchFlow::OnScoreKey(bool down) {
  if (stage_ != EStage::kPlaying || bChatInputMode) return false;
  if (!down) return GUI_DestroyDialog("PLAYTAB"), true;
  if (MenusClosed() && !GUI_IsDialogCreated("PLAYTAB")) GUI_CreateDialog("PLAYTAB");
  return true;
}

bool CMatchFlow::OnChatKey() {
  if (stage_ != EStage::kPlaying || bChatInputMode || !MenusClosed()) return false;
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
