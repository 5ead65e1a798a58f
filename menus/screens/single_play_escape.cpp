// single_play_escape.cpp: the escape menu of a single-player mission
// (SINGLEPLAYESC), its surrender and restart questions, the mission's
// objective summary, and the exit screen's dialog. The questions and the
// summary are pushed over the escape menu: a yes pops both, a no one.
#include <string>

#include "host/host_accounts.h"
#include "host/host_services.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/mission_summary.h"
#include "menus/registration.h"
#include "menus/screens/single_play_state.h"

namespace {

// Runs a script command on the current mission's mission script.
void MissionScriptCommand(const char* verb) {
  CMissionAccount* account = GetCurAccount();
  const CMission* mission = account ? account->GetCurrentMission() : nullptr;
  if (mission) ExecuteCommand((std::string(verb) + " " + mission->script).c_str());
}

void ClickSurrenderYes(CGUI_GamePushButton*) {
  MissionScriptCommand("s_terminate");
  GUI_PrevDialog(2, false);
}

void ClickRestartYes(CGUI_GamePushButton*) {
  GUI_PrevDialog(2, true);
  MissionScriptCommand("s_reset");
}

using CGUI_ObjectiveSummary =
    TGUI_MissionSummary<CGUI_ExclusiveMenuDialog, "IDC_STATIC_SINGLEPLAYMISSIONOBJECTIVE">;

}  // namespace

void RegisterSinglePlayEscape(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "SINGLEPLAYESC");
  RegisterIdClass<TGUI_GoToButton<"OPTIONMENU">>(r, "IDC_BUTTON_SPESCOPTION");
  RegisterIdClass<CGUI_ResumeButton>(r, "IDC_BUTTON_SPESCCONTINUE");
  RegisterIdClass<TGUI_GoToButton<"SINGLEPLAYSURRENDER">>(r, "IDC_BUTTON_SPESCSURRENDER");
  RegisterIdClass<TGUI_GoToButton<"SINGLEPLAYRESTART">>(r, "IDC_BUTTON_SPESCRESTART");
  RegisterIdClass<TGUI_GoToButton<"SINGLEPLAYMISSIONOBJECTIVE">>(r, "IDC_BUTTON_SPESCOBJECTIVE");
  RegisterIdClass<TGUI_GoToButton<"EXITGAME">>(r, "IDC_BUTTON_SPESCEXIT");
  RegisterIdClass<TGUI_ClickButton<&ClickSurrenderYes, kBaseFirst>>(r, "IDC_BUTTON_SURRENDERMISSIONQYES");
  RegisterIdClass<TGUI_ClickButton<&ClickRestartYes, kBaseFirst>>(r, "IDC_BUTTON_RESTARTMISSIONQYES");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_SURRENDERMISSIONQNO");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_RESTARTMISSIONQNO");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_SINGLEPLAYMISSIONOBJECTIVERETURN");
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "SINGLEPLAYSURRENDER");
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "SINGLEPLAYRESTART");
  RegisterIdClass<CGUI_ObjectiveSummary>(r, "SINGLEPLAYMISSIONOBJECTIVE");
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "SINGLEPLAYEXIT");
}
