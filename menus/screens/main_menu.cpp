// main_menu.cpp: the title screen (MAINMENU): version line, the intro movie
// after ten idle seconds in the game loop, and the five choices.
#include "host/host_services.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/single_play_state.h"

namespace {

constexpr uint32_t kIdleMovieDelay = 10000;   // ms without input before the intro movie

class CGUI_MainMenu : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    if (!CGUI_MenuDialog::OnCreate()) return false;
    if (CGUI_Window* version = FindChild("IDC_STATIC_VER")) version->SetCaption(KORVO_VERSION);
    idleSince_ = dwY3DCurrentFrameTick;
    return true;
  }

  bool OnUpdate() override {
    if (IsInGameLoop() && !bInputEvent) {
      if (idleSince_ + kIdleMovieDelay < dwY3DCurrentFrameTick) PlayIntroMovie();
    } else {
      idleSince_ = dwY3DCurrentFrameTick;
    }
    return true;
  }

 private:
  uint32_t idleSince_ = 0;
};

void ClickCredits(CGUI_GamePushButton*) { ExecuteCommand("s_exe data/script/ending/credit.txt"); }

using CGUI_MultiplayButton = TGUI_FreshButton<TGUI_GoToButton<"MULTIPLAYSELECTMENU", kBaseFirst>>;

}  // namespace

void RegisterMainMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_MainMenu>(r, "MAINMENU");
  RegisterIdClass<TGUI_GoToButton<"SELECTIDMENU", kBaseFirst>>(r, "IDC_BUTTON_MAINSINGLEPLAY");
  RegisterIdClass<CGUI_MultiplayButton>(r, "IDC_BUTTON_MAINMULTIPALY");
  RegisterIdClass<TGUI_ClickButton<&ClickCredits, kBaseFirst>>(r, "IDC_BUTTON_MAINVISIT");
  RegisterIdClass<TGUI_GoToButton<"OPTIONMENU", kBaseFirst>>(r, "IDC_BUTTON_MAINOPTION");
  RegisterIdClass<CGUI_QuitButton>(r, "IDC_BUTTON_MAINEXIT");
}
