// mission_map.cpp: the mission map (SELECTMISSIONMENU): one box per mission
// the pilot has a record of, three branch groups where only one of two
// variants shows, the chosen mission's description and clear times.
#include <cstring>
#include <string>

#include "host/host_accounts.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/typewriter_list.h"
#include "screens/single_play_state.h"

namespace {

constexpr const char* kLatestTime = "IDC_STATIC_LASTESTCREARTIME";
constexpr const char* kBestTime = "IDC_STATIC_BESTCLEARTIME";
constexpr const char* kNeverPlayed = "Never played";

// The pilot's record of the mission named by a box caption's second
// '.'-separated token ("05.MISSION 05"); null without one.
SMissionAchievement* AchievementOf(const std::string& caption) {
  CMissionAccount* account = GetCurAccount();
  const size_t dot = caption.find('.');
  if (!account || dot == std::string::npos) return nullptr;
  const size_t end = caption.find('.', dot + 1);
  const std::string key = caption.substr(dot + 1, end == std::string::npos ? end : end - dot - 1);
  return account->GetMissionAchievement(key.c_str());
}

// Show or hide the box alone and make it hit-testable or not.
void ShowBox(CGUI_Window* box, bool show) {
  if (!box) return;
  box->Show(show, false);
  box->SetHitTest(show);
}

class CGUI_MissionBox : public CGUI_GamePushButton {
 public:
  bool OnCreate() override {
    if (!CGUI_GamePushButton::OnCreate()) return false;
    ClearStates();
    ShowBox(this, AchievementOf(caption_) != nullptr);
    QuietCaption();
    return true;
  }

  bool SetHitTest(bool hitTest) override {
    CaptionStatic()->SetHitTest(hitTest);
    CGUI_GamePushButton::SetHitTest(hitTest);
    QuietCaption();
    return true;
  }

  // The click: this box is held down (disabled), the one before released.
  bool OnLButtonUp() override {
    const uint32_t generation = TableGeneration();
    Choose();
    if (TableGeneration() != generation) return true;
    return CGUI_GamePushButton::OnLButtonUp();
  }

 private:
  // The caption neither takes the mouse nor passes it on.
  void QuietCaption() {
    CaptionStatic()->SetNotifyParent(false);
    CaptionStatic()->SetHitTest(false);
  }

  void Choose();
};

void CGUI_MissionBox::Choose() {
  SSinglePlayState& state = ModulePart<SSinglePlayState>();
  if (state.heldBox) state.heldBox->SetDisabled(false);
  SetDisabled(true);
  state.heldBox = this;

  CMissionAccount* account = GetCurAccount();
  SMissionAchievement* achievement = AchievementOf(caption_);
  if (!account || !achievement) return;
  const CMission* current = account->GetCurrentMission();
  if (current && std::strcmp(current->name, achievement->name) == 0) return;

  CGUI_TypewriterList* text = state.missionText;
  if (text) text->ResetContent();
  SetControlCaption(parent_, kLatestTime, "");
  SetControlCaption(parent_, kBestTime, "");
  const CMission* mission = MissionManager.FindMission(achievement->name);
  account->SetCurrentMission(mission);
  if (!mission) return;
  if (text) text->ShowTextFile(mission->desc);
  const bool played = achievement->count > 0;
  SetControlCaption(parent_, kLatestTime, played ? ClearTimeText(unsigned(achievement->latest)) : kNeverPlayed);
  SetControlCaption(parent_, kBestTime, played ? ClearTimeText(unsigned(achievement->best)) : kNeverPlayed);
}

// The mission's description list, which the mission map remembers in the
// single-player state; it forgets itself there when destroyed.
class CGUI_MissionText : public CGUI_TypewriterList {
 public:
  bool OnDestroy() override {
    if (ModulePart<SSinglePlayState>().missionText == this) ModulePart<SSinglePlayState>().missionText = nullptr;
    return CGUI_TypewriterList::OnDestroy();
  }
};

class CGUI_MissionMap : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    if (!CGUI_MenuDialog::OnCreate()) return false;
    SSinglePlayState& state = ModulePart<SSinglePlayState>();
    state.missionText = dynamic_cast<CGUI_TypewriterList*>(FindChild("IDC_LIST_SELECTMISSIONTEXT"));
    state.heldBox = nullptr;
    for (const char* mission : {"05", "06", "07"}) ResolveBranches(mission);
    CMissionAccount* account = GetCurAccount();
    SetControlCaption(this, "IDC_STATIC_SELECTMISSIONPILOTID", account ? account->GetName() : "");
    SetControlCaption(this, kLatestTime, "");
    SetControlCaption(this, kBestTime, "");
    return true;
  }

  bool OnDestroy() override {
    ModulePart<SSinglePlayState>().heldBox = nullptr;
    return CGUI_MenuDialog::OnDestroy();
  }

 private:
  // Of a mission's variants BOX11, BOX21, BOX12, BOX22 (bits 0 to 3) the
  // visible ones decide which show.
  void ResolveBranches(const char* mission) {
    CGUI_Window* box[4];
    int mask = 0;
    const char* variants[4] = {"11", "21", "12", "22"};
    for (int i = 0; i < 4; ++i) {
      const std::string id = std::string("IDC_BUTTON_MISSION") + mission + "BOX" + variants[i];
      box[i] = FindChild(id);
      if (box[i] && !box[i]->IsHidden()) mask |= 1 << i;
    }
    if (mask == 0) return;
    if (mask == 2 || mask == 3) {
      ShowBox(box[1], false);
      ShowBox(box[0], true);
    } else if (mask == 8 || mask == 12) {
      ShowBox(box[3], false);
      ShowBox(box[2], true);
    } else {
      ShowBox(box[0], false);
      ShowBox(box[1], true);
      ShowBox(box[2], false);
      ShowBox(box[3], true);
    }
  }
};

