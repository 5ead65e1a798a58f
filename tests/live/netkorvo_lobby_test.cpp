// netkorvo_lobby_test: the live backend's online client against korvo-lobbyd
// over TLS on 127.0.0.1 (a temporary database, a free port, a certificate
// made here and pinned in the stored settings). This process is the player:
// it compiles the shipped UI script, runs the live backend and clicks and
// types in the lobby's screens. Every wait is bounded in time; what is checked
// is printed line by line: a wrong pin told as a server that cannot be
// reached; a server that cannot be reached first in the stored address list;
// a new id, a wrong password and the right one; a new channel and its chat; a
// lost server. The rules behind them are LobbyTest's, TLS and its limits
// TlsProbe's; two players meeting in the lobby, its games and their rooms are
// journey_online's.
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
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
#include "tests/live/live_checks.h"
#include "tests/lobbyd/lobbyd_temp.h"
#include "tests/security/certificate.h"
#include "tools/korvoui/observe.h"

namespace {

CGUI_Window* Control(const std::string& dialog, const std::string& id) {
  CGUI_Window* d = FindOpenDialog(dialog);
  return d ? d->FindChild(id) : nullptr;
}

// The non-empty rows of a list, joined with `sep`.
std::string Rows(CGUI_Window* w, const char* sep = "|") {
  auto* list = dynamic_cast<CGUI_List*>(w);
  std::string text, row;
  for (int i = 0; list && i < list->GetCount(); ++i)
    if (list->GetText(i, row) && !row.empty()) text += (text.empty() ? "" : sep) + row;
  return text;
}

std::string Box() {
  std::string text;
  if (CGUI_Window* d = FindOpenDialog("MBOX_OK"))
    for (CGUI_Window* child : d->Children()) text += Rows(child, " ");
  return text;
}

bool Has(const std::string& line, const std::string& text) { return line.find(text) != std::string::npos; }

void Click(const std::string& dialog, const std::string& id) {
  CGUI_Window* w = Control(dialog, id);
  if (!w) return Check(false, "there is " + dialog + " " + id);
  float r[4];
  AbsoluteRect(w, r);
  GUI_MouseMove(r[0] + r[2] * 0.5f, r[1] + r[3] * 0.5f);
  GUI_LButtonDown();
  GUI_LButtonUp();
  GUI_Update();
}

void Set(const std::string& dialog, const std::string& id, const std::string& text) {
  if (CGUI_Window* w = Control(dialog, id)) w->SetCaption(text.c_str());
  else Check(false, "there is " + dialog + " " + id);
}

// Runs the network and the module until `done` holds, at most 5 s.
bool Until(const std::function<bool()>& done) {
  const auto start = Clock::now();
  while (MsSince(start) < 5000) {
    netkorvo::ServiceLive();
    GUI_Update();
    if (done()) return true;
    usleep(1000);
  }
  return false;
}

bool Opens(const char* dialog) {
  return Until([&] { return GUI_IsDialogCreated(dialog); });
}

// A fresh module on the live backend with these stored lobby settings, in the
// multiplayer menu; the game data gives the host's message texts.
bool StartModule(uint16_t port, const std::string& pin, const std::string& addresses) {
  NET_Release();
  GUI_Release();
  korvohost::Reset();
  korvohost::SetRenderMode(korvohost::RenderMode::RecordOnly);
  std::string error;
  std::vector<std::string> dataErrors;
  if (!korvohost::Mount(KORVO_ASSET_ROOT, &error) || !korvohost::LoadGameDataIntoGame(&dataErrors)) return false;
  GUI_Initialize();
  if (!GUI_Compile()) return false;
  netkorvo::SLiveOptions options;
  options.roomPort = 0;
  options.timeoutMs = 1000;
  options.lobbyConnectMs = 1000;
  options.stored = {
      {"kn_server_address", addresses}, {"kn_server_port", std::to_string(port)}, {"kn_server_pin", pin}};
  netkorvo::UseLiveBackend(options);
  return GUI_NextDialog("MULTIPLAYSELECTMENU");
}

void LogIn(const std::string& password) {
  Set("LOGINMENU", "IDC_EDIT_LOGINID", "ACEPILOT");
  Set("LOGINMENU", "IDC_EDIT_LOGINPASSWORD", password);
  Click("LOGINMENU", "IDC_BUTTON_LOGINLOGIN");
}

void Lobby(lobbyd::CServerProcess& server, const std::string& pin) {
  const std::string port = std::to_string(server.Port());
  // A server that fails the pin is one that cannot be reached: told, and the
  // menus go back without the login screen.
  Check(StartModule(server.Port(), std::string(64, '0'), "127.0.0.1"), "the module starts with a wrong pin");
  Click("MULTIPLAYSELECTMENU", "IDC_BUTTON_MULTIPLAYSELECTKORVONET");
  Until([] { return Has(Box(), "CANNOT BE REACHED"); });
  Check(Has(Box(), "THE LOBBY SERVER AT 127.0.0.1:" + port + " CANNOT BE REACHED") &&
            Has(Box(), "pinned fingerprint") && GUI_IsDialogCreated("MAINMENU") && !GUI_IsDialogCreated("LOGINMENU"),
        "a server that fails the pin is told as not reached, with why, in MAINMENU: " + Box());

  // The first lobby server of the list does not answer: the next one does.
  const std::string dead = "127.0.0.1:" + std::to_string(FreePort(SOCK_STREAM));
  Check(StartModule(server.Port(), pin, dead + ", 127.0.0.1"), "the module starts with the right pin");
  Click("MULTIPLAYSELECTMENU", "IDC_BUTTON_MULTIPLAYSELECTKORVONET");
  Check(Opens("LOGINMENU") && !GUI_IsDialogCreated("MBOX_OK"), "the second server of the list is reached");
  Click("LOGINMENU", "IDC_BUTTON_LOGINNEWID");
  Check(Opens("NEWIDMENU"), "the new-id screen opens");
  const std::pair<const char*, const char*> fields[] = {
      {"IDC_EDIT_NEWIDID", "ACEPILOT"},         {"IDC_EDIT_NEWIDPASSWORD", "secret12"},
      {"IDC_EDIT_NEWIDVERIFY", "secret12"},     {"IDC_EDIT_BIRTHDAY_YEAR", "1985"},
      {"IDC_EDIT_BIRTHDAY_MONTH", "3"},         {"IDC_EDIT_BIRTHDAY_DAY", "7"},
      {"IDC_EDIT_BIRTHDAY_EMAIL1", "ACEPILOT"}, {"IDC_EDIT_BIRTHDAY_EMAIL2", "example.org"}};
  for (const auto& [id, text] : fields) Set("NEWIDMENU", id, text);
  Click("NEWIDMENU", "IDC_BUTTON_NEWIDLOGIN");
  Until([] { return Has(Box(), "REGISTERED"); });
  Check(Has(Box(), "THE NEW ID IS REGISTERED") && GUI_IsDialogCreated("LOGINMENU"),
        "the new id is registered: " + Box());
  GUI_CloseCurrentMessageBox();
  LogIn("wrongpass");
  Until([] { return Has(Box(), "WRONG"); });
  Check(Has(Box(), "WRONG ID OR PASSWORD") && GUI_IsDialogCreated("LOGINMENU") && !GUI_IsDialogCreated("KORVONETMENU"),
        "a wrong password is refused and the login screen stays: " + Box());
  GUI_CloseCurrentMessageBox();
  LogIn("secret12");
  Check(Opens("KORVONETMENU") && !GUI_IsDialogCreated("MBOX_OK"), "the right password logs in to the lobby");

  const auto channels = [] { return Rows(Control("KORVONETMENU", "IDC_LIST_NETCHANNELLIST")); };
  Check(Until([&] { return Has(channels(), "Lobby"); }), "the channel list shows the lobby's channel");
  Click("KORVONETMENU", "IDC_BUTTON_NETCREATECHANNEL");
  Check(Opens("CREATECHANNEL"), "the channel screen opens");
  Set("CREATECHANNEL", "IDC_EDIT_CHANNELNAME", "ARENA");
  Click("CREATECHANNEL", "IDC_BUTTON_CHANNELCREATE");
  const auto players = [] { return Rows(Control("KORVONETMENU", "IDC_LIST_NETPILOTLIST")); };
  Until([&] { return Has(channels(), "ARENA") && players() == "ACEPILOT"; });
  Check(Has(channels(), "ARENA") && players() == "ACEPILOT",
        "a new channel is listed, with its member: " + channels() + " " + players());
  Set("KORVONETMENU", "IDC_EDIT_NETCHATINPUT", "hello all");
  Click("KORVONETMENU", "IDC_EDIT_NETCHATINPUT");
  GUI_Char(13);
  const auto chat = [] { return Rows(Control("KORVONETMENU", "IDC_LIST_NETCHATBOX")); };
  Until([&] { return Has(chat(), "ACEPILOT : hello all"); });
  Check(Has(chat(), "ACEPILOT : hello all"), "the chat line comes back: " + chat());

  // The server goes away: the player is told and goes back to the main menu.
  // A second copy of the chat line would come before the connection's end.
  server.Stop(5000);
  bool twice = false;
  Until([&] {
    twice = twice || chat().find("hello all") != chat().rfind("hello all");
    return Has(Box(), "LOST");
  });
  Check(!twice, "the chat line shows once");
  Check(Has(Box(), "THE CONNECTION TO THE LOBBY SERVER IS LOST") && GUI_IsDialogCreated("MAINMENU") &&
            !GUI_IsDialogCreated("KORVONETMENU"),
        "a lost lobby server is told and the lobby goes back to MAINMENU: " + Box());
  NET_Release();
  GUI_Release();
}

}  // namespace

int main() {
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
  std::printf("%s\n", g_failures ? "FAILED" : "PASSED");
  return g_failures ? 1 : 0;
}
