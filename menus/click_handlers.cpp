// click_handlers.cpp: the click actions shared by the screens.
#include "menus/click_handlers.h"

#include "host/host_services.h"

void ClickBack(CGUI_GamePushButton*) { GUI_PrevDialog(1, true); }

void ClickResume(CGUI_GamePushButton*) { GUI_PrevDialog(1, false); }

void ClickCloseParent(CGUI_GamePushButton* button) {
  if (CGUI_Window* dialog = button->GetParent()) dialog->Destroy();
}

void ClickQuit(CGUI_GamePushButton*) { bHalt = 1; }
