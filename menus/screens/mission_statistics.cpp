// mission_statistics.cpp: the statistics after a mission was won
// (STATISTICSMENU): the pilot's choices and clear times and the map picture.
#include <string>

#include "host/host_accounts.h"
#include "host/host_characters.h"
#include "host/host_services.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/single_play_state.h"
#include "runtime/game_bitmap.h"

namespace {

class CGUI_Statistics : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    if (!CGUI_MenuDialog::OnCreate()) return false;
    CMissionAccount* account = GetCurAccount();
    const CMission* mission = account ? account->GetCurrentMission() : nullptr;
    if (!mission) return true;
    const SMissionAchievement* achievement = account->GetMissionAchievement(mission->name);
    SetControlCaption(this, "IDC_STATIC_STATISTICSMISSION", mission->name);
    SetControlCaption(this, "IDC_STATIC_STATISTICSSELECTEDCHARACTER", GetCharacterName(account->character));
    SetControlCaption(this, "IDC_STATIC_STATISTICSSELECTEDOPTIONPARTS",
                      OptionPartName(account->left) + "/" + OptionPartName(account->right));
    if (achievement)
      SetControlCaption(this, "IDC_STATIC_STATISTICSMISSIONCLEARTIME", ClearTimeText(unsigned(achievement->latest)));
    SetControlCaption(this, "IDC_STATIC_STATISTICSTOTALCLEARTIME", ClearTimeText(unsigned(account->GetTotalClearTime())));
    if (auto* map = dynamic_cast<CGUI_GameBitmap*>(FindChild("IDC_BITMAP_STATISTICSMISSION_MAPIMAGE"))) {
      const std::string name = mission->name;
      map->SetTexture(name.empty() || name == "null" ? nullptr : (name + ".tga").c_str());
    }
    return true;
  }
};

void ClickRestart(CGUI_GamePushButton*) {
  GUI_PrevDialog(1, true);
  CMissionAccount* account = GetCurAccount();
  const CMission* mission = account ? account->GetCurrentMission() : nullptr;
  if (mission) ExecuteCommand((std::string("s_exe ") + mission->script).c_str());
}

void ClickNext(CGUI_GamePushButton*) {
  PlayMainBGM();
  GUI_PrevDialog(2, true);
}

void ClickToMainMenu(CGUI_GamePushButton*) {
  PlayMainBGM();
  GUI_NextDialog("MAINMENU");
}

}  // namespace

void RegisterMissionStatistics(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_Statistics>(r, "STATISTICSMENU");
  RegisterIdClass<TGUI_ClickButton<&ClickToMainMenu, kActionFirst>>(r, "IDC_BUTTON_STATISTICSQUIT");
  RegisterIdClass<TGUI_ClickButton<&ClickRestart, kActionFirst>>(r, "IDC_BUTTON_STATISTICSRESTART");
  RegisterIdClass<TGUI_ClickButton<&ClickNext, kActionFirst>>(r, "IDC_BUTTON_STATISTICSNEXT");
}
