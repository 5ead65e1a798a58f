// mission_ending.cpp: the final ending (MISSIONENDINGMENU): the epilogue
// revealed line by line, the total clear time and the best time of each of
// the twelve story missions the pilot has a record of.
#include <cstdio>

#include "host/host_accounts.h"
#include "host/host_services.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/single_play_state.h"
#include "menus/typewriter_list.h"

namespace {

constexpr const char* kEpilogue = "data/script/ending/ending.txt";
constexpr const char* kEpilogueList = "IDC_LIST_ENDINGEPILOGUE";
constexpr int kStoryMissions = 12;

class CGUI_Ending : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    if (!CGUI_MenuDialog::OnCreate()) return false;
    if (auto* epilogue = dynamic_cast<CGUI_TypewriterList*>(FindChild(kEpilogueList)))
      epilogue->ShowTextFile(kEpilogue);
    CMissionAccount* account = GetCurAccount();
    if (!account) return true;
    SetControlCaption(this, "IDC_STATIC_ENDINGMISSIONTOTAL", ClearTimeText(unsigned(account->GetTotalClearTime())));
    for (int i = 1; i <= kStoryMissions; ++i) {
      char title[16], id[40];
      std::snprintf(title, sizeof title, "MISSION %02d", i);
      std::snprintf(id, sizeof id, "IDC_STATIC_ENDINGMISSION%02d", i);
      if (const SMissionAchievement* achievement = account->GetMissionAchievement(title))
        SetControlCaption(this, id, ClearTimeText(unsigned(achievement->best)));
    }
    return true;
  }
};

void ClickReplay(CGUI_GamePushButton* button) {
  CGUI_Window* dialog = button->GetParent();
  if (auto* epilogue = dynamic_cast<CGUI_TypewriterList*>(dialog ? dialog->FindChild(kEpilogueList) : nullptr))
    epilogue->ShowTextFile(kEpilogue);
}

void ClickToMainMenu(CGUI_GamePushButton*) {
  PlayMainBGM();
  GUI_NextDialog("MAINMENU");
}

}  // namespace

void RegisterMissionEnding(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_Ending>(r, "MISSIONENDINGMENU");
  RegisterIdClass<TGUI_ClickButton<&ClickToMainMenu, kActionFirst>>(r, "IDC_BUTTON_ENDINGQUIT");
  RegisterIdClass<TGUI_ClickButton<&ClickReplay, kActionFirst>>(r, "IDC_BUTTON_ENDINGREPLAY");
  RegisterIdClass<CGUI_TypewriterList>(r, kEpilogueList);
}
