// online_client.cpp: the online client's requests and the delivery of the
// lobby server's answers to the module.
#include "netkorvo/online_client.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "korvogui/korvogui.h"
#include "korvogui/lobby.h"
#include "korvogui/messagebox.h"
#include "korvogui/room.h"
#include "lobbyd/records.h"
#include "netkorvo/state_values.h"

namespace netkorvo {

namespace {

using lobbyd::ECode;
using lobbyd::EMsg;

constexpr uint64_t kPlayerRefreshMs = 5000;        // the lobby's pilot list is asked for again after this
constexpr unsigned long kChatColour = 0xFFFFFFFF;
constexpr unsigned long kOwnChatColour = 0xFFFFD040;

// The screens of the online lobby; a lost connection leaves them.
constexpr const char* kOnlineDialogs[] = {"LOGINMENU", "NEWIDMENU",  "CHANGEPASSMENU", "KORVONETMENU",
                                          "CREATECHANNEL", "JOINMENU", "CREATEMENU"};

// What the player reads when the server refuses a request.
const char* RefusalText(ECode code) {
  switch (code) {
    case ECode::kOk: return "";
    case ECode::kBadId: return "THE ID MUST BE 4-21 LETTERS, DIGITS OR _, FIRST A LETTER";
    case ECode::kBadPassword: return "THE PASSWORD MUST BE 6-64 CHARACTERS";
    case ECode::kVerifyMismatch: return "THE PASSWORD AND ITS REPETITION DIFFER";
    case ECode::kBadBirthday: return "THE BIRTHDAY IS NOT A DATE";
    case ECode::kBadEmail: return "THE E-MAIL ADDRESS IS NOT VALID";
    case ECode::kIdTaken: return "THIS ID IS TAKEN";
    case ECode::kWrongLogin: return "WRONG ID OR PASSWORD";
    case ECode::kThrottled: return "TOO MANY TRIES: TRY AGAIN LATER";
    case ECode::kNotLoggedIn: return "YOU ARE NOT LOGGED IN";
    case ECode::kAlreadyLoggedIn: return "THIS ID IS ALREADY LOGGED IN";
    case ECode::kBadChannelName: return "THE CHANNEL NAME IS NOT VALID";
    case ECode::kChannelLimit: return "NO MORE CHANNELS CAN BE OPENED";
    case ECode::kBadGameName: return "THE GAME NAME IS NOT VALID";
    case ECode::kGameNameTaken: return "A GAME OF THIS NAME IS OPEN";
    case ECode::kNoSuchGame: return "THE GAME IS GONE";
    case ECode::kWrongGamePassword: return "WRONG GAME PASSWORD";
    case ECode::kGameFull: return "THE GAME IS FULL";
    case ECode::kBadChat: return "THE MESSAGE CANNOT BE SENT";
    case ECode::kBadMap: return "THE MAP NAME IS NOT VALID";
    case ECode::kBadPlayers: return "THE NUMBER OF PLAYERS IS NOT VALID";
    case ECode::kServerError: return "THE LOBBY SERVER FAILED: TRY AGAIN";
    case ECode::kGameLimit: return "NO MORE GAMES CAN BE OPENED";
  }
  return "THE LOBBY SERVER REFUSED THE REQUEST";
}

std::string Arg(const char* text) { return text ? text : ""; }

// The module's KN_* exports take writable texts.
char* Writable(std::string& text) { return text.data(); }

bool InOnlineDialog() {
  for (const char* name : kOnlineDialogs)
    if (GUI_IsDialogCreated(name)) return true;
  return false;
}

}  // namespace

COnlineClient::COnlineClient(SHooks hooks, int connectTimeoutMs)
    : hooks_(std::move(hooks)), connectTimeoutMs_(connectTimeoutMs) {}

// ---- Requests ------------------------------------------------------------------------------

int COnlineClient::Send(const SLobbyRequest& r) {
  const auto text = [&](int i) { return Arg(r.texts[i]); };
  if (r.kind == ERequest::kConnect) return Connect();
  if (!client_.Connected()) return 0;
  switch (r.kind) {
    case ERequest::kConnect: return 0;
    case ERequest::kLogOut: return client_.SendLogOut();
    case ERequest::kIdPw: return client_.SendIdPw(text(0), text(1));
    case ERequest::kPrivateInfo: return client_.SendPrivateInfo();
    case ERequest::kNewIdPw: return client_.SendNewIdPw(text(0), text(1), text(2), text(3), text(4));
    case ERequest::kChgPw: return client_.SendChgPw(text(0), text(1), text(2), text(3));
    case ERequest::kChannelList: return client_.SendChannelList();
    case ERequest::kChgChannel: return client_.SendChgChannel(text(0));
    case ERequest::kPlayerList: return client_.SendPlayerList();
    case ERequest::kSessionList: return client_.SendSessionList();
    case ERequest::kSessionInfo: return client_.SendSessionInfo(text(0));
    case ERequest::kJoinGame:
      if (hooks_.joinPassword) hooks_.joinPassword(text(1));
      return client_.SendJoinGame(text(0), text(1), text(2));
    case ERequest::kCreateGame: return CreateGame(r.texts[0], r.texts[1], r.number);
    // An empty line has nothing to say: the lobby would only refuse it.
    case ERequest::kChatMsg: return text(0).empty() ? 0 : client_.SendChatMsg(text(0));
  }
  return 0;
}

// Connects to the server the stored settings name (loopback by default),
// over TLS when they name a CA file ("kn_server_ca") or a pinned certificate
// fingerprint ("kn_server_pin"). "kn_server_address" may list several lobby
// nodes ("a.b.c.d[:port],..."): they are tried in turn, from the one after
// the node whose connection was lost last. A
// failure is told at the next service, after the menus have gone back.
int COnlineClient::Connect() {
  hooks_.onlineChosen();
  std::string address = hooks_.stored("kn_server_address");
  if (address.empty()) address = kDefaultLobbyAddress;
  const std::string portText = hooks_.stored("kn_server_port");
  char* end = nullptr;
  const long port = portText.empty() ? kDefaultLobbyPort : std::strtol(portText.c_str(), &end, 10);
  if ((end && *end) || port <= 0 || port > 65535) {
    Tell("THE LOBBY SERVER PORT \"" + portText + "\" IS NOT VALID");
    return 0;
  }
  // A CA file or a pinned certificate makes the connection TLS; a server
  // that fails the check is not reached at all.
  lobbyd::STlsTrust trust{hooks_.stored("kn_server_ca"), hooks_.stored("kn_server_pin")};
  std::string error;
  std::vector<lobbyd::SEndpoint> endpoints;
  if (!lobbyd::CLobbyClient::ParseEndpoints(address, uint16_t(port), &endpoints, &error)) {
    Tell("THE LOBBY SERVER ADDRESS \"" + address + "\" IS NOT VALID (" + error + ")");
    return 0;
  }
  const bool reached =
      endpoints.size() == 1
          ? client_.Connect(endpoints[0].address, endpoints[0].port, connectTimeoutMs_, &error, trust)
          : client_.ConnectAny(endpoints, nextEndpoint_ % endpoints.size(), connectTimeoutMs_, &error, trust,
                               &reachedEndpoint_);
  if (!reached) {
    const std::string named = endpoints.size() == 1 ? endpoints[0].address + ":" + std::to_string(endpoints[0].port)
                                                    : address;
    Tell("THE LOBBY SERVER AT " + named + " CANNOT BE REACHED (" + error + ")");
    return 0;
  }
  if (endpoints.size() == 1) reachedEndpoint_ = 0;
  nextEndpoint_ = reachedEndpoint_;
  connectedNow_ = true;
  lastRefreshMs_ = 0;
  return 1;
}

// The room opens first, so that the lobby lists the port it listens on; it
// shows once the lobby has accepted the game.
int COnlineClient::CreateGame(const char* name, const char* password, int players) {
  const SGUI_ServerInfo& info = *GUI_GetServerInfo();
  std::string error;
  const std::string lobby = hooks_.stored("kn_server_address");
  const bool anyInterface = !lobby.empty() && lobby.compare(0, 4, "127.") != 0;
  const uint16_t port = hooks_.openRoom(anyInterface, &error);
  if (port == 0) {
    Tell("THE GAME CANNOT BE OPENED: " + error);
    return 0;
  }
  std::string map(info.map, strnlen(info.map, sizeof info.map));
  if (map.empty()) map = "UNKNOWN.gnd";
  if (!client_.SendCreateGame(Arg(name), Arg(password), players, info.type, map, port)) {
    hooks_.dropRoom();
    return 0;
  }
  return 1;
}

void COnlineClient::LeaveGame() {
  if (client_.Connected()) client_.SendLeaveGame();
}

void COnlineClient::Close() {
  client_.Close();
  connectedNow_ = false;
}

// ---- Answers -------------------------------------------------------------------------------

void COnlineClient::Service(uint64_t nowMs) {
  if (connectedNow_) {
    connectedNow_ = false;
    GUI_CloseCurrentMessageBox();
    GUI_NextDialog("LOGINMENU");
  }
  for (const std::string& text : std::exchange(notices_, {})) GUI_MessageBox(text.c_str(), "", GUI_MB_OK, nullptr);
  if (!client_.Connected()) return;
  if (GUI_IsDialogCreated("KORVONETMENU") && nowMs - lastRefreshMs_ >= kPlayerRefreshMs) {
    if (lastRefreshMs_ != 0) client_.SendPlayerList();   // the lobby asks by itself when it opens
    lastRefreshMs_ = nowMs;
  }
  std::vector<lobbyd::SLobbyEvent> events;
  client_.Poll(0, &events);
  for (const lobbyd::SLobbyEvent& event : events) Deliver(event);
}

void COnlineClient::Deliver(const lobbyd::SLobbyEvent& event) {
  if (const auto* e = std::get_if<lobbyd::SResultEvent>(&event)) {
    Result(e->request, e->code);
  } else if (const auto* e = std::get_if<lobbyd::SPrivateInfoEvent>(&event)) {
    ShowOwnRecord(e->own);
  } else if (const auto* e = std::get_if<lobbyd::SChannelListEvent>(&event)) {
    KN_RemoveAllChannelList();
    for (lobbyd::SChannel channel : e->channels) KN_AddChannelList(Writable(channel.name));
  } else if (const auto* e = std::get_if<lobbyd::SPlayerListEvent>(&event)) {
    KN_RemoveAllPlayerList();
    for (lobbyd::SPlayer p : e->players) KN_AddPlayerList(Writable(p.id), p.wins, p.losses, p.ranking, int(p.score));
  } else if (const auto* e = std::get_if<lobbyd::SSessionListEvent>(&event)) {
    KN_RemoveAllSessionList();
    for (const lobbyd::SSession& s : e->sessions) KN_AddSessionList(lobbyd::ToRecord(s));
  } else if (const auto* e = std::get_if<lobbyd::SSessionInfoEvent>(&event)) {
    KN_RemoveAllSessionInPlayerList();
    for (lobbyd::SSessionPlayer p : e->players)
      KN_AddSessionInPlayerList(Writable(p.id), p.wins, p.losses, p.ranking, p.slot);
  } else if (const auto* e = std::get_if<lobbyd::SChatEvent>(&event)) {
    std::string from = e->from, text = e->text;
    const bool own = std::strncmp(from.c_str(), Clt.LoginID, sizeof Clt.LoginID) == 0;
    KN_ChatMsgCutting(Writable(from), Writable(text), own ? kOwnChatColour : kChatColour);
  } else if (const auto* e = std::get_if<lobbyd::SJoinGrantedEvent>(&event)) {
    hooks_.joinPort(e->port);
    std::string address = e->address;
    KN_GoInGame(Writable(address));
  } else if (const auto* e = std::get_if<lobbyd::SSessionClosedEvent>(&event)) {
    SessionClosed(e->name);
  } else if (const auto* e = std::get_if<lobbyd::SDisconnectedEvent>(&event)) {
    ConnectionLost(e->reason);
  }
}

void COnlineClient::Result(EMsg request, ECode code) {
  const bool ok = code == ECode::kOk;
  switch (request) {
    case EMsg::kIdPw:
      if (!ok) return Refused(code);
      GUI_CloseCurrentMessageBox();
      GUI_NextDialog("KORVONETMENU");
      return;
    case EMsg::kNewIdPw:
    case EMsg::kChgPw:
      if (!ok) return Refused(code);
      GUI_NextDialog("LOGINMENU");
      GUI_MessageBox(request == EMsg::kNewIdPw ? "THE NEW ID IS REGISTERED" : "THE PASSWORD IS CHANGED", "",
                     GUI_MB_OK, nullptr);
      return;
    case EMsg::kChgChannel:
      if (!ok) return Refused(code);
      client_.SendChannelList();
      client_.SendPlayerList();
      return;
    case EMsg::kCreateGame:
      if (!ok) {
        hooks_.dropRoom();
        return Refused(code);
      }
      GUI_CloseCurrentMessageBox();
      hooks_.roomListed();
      return;
    case EMsg::kLeaveGame:
      return;
    case EMsg::kJoinGame:
    case EMsg::kChatMsg:
      if (!ok) Refused(code);
      return;
    case EMsg::kLogOut:
      // Out of the lobby: the connection is not needed until the next visit.
      Close();
      return;
    default:
      // The lists and the own record: a refusal here follows one already
      // told (a failed login), or the player has left the lobby.
      return;
  }
}

void COnlineClient::ShowOwnRecord(const lobbyd::SPlayer& own) {
  Clt.Wins = own.wins;
  Clt.Losses = own.losses;
  Clt.Score = own.score;
  Clt.Ranking = own.ranking;
  Clt.Class = own.grade;
  CopyCut(Clt.LoginID, sizeof Clt.LoginID, own.id);
  KN_SetPlayerInfo(Clt.LoginID, Clt.Score, Clt.Ranking, Clt.Wins, Clt.Losses, Clt.Class);
}

// A game that closed leaves the join list; when it was the chosen one, its
// players' lines go with it.
void COnlineClient::SessionClosed(const std::string& name) {
  std::string text = name;
  const int row = KN_GetSessionIndex(Writable(text));
  if (row < 0) return;
  const SESSION_INFO* chosen = KN_GetSessionInfo();
  const bool wasChosen = chosen && std::strncmp(chosen->name, name.c_str(), sizeof chosen->name) == 0;
  KN_RemoveSessionList(row);
  if (wasChosen) KN_RemoveAllSessionInPlayerList();
}

void COnlineClient::Refused(ECode code) { GUI_MessageBox(RefusalText(code), "", GUI_MB_OK, nullptr); }

// The lobby's screens go back to the main menu; a room or a match goes on.
void COnlineClient::ConnectionLost(const std::string& reason) {
  // The next connection tries the other nodes first.
  nextEndpoint_ = reachedEndpoint_ + 1;
  if (!InOnlineDialog()) return;
  GUI_NextDialog("MAINMENU");
  GUI_MessageBox(("THE CONNECTION TO THE LOBBY SERVER IS LOST (" + reason + ")").c_str(), "", GUI_MB_OK, nullptr);
}

}  // namespace netkorvo
