// netkorvo_lobby_test: the live backend's online client against korvo-lobbyd
// over TLS on 127.0.0.1 (a temporary database, a free port, a certificate
// made here and pinned in the stored settings). This process starts the
// server and copies of itself as players (`--player`): each compiles the
// shipped UI script, runs the live backend, clicks and types in the lobby's
// screens as told on its standard input, and prints what the module shows
// (open dialogs, the message box, the lobby's lists). Every wait is bounded in
// time; what is checked is printed line by line: a wrong pin told as a server
// that cannot be reached; a server that cannot be reached first in the stored
// address list; registration, logins, a channel and its chat; a lost server.
// The rules behind them are LobbyTest's, TLS and its limits TlsProbe's; two
// players meeting in the lobby, its games and their rooms are journey_online's.
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
#include "korvogui/messagebox.h"
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

constexpr const char* kWatched[] = {"MAINMENU",     "MULTIPLAYSELECTMENU", "LOGINMENU", "NEWIDMENU",
                                    "KORVONETMENU", "CREATECHANNEL",       "MBOX_OK"};

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
  std::string lines[5];
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
}

// One command: click DIALOG ID | set DIALOG ID TEXT | enter DIALOG ID |
// closebox | quit. False for quit.
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

// ---- Scenes -----------------------------------------------------------------------------------------

void LogIn(size_t p, const std::string& id, const std::string& password) {
  Tell(p, "set LOGINMENU IDC_EDIT_LOGINID " + id);
  Tell(p, "set LOGINMENU IDC_EDIT_LOGINPASSWORD " + password);
  Tell(p, "click LOGINMENU IDC_BUTTON_LOGINLOGIN");
}

