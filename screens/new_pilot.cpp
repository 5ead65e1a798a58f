// new_pilot.cpp: the new pilot dialog (SELECTIDNEWIDMENU), opened over the
// pilot choice: a name of at most 11 bytes becomes a new pilot account.
#include <string>

#include "host/host_accounts.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "runtime/edit.h"
#include "runtime/list.h"
#include "runtime/routing.h"
#include "screens/single_play_state.h"

namespace {

constexpr const char* kNameEdit = "IDC_EDIT_SELECTIDNEWID";
constexpr int kMaxNameBytes = 11;
constexpr int kMsgNameExists = 31;
constexpr int kMsgNameEmpty = 32;

class CGUI_NewPilot : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    edit_ = dynamic_cast<CGUI_Edit*>(FindChild(kNameEdit));
    if (edit_) {
      edit_->SetCaption("");
      edit_->SetMaxNumChar(kMaxNameBytes);
      SetFocusWindow(edit_);
    }
    return CGUI_MenuDialog::OnCreate();
  }

  CGUI_Edit* NameEdit() const { return edit_; }

 private:
  CGUI_Edit* edit_ = nullptr;
};

void ClickCreate(CGUI_GamePushButton* button) {
  auto* dialog = dynamic_cast<CGUI_NewPilot*>(button->GetParent());
  std::string name;
  if (dialog && dialog->NameEdit()) dialog->NameEdit()->GetText(name);
  if (name.empty()) {
    ShowMessageText(kMsgNameEmpty, GUI_MB_OK);
  } else {
    CGUI_List* list = ModulePart<SSinglePlayState>().pilotList;
    bool exists = false;
    std::string item;
    for (int i = 0; list && i < list->GetCount() && !exists; ++i)
      exists = list->GetText(i, item) && item == name;
    if (exists) {
      ShowMessageText(kMsgNameExists, GUI_MB_OK);
    } else {
      if (list) list->AddString(name);
      CreateAccount(name.c_str());
    }
  }
  if (dialog) dialog->Destroy();
}

}  // namespace

void RegisterNewPilot(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_NewPilot>(r, "SELECTIDNEWIDMENU");
  RegisterIdClass<TGUI_ClickButton<&ClickCloseParent, kActionFirst>>(r, "IDC_BUTTON_SELECTIDNEWIDCANCEL");
  RegisterIdClass<TGUI_ClickButton<&ClickCreate, kActionFirst>>(r, "IDC_BUTTON_SELECTIDNEWIDCREATE");
}
