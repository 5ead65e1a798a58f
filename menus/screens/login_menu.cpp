// login_menu.cpp: LOGINMENU, the online login: id and password go to the
// lobby server unchecked; its answer opens the lobby or a message.
#include <string>

#include "host/netkorvo.h"
#include "korvogui/console.h"
#include "korvogui/korvogui.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/lobby_fields.h"
#include "menus/screens/screen_messages.h"
#include "runtime/edit.h"
#include "runtime/game_edit.h"
#include "runtime/key_codes.h"

namespace {

constexpr const char* kIdEdit = "IDC_EDIT_LOGINID";
constexpr const char* kPasswordEdit = "IDC_EDIT_LOGINPASSWORD";
constexpr int kMsgWait = 36;

// Creation fills the id of the last login.
class CGUI_LoginMenu : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    const char* previous = nullptr;
    if (NET_var.GetValue("kn_prev_login_id", &previous) && previous)
      if (CGUI_Window* edit = FindChild(kIdEdit)) edit->SetCaption(previous);
    return CGUI_MenuDialog::OnCreate();
  }
};

// Sends id and password; stores the id for the next login.
void SendLogin(CGUI_Window* dialog, bool withPrivateInfo) {
  ShowMessage(kMsgWait, GUI_MB_OK);
  const std::string id = lobby::EditText(dialog, kIdEdit);
  const std::string password = lobby::EditText(dialog, kPasswordEdit);
  if (withPrivateInfo) lobby::SetLoginId(id);
  Clt.SendIdPw(id.c_str(), password.c_str());
  if (withPrivateInfo) Clt.SendPrivateInfo();
  NET_profile.WritePrevLoginID(id.c_str());
}

void ClickLogin(CGUI_GamePushButton* button) { SendLogin(button->GetParent(), true); }

void ClickCancel(CGUI_GamePushButton*) {
  Clt.SendLogOut();
  LogMessage("Get out of the Zonet !");
  GUI_NextDialog("MAINMENU");
}

// Enter in the password logs in as well, without asking for the own record.
class CGUI_LoginPasswordEdit : public CGUI_GameEdit {
 public:
  bool OnChar(char ch) override {
    if (ch != VK_RETURN) return CGUI_GameEdit::OnChar(ch);
    SendLogin(GetParent(), false);
    return true;
  }
};

using CGUI_LoginButton = TGUI_ClickButton<&ClickLogin, kBaseFirst>;
using CGUI_LoginCancelButton = TGUI_ClickButton<&ClickCancel, kActionFirst>;

}  // namespace

void RegisterLoginMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_LoginMenu>(r, "LOGINMENU");
  RegisterIdClass<CGUI_LoginButton>(r, "IDC_BUTTON_LOGINLOGIN");
  RegisterIdClass<CGUI_LoginCancelButton>(r, "IDC_BUTTON_LOGINCANCEL");
  RegisterIdClass<TGUI_GoToButton<"NEWIDMENU">>(r, "IDC_BUTTON_LOGINNEWID");
  RegisterIdClass<TGUI_GoToButton<"CHANGEPASSMENU">>(r, "IDC_BUTTON_LOGINCHANGE");
  RegisterIdClass<CGUI_LoginPasswordEdit>(r, kPasswordEdit);
}
