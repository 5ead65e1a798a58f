// single_play_escape.cpp: the escape menu of a single-player mission
// (SINGLEPLAYESC), its surrender and restart questions, the mission's
// objective summary, and the exit screen's dialog. The questions and the
// summary are pushed over the escape menu: a yes pops both, a no one.
#include <cstring>
#include <string>
#include <vector>

#include "host/host_accounts.h"
#include "host/host_services.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "screens/screen_registrations.h"
#include "screens/single_play_state.h"

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

// The summary file's lines, in this order, fill these captions.
constexpr const char* kSummaryCaptions[] = {
    "IDC_STATIC_SINGLEPLAYMISSIONOBJECTIVEOBJECTIVE",
    "IDC_STATIC_SINGLEPLAYMISSIONOBJECTIVEOURFORCES",
    "IDC_STATIC_SINGLEPLAYMISSIONOBJECTIVEENEMYFORCES",
    "IDC_STATIC_SINGLEPLAYMISSIONOBJECTIVEMAPCONFIGURATION",
    "IDC_STATIC_SINGLEPLAYMISSIONOBJECTIVETIMELIMIT",
};

class CGUI_ObjectiveSummary : public CGUI_ExclusiveMenuDialog {
 public:
  bool OnCreate() override {
    if (!CGUI_ExclusiveMenuDialog::OnCreate()) return false;
    CMissionAccount* account = GetCurAccount();
    const CMission* mission = account ? account->GetCurrentMission() : nullptr;
    if (!mission) return true;
    SetControlCaption(this, "IDC_STATIC_SINGLEPLAYMISSIONOBJECTIVENAME", mission->name);
    std::vector<std::string> lines;
    if (!ReadLines(mission->objective, lines)) return true;
    for (size_t i = 0; i < lines.size() && i < std::size(kSummaryCaptions); ++i)
      SetControlCaption(this, kSummaryCaptions[i], lines[i]);
    return true;
  }
};

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
