// join_menu.cpp: JOINMENU, the online games to join. The network library
// fills the game list and the eight player lines through the KN_* exports;
// the refresh asks the server again at most every 2000 ms.
#include <cstdio>
#include <cstring>
#include <string>

#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/lobby.h"
#include "menus/click_handlers.h"
#include "menus/lobby_state.h"
#include "menus/map_picture.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_list.h"
#include "screens/lobby_fields.h"
#include "screens/screen_messages.h"

namespace {

constexpr uint32_t kRefreshInterval = 2000;
constexpr int kMsgNoGame = 39;
constexpr const char* kUnknownMap = "UNKNOWN.gnd";

void RequestSessions() {
  SLobbyState& s = ModulePart<SLobbyState>();
  s.sessionsRequested = true;
  s.lastSessionRequest = timeGetTime();
  Clt.SendSessionList();
}

class CGUI_JoinMenu : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    SLobbyState& s = ModulePart<SLobbyState>();
    s.join = this;
    s.joinList = dynamic_cast<CGUI_GameList*>(FindChild("IDC_LIST_JOINGAMENAMELIST"));
    if (!CGUI_MenuDialog::OnCreate()) return false;
    RequestSessions();
    return true;
  }
};

template <size_t N>
std::string FieldText(const char (&field)[N]) { return std::string(field, strnlen(field, N)); }

void SetChildCaption(CGUI_Window* dialog, const char* id, const std::string& text) {
  if (CGUI_Window* w = dialog ? dialog->FindChild(id) : nullptr) w->SetCaption(text);
}

// Choosing a game shows it and asks for its players.
class CGUI_JoinGameList : public CGUI_GameList {
 public:
  bool OnSelChange() override {
    const SESSION_INFO* game = KN_GetSessionInfo();
    if (!game) return true;
    CGUI_Window* dialog = GetParent();
    const std::string name = FieldText(game->name);
    const std::string map = FieldText(game->map);
    SetChildCaption(dialog, "IDC_EDIT_JOINROOMNAME", name);
    SetChildCaption(dialog, "IDC_STATIC_JOINMAPNAME", map);
    SetChildCaption(dialog, "IDC_STATIC_JOINGAMETYPE", NET_GetGameRuleInfo(game->type)->name);
    auto* image = dialog ? dynamic_cast<CGUI_GameBitmap*>(dialog->FindChild("IDC_BITMAP_JOINMAPIMAGE"))
                         : nullptr;
    if (image && map != kUnknownMap)
      image->SetTexture(map.empty() ? kMissingMapPicture : MapPictureName(map).c_str());
    Clt.SendSessionInfo(name.c_str());
    return true;
  }
};

// ---- Buttons ----------------------------------------------------------------------------------

void ClickRefresh(CGUI_GamePushButton*) {
  const SLobbyState& s = ModulePart<SLobbyState>();
  if (s.sessionsRequested && timeGetTime() - s.lastSessionRequest < kRefreshInterval) return;
  KN_RemoveAllSessionList();
  RequestSessions();
}

void ClickEnter(CGUI_GamePushButton* button) {
  const SESSION_INFO* game = KN_GetSessionInfo();
  if (!game) {
    ShowMessage(kMsgNoGame, GUI_MB_OK);
    return;
  }
  const std::string name = FieldText(game->name);
  const std::string password = lobby::EditText(button->GetParent(), "IDC_EDIT_JOINROOMPASS");
  uint8_t part[4];
  std::memcpy(part, &game->address, sizeof part);
  char address[20];
  std::snprintf(address, sizeof address, "%i.%i.%i.%i", part[0], part[1], part[2], part[3]);
  ScreenMsg("======================= %i.%i.%i.%i", part[0], part[1], part[2], part[3]);
  Clt.SendJoinGame(name.c_str(), password.c_str(), address);
}

}  // namespace

void RegisterJoinMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_JoinMenu>(r, "JOINMENU");
  RegisterIdClass<TGUI_ClickButton<&ClickEnter, kBaseFirst>>(r, "IDC_BUTTON_JOINENTER");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_JOINCANCEL");
  RegisterIdClass<TGUI_ClickButton<&ClickRefresh, kBaseFirst>>(r, "IDC_BUTTON_JOINREFRESH");
  RegisterIdClass<CGUI_JoinGameList>(r, "IDC_LIST_JOINGAMENAMELIST");
}
