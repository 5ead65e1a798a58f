// korvonet_menu.cpp: KORVONETMENU, the online lobby: pilot list with class
// icons, channel list, chat box and the own record. The network library
// fills the lists through the KN_* exports; this screen asks for them.
#include <cstdio>
#include <string>

#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/lobby.h"
#include "menus/chat_box.h"
#include "menus/click_handlers.h"
#include "menus/lobby_state.h"
#include "menus/lobby_tables.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/key_codes.h"
#include "runtime/rotate_button.h"

namespace {

class CGUI_KorvoNetMenu : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    SLobbyState& s = ModulePart<SLobbyState>();
    s.lobby = this;
    s.chatBox = dynamic_cast<CGUI_GameList*>(FindChild("IDC_LIST_NETCHATBOX"));
    s.pilotList = dynamic_cast<CGUI_GameList*>(FindChild("IDC_LIST_NETPILOTLIST"));
    s.channelList = dynamic_cast<CGUI_GameList*>(FindChild("IDC_LIST_NETCHANNELLIST"));
    for (int i = 0; i < lobby::kClassIcons; ++i) {
      char id[40];
      std::snprintf(id, sizeof id, "IDC_BUTTON_NETCLASSICONS%02d", i + 1);
      s.classIcons[i] = dynamic_cast<CGUI_RotateButton*>(FindChild(id));
    }
    if (!CGUI_MenuDialog::OnCreate()) return false;
    Clt.SendPrivateInfo();
    Clt.SendChannelList();
    Clt.SendPlayerList();
    KN_RemoveAllChatList();
    Clt.CreatingGame = 0;
    lobby::RefreshClassIcons();
    return true;
  }
};

// ---- Buttons ----------------------------------------------------------------------------------

void ClickQuit(CGUI_GamePushButton*) {
  Clt.SendLogOut();
  GUI_NextDialog("MAINMENU");
}

template <int Delta>
void ClickChatScroll(CGUI_GamePushButton*) { KN_ChatLineControl(Delta); }
template <int Delta>
void ClickPilotScroll(CGUI_GamePushButton*) { KN_PlayerLineControl(Delta); }
template <int Delta>
void ClickChannelScroll(CGUI_GamePushButton*) { KN_ChannelLineControl(Delta); }

// ---- Chat input, lists ------------------------------------------------------------------------

// Enter sends the line to the channel and empties the input.
class CGUI_LobbyChatInput : public CGUI_GameEdit {
 public:
  bool OnChar(char ch) override {
    if (ch != VK_RETURN) return CGUI_GameEdit::OnChar(ch);
    std::string text;
    GetText(text);
    Clt.SendChatMsg(text.c_str());
    return SetCaption("");
  }
};

// Choosing a channel asks to change to it (not when the network library selects it).
class CGUI_LobbyChannelList : public CGUI_GameList {
 public:
  bool OnSelChange() override {
    if (!ModulePart<SLobbyState>().selectingChannel && GetCurSel() >= 0) KN_SelChangeChannelList();
    return true;
  }
};

// Choosing a pilot shows the pilot's record in the panel.
class CGUI_LobbyPilotList : public CGUI_GameList {
 public:
  bool OnSelChange() override {
    if (const PLAYER_INFO* pilot = lobby::PilotRecord(GetCurSel())) lobby::ShowPilotRecord(*pilot);
    return true;
  }
};

using CGUI_NetQuitButton = TGUI_ClickButton<&ClickQuit, kActionFirst>;

}  // namespace

void RegisterKorvoNetMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_KorvoNetMenu>(r, "KORVONETMENU");
  RegisterIdClass<TGUI_GoToButton<"CREATEMENU">>(r, "IDC_BUTTON_NETCREATE");
  RegisterIdClass<TGUI_GoToButton<"JOINMENU">>(r, "IDC_BUTTON_NETJOIN");
  RegisterIdClass<CGUI_NetQuitButton>(r, "IDC_BUTTON_NETQUIT");
  RegisterIdClass<TGUI_ClickButton<&ClickChatScroll<-1>, kBaseFirst>>(r, "IDC_BUTTON_NETCHATUP");
  RegisterIdClass<TGUI_ClickButton<&ClickChatScroll<1>, kBaseFirst>>(r, "IDC_BUTTON_NETCHATDOWN");
  RegisterIdClass<TGUI_ClickButton<&ClickPilotScroll<-1>, kBaseFirst>>(r, "IDC_BUTTON_PLAYERLISTUP");
  RegisterIdClass<TGUI_ClickButton<&ClickPilotScroll<1>, kBaseFirst>>(r, "IDC_BUTTON_PLAYERLISTDOWN");
  RegisterIdClass<TGUI_ClickButton<&ClickChannelScroll<-1>, kBaseFirst>>(r, "IDC_BUTTON_CHANNELUP");
  RegisterIdClass<TGUI_ClickButton<&ClickChannelScroll<1>, kBaseFirst>>(r, "IDC_BUTTON_CHANNELDOWN");
  RegisterIdClass<TGUI_OpenOverButton<"CREATECHANNEL">>(r, "IDC_BUTTON_NETCREATECHANNEL");
  RegisterIdClass<CGUI_LobbyChatInput>(r, "IDC_EDIT_NETCHATINPUT");
  RegisterIdClass<CGUI_LobbyChannelList>(r, "IDC_LIST_NETCHANNELLIST");
  RegisterIdClass<CGUI_LobbyPilotList>(r, "IDC_LIST_NETPILOTLIST");
  RegisterIdClass<CGUI_ChatBox>(r, "IDC_LIST_NETCHATBOX");
}
