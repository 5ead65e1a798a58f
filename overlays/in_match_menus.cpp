// in_match_menus.cpp: the loading scenes GAMELOADING and MISSIONLOADING, the
// in-match escape menu MULTIPLAYESC and its leave and exit questions, and the
// loading-scene exports.
#include <algorithm>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/overlays.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/mission_summary.h"
#include "menus/registration.h"
#include "overlays/gauge_bitmap.h"
#include "overlays/overlay_registrations.h"

namespace {

// One picture per playable character, in the order of the host's character ids.
constexpr const char* kLoadingPictures[8] = {
    "loading_char1.tga", "loading_char2.tga", "loading_char3.tga", "loading_char4.tga",
    "loading_char5.tga", "loading_char6.tga", "loading_char7.tga", "loading_char8.tga",
};

class CGUI_GameLoading : public CGUI_Dialog {
 public:
  bool OnCreate() override {
    if (!CGUI_Dialog::OnCreate()) return false;
    if (auto* picture = dynamic_cast<CGUI_GameBitmap*>(FindControl("IDC_BITMAP_LOADINGIMAGECHAR"))) {
      const SClientInfo* own = CC_Manager::GetClientInfo(my_client);
      const int character = own ? own->character & 0x7F : 0;
      const int index = std::clamp(GetCharacterID(character) - 1, 0, 7);
      picture->SetTexture(kLoadingPictures[index]);
    }
    gauge_ = dynamic_cast<CGUI_GaugeBitmap*>(FindControl("IDC_BITMAP_LOADINGAUGE"));
    if (gauge_) {
      gauge_->SetOrientation(1);
      gauge_->SetFill(0.0f);
      gauge_->SetBarColor(0xFF969696);
    }
    return true;
  }
  bool OnUpdate() override {
    const int total = NET_GetTotalNumLoaders();
    if (gauge_ && total >= 1)
      gauge_->SetFill(float(total - NET_GetNumLoaders() + 1) / float(total));
    return CGUI_Dialog::OnUpdate();
  }

 private:
  CGUI_GaugeBitmap* gauge_ = nullptr;
};

using CGUI_MissionLoading = TGUI_MissionSummary<CGUI_Dialog, "IDC_STATIC_MISSIONLOADING">;

void ClickLeaveYes(CGUI_GamePushButton*) {
  if (NET_bInitialized) {
    NET_Release();
    return;
  }
  ReleaseScene();
  GUI_NextDialog("MAINMENU");
}

void ClickExitYes(CGUI_GamePushButton*) { bHalt = 1; }

void ClickBackOver(CGUI_GamePushButton*) { GUI_PrevDialog(1, true); }

}  // namespace

void RegisterInMatchMenus(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_GameLoading>(r, "GAMELOADING");
  RegisterIdClass<CGUI_MissionLoading>(r, "MISSIONLOADING");
  RegisterIdClass<CGUI_GaugeBitmap>(r, "IDC_BITMAP_LOADINGAUGE");
  // The escape menu's buttons are the mission escape menu's: action first.
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "MULTIPLAYESC");
  RegisterIdClass<TGUI_GoToButton<"OPTIONMENU">>(r, "IDC_BUTTON_MPESCOPTION");
  RegisterIdClass<CGUI_ResumeButton>(r, "IDC_BUTTON_MPESCRESUME");
  RegisterIdClass<TGUI_GoToButton<"LEAVEGAME">>(r, "IDC_BUTTON_MPESCLEAVE");
  RegisterIdClass<TGUI_GoToButton<"EXITGAME">>(r, "IDC_BUTTON_MPESCEXIT");
  RegisterExitQuestions(r);
}

void RegisterExitQuestions(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "EXITGAME");
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "LEAVEGAME");
  RegisterIdClass<TGUI_ClickButton<&ClickExitYes, kBaseFirst>>(r, "IDC_BUTTON_EXITGAMEYES");
  RegisterIdClass<TGUI_ClickButton<&ClickBackOver, kBaseFirst>>(r, "IDC_BUTTON_EXITGAMENO");
  RegisterIdClass<TGUI_ClickButton<&ClickLeaveYes, kBaseFirst>>(r, "IDC_BUTTON_LEAVEGAMEYES");
  RegisterIdClass<TGUI_ClickButton<&ClickBackOver, kBaseFirst>>(r, "IDC_BUTTON_LEAVEGAMENO");
}

// ---- Loading scene exports -----------------------------------------------------------------

extern "C" KORVO_API void GUI_InitLoadingScene() {
  GUI_CreateDialog("GAMELOADING");
  bY3DFrameSkip = 0;
}

extern "C" KORVO_API void GUI_ReleaseLoadingScene() {
  GUI_DestroyDialog("GAMELOADING");
  bY3DFrameSkip = 1;
}

extern "C" KORVO_API bool GUI_IsLoadingSceneAlive() { return GUI_IsDialogCreated("GAMELOADING"); }