// A pinned server that fails the pin, a server list whose first entry does
// not answer, a new id, a wrong password and the right one, a new channel and
// a chat line in it, and the server gone with the player in the lobby.
void Lobby(lobbyd::CServerProcess& server, const std::string& pin) {
  const uint16_t port = server.Port();
  // ACEPILOT's first lobby server does not answer: the next one of its list does.
  const size_t ace = StartPlayer(port, pin, "127.0.0.1:" + std::to_string(FreePort(SOCK_STREAM)) + ", 127.0.0.1");
  const size_t doubter = StartPlayer(port, std::string(64, '0'));
  Check(Opens(ace, "MULTIPLAYSELECTMENU") && Opens(doubter, "MULTIPLAYSELECTMENU"), "two players start");
  // A server that fails the pin is one that cannot be reached: told, and the
  // menus go back without the login screen.
  Tell(doubter, "click MULTIPLAYSELECTMENU IDC_BUTTON_MULTIPLAYSELECTKORVONET");
  const std::string unreached = WaitFor(doubter, "box", "CANNOT BE REACHED");
  Check(Has(unreached, "THE LOBBY SERVER AT 127.0.0.1:" + std::to_string(port) + " CANNOT BE REACHED") &&
            Has(unreached, "pinned fingerprint"),
        "a server that fails the pin is told as not reached, with why: " + unreached);
  const std::string back = WaitFor(doubter, "dialogs", "MAINMENU");
  Check(Has(back, "MAINMENU") && !Has(back, "LOGINMENU"), "its menus go back to MAINMENU: " + back);

  Tell(ace, "click MULTIPLAYSELECTMENU IDC_BUTTON_MULTIPLAYSELECTKORVONET");
  const std::string login = WaitFor(ace, "dialogs", "LOGINMENU");
  Check(Has(login, "LOGINMENU") && !Has(login, "MBOX_OK"), "the second server of the list is reached: " + login);
  Tell(ace, "click LOGINMENU IDC_BUTTON_LOGINNEWID");
  Check(Opens(ace, "NEWIDMENU"), "the new-id screen opens");
  Tell(ace, "set NEWIDMENU IDC_EDIT_NEWIDID ACEPILOT");
  Tell(ace, "set NEWIDMENU IDC_EDIT_NEWIDPASSWORD secret12");
  Tell(ace, "set NEWIDMENU IDC_EDIT_NEWIDVERIFY secret12");
  Tell(ace, "set NEWIDMENU IDC_EDIT_BIRTHDAY_YEAR 1985");
  Tell(ace, "set NEWIDMENU IDC_EDIT_BIRTHDAY_MONTH 3");
  Tell(ace, "set NEWIDMENU IDC_EDIT_BIRTHDAY_DAY 7");
  Tell(ace, "set NEWIDMENU IDC_EDIT_BIRTHDAY_EMAIL1 ACEPILOT");
  Tell(ace, "set NEWIDMENU IDC_EDIT_BIRTHDAY_EMAIL2 example.org");
  Tell(ace, "click NEWIDMENU IDC_BUTTON_NEWIDLOGIN");
  const std::string registered = WaitFor(ace, "box", "REGISTERED");
  Check(Has(registered, "THE NEW ID IS REGISTERED") && Has(Latest(ace, "dialogs"), "LOGINMENU"),
        "the new id is registered: " + registered);
  Tell(ace, "closebox");
  LogIn(ace, "ACEPILOT", "wrongpass");
  const std::string refused = WaitFor(ace, "box", "WRONG ID OR PASSWORD");
  Check(Has(refused, "WRONG ID OR PASSWORD") && Has(Latest(ace, "dialogs"), "LOGINMENU") &&
            !Has(Latest(ace, "dialogs"), "KORVONETMENU"),
        "a wrong password is refused and the login screen stays: " + refused);
  Tell(ace, "closebox");
  LogIn(ace, "ACEPILOT", "secret12");
  const std::string in = WaitFor(ace, "dialogs", "KORVONETMENU");
  Check(Has(in, "KORVONETMENU") && !Has(in, "MBOX_OK"), "the right password logs in to the lobby: " + in);
  Check(Has(WaitFor(ace, "channels", "Lobby"), "Lobby"), "the channel list shows the lobby's channel");

  Tell(ace, "click KORVONETMENU IDC_BUTTON_NETCREATECHANNEL");
  Check(Opens(ace, "CREATECHANNEL"), "the channel screen opens");
  Tell(ace, "set CREATECHANNEL IDC_EDIT_CHANNELNAME ARENA");
  Tell(ace, "click CREATECHANNEL IDC_BUTTON_CHANNELCREATE");
  const std::string channels = WaitFor(ace, "channels", "ARENA");
  const std::string players = WaitExact(ace, "players", "ACEPILOT");
  Check(Has(channels, "ARENA") && players == "ACEPILOT", "a new channel is listed, with its member: " + channels);
  Tell(ace, "set KORVONETMENU IDC_EDIT_NETCHATINPUT hello all");
  Tell(ace, "enter KORVONETMENU IDC_EDIT_NETCHATINPUT");
  Check(Has(WaitFor(ace, "chat", "ACEPILOT : hello all"), "hello all"), "the chat line comes back");

  // The server goes away: the player is told and goes back to the main menu.
  server.Stop(5000);
  const std::string box = WaitFor(ace, "box", "LOST");
  Check(Has(box, "THE CONNECTION TO THE LOBBY SERVER IS LOST"), "a lost lobby server is told: " + box);
  const std::string dialogs = WaitFor(ace, "dialogs", "MAINMENU");
  Check(Has(dialogs, "MAINMENU") && !Has(dialogs, "KORVONETMENU"), "the lobby goes back to MAINMENU: " + dialogs);
  // A second copy of the chat line would have come before the connection's end.
  bool twice = false;
  for (const std::string& line : g_players[ace].lines)
    twice = twice || line.find("hello all") != line.rfind("hello all");
  Check(!twice, "the chat line showed once");
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
  Lobby(server, made.fingerprint);
  for (size_t i = 0; i < g_players.size(); ++i) StopPlayer(i, false);
  std::printf("%s\n", g_failures ? "FAILED" : "PASSED");
  return g_failures ? 1 : 0;
}
