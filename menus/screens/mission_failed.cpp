// mission_failed.cpp: the screen after a lost mission (MISSIONFAILEDMENU):
// back to the menus or the mission again.
#include <string>

#include "host/host_accounts.h"
#include "host/host_characters.h"
#include "host/host_services.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"

namespace {

class CGUI_MissionFailed : public CGUI_ExclusiveMenuDialog {
 public:
  bool OnDestroy() override {
    ReleaseSceneAtOnce();
    return CGUI_ExclusiveMenuDialog::OnDestroy();
  }
};

void ClickLeaveFailed(CGUI_GamePushButton*) {
  PlayMainBGM();
  GUI_PrevDialog(1, true);
}

void ClickRestart(CGUI_GamePushButton*) {
  GUI_PrevDialog(1, false);
  CMissionAccount* account = GetCurAccount();
  const CMission* mission = account ? account->GetCurrentMission() : nullptr;
  if (mission) ExecuteCommand((std::string("s_exe ") + mission->script).c_str());
}

}  // namespace

void RegisterMissionFailed(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_MissionFailed>(r, "MISSIONFAILEDMENU");
  RegisterIdClass<TGUI_ClickButton<&ClickLeaveFailed, kActionFirst>>(r, "IDC_BUTTON_MISSIONFAILEDQUIT");
  RegisterIdClass<TGUI_ClickButton<&ClickRestart, kActionFirst>>(r, "IDC_BUTTON_MISSIONFAILEDRESTART");
}
