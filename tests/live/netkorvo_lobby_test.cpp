// netkorvo_lobby_test: the live backend's online client against korvo-lobbyd
// over TLS on 127.0.0.1 (a temporary database, a free port, a certificate
// made here and pinned in the stored settings). This process starts the
// server and copies of itself as players (`--player`): each compiles the
// shipped UI script, runs the live backend, clicks and types in the lobby's
// screens as told on its standard input, and prints what the module shows
// (open dialogs, the message box, the lobby's lists, the room). Every wait is
// bounded in time; what is checked is printed line by line: a wrong pin told
// as a server that cannot be reached; a server that cannot be reached first in
// the stored address list; registration, logins, channels, chat, games
// listed, joined and gone; the room and its start; a lost server. The rules
// behind them are LobbyTest's, TLS and its limits TlsProbe's.
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/lobby.h"
#include "korvogui/messagebox.h"
#include "korvogui/room.h"
#include "lobbyd/server_process.h"
#include "netkorvo/netkorvo.h"
#include "refhost/game_setup.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "runtime/list.h"
#include "runtime/window.h"
#include "runtime/window_manager.h"
#include "tests/live/player_processes.h"
#include "tests/lobbyd/lobbyd_temp.h"
#include "tests/security/certificate.h"
#include "tools/korvoui/observe.h"

