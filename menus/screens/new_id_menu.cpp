// new_id_menu.cpp: NEWIDMENU, registration of a new online id. Only the
// e-mail address is checked here; the server checks the rest.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/netkorvo.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/lobby_fields.h"
#include "menus/screens/screen_messages.h"

namespace {

constexpr int kMsgWait = 36;
constexpr int kMsgNoAddress = 69;

int EditNumber(CGUI_Window* dialog, const char* id) {
  return std::atoi(lobby::EditText(dialog, id).c_str());
}

void ClickRegister(CGUI_GamePushButton* button) {
  CGUI_Window* dialog = button->GetParent();
  ShowMessage(kMsgWait, GUI_MB_OK);
  const std::string id = lobby::EditText(dialog, "IDC_EDIT_NEWIDID");
  const std::string password = lobby::EditText(dialog, "IDC_EDIT_NEWIDPASSWORD");
  const std::string verify = lobby::EditText(dialog, "IDC_EDIT_NEWIDVERIFY");
  lobby::SetLoginId(id);
  char birthday[40];
  std::snprintf(birthday, sizeof birthday, "%02d%02d%02d",
                EditNumber(dialog, "IDC_EDIT_BIRTHDAY_YEAR") % 100,
                EditNumber(dialog, "IDC_EDIT_BIRTHDAY_MONTH"),
                EditNumber(dialog, "IDC_EDIT_BIRTHDAY_DAY"));
  const std::string user = lobby::EditText(dialog, "IDC_EDIT_BIRTHDAY_EMAIL1");
  const std::string domain = lobby::EditText(dialog, "IDC_EDIT_BIRTHDAY_EMAIL2");
  if (user.empty() || domain.empty()) {
    ShowMessage(kMsgNoAddress, GUI_MB_OK);
    return;
  }
  const std::string address = user + "@" + domain;
  Clt.SendNewIdPw(id.c_str(), password.c_str(), verify.c_str(), birthday, address.c_str());
}

using CGUI_NewIdButton = TGUI_ClickButton<&ClickRegister, kBaseFirst>;

}  // namespace

void RegisterNewIdMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_MenuDialog>(r, "NEWIDMENU");
  RegisterIdClass<CGUI_NewIdButton>(r, "IDC_BUTTON_NEWIDLOGIN");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_NEWIDCANCEL");
}
