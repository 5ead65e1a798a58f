// live_backend.cpp: the live backend's services and its per-frame work.
#include "netkorvo/live_backend.h"

#include <arpa/inet.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>

#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "korvogui/messagebox.h"
#include "korvogui/overlays.h"
#include "korvogui/room.h"
#include "netkorvo/map_files.h"
#include "netkorvo/match_backend.h"
#include "netkorvo/rule_tables.h"
#include "netkorvo/state_values.h"
#include "refhost/sim_mission.h"

namespace netkorvo {

namespace {

uint64_t NowMs() {
  using namespace std::chrono;
  return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// ---- The module as the default room events --------------------------------------------------
// Rooms open as ROOMMENU; a refused join, a room that cannot be reached and a
// room that ends are told through the module's message box (GUI_MessageBox),
// after leaving ROOMMENU when it is open.
class CModuleRoomEvents : public CRoomEvents {
 public:
  // `noMatch` runs when the room's start gets no match.
  explicit CModuleRoomEvents(std::function<void()> noMatch) : noMatch_(std::move(noMatch)) {}
  void RoomOpened() override {
    GUI_NextDialog("ROOMMENU");
    if (boxed_.empty() || NowMs() - boxedAtMs_ > kBoxedLineMs) return;
    GUI_CloseCurrentMessageBox();
    TellInRoom(boxed_.c_str(), boxedColour_);
    boxed_.clear();
  }
  void RoomClosed(const char* why, bool inRoom) override {
    boxed_.clear();
    if (inRoom && GUI_IsDialogCreated("ROOMMENU")) GUI_PrevDialog(1, true);
    GUI_MessageBox(why, "", GUI_MB_OK, nullptr);
  }
  // The room's match is the host's simulated one, played with the room's
  // settings and players; a room that cannot have one says why.
  void MatchStarted() override {
    std::string error;
    if (StartRoomMatch(bServerSystem != 0, &error)) return;
    noMatch_();
    GUI_MessageBox(error.c_str(), "", GUI_MB_OK, nullptr);
  }
  // A screen message reaches the player in the window: in the room (and over
  // its match) as a line of the chat boxes in its colour, elsewhere in the
  // message box. A line boxed while a room is being joined (the join line)
  // moves into the room's chat box when the room opens.
  void ScreenMessage(const char* text, unsigned long argb) override {
    if (GUI_IsDialogCreated("ROOMMENU") || GUI_IsDialogCreated("PLAYCHAT")) return TellInRoom(text, argb);
    GUI_MessageBox(text, "", GUI_MB_OK, nullptr);
    boxed_ = text;
    boxedColour_ = argb;
    boxedAtMs_ = NowMs();
  }
  void ChatMessage(unsigned long argb, const char* name, const char* text) override {
    std::string n = name, t = text;   // the export takes char*
    GUI_ChatMessage(uint32_t(argb), n.data(), t.data());
  }

 private:
  static void TellInRoom(const char* text, unsigned long argb) {
    std::string line = text;
    GUI_ChatMessage(uint32_t(argb), nullptr, line.data());
  }

  std::function<void()> noMatch_;
  static constexpr uint64_t kBoxedLineMs = 10000;   // a join answers well within this
  std::string boxed_;   // the last screen message the message box showed
  unsigned long boxedColour_ = 0;
  uint64_t boxedAtMs_ = 0;
};

wire::SChoice ChoiceOf(const SGUI_ClientInfo& r) {
  wire::SChoice c;
  c.character = r.character;
  c.left = r.left;
  c.right = r.right;
  c.team = r.team;
  c.classIndex = r.classIndex;
  c.ready = r.ready ? 1 : 0;
  return c;
}

// The text up to its first ".": the map's name without its extension.
std::string MapName(const char* map) {
  const std::string text(map);
  return text.substr(0, text.find('.'));
}

uint32_t NewServerId() {
  std::random_device device;
  uint32_t id = 0;
  while (id == 0) id = device();
  return id;
}

}  // namespace

CLiveBackend::CLiveBackend(const SLiveOptions& options)
    : options_(options),
      moduleEvents_(std::make_unique<CModuleRoomEvents>([this] {
        RoomMatchEnded();
        NET_bInitialized = 0;   // no match began
      })),
      stored_(options.stored) {
  slotButtons_.fill(-1);
  COnlineClient::SHooks hooks;
  hooks.stored = [this](const char* key) {
    auto it = stored_.find(key);
    return it == stored_.end() ? std::string() : it->second;
  };
  hooks.onlineChosen = [this] {
    if (options_.onlineChosen) options_.onlineChosen(stored_);
  };
  hooks.openRoom = [this](bool anyInterface, std::string* error) { return OpenOnlineRoom(anyInterface, error); };
  hooks.roomListed = [this] { Events().RoomOpened(); };
  hooks.dropRoom = [this] { Release(); };
  hooks.joinPort = [this](uint16_t port) { onlineJoinPort_ = port; };
  hooks.joinPassword = [this](const std::string& password) { onlineJoinPassword_ = password; };
  online_ = std::make_unique<COnlineClient>(std::move(hooks), int(options.lobbyConnectMs));
}

CLiveBackend::~CLiveBackend() { Release(); }

CRoomEvents& CLiveBackend::Events() { return options_.events ? *options_.events : *moduleEvents_; }

std::string CLiveBackend::PlayerName() const {
  auto it = stored_.find("kn_prev_login_id");
  return it != stored_.end() && !it->second.empty() ? it->second : "PLAYER";
}

// ---- Life ----------------------------------------------------------------------------------------

void CLiveBackend::Init(int server, const char* address, int a, int b) {
  Release();
  bServerSystem = server ? 1 : 0;   // the room's own menus ask whether this side hosts
  if (server) OpenRoom(b != 0);
  else JoinRoom(address, a == 0);
}

void CLiveBackend::OpenRoom(bool announce) {
  std::string error;
  if (!StartRoom(announce, options_.lan, &error)) {
    Later([this, error] { Events().RoomClosed(error.c_str(), false); });
    return;
  }
  Later([this] { Events().RoomOpened(); });
}

// The creator of an online game is its room's server, as for a local game:
// the room shows START there and the joiners are its clients.
uint16_t CLiveBackend::OpenOnlineRoom(bool anyInterface, std::string* error) {
  Release();
  if (!StartRoom(false, anyInterface || options_.lan, error)) return 0;
  bServerSystem = 1;
  onlineRoom_ = true;
  return server_->Port();
}

bool CLiveBackend::StartRoom(bool announce, bool anyInterface, std::string* error) {
  SGUI_ServerInfo& info = *GUI_GetServerInfo();
  // The create menu sets the map only when one is clicked: a room without
  // one (or with one of another rule) plays the first map of its rule.
  if (!info.map[0] || !MapSuitsRule(info.map, RuleName(info.type))) {
    const std::string map = FirstMapForRule(info.type);
    if (!map.empty()) CopyCut(info.map, sizeof info.map, map);
  }
  CRoomServer::SConfig config;
  config.bindAddress = anyInterface ? "0.0.0.0" : options_.announceAddress;
  config.port = options_.roomPort;
  config.timeoutMs = options_.timeoutMs;
  config.hostName = PlayerName();
  wire::SWelcome& s = config.settings;
  s.room = info.room;
  s.map = info.map;
  config.password = info.password;
  config.choices = GameChoiceRules();
  s.type = info.type;
  s.frag = info.frag;
  s.time = info.time;
  s.parts = info.parts;
  s.armor = info.armor;
  s.shield = info.shield;
  server_ = std::make_unique<CRoomServer>();
  bool open = server_->Open(config, error);
  if (!open && config.port != 0) {
    // The port is taken (another room on this machine): any free port will
    // do, the game list or the lobby tells it.
    config.port = 0;
    open = server_->Open(config, error);
  }
  if (!open) {
    server_.reset();
    return false;
  }
  serverId_ = NewServerId();
  NET_ServerID = int(serverId_);
  CC_Manager::TimeLimit = info.time;
  CC_Manager::FragLimit = int16_t(info.frag);
  my_client = 0;
  GUI_SetLocalClientIndex(0);
  if (announce) {
    announcer_ = std::make_unique<CGameAnnouncer>();
    std::string why;
    if (!announcer_->Open(config.bindAddress, options_.discoveryPort, &why)) {
      announcer_.reset();
      const std::string text = "THE GAME IS NOT ANNOUNCED: " + why;
      Later([this, text] { Events().ScreenMessage(text.c_str(), screenColour_); });
    }
  }
  // Keep the player's choices made before the room opened.
  server_->SetChoice(0, ChoiceOf(*GUI_GetClientInfo(0)));
  return true;
}

// A local-network join finds the room's port in the game list; an online
// join has it from the lobby.
void CLiveBackend::JoinRoom(const char* address, bool online) {
  const std::string dotted = address ? address : "";
  in_addr host{};
  uint16_t port = options_.roomPort;
  if (online && onlineJoinPort_ != 0) {
    port = onlineJoinPort_;
  } else if (inet_pton(AF_INET, dotted.c_str(), &host) == 1) {
    auto it = roomPorts_.find({host.s_addr, uint32_t(NET_ServerID)});
    if (it != roomPorts_.end()) port = it->second;
  }
  onlineRoom_ = online;
  client_ = std::make_unique<CRoomClient>();
  // The room checks the password given in the lobby; a local-network join has none.
  joinPassword_ = online ? onlineJoinPassword_ : "";
  client_->SetPassword(joinPassword_);
  std::string error;
  if (!client_->Connect(dotted, port, PlayerName(), options_.timeoutMs, &error)) {
    client_.reset();
    Later([this, error] { Events().RoomClosed(error.c_str(), false); });
  }
}

void CLiveBackend::Release() {
  if (server_) server_->Close("THE SERVER LEFT THE ROOM");
  server_.reset();
  announcer_.reset();
  if (client_) client_->Leave();
  client_.reset();
  later_.clear();
  slotButtons_.fill(-1);
  stateSent_ = false;
  NET_bInitialized = 0;
  bServerSystem = 0;
  if (onlineRoom_) online_->LeaveGame();
  onlineRoom_ = false;
}

// ---- Per frame -------------------------------------------------------------------------------------

void CLiveBackend::Service() {
  std::vector<std::function<void()>> due = std::move(later_);
  later_.clear();
  for (auto& event : due) event();
  online_->Service(NowMs());
  if (server_) ServiceServer();
  if (client_) ServiceClient();
}

void CLiveBackend::ServiceServer() {
  server_->Service();
  for (int i = 0; i < kSlotCount; ++i)
    if (Owned(i)) server_->SetChoice(i, ChoiceOf(*GUI_GetClientInfo(i)));
  for (const CRoomServer::SSaid& said : server_->TakeSaid()) ServerChat(said.slot, said.text);
  if (announcer_) announcer_->Service(Announcement());
  ShowSlots();
  ShareMatch();
}

void CLiveBackend::ServiceClient() {
  client_->Service();
  for (const CRoomClient::SEvent& event : client_->TakeEvents()) {
    switch (event.kind) {
      case CRoomClient::EEvent::kJoined: {
        const wire::SWelcome& s = client_->Settings();
        SGUI_ServerInfo& info = *GUI_GetServerInfo();
        CopyCut(info.room, sizeof info.room, s.room);
        CopyCut(info.password, sizeof info.password, joinPassword_);
        CopyCut(info.map, sizeof info.map, s.map);
        info.type = s.type;
        info.frag = s.frag;
        info.time = s.time;
        info.parts = s.parts;
        info.armor = s.armor;
        info.shield = s.shield;
        CC_Manager::TimeLimit = s.time;
        CC_Manager::FragLimit = int16_t(s.frag);
        my_client = client_->MySlot();
        GUI_SetLocalClientIndex(my_client);
        Events().RoomOpened();
        break;
      }
      case CRoomClient::EEvent::kStarted:
        NET_bInitialized = 1;
        Events().MatchStarted();
        break;
      case CRoomClient::EEvent::kChat: {
        const auto& line = std::get<wire::SChatLine>(event.message);
        Events().ChatMessage(line.colour, line.name.c_str(), line.text.c_str());
        break;
      }
      case CRoomClient::EEvent::kMatch:
        FollowMatch(event.message);
        break;
      case CRoomClient::EEvent::kRefused:
      case CRoomClient::EEvent::kEnded: {
        const bool inRoom = event.kind == CRoomClient::EEvent::kEnded;
        client_.reset();
        NET_bInitialized = 0;
        if (onlineRoom_) online_->LeaveGame();
        onlineRoom_ = false;
        Events().RoomClosed(event.text.c_str(), inRoom);
        return;
      }
    }
    if (!client_) return;   // the events may have released the room
  }
  if (!client_->Joined()) return;
  client_->SendChoice(ChoiceOf(*GUI_GetClientInfo(client_->MySlot())));
  ShowSlots();
}

wire::SAnnounce CLiveBackend::Announcement() const {
  const SGUI_ServerInfo& info = *GUI_GetServerInfo();
  wire::SAnnounce a;
  a.serverId = serverId_;
  a.roomPort = server_->Port();
  a.type = uint8_t(info.type);
  a.players = uint8_t(server_->Room().Players());
  a.maxPlayers = kSlotCount;
  a.name = info.room;
  a.text = MapName(info.map);
  return a;
}

const SSlot* CLiveBackend::RoomSlot(int slot) const {
  if (!CRoom::Valid(slot)) return nullptr;
  if (server_) return &server_->Room().Slot(slot);
  if (client_ && client_->Joined()) return &client_->Slot(slot);
  return nullptr;
}

bool CLiveBackend::Owned(int slot) const {
  if (server_) return slot == 0 || server_->Room().Slot(slot).bot;
  return client_ && client_->Joined() && slot == client_->MySlot();
}

void CLiveBackend::ShowSlots() {
  for (int i = 0; i < kSlotCount; ++i) ShowSlot(i, !Owned(i));
  ShowSlotButtons();
}

// A slot in use is enabled, its team button usable where this side makes
// its choices; an empty slot is disabled. The room menu disables every slot
// when it opens, so while it is not open nothing is known to be shown.
void CLiveBackend::ShowSlotButtons() {
  if (!GUI_IsDialogCreated("ROOMMENU")) return slotButtons_.fill(-1);
  for (int i = 0; i < kSlotCount; ++i) {
    const SSlot* s = RoomSlot(i);
    const int shown = !s || !s->inUse ? 0 : Owned(i) ? 2 : 1;
    if (shown == slotButtons_[size_t(i)]) continue;
    slotButtons_[size_t(i)] = shown;
    if (shown == 0) GUI_DisableRoomMenuSlot(i);
    else GUI_EnableRoomMenuSlot(i, shown == 2);
  }
}

// Writes the room's slot into SClientInfo and into the module's record: the
// state and the name always, the choices when `choices` (another side's).
void CLiveBackend::ShowSlot(int slot, bool choices) {
  const SSlot* s = RoomSlot(slot);
  if (!s) return;
  SClientInfo& info = infos_[size_t(slot)];
  info = SClientInfo();
  info.inUse = s->inUse;
  CopyCut(info.name, sizeof info.name, s->name);
  info.character = uint8_t((s->choice.character < 0 ? 0 : s->choice.character & 0x7F) | (s->bot ? 0x80 : 0));
  info.team = s->choice.team;
  SGUI_ClientInfo& r = *GUI_GetClientInfo(slot);
  r.state = s->state;
  if (std::strncmp(r.name, s->name.c_str(), sizeof r.name) != 0) CopyCut(r.name, sizeof r.name, s->name);
  if (!choices) return;
  r.character = s->choice.character;
  r.left = s->choice.left;
  r.right = s->choice.right;
  r.team = s->choice.team;
  r.classIndex = s->choice.classIndex;
  r.ready = s->choice.ready;
}

// ---- Local game list --------------------------------------------------------------------------------

void CLiveBackend::StartGameList() {
  if (finder_) return finder_->Restart();
  CGameFinder::SConfig config;
  config.announceAddress = options_.announceAddress;
  config.broadcast = options_.lan;
  config.port = options_.discoveryPort;
  config.intervalMs = options_.queryIntervalMs;
  finder_ = std::make_unique<CGameFinder>();
  std::string error;
  if (!finder_->Open(config, &error)) {
    finder_.reset();
    Events().ScreenMessage(("THE GAME LIST CANNOT START: " + error).c_str(), screenColour_);
  }
}

void CLiveBackend::UpdateGameList(NET_GLCallback callback) {
  if (!finder_) return;
  finder_->Service(NowMs());
  for (const SFoundGame& found : finder_->TakeNew()) {
    uint32_t host;
    std::memcpy(&host, found.address, 4);
    roomPorts_[{host, found.game.serverId}] = found.game.roomPort;
    HandGame(callback, found.game.serverId, found.game.name, found.address, found.game.type,
             found.game.players, found.game.maxPlayers, found.game.text);
  }
}

void CLiveBackend::StopGameList() { finder_.reset(); }

// ---- Online lobby -------------------------------------------------------------------------------------

int CLiveBackend::Send(const SLobbyRequest& request) { return online_->Send(request); }
void CLiveBackend::Close() { online_->Close(); }
int CLiveBackend::CalculateGrade(int ranking, int score) { return Grade(ranking, score); }

// ---- Room and match -----------------------------------------------------------------------------------

SClientInfo* CLiveBackend::ClientInfo(int slot) {
  const SSlot* s = RoomSlot(slot);
  return s && s->inUse ? &infos_[size_t(slot)] : nullptr;
}

bool CLiveBackend::CanStart() { return server_ && !server_->Started() && server_->Room().CanStart(); }

void CLiveBackend::WriteStart() {
  if (!server_ || !server_->Start()) return;
  NET_bInitialized = 1;
  Later([this] { Events().MatchStarted(); });
}

void CLiveBackend::UpdateMenuState(int slot, int state) {
  if (server_ && server_->UpdateMenuState(slot, state)) ShowSlot(slot, true);
}

void CLiveBackend::AddBot(int slot) {
  if (server_ && server_->AddBot(slot)) ShowSlot(slot, true);
}

void CLiveBackend::RemoveBot(int slot) {
  if (server_ && server_->RemoveBot(slot)) ShowSlot(slot, true);
}

// Rows of the players in the room, in slot order; no match runs in the
// stand-in, so every frag count is 0 and every player shares rank 1.
void CLiveBackend::FillScoreBoard(SScoreBoard* board) {
  std::memset(static_cast<void*>(board), 0, sizeof *board);
  for (int i = 0; i < kSlotCount; ++i) {
    const SSlot* s = RoomSlot(i);
    if (!s || !s->inUse) continue;
    SScoreRow& row = board->rows[board->rowCount++];
    CopyCut(row.name, sizeof row.name, s->name);
    row.key = i;
    row.highlight = i == my_client;
    row.team = s->choice.team;
    row.classIndex = s->choice.classIndex;
    row.leftOption = s->choice.left;
    row.rightOption = s->choice.right;
    row.hasFrag = 1;
    CopyCut(row.frag, sizeof row.frag, std::to_string(infos_[size_t(i)].frags));
  }
}

int CLiveBackend::RankNumber(int key) {
  const SSlot* s = RoomSlot(key);
  if (!s || !s->inUse) return 0;
  int rank = 1;
  for (int i = 0; i < kSlotCount; ++i)
    if (RoomSlot(i)->inUse && infos_[size_t(i)].frags > infos_[size_t(key)].frags) ++rank;
  return rank;
}

bool CLiveBackend::IsWinner(int slot) { return RankNumber(slot) == 1; }
bool CLiveBackend::IsTeamGame() { return IsTeamRule(GUI_GetServerInfo()->type); }

// A single-player mission loading counts its own loaders (the game's loading
// scene shows them); otherwise the room's players, all loaded.
int CLiveBackend::TotalLoaders() {
  const korvohost::SSimMissionStatus mission = korvohost::SimMissionStatus();
  if (mission.loading) return mission.loaders;
  int n = 0;
  for (int i = 0; i < kSlotCount; ++i) n += RoomSlot(i) && RoomSlot(i)->inUse;
  return n;
}

int CLiveBackend::PendingLoaders() {
  const korvohost::SSimMissionStatus mission = korvohost::SimMissionStatus();
  return mission.loading ? mission.pendingLoaders : 0;
}

void CLiveBackend::RoomMatchEnded() {
  if (server_) server_->EndMatch();
}

// ---- Chat, messages, stored settings ------------------------------------------------------------------
// A chat line goes to the room's server, which sends it to every player in
// the sender's colour (its team's in a team game, else the colour of no
// team) and shows it in its own window.

void CLiveBackend::RequestTextMsg(const char* text) {
  if (!text || !*text) return;
  if (server_) ServerChat(0, text);
  else if (client_) client_->Say(text);
}

unsigned long CLiveBackend::ChatColour(int slot) const {
  const SSlot* s = RoomSlot(slot);
  const bool teams = IsTeamRule(GUI_GetServerInfo()->type);
  return GUI_GetTeamColorByID(s && teams ? s->choice.team : 1000);
}

void CLiveBackend::ServerChat(int slot, const std::string& text) {
  const SSlot* s = RoomSlot(slot);
  if (!s || !s->inUse) return;
  wire::SChatLine line;
  line.slot = uint8_t(slot);
  line.colour = uint32_t(ChatColour(slot));
  line.name = s->name;
  line.text = text.substr(0, wire::kChatTextRoom - 1);
  server_->SendToAll(line);
  Events().ChatMessage(line.colour, line.name.c_str(), line.text.c_str());
}

// ---- The room's match ------------------------------------------------------------------------------------
// The server's match leads: its frag, chat, lead and notice events go to the
// players as they happen (bots' chat as chat lines), its state (frags and
// deaths by slot, time, end, winners) whenever it changes and once a second.

void CLiveBackend::ShareMatch() {
  const CMatchBackend* match = RoomMatch();
  if (!match) {
    stateSent_ = false;
    return;
  }
  const korvohost::SSimMatchStatus status = korvohost::SimMatchStatus();
  using EKind = korvohost::SSimMatchEvent::EKind;
  const auto slotOf = [&](int player) {
    const int slot = match->RoomSlot(player);
    return slot >= 0 ? uint8_t(slot) : wire::kNoSlot;
  };
  for (const korvohost::SSimMatchEvent& e : korvohost::TakeSimMatchSharedEvents()) {
    wire::SMatchEvent event;
    if (e.kind == EKind::kChat) {
      if (e.slot < 0 || e.slot >= int(status.players.size()) || slotOf(e.slot) == wire::kNoSlot) continue;
      const korvohost::SSimMatchPlayer& p = status.players[size_t(e.slot)];
      wire::SChatLine line;
      line.slot = slotOf(e.slot);
      line.colour = uint32_t(GUI_GetTeamColorByID(p.team));
      line.name = p.name;
      line.text = e.text;
      server_->SendToAll(line);   // this window shows it from its own match
      continue;
    }
    if (e.kind == EKind::kFrag) event.kind = wire::EMatchEvent::kFrag, event.slot = slotOf(e.slot), event.other = slotOf(e.other);
    else if (e.kind == EKind::kLead) event.kind = wire::EMatchEvent::kLead, event.slot = slotOf(e.slot);
    else event.kind = wire::EMatchEvent::kNotice, event.text = e.text;
    server_->SendToAll(event);
  }
  wire::SMatchState state;
  state.elapsedMs = status.elapsedMs;
  state.end = status.phase != korvohost::EMatchPhase::kOver ? 0
              : status.end == korvohost::EMatchEnd::kTime ? 1 : 2;
  for (size_t i = 0; i < status.players.size() && state.rows.size() < wire::kMatchRows; ++i) {
    const uint8_t slot = slotOf(int(i));
    if (slot == wire::kNoSlot) continue;
    state.rows.push_back({slot, status.players[i].frags, status.players[i].deaths});
    if (state.end && korvohost::SimMatchWinner(int(i))) state.winners |= uint8_t(1u << slot);
  }
  wire::SMatchState last = sharedState_;
  last.elapsedMs = state.elapsedMs;
  if (stateSent_ && last == state && sharedState_.elapsedMs / 1000 == state.elapsedMs / 1000) return;
  sharedState_ = state;
  stateSent_ = true;
  server_->SendToAll(state);
}

void CLiveBackend::FollowMatch(const wire::SMessage& message) {
  const CMatchBackend* match = RoomMatch();
  if (!match) return;
  const auto player = [&](uint8_t slot) { return slot == wire::kNoSlot ? -1 : match->Player(slot); };
  if (const auto* e = std::get_if<wire::SMatchEvent>(&message)) {
    korvohost::SSimMatchEvent event;
    using EKind = korvohost::SSimMatchEvent::EKind;
    event.kind = e->kind == wire::EMatchEvent::kFrag ? EKind::kFrag
                 : e->kind == wire::EMatchEvent::kLead ? EKind::kLead : EKind::kNotice;
    event.slot = player(e->slot);
    event.other = player(e->other);
    event.text = e->text;
    korvohost::FollowSimMatchEvent(event);
    return;
  }
  const auto* s = std::get_if<wire::SMatchState>(&message);
  if (!s) return;
  std::vector<korvohost::SSimMatchScore> scores(wire::kMatchRows);
  std::vector<int> winners;
  for (const wire::SMatchRow& row : s->rows) {
    const int p = player(row.slot);
    if (p < 0) continue;
    scores[size_t(p)] = {row.frags, row.deaths};
    if (s->winners & (1u << row.slot)) winners.push_back(p);
  }
  korvohost::FollowSimMatchScores(scores, s->elapsedMs);
  if (s->end) korvohost::FollowSimMatchEnd(s->end == 1 ? korvohost::EMatchEnd::kTime : korvohost::EMatchEnd::kFrags, winners);
}

void CLiveBackend::ScreenMessage(const char* text) { Events().ScreenMessage(text ? text : "", screenColour_); }
void CLiveBackend::SetScreenMessageColor(unsigned long argb) { screenColour_ = argb; }

bool CLiveBackend::StoredValue(const char* key, const char** value) {
  auto it = key ? stored_.find(key) : stored_.end();
  if (it == stored_.end()) return false;
  if (value) *value = it->second.c_str();
  return true;
}

void CLiveBackend::WritePrevLoginID(const char* id) {
  if (id) stored_["kn_prev_login_id"] = id;
  else stored_.erase("kn_prev_login_id");
}

// ---- Control API ------------------------------------------------------------------------------------------

namespace {
std::unique_ptr<CLiveBackend> g_live;
}  // namespace

void UseLiveBackend(const SLiveOptions& options) {
  SetBackend(nullptr);
  g_live = std::make_unique<CLiveBackend>(options);
  SetBackend(g_live.get());
}

// The live backend goes on under a match it serves (the room's match).
void ServiceLive() {
  if (g_live && (&Backend() == g_live.get() || MatchInner() == g_live.get())) g_live->Service();
}

uint16_t LiveRoomPort() { return g_live ? g_live->RoomPort() : 0; }
bool LiveInRoom() { return g_live && g_live->InRoom(); }

}  // namespace netkorvo
