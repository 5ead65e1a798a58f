// create_channel.cpp: CREATECHANNEL, opened over the lobby: a channel name to
// change to (the server creates a channel that does not exist yet).
#include <string>

#include "host/netkorvo.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/lobby_fields.h"
#include "runtime/game_edit.h"
#include "runtime/key_codes.h"

namespace {

constexpr const char* kNameEdit = "IDC_EDIT_CHANNELNAME";

void ChangeToTyped(CGUI_Window* dialog) {
  if (!dialog) return;
  Clt.SendChgChannel(lobby::EditText(dialog, kNameEdit).c_str());
  dialog->Destroy();
}

void ClickCreate(CGUI_GamePushButton* button) { ChangeToTyped(button->GetParent()); }

// Closing without a channel asks for the channel list again.
void ClickCancel(CGUI_GamePushButton* button) {
  if (CGUI_Window* dialog = button->GetParent()) dialog->Destroy();
  Clt.SendChannelList();
}

class CGUI_ChannelNameEdit : public CGUI_GameEdit {
 public:
  bool OnChar(char ch) override {
    if (ch != VK_RETURN) return CGUI_GameEdit::OnChar(ch);
    ChangeToTyped(GetParent());
    return true;
  }
};

}  // namespace

void RegisterCreateChannel(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_MenuDialog>(r, "CREATECHANNEL");
  RegisterIdClass<TGUI_ClickButton<&ClickCreate, kActionFirst>>(r, "IDC_BUTTON_CHANNELCREATE");
  RegisterIdClass<TGUI_ClickButton<&ClickCancel, kActionFirst>>(r, "IDC_BUTTON_CHANNELCANCEL");
  RegisterIdClass<CGUI_ChannelNameEdit>(r, kNameEdit);
}
