// mission_summary.h: a dialog that shows the current mission's objective
// summary: the mission's name and the first five lines of its summary file
// in the captions PREFIX + NAME, OBJECTIVE, OURFORCES, ENEMYFORCES,
// MAPCONFIGURATION and TIMELIMIT. The escape menu's summary and the mission
// loading scene are this one dialog over their own base and id prefix.
#pragma once
#include "menus/click_handlers.h"

class CGUI_Window;

// Fills the captions; without a current mission, or for lines the file does
// not have (or a file that cannot be read), the captions keep what they show.
void ShowMissionSummary(CGUI_Window* dialog, const char* prefix);

template <class Base, SDialogId Prefix>
class TGUI_MissionSummary : public Base {
 public:
  bool OnCreate() override {
    if (!Base::OnCreate()) return false;
    ShowMissionSummary(this, Prefix.text);
    return true;
  }
};
