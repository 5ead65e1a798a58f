// change_pass_menu.cpp: CHANGEPASSMENU, a password change sent to the lobby
// server without local checks.
#include <string>

#include "host/netkorvo.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/lobby_fields.h"
#include "menus/screens/screen_messages.h"

namespace {

constexpr int kMsgWait = 36;

void ClickChange(CGUI_GamePushButton* button) {
  CGUI_Window* dialog = button->GetParent();
  ShowMessage(kMsgWait, GUI_MB_OK);
  const std::string id = lobby::EditText(dialog, "IDC_EDIT_CHANGEPASSID");
  const std::string password = lobby::EditText(dialog, "IDC_EDIT_CHANGEPASSPASSWORD");
  const std::string newPassword = lobby::EditText(dialog, "IDC_EDIT_CHANGEPASSNEWPASS");
  const std::string verify = lobby::EditText(dialog, "IDC_EDIT_CHANGEPASSVERIFY");
  Clt.SendChgPw(id.c_str(), password.c_str(), newPassword.c_str(), verify.c_str());
}

using CGUI_ChangeButton = TGUI_ClickButton<&ClickChange, kBaseFirst>;

}  // namespace

void RegisterChangePassMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_MenuDialog>(r, "CHANGEPASSMENU");
  RegisterIdClass<CGUI_ChangeButton>(r, "IDC_BUTTON_CHANGEPASSLOGIN");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_CHANGEPASSCANCEL");
}
