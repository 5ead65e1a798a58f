// match_backend.cpp: the simulated match as the network library serves it.
#include "netkorvo/match_backend.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "korvogui/room.h"
#include "netkorvo/netkorvo.h"
#include "netkorvo/room.h"
#include "netkorvo/rule_tables.h"
#include "netkorvo/state_values.h"
#include "refhost/game_state.h"

namespace netkorvo {

namespace {

// The room's team colours and names, for a match that did not go through the room.
constexpr unsigned long kTeamColours[] = {0xFFE63C32, 0xFF3C6EF0, 0xFFAA50DC, 0xFF46C85A};
constexpr const char* kTeamNames[] = {"RED", "BLUE", "PURPLE", "GREEN"};

std::string Folded(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != ' ' && c != '-' && c != '_') out += char(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The first map of the game data that suits the rule (its file names the
// rule's first two letters), else the first map without rule letters.
std::string MapFor(int type) {
  const std::string letters = std::string(RuleName(type)).substr(0, 2);
  const auto& maps = korvohost::Game().maps;
  for (const auto& map : maps)
    if (map.file.find("-" + letters) != std::string::npos) return map.file;
  for (const auto& map : maps)
    if (map.file.find('-') == std::string::npos) return map.file;
  return maps.empty() ? "" : maps.front().file;
}

// FNV-1a over the text: the same room gives the same seed on every side.
uint32_t Mixed(uint32_t hash, const std::string& text) {
  for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
  return (hash ^ 0xFF) * 16777619u;
}

// The game data's index of a character id; the slot's own pick for none.
int CharacterIndex(int id, int slot) {
  const auto& characters = korvohost::Game().characters;
  for (size_t i = 0; i < characters.size(); ++i)
    if (characters[i].id == id) return int(i);
  return characters.empty() ? 0 : slot % int(characters.size());
}

// A room's part id (-1 none, 0 random, n entry n - 1) as the match's (-1 none, n part n).
int PartOf(int id, int slot, bool left) {
  const int parts = int(korvohost::Game().optionParts.size());
  if (id < 0 || parts == 0) return -1;
  if (id == 0) return 1 + (slot * 2 + (left ? 0 : 1)) % parts;
  return id <= parts ? id : -1;
}

korvohost::SSimMatchPlayer RosterEntry(const SGUI_ClientInfo& r, int slot) {
  korvohost::SSimMatchPlayer p;
  p.name = r.name[0] ? r.name : "PLAYER";
  p.bot = r.state == kSlotBot;
  p.characterIndex = CharacterIndex(r.character, slot);
  p.left = PartOf(r.left, slot, true);
  p.right = PartOf(r.right, slot, false);
  p.team = r.team;
  p.classIndex = std::max(0, r.classIndex);
  return p;
}

bool InRoom(const SGUI_ClientInfo& r) { return r.state == kSlotBot || r.state == kSlotPlayer; }

}  // namespace

bool FindRule(const std::string& name, int* type) {
  if (!name.empty() && name.size() <= 2 && std::isdigit(static_cast<unsigned char>(name[0]))) {
    const int n = std::atoi(name.c_str());
    if (n < kRuleCount && std::to_string(n) == name) return *type = n, true;
    return false;
  }
  for (int i = 0; i < kRuleCount; ++i)
    if (Folded(name) == Folded(kRuleNames[i])) return *type = i, true;
  return false;
}

// ---- Life ------------------------------------------------------------------------------------

bool CMatchBackend::Start(const korvohost::SSimMatchRequest& request, std::string* error,
                          std::vector<int> roomSlots) {
  int type = 0;
  if (!FindRule(request.rule, &type)) {
    if (error) {
      *error = "unknown rule '" + request.rule + "' (";
      for (int i = 0; i < kRuleCount; ++i) *error += std::string(i ? ", " : "") + kRuleNames[i];
      *error += ")";
    }
    return false;
  }
  korvohost::SSimMatchSetup setup = request.setup;
  setup.rule = type;
  setup.teams = IsTeamRule(type);
  if (setup.map.empty()) setup.map = MapFor(type);
  if (!korvohost::StartSimMatch(setup, error)) return false;
  if (&Backend() != this) {   // a backend set since (a session, a new live one) is the one to go back to
    inner_ = &Backend();
    SetBackend(this);
    roomClient_ = my_client;
    roomInitialized_ = NET_bInitialized;
  }
  room_ = !request.room.empty();
  roomSlots_ = std::move(roomSlots);
  const korvohost::SSimMatchStatus status = korvohost::SimMatchStatus();
  ShowMatch(status);
  UpdateInfos(status);
  return true;
}

void CMatchBackend::ShowMatch(const korvohost::SSimMatchStatus& status) {
  SGUI_ServerInfo& server = *GUI_GetServerInfo();
  if (!room_) {   // a room's record keeps the room's own settings
    CopyCut(server.room, sizeof server.room, "SIMULATED MATCH");
    server.password[0] = 0;
    CopyCut(server.map, sizeof server.map, korvohost::Game().scene.ground);
    server.type = status.rule;
    server.frag = status.fragLimit;
    server.time = status.timeLimitMin;
  }
  NET_bInitialized = 1;
  NET_bLocalGame = 1;
  my_client = status.control;
  GUI_SetLocalClientIndex(status.control);
  CC_Manager::TimeLimit = status.timeLimitMin;
  CC_Manager::FragLimit = int16_t(status.fragLimit);
  CC_Manager::ElapsedTime = 0;
  if (GUI_GetNumTeamColor() == 0) {
    unsigned long colours[4];
    char* names[4];
    for (int i = 0; i < 4; ++i) colours[i] = kTeamColours[i], names[i] = const_cast<char*>(kTeamNames[i]);
    GUI_InitTeamColor(4, colours, names);
  }
  players_ = int(status.players.size());
  if (room_) return;   // the room's records stay the room's
  for (int slot = 0; slot < kSlotCount; ++slot) {
    GUI_InitClientInfo(slot, kSlotOpen);
    if (slot >= players_) continue;
    const korvohost::SSimMatchPlayer& p = status.players[size_t(slot)];
    SGUI_ClientInfo& r = *GUI_GetClientInfo(slot);
    r.state = p.bot ? kSlotBot : kSlotPlayer;
    CopyCut(r.name, sizeof r.name, p.name);
    r.character = p.characterIndex;
    r.left = p.left;
    r.right = p.right;
    r.team = p.team;
    r.classIndex = p.classIndex;
    r.ready = 1;
  }
}

void CMatchBackend::UpdateInfos(const korvohost::SSimMatchStatus& status) {
  CC_Manager::ElapsedTime = int(status.elapsedMs);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    SClientInfo& info = infos_[size_t(slot)];
    info = SClientInfo();
    if (slot >= int(status.players.size())) continue;
    const korvohost::SSimMatchPlayer& p = status.players[size_t(slot)];
    info.inUse = 1;
    CopyCut(info.name, sizeof info.name, p.name);
    info.character = uint8_t((p.characterIndex & 0x7F) | (p.bot ? 0x80 : 0));
    info.team = p.team;
    info.frags = p.frags;
  }
}

void CMatchBackend::Service() {
  if (!inner_) return;
  if (&Backend() != this) {   // replaced meanwhile: the exports no longer come here
    inner_ = nullptr;
    return;
  }
  const korvohost::SSimMatchStatus status = korvohost::SimMatchStatus();
  if (status.phase == korvohost::EMatchPhase::kNone) return Leave();
  UpdateInfos(status);
}

void CMatchBackend::Leave() {
  if (!inner_) return;
  CNetBackend* inner = inner_;
  korvohost::EndSimMatch();
  if (&Backend() == this) SetBackend(inner_);
  inner_ = nullptr;
  if (room_) inner->RoomMatchEnded();
  players_ = 0;
  infos_ = {};
  roomSlots_.clear();
  NET_bInitialized = room_ ? roomInitialized_ : 0;
  if (room_) {
    my_client = roomClient_;
    GUI_SetLocalClientIndex(roomClient_);
  }
  room_ = false;
  CC_Manager::ElapsedTime = 0;
}

void CMatchBackend::Init(int server, const char* address, int a, int b) {
  CNetBackend* inner = inner_;
  Leave();
  inner->Init(server, address, a, b);
}

void CMatchBackend::Release() {
  CNetBackend* inner = inner_;
  Leave();
  inner->Release();
}

// ---- Match -----------------------------------------------------------------------------------

SClientInfo* CMatchBackend::ClientInfo(int slot) {
  return slot >= 0 && slot < players_ ? &infos_[size_t(slot)] : nullptr;
}

// One row per player in the order of the standings: frags and deaths.
void CMatchBackend::FillScoreBoard(SScoreBoard* board) {
  std::memset(static_cast<void*>(board), 0, sizeof *board);
  board->hasFragTitle = 1;
  board->hasSlotTitle = 1;
  CopyCut(board->fragTitle, sizeof board->fragTitle, "FRAGS");
  CopyCut(board->slotTitle, sizeof board->slotTitle, "DEATHS");
  const korvohost::SSimMatchStatus status = korvohost::SimMatchStatus();
  for (int slot : korvohost::SimMatchStandings()) {
    if (board->rowCount == 8) break;
    const korvohost::SSimMatchPlayer& p = status.players[size_t(slot)];
    SScoreRow& row = board->rows[board->rowCount++];
    CopyCut(row.name, sizeof row.name, p.name);
    row.key = slot;
    row.highlight = slot == my_client;
    row.team = p.team;
    row.classIndex = p.classIndex;
    row.leftOption = p.left;
    row.rightOption = p.right;
    row.hasFrag = 1;
    row.hasSlot = 1;
    CopyCut(row.frag, sizeof row.frag, std::to_string(p.frags));
    CopyCut(row.slot, sizeof row.slot, std::to_string(p.deaths));
  }
}

void CMatchBackend::RequestTextMsg(const char* text) {
  if (room_) return inner_->RequestTextMsg(text);
  if (text && *text) korvohost::SimMatchSay(my_client, text);
}

int CMatchBackend::RoomSlot(int player) const {
  return player >= 0 && player < int(roomSlots_.size()) ? roomSlots_[size_t(player)] : -1;
}

int CMatchBackend::Player(int roomSlot) const {
  for (size_t i = 0; i < roomSlots_.size(); ++i)
    if (roomSlots_[i] == roomSlot) return int(i);
  return -1;
}

// ---- Control API -------------------------------------------------------------------------------

namespace {

CMatchBackend& Match() {
  static CMatchBackend backend;
  return backend;
}

bool StartRequested(const korvohost::SSimMatchRequest& request, std::string* error) {
  return Match().Start(request, error);
}

}  // namespace

bool RoomMatchRequest(korvohost::SSimMatchRequest* request, std::vector<int>* roomSlots, bool leads,
                      std::string* error) {
  const SGUI_ServerInfo& info = *GUI_GetServerInfo();
  korvohost::SSimMatchSetup& setup = request->setup;
  uint32_t seed = 2166136261u;
  for (const std::string& text : {std::string(info.room), std::string(info.map), std::to_string(info.type),
                                  std::to_string(info.frag), std::to_string(info.time)})
    seed = Mixed(seed, text);
  const int local = GUI_GetLocalClientIndex();
  roomSlots->clear();
  setup.control = -1;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const SGUI_ClientInfo& r = *GUI_GetClientInfo(slot);
    if (!InRoom(r)) continue;
    seed = Mixed(seed, std::to_string(slot) + r.name);
    if (slot == local) setup.control = int(setup.roster.size());
    setup.roster.push_back(RosterEntry(r, slot));
    roomSlots->push_back(slot);
  }
  if (setup.control < 0) {
    if (error) *error = "THE LOCAL PLAYER HAS NO SLOT IN THE ROOM";
    return false;
  }
  if (setup.roster.size() < 2) {
    if (error) *error = "THE MATCH NEEDS A SECOND PLAYER OR A BOT";
    return false;
  }
  setup.role = leads ? korvohost::ERoomRole::kLeads : korvohost::ERoomRole::kFollows;
  // The match wants a limit within its range: an unlimited room plays its longest time.
  setup.fragLimit = std::clamp(info.frag, 0, korvohost::kMaxMatchFragLimit);
  setup.timeLimitMin = std::clamp(info.time, 0, korvohost::kMaxMatchTimeLimit);
  if (setup.fragLimit == 0 && setup.timeLimitMin == 0) setup.timeLimitMin = korvohost::kMaxMatchTimeLimit;
  setup.map = info.map;
  setup.seed = seed ? seed : 1;
  request->rule = std::to_string(info.type);
  request->room = info.room[0] ? info.room : "ROOM";
  return true;
}

bool StartRoomMatch(bool leads, std::string* error) {
  korvohost::SSimMatchRequest request;
  std::vector<int> slots;
  return RoomMatchRequest(&request, &slots, leads, error) && Match().Start(request, error, std::move(slots));
}

const CMatchBackend* RoomMatch() { return Match().InRoom() ? &Match() : nullptr; }

CNetBackend* MatchInner() { return Match().Inner(); }

void ServeSimMatches() { korvohost::SetMatchStarter(&StartRequested); }

bool StartSimMatch(const korvohost::SSimMatchRequest& request, std::string* error) {
  return Match().Start(request, error);
}

void ServiceSimMatch() { Match().Service(); }

}  // namespace netkorvo
