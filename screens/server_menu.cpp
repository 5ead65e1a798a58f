// server_menu.cpp: SERVERMENU, the games announced on the local network: the
// list fills itself from the network library's game-list manager while it is
// drawn; a game can be joined, or a new one created, under a local game id.
#include <cstdio>
#include <cstring>
#include <string>

#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "runtime/edit.h"
#include "runtime/game_list.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"
#include "screens/screen_messages.h"

namespace {

constexpr int kMaxGames = 100;
constexpr int kMsgNoGameId = 33;
constexpr const char* kIdEdit = "IDC_EDIT_LOCALGAMEIDINPUT";
// The four column lists: game name, second text, players, game rule.
constexpr const char* kColumns[4] = {"IDC_LIST_SERVERNAME", "IDC_LIST_SERVERTEXT",
                                     "IDC_LIST_SERVERPLAYERS", "IDC_LIST_SERVERGAMETYPE"};

// The games listed since the manager started or refreshed.
struct SGameList final : CModulePart {
  CGameListItem games[kMaxGames];
  int count = 0;
  int selected = 0;
  CGUI_Window* dialog = nullptr;   // the server menu whose lists show the games

  void OnTableReleased() override { dialog = nullptr; }
};

CGUI_List* Column(int i) {
  CGUI_Window* dialog = ModulePart<SGameList>().dialog;
  return dialog ? dynamic_cast<CGUI_List*>(dialog->FindChild(kColumns[i])) : nullptr;
}

// Receives one game of the manager: a record and one row in each column.
void AddGame(CGameListItem* item) {
  SGameList& list = ModulePart<SGameList>();
  if (!item || list.count >= kMaxGames) return;
  CGameListItem& game = list.games[list.count++] = *item;
  char players[32];
  std::snprintf(players, sizeof players, "%d/%d", game.Players, game.MaxPlayers);
  const std::string texts[4] = {std::string(game.Name, strnlen(game.Name, sizeof game.Name)),
                                std::string(game.Text, strnlen(game.Text, sizeof game.Text)),
                                players, NET_GetGameRuleInfo(game.Type)->name};
  for (int i = 0; i < 4; ++i)
    if (CGUI_List* column = Column(i)) column->AddString(texts[i]);
}

// ---- Dialog and game list --------------------------------------------------------------------

class CGUI_ServerMenu : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    if (!CGUI_MenuDialog::OnCreate()) return false;
    const char* id = nullptr;
    if (NET_var.GetValue("kn_prev_login_id", &id) && id)
      if (CGUI_Window* edit = FindControl(kIdEdit)) edit->SetCaption(id);
    return true;
  }
};

class CGUI_ServerList : public CGUI_GameList {
 public:
  bool OnCreate() override {
    if (!CGUI_GameList::OnCreate()) return false;
    SGameList& list = ModulePart<SGameList>();
    list.dialog = GetParent();
    list.count = list.selected = 0;
    NET_InitGLManager();
    return true;
  }
  bool OnDestroy() override {
    NET_ReleaseGLManager();
    if (ModulePart<SGameList>().dialog == GetParent()) ModulePart<SGameList>().dialog = nullptr;
    return CGUI_GameList::OnDestroy();
  }
  // Games found during a frame appear from that frame's draw on.
  bool OnDraw() override {
    NET_UpdateGLManager(&AddGame);
    return CGUI_GameList::OnDraw();
  }
  bool OnSelChange() override {
    const int sel = GetCurSel();
    if (sel >= 0 && sel < ModulePart<SGameList>().count) ModulePart<SGameList>().selected = sel;
    return true;
  }
};

// ---- Buttons ------------------------------------------------------------------------------

void ClickRefresh(CGUI_GamePushButton*) {
  SGameList& list = ModulePart<SGameList>();
  list.count = list.selected = 0;
  for (int i = 0; i < 4; ++i)
    if (CGUI_List* column = Column(i)) column->ResetContent();
  NET_RefreshGLManager();
}

// The local game id must not be empty; it is kept for the next visit.
bool CheckGameId(CGUI_Window* button) {
  CGUI_Window* dialog = button->GetParent();
  CGUI_Window* edit = dialog ? dialog->FindChild(kIdEdit) : nullptr;
  std::string id;
  if (edit) edit->GetCaption(id);
  if (id.empty()) {
    ShowMessage(kMsgNoGameId, GUI_MB_OK);
    return false;
  }
  NET_profile.WritePrevLoginID(id.c_str());
  return true;
}

void ClickCreate(CGUI_GamePushButton* button) {
  if (!CheckGameId(button)) return;
  NET_bLocalGame = 1;
  NET_bEnableGLMaker = 1;
  GUI_NextDialog("CREATEMENU");
}

void ClickJoin(CGUI_GamePushButton* button) {
  if (!CheckGameId(button)) return;
  SGameList& list = ModulePart<SGameList>();
  if (list.selected < 0 || list.selected >= list.count) return;
  const CGameListItem& game = list.games[list.selected];
  char address[32];
  std::snprintf(address, sizeof address, "%d.%d.%d.%d", game.Address[0], game.Address[1],
                game.Address[2], game.Address[3]);
  NET_ServerID = int(game.ServerID);
  NET_Init(0, address, 1, 0);
}

using CGUI_ServerCreateButton = TGUI_ClickButton<&ClickCreate, kBaseFirst>;
using CGUI_ServerRefreshButton = TGUI_ClickButton<&ClickRefresh, kBaseFirst>;
using CGUI_ServerJoinButton = TGUI_ClickButton<&ClickJoin, kBaseFirst>;

}  // namespace

void RegisterServerMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_ServerMenu>(r, "SERVERMENU");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_SERVERCANCEL");
  RegisterIdClass<CGUI_ServerCreateButton>(r, "IDC_BUTTON_SERVERCREATE");
  RegisterIdClass<CGUI_ServerRefreshButton>(r, "IDC_BUTTON_SERVERREFRESH");
  RegisterIdClass<CGUI_ServerJoinButton>(r, "IDC_BUTTON_SERVERJOIN");
  RegisterIdClass<CGUI_ServerList>(r, "IDC_LIST_SERVERNAME");
}
