// option_menu.cpp: the options hub (OPTIONMENU): one button per page; a page
// that edits an option group opens with the group's saved values.
#include "host/host_options.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"

namespace {

void OpenGraphics(CGUI_GamePushButton*) {
  ReadOptionGraphics();
  GUI_NextDialog("OPTIONGRAPHIC");
}

void OpenSound(CGUI_GamePushButton*) {
  ReadOptionSound();
  GUI_NextDialog("OPTIONSOUND");
}

void OpenNetwork(CGUI_GamePushButton*) {
  ReadOptionNetwork();
  GUI_NextDialog("OPTIONNETWORK");
}

void OpenMacros(CGUI_GamePushButton*) {
  ReadOptionMacro();
  GUI_NextDialog("OPTIONMACROMENU");
}

}  // namespace

// ---- Registrations ------------------------------------------------------------------------

void RegisterOptionMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "OPTIONMENU");
  RegisterIdClass<TGUI_ClickButton<&OpenGraphics, kBaseFirst>>(r, "IDC_BUTTON_OPTIONMENUGRAPHIC");
  // The controls page reads the bindings itself when it opens.
  RegisterIdClass<TGUI_GoToButton<"OPTIONCONTROLS", kBaseFirst>>(r, "IDC_BUTTON_OPTIONMENUCONTROLS");
  RegisterIdClass<TGUI_ClickButton<&OpenSound, kBaseFirst>>(r, "IDC_BUTTON_OPTIONMENUSOUND");
  RegisterIdClass<TGUI_ClickButton<&OpenNetwork, kBaseFirst>>(r, "IDC_BUTTON_OPTIONMENUNETWORK");
  RegisterIdClass<TGUI_ClickButton<&OpenMacros, kBaseFirst>>(r, "IDC_BUTTON_OPTIONMENUMACRO");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_OPTIONMENUBACK");
}