void ClickStart(CGUI_GamePushButton*) {
  CMissionAccount* account = GetCurAccount();
  if (!account || !account->GetCurrentMission()) return;
  account->Write();
  GUI_NextDialog("OBJECTIVE");
}

void ClickReplay(CGUI_GamePushButton*) {
  CMissionAccount* account = GetCurAccount();
  const CMission* mission = account ? account->GetCurrentMission() : nullptr;
  CGUI_TypewriterList* text = ModulePart<SSinglePlayState>().missionText;
  if (mission && text) text->ShowTextFile(mission->desc);
}

}  // namespace

void RegisterMissionMap(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_MissionMap>(r, "SELECTMISSIONMENU");
  RegisterIdClass<CGUI_BackActionFirstButton>(r, "IDC_BUTTON_SELECTMISSIONCANCEL");
  RegisterIdClass<TGUI_ClickButton<&ClickStart, kActionFirst>>(r, "IDC_BUTTON_SELECTMISSIONSTART");
  for (const char* id :
       {"IDC_BUTTON_MISSION00BOX", "IDC_BUTTON_MISSION01BOX", "IDC_BUTTON_MISSION02BOX",
        "IDC_BUTTON_MISSION03BOX", "IDC_BUTTON_MISSION04BOX", "IDC_BUTTON_MISSION05BOX11",
        "IDC_BUTTON_MISSION06BOX11", "IDC_BUTTON_MISSION07BOX11", "IDC_BUTTON_MISSION05BOX21",
        "IDC_BUTTON_MISSION06BOX21", "IDC_BUTTON_MISSION07BOX21", "IDC_BUTTON_MISSION05BOX12",
        "IDC_BUTTON_MISSION06BOX12", "IDC_BUTTON_MISSION07BOX12", "IDC_BUTTON_MISSION05BOX22",
        "IDC_BUTTON_MISSION06BOX22", "IDC_BUTTON_MISSION07BOX22", "IDC_BUTTON_MISSION08BOX",
        "IDC_BUTTON_MISSION09BOX", "IDC_BUTTON_MISSION10BOX", "IDC_BUTTON_MISSION11BOX",
        "IDC_BUTTON_MISSION12BOX"})
    RegisterIdClass<CGUI_MissionBox>(r, id);
  RegisterIdClass<TGUI_ClickButton<&ClickReplay, kActionFirst>>(r, "IDC_BUTTON_SELECTMISSIONREPLAY");
  RegisterIdClass<CGUI_MissionText>(r, "IDC_LIST_SELECTMISSIONTEXT");
}
