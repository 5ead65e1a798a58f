// multiplay_select.cpp: MULTIPLAYSELECTMENU, the choice between a skirmish, a
// local network game and the online lobby.
#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/screen_messages.h"

namespace {

constexpr int kMsgConnecting = 23;

// A skirmish is a local game that is not announced on the network.
void ClickSkirmish(CGUI_GamePushButton*) {
  NET_bLocalGame = 1;
  NET_bEnableGLMaker = 0;
  GUI_NextDialog("CREATEMENU");
}

// Leaves the online client and returns to the main menu.
void CloseOnlineClient() {
  Clt.Close();
  GUI_NextDialog("MAINMENU");
}

// The cancel of the "connecting" box: log out as well.
bool CancelConnect(unsigned long) {
  Clt.Close();
  Clt.SendLogOut();
  GUI_NextDialog("MAINMENU");
  return true;
}

// Connects to the lobby server; its answers open the lobby.
void ClickKorvoNet(CGUI_GamePushButton*) {
  ShowMessage(kMsgConnecting, GUI_MB_CANCEL, &CancelConnect);
  if (!Clt.SendConnect(0)) CloseOnlineClient();
}

using CGUI_SkirmishButton = TGUI_ClickButton<&ClickSkirmish, kBaseFirst>;
using CGUI_LocalButton = TGUI_GoToButton<"SERVERMENU", kBaseFirst>;
using CGUI_KorvoNetButton = TGUI_ClickButton<&ClickKorvoNet, kBaseFirst>;

}  // namespace

void RegisterMultiplaySelectMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_MenuDialog>(r, "MULTIPLAYSELECTMENU");
  RegisterIdClass<CGUI_SkirmishButton>(r, "IDC_BUTTON_MULTIPLAYSELECTSKIRMISH");
  RegisterIdClass<CGUI_LocalButton>(r, "IDC_BUTTON_MULTIPLAYSELECTLOCAL");
  RegisterIdClass<CGUI_KorvoNetButton>(r, "IDC_BUTTON_MULTIPLAYSELECTKORVONET");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_MULTIPLAYSELECTBACK");
}