namespace {

constexpr int kPlayerLifeMs = 60000;   // a player never outlives this

// ---- The player process -------------------------------------------------------------------------

constexpr const char* kWatched[] = {"MAINMENU",     "MULTIPLAYSELECTMENU", "LOGINMENU",     "NEWIDMENU",
                                    "KORVONETMENU", "CREATECHANNEL",       "JOINMENU",      "CREATEMENU",
                                    "ROOMMENU",     "MBOX_OK"};

CGUI_Window* Control(const std::string& dialog, const std::string& id) {
  CGUI_Window* d = FindOpenDialog(dialog);
  return d ? d->FindChild(id) : nullptr;
}

// The non-empty rows of a list, joined with `sep`.
std::string Rows(CGUI_Window* w, const char* sep) {
  auto* list = dynamic_cast<CGUI_List*>(w);
  std::string text, row;
  for (int i = 0; list && i < list->GetCount(); ++i)
    if (list->GetText(i, row) && !row.empty()) text += (text.empty() ? "" : sep) + row;
  return text;
}

void Click(CGUI_Window* w) {
  float r[4];
  AbsoluteRect(w, r);
  GUI_MouseMove(r[0] + r[2] * 0.5f, r[1] + r[3] * 0.5f);
  GUI_LButtonDown();
  GUI_LButtonUp();
  GUI_Update();
}

// What the module shows, one line per kind, printed when it changes.
struct SShown {
  std::string lines[13];
  void Show(int kind, const std::string& line) {
    if (line == lines[kind]) return;
    lines[kind] = line;
    Say(line);
  }
};

void Observe(SShown& shown) {
  std::string dialogs = "dialogs";
  for (const char* name : kWatched)
    if (GUI_IsDialogCreated(name)) dialogs += std::string(" ") + name;
  shown.Show(0, dialogs);
  std::string box;
  if (CGUI_Window* d = FindOpenDialog("MBOX_OK"))
    for (CGUI_Window* child : d->Children()) box += Rows(child, " ");
  shown.Show(1, "box " + box);
  shown.Show(2, "chat " + Rows(Control("KORVONETMENU", "IDC_LIST_NETCHATBOX"), "|"));
  shown.Show(3, "channels " + Rows(Control("KORVONETMENU", "IDC_LIST_NETCHANNELLIST"), ","));
  shown.Show(4, "players " + Rows(Control("KORVONETMENU", "IDC_LIST_NETPILOTLIST"), ","));
  std::string own;
  if (CGUI_Window* id = Control("KORVONETMENU", "IDC_STATIC_NETID")) id->GetCaption(own);
  shown.Show(5, "own " + own);
  std::string sessions = TotalSessionNum > 0 ? "sessions" : "sessions none";
  for (int i = 0; i < TotalSessionNum; ++i) {
    char name[64] = "";
    if (!KN_GetSessionString(i, name)) continue;
    for (const SESSION_INFO& s : Clt.SessionInfo) {
      if (std::strncmp(s.name, name, sizeof s.name) != 0 || !s.name[0]) continue;
      uint8_t a[4];
      std::memcpy(a, &s.address, 4);
      sessions += " " + std::string(name) + "@" + std::to_string(a[0]) + "." + std::to_string(a[1]) + "." +
                  std::to_string(a[2]) + "." + std::to_string(a[3]);
      break;
    }
  }
  shown.Show(6, sessions);
  std::string room = "room";
  if (GUI_IsDialogCreated("ROOMMENU"))
    for (int i = 0; i < 8; ++i)
      if (GUI_GetClientInfo(i)->state == 3) room += std::string(" ") + GUI_GetClientInfo(i)->name;
  shown.Show(7, room);
  std::string host;
  if (CGUI_Window* name = Control("JOINMENU", "IDC_STATIC_JOIN1PLAYERNAME")) name->GetCaption(host);
  shown.Show(8, "gamehost " + host);
  std::string start;
  if (CGUI_Window* button = Control("ROOMMENU", "IDC_BUTTON_ROOMSTART")) button->GetCaption(start);
  shown.Show(9, "start " + start);
  shown.Show(10, "roomchat " + Rows(Control("ROOMMENU", "IDC_LIST_ROOMCHATBOX"), "|"));
  shown.Show(11, "match " + std::to_string(NET_bInitialized));
  std::string ready = "ready";
  if (GUI_IsDialogCreated("ROOMMENU"))
    for (int i = 0; i < 8; ++i) {
      const SGUI_ClientInfo& r = *GUI_GetClientInfo(i);
      if (r.state == 3 && r.ready) ready += std::string(" ") + r.name;
    }
  shown.Show(12, ready);
}

// As the game does: a room left (its Cancel released the network) gives way
// to the menu before it.
void LeaveDeadRoom() {
  if (GUI_IsDialogCreated("ROOMMENU") && !netkorvo::LiveInRoom()) GUI_PrevDialog(1, true);
}

// One command: click DIALOG ID | set DIALOG ID TEXT | enter DIALOG ID |
// select DIALOG ID ROW | closebox | quit. False for quit.
bool Obey(const std::string& command) {
  std::istringstream in(command);
  std::string verb, dialog, id;
  in >> verb >> dialog >> id;
  if (verb == "quit") return false;
  if (verb == "closebox") {
    GUI_CloseCurrentMessageBox();
  } else if (CGUI_Window* w = Control(dialog, id)) {
    if (verb == "click") {
      Click(w);
    } else if (verb == "set") {
      std::string text;
      std::getline(in >> std::ws, text);
      w->SetCaption(text.c_str());
    } else if (auto* list = dynamic_cast<CGUI_List*>(w); list && verb == "select") {
      int row = 0;
      in >> row;
      list->SetCurSel(row);
      list->OnSelChange();
    } else if (verb == "enter") {
      Click(w);
      GUI_Char(13);
      GUI_Update();
    }
  } else {
    Say("error no " + dialog + " " + id);
  }
  return true;
}

// argv: --player LOBBY_PORT PINNED_SHA256 SERVER_ADDRESS_LIST
int RunPlayer(const char* port, const char* pin, const char* address) {
  korvohost::Reset();
  korvohost::SetRenderMode(korvohost::RenderMode::RecordOnly);
  std::string error;
  if (!korvohost::Mount(KORVO_ASSET_ROOT, &error)) return Say("error " + error), 1;
  // The game data: the maps a room needs and the host's message texts.
  std::vector<std::string> dataErrors;
  if (!korvohost::LoadGameDataIntoGame(&dataErrors)) return Say("error " + dataErrors.front()), 1;
  GUI_Initialize();
  if (!GUI_Compile()) return Say(std::string("error ") + GUI_GetLastError()), 1;
  netkorvo::SLiveOptions options;
  options.roomPort = 0;
  options.timeoutMs = 1000;
  options.lobbyConnectMs = 1000;
  options.stored = {{"kn_server_address", address}, {"kn_server_port", port}, {"kn_server_pin", pin}};
  netkorvo::UseLiveBackend(options);
  GUI_NextDialog("MULTIPLAYSELECTMENU");
  SShown shown;
  std::string input;
  const auto born = Clock::now();
  while (MsSince(born) < kPlayerLifeMs) {
    netkorvo::ServiceLive();
    GUI_Update();
    LeaveDeadRoom();
    Observe(shown);
    pollfd stdinReady = {0, POLLIN, 0};
    if (poll(&stdinReady, 1, 2) <= 0) continue;
    char buffer[512];
    const ssize_t n = read(0, buffer, sizeof buffer);
    if (n <= 0) break;   // the test is gone
    input.append(buffer, size_t(n));
    for (size_t eol; (eol = input.find('\n')) != std::string::npos; input.erase(0, eol + 1))
      if (!Obey(input.substr(0, eol))) {
        input.clear();
        NET_Release();
        GUI_Release();
        return 0;
      }
  }
  NET_Release();
  GUI_Release();
  return 0;
}

// ---- The test process -----------------------------------------------------------------------------

size_t StartPlayer(uint16_t lobbyPort, const std::string& pin, const std::string& addresses = "127.0.0.1") {
  return ::StartPlayer({std::to_string(lobbyPort), pin, addresses});
}

// The player's latest line of a kind ("dialogs", "box", ...).
std::string Latest(size_t player, const std::string& kind) {
  const std::vector<std::string>& lines = g_players[player].lines;
  for (auto it = lines.rbegin(); it != lines.rend(); ++it)
    if (it->compare(0, kind.size() + 1, kind + " ") == 0) return it->substr(kind.size() + 1);
  return "";
}

// Waits at most `ms` until the player's latest line of `kind` holds `text`
// (is `text`, when `exact`); that line (or the last one seen).
std::string WaitFor(size_t player, const std::string& kind, const std::string& text, double ms = 5000,
                    bool exact = false) {
  const auto start = Clock::now();
  std::string latest;
  while (MsSince(start) < ms) {
    ReadPlayers();
    latest = Latest(player, kind);
    if (exact ? latest == text : latest.find(text) != std::string::npos) break;
    usleep(2000);
  }
  return latest;
}
std::string WaitExact(size_t player, const std::string& kind, const std::string& text, double ms = 5000) {
  return WaitFor(player, kind, text, ms, true);
}

bool Has(const std::string& line, const std::string& text) { return line.find(text) != std::string::npos; }
// Waits until the player shows this dialog open.
bool Opens(size_t player, const std::string& dialog) { return Has(WaitFor(player, "dialogs", dialog), dialog); }

size_t Count(const std::string& line, const std::string& text) {
  size_t n = 0;
  for (size_t at = line.find(text); at != std::string::npos; at = line.find(text, at + 1)) ++n;
  return n;
}

// ---- Scenes -----------------------------------------------------------------------------------------

void Register(size_t p, const std::string& id) {
  Tell(p, "click MULTIPLAYSELECTMENU IDC_BUTTON_MULTIPLAYSELECTKORVONET");
  const std::string login = WaitFor(p, "dialogs", "LOGINMENU");
  Check(Has(login, "LOGINMENU") && !Has(login, "MBOX_OK"), "the lobby server is reached: " + login);
  Tell(p, "click LOGINMENU IDC_BUTTON_LOGINNEWID");
  Check(Opens(p, "NEWIDMENU"), "the new-id screen opens");
  Tell(p, "set NEWIDMENU IDC_EDIT_NEWIDID " + id);
  Tell(p, "set NEWIDMENU IDC_EDIT_NEWIDPASSWORD secret12");
  Tell(p, "set NEWIDMENU IDC_EDIT_NEWIDVERIFY secret12");
  Tell(p, "set NEWIDMENU IDC_EDIT_BIRTHDAY_YEAR 1985");
  Tell(p, "set NEWIDMENU IDC_EDIT_BIRTHDAY_MONTH 3");
  Tell(p, "set NEWIDMENU IDC_EDIT_BIRTHDAY_DAY 7");
  Tell(p, "set NEWIDMENU IDC_EDIT_BIRTHDAY_EMAIL1 " + id);
  Tell(p, "set NEWIDMENU IDC_EDIT_BIRTHDAY_EMAIL2 example.org");
  Tell(p, "click NEWIDMENU IDC_BUTTON_NEWIDLOGIN");
  const std::string box = WaitFor(p, "box", "REGISTERED");
  Check(Has(box, "THE NEW ID IS REGISTERED") && Has(Latest(p, "dialogs"), "LOGINMENU"),
        "the new id " + id + " is registered: " + box);
  Tell(p, "closebox");
}

void LogIn(size_t p, const std::string& id, const std::string& password) {
  Tell(p, "set LOGINMENU IDC_EDIT_LOGINID " + id);
  Tell(p, "set LOGINMENU IDC_EDIT_LOGINPASSWORD " + password);
  Tell(p, "click LOGINMENU IDC_BUTTON_LOGINLOGIN");
}

void JoinChannel(size_t p, const std::string& name) {
  Tell(p, "click KORVONETMENU IDC_BUTTON_NETCREATECHANNEL");
  Check(Opens(p, "CREATECHANNEL"), "the channel screen opens");
  Tell(p, "set CREATECHANNEL IDC_EDIT_CHANNELNAME " + name);
  Tell(p, "click CREATECHANNEL IDC_BUTTON_CHANNELCREATE");
}

// A game whose host leaves its room leaves the other's join list within a
// second, unasked; the host is back in the lobby.
void GameGone(size_t host, size_t other) {
  Tell(host, "click KORVONETMENU IDC_BUTTON_NETCREATE");
  Check(Opens(host, "CREATEMENU"), "the create screen opens for a short game");
  Tell(host, "click CREATEMENU IDC_BUTTON_CREATECREATE");
  Check(Opens(host, "ROOMMENU"), "the short game's room opens");
  Tell(other, "click KORVONETMENU IDC_BUTTON_NETJOIN");
  const std::string listed = WaitFor(other, "sessions", "CALPILOT's ARENA");
  Check(listed == "CALPILOT's ARENA@127.0.0.1", "the short game is listed: " + listed);
  Tell(host, "click ROOMMENU IDC_BUTTON_ROOMCANCEL");
  const std::string gone = WaitExact(other, "sessions", "none", 1000);
  Check(gone == "none", "the game leaves the join list within a second of its host leaving: " + gone);
  Check(Opens(host, "CREATEMENU"), "its host is back before the room");
  Tell(host, "click CREATEMENU IDC_BUTTON_CREATECANCEL");
  Check(Opens(host, "KORVONETMENU"), "and in the lobby");
  Tell(other, "click JOINMENU IDC_BUTTON_JOINCANCEL");
  Check(Opens(other, "KORVONETMENU"), "the other goes back to the lobby");
}

// The creator of an online game is its room's server: START there, O  K for
// the joiner, whose ready message shows in its room's chat box; the creator's
// start runs the match on both.
void Start(size_t host, size_t joiner) {
  Check(WaitFor(host, "start", "START") == "START", "the creator's room offers START: " + Latest(host, "start"));
  Check(Latest(joiner, "start") == "O  K", "the joiner's room offers O  K: " + Latest(joiner, "start"));
  Tell(joiner, "click ROOMMENU IDC_BUTTON_ROOMSTART");
  const std::string ready = WaitFor(joiner, "roomchat", "READY. WAITING FOR THE HOST TO START THE GAME.");
  Check(Has(ready, "READY. WAITING FOR THE HOST TO START THE GAME."),
        "the joiner's ready message shows in its room: " + ready);
  const std::string seen = WaitFor(host, "ready", "BOBPILOT");
  Check(Has(seen, "BOBPILOT"), "the creator sees the joiner ready: " + seen);
  Tell(host, "click ROOMMENU IDC_BUTTON_ROOMSTART");
  const std::string hostMatch = WaitFor(host, "match", "1"), joinerMatch = WaitFor(joiner, "match", "1");
  Check(hostMatch == "1" && joinerMatch == "1", "the creator's start runs the match on both: " + hostMatch + " / " +
                                                   joinerMatch);
}

// Plays ACEPILOT and BOBPILOT to their room; CALPILOT stays in the lobby.
// The indices of the three players.
std::vector<size_t> Lobby(uint16_t port, const std::string& pin) {
  const size_t ace = StartPlayer(port, pin);
  const size_t bob = StartPlayer(port, pin);
  // CALPILOT's first lobby server does not answer: the next one of its list does.
  const size_t cal = StartPlayer(port, pin, "127.0.0.1:" + std::to_string(FreePort(SOCK_STREAM)) + ", 127.0.0.1");
  const size_t doubter = StartPlayer(port, std::string(64, '0'));
  Check(Opens(ace, "MULTIPLAYSELECTMENU") && Opens(bob, "MULTIPLAYSELECTMENU") && Opens(cal, "MULTIPLAYSELECTMENU") &&
            Opens(doubter, "MULTIPLAYSELECTMENU"),
        "four players start");
  // A server that fails the pin is one that cannot be reached: told, and the
  // menus go back without the login screen.
  Tell(doubter, "click MULTIPLAYSELECTMENU IDC_BUTTON_MULTIPLAYSELECTKORVONET");
  const std::string unreached = WaitFor(doubter, "box", "CANNOT BE REACHED");
  Check(Has(unreached, "THE LOBBY SERVER AT 127.0.0.1:" + std::to_string(port) + " CANNOT BE REACHED") &&
            Has(unreached, "pinned fingerprint"),
        "a server that fails the pin is told as not reached, with why: " + unreached);
  const std::string back = WaitFor(doubter, "dialogs", "MAINMENU");
  Check(Has(back, "MAINMENU") && !Has(back, "LOGINMENU"), "its menus go back to MAINMENU: " + back);
  Register(ace, "ACEPILOT");
  Register(bob, "BOBPILOT");
  Register(cal, "CALPILOT");
  LogIn(cal, "CALPILOT", "secret12");

  LogIn(ace, "ACEPILOT", "wrongpass");
  const std::string refused = WaitFor(ace, "box", "WRONG ID OR PASSWORD");
  Check(Has(refused, "WRONG ID OR PASSWORD") && Has(Latest(ace, "dialogs"), "LOGINMENU") &&
            !Has(Latest(ace, "dialogs"), "KORVONETMENU"),
        "a wrong password is refused and the login screen stays: " + refused);
  Tell(ace, "closebox");
  LogIn(ace, "ACEPILOT", "secret12");
  LogIn(bob, "BOBPILOT", "secret12");
  const std::string aceIn = WaitFor(ace, "dialogs", "KORVONETMENU");
  const std::string bobIn = WaitFor(bob, "dialogs", "KORVONETMENU");
  Check(Has(aceIn, "KORVONETMENU") && !Has(aceIn, "MBOX_OK") && Has(bobIn, "KORVONETMENU"),
        "both log in to the lobby: " + aceIn + " / " + bobIn);
  Check(WaitFor(ace, "own", "ACEPILOT") == "ACEPILOT" && WaitFor(bob, "own", "BOBPILOT") == "BOBPILOT",
        "each sees its own record");
  Check(Has(WaitFor(ace, "channels", "Lobby"), "Lobby"), "the channel list shows the lobby's channel");

  JoinChannel(ace, "ARENA");
  const std::string channels = WaitFor(ace, "channels", "ARENA");
  Check(Has(channels, "ARENA"), "a new channel is listed: " + channels);
  JoinChannel(bob, "ARENA");
  // The channel's members in the order the server keeps them: by connection.
  const std::string players = WaitExact(bob, "players", "ACEPILOT,BOBPILOT");
  Check(players == "ACEPILOT,BOBPILOT", "the channel shows its two members: " + players);

  Tell(ace, "set KORVONETMENU IDC_EDIT_NETCHATINPUT hello bob");
  Tell(ace, "enter KORVONETMENU IDC_EDIT_NETCHATINPUT");
  WaitFor(bob, "chat", "ACEPILOT : hello bob");
  WaitFor(ace, "chat", "ACEPILOT : hello bob");
  usleep(300000);   // a second copy would have arrived by now
  ReadPlayers();
  Check(Count(Latest(bob, "chat"), "ACEPILOT : hello bob") == 1,
        "the chat line reaches the other player once: " + Latest(bob, "chat"));
  Check(Count(Latest(ace, "chat"), "ACEPILOT : hello bob") == 1, "and its sender once");

  GameGone(cal, ace);
  Tell(ace, "click KORVONETMENU IDC_BUTTON_NETCREATE");
  Check(Opens(ace, "CREATEMENU"), "the create screen opens");
  Tell(ace, "click CREATEMENU IDC_BITMAP_MAPIMAGE1");   // a map of the assets: the room can start
  Tell(ace, "click CREATEMENU IDC_BUTTON_CREATECREATE");
  const std::string hosting = WaitFor(ace, "dialogs", "ROOMMENU");
  Check(Has(hosting, "ROOMMENU") && WaitFor(ace, "room", "ACEPILOT") == "ACEPILOT",
        "the game is listed and its room opens with its host: " + hosting);
  Tell(bob, "click KORVONETMENU IDC_BUTTON_NETJOIN");
  const std::string sessions = WaitFor(bob, "sessions", "ACEPILOT's ARENA@127.0.0.1");
  Check(sessions == "ACEPILOT's ARENA@127.0.0.1", "the other's join list shows the game and its host: " + sessions);

  Tell(bob, "select JOINMENU IDC_LIST_JOINGAMENAMELIST 0");
  const std::string host = WaitFor(bob, "gamehost", "ACEPILOT");
  Check(host == "ACEPILOT", "the game's players show when it is chosen: " + host);
  Tell(bob, "click JOINMENU IDC_BUTTON_JOINENTER");
  const std::string bobRoom = WaitFor(bob, "room", "ACEPILOT BOBPILOT");
  const std::string aceRoom = WaitFor(ace, "room", "ACEPILOT BOBPILOT");
  Check(bobRoom == "ACEPILOT BOBPILOT" && aceRoom == "ACEPILOT BOBPILOT",
        "the join through the lobby puts both in the room: " + bobRoom + " / " + aceRoom);
  Check(Opens(cal, "KORVONETMENU"), "a third player waits in the lobby");
  Start(ace, bob);
  return {ace, bob, cal};
}

// The server goes away: the player in the lobby is told and goes back to the
// main menu; the room goes on.
void ServerGone(lobbyd::CServerProcess& server, const std::vector<size_t>& players) {
  server.Stop(5000);
  const size_t cal = players[2];
  const std::string box = WaitFor(cal, "box", "LOST");
  Check(Has(box, "THE CONNECTION TO THE LOBBY SERVER IS LOST"), "a lost lobby server is told: " + box);
  const std::string dialogs = WaitFor(cal, "dialogs", "MAINMENU");
  Check(Has(dialogs, "MAINMENU") && !Has(dialogs, "KORVONETMENU"), "the lobby goes back to MAINMENU: " + dialogs);
  usleep(300000);
  ReadPlayers();
  Check(Has(Latest(players[0], "dialogs"), "ROOMMENU") && Latest(players[1], "room") == "ACEPILOT BOBPILOT",
        "the room goes on without the lobby server");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--player") == 0) return RunPlayer(argv[2], argv[3], argv[4]);
  signal(SIGPIPE, SIG_IGN);
  lobbyd::CTempFolder folder;
  const SCertificate made = MakeCertificate(folder, "lobby");
  lobbyd::CServerProcess server;
  std::string error = made.error;
  if (!folder.Ok() || !error.empty() ||
      !server.Start(KORVO_LOBBYD, folder.File("lobby.db"),
                    {"--bind", "127.0.0.1", "--hash-cost", "minimum", "--tls-cert", made.cert, "--tls-key", made.key},
                    10000, &error)) {
    std::printf("FAIL the lobby server starts: %s\n", error.c_str());
    return 1;
  }
  ServerGone(server, Lobby(server.Port(), made.fingerprint));
  for (size_t i = 0; i < g_players.size(); ++i) StopPlayer(i, false);
  std::printf("%s\n", g_failures ? "FAILED" : "PASSED");
  return g_failures ? 1 : 0;
}
