// pilot_choice.cpp: the pilot choice (SELECTIDMENU): the list of pilot
// accounts, the chosen pilot's record, and creating and deleting pilots.
#include <string>

#include "host/host_accounts.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "runtime/game_list.h"
#include "screens/single_play_state.h"

namespace {

constexpr const char* kRecentMission = "IDC_STATIC_RECENTACHIEVEMISSION";
constexpr const char* kTotalTime = "IDC_STATIC_TOTALMISSIONCLEARTIME";
constexpr const char* kNeverPlayed = "Never played";
constexpr int kAccountNamesRoom = 1024;

// Message texts of the host.
constexpr int kMsgNoPilot = 28;
constexpr int kMsgDeletePilot = 29;
constexpr int kMsgCannotSelect = 30;

void SetRecord(CGUI_Window* dialog, const std::string& mission, const std::string& time) {
  SetControlCaption(dialog, kRecentMission, mission);
  SetControlCaption(dialog, kTotalTime, time);
}

class CGUI_PilotChoice : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    if (!CGUI_MenuDialog::OnCreate()) return false;
    SetAccount(nullptr);
    SetRecord(this, "", "");
    return true;
  }
};

class CGUI_PilotList : public CGUI_GameList {
 public:
  bool OnCreate() override {
    if (!CGUI_GameList::OnCreate()) return false;
    ModulePart<SSinglePlayState>().pilotList = this;
    char names[kAccountNamesRoom] = {};
    EnumAccount(names, sizeof names);
    names[sizeof names - 1] = '\0';
    std::string all = names;
    for (size_t at = 0; at < all.size();) {
      size_t bar = all.find('|', at);
      if (bar == std::string::npos) bar = all.size();
      AddString(all.substr(at, bar - at));
      at = bar + 1;
    }
    return true;
  }

  bool OnDestroy() override {
    CGUI_List*& list = ModulePart<SSinglePlayState>().pilotList;
    if (list == this) list = nullptr;
    return CGUI_GameList::OnDestroy();
  }

  bool OnSelChange() override {
    if (!IsCreated()) return true;
    const int row = GetCurSel();
    std::string name;
    if (row < 0 || !GetText(row, name)) return true;
    if (!SetAccount(name.c_str())) {
      ShowMessageText(kMsgCannotSelect, GUI_MB_OK);
      SetCurSel(-1);
      return true;
    }
    CMissionAccount* account = GetCurAccount();
    const CMission* last = account ? account->GetLastMission() : nullptr;
    if (!last) SetRecord(parent_, kNeverPlayed, kNeverPlayed);
    else SetRecord(parent_, last->name, ClearTimeText(unsigned(account->GetTotalClearTime())));
    return true;
  }
};

// Deletes the chosen pilot when the question is answered yes.
bool DeleteChosenPilot(unsigned long code) {
  if (!(code & 1)) return true;
  CGUI_List* list = ModulePart<SSinglePlayState>().pilotList;
  if (!list) return true;
  const int row = list->GetCurSel();
  std::string name;
  if (row < 0 || !list->GetText(row, name)) return true;
  DestroyAccount(name.c_str());
  SetRecord(list->GetParent(), "", "");
  list->DeleteString(row);
  return true;
}

void ClickNext(CGUI_GamePushButton*) {
  if (GetCurAccount()) GUI_NextDialog("SELECTMISSIONMENU");
  else ShowMessageText(kMsgNoPilot, GUI_MB_OK);
}

void ClickDelete(CGUI_GamePushButton*) {
  if (!GetCurAccount()) ShowMessageText(kMsgNoPilot, GUI_MB_OK);
  else ShowMessageText(kMsgDeletePilot, GUI_MB_YESNO, &DeleteChosenPilot);
}

}  // namespace

void RegisterPilotChoice(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_PilotChoice>(r, "SELECTIDMENU");
  RegisterIdClass<CGUI_BackActionFirstButton>(r, "IDC_BUTTON_SELECTIDCANCEL");
  RegisterIdClass<TGUI_ClickButton<&ClickNext, kActionFirst>>(r, "IDC_BUTTON_SELECTIDNEXT");
  RegisterIdClass<TGUI_OpenOverButton<"SELECTIDNEWIDMENU">>(r, "IDC_BUTTON_SELECTIDNEWID");
  RegisterIdClass<TGUI_ClickButton<&ClickDelete, kActionFirst>>(r, "IDC_BUTTON_SELECTIDDELETE");
  RegisterIdClass<CGUI_PilotList>(r, "IDC_LIST_PILOTIDLISTID");
}
