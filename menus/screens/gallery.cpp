// gallery.cpp: the control gallery (GALLERY), the UI authors' sample of every
// control kind. Its BACK returns to the screen below it, or to the main menu
// when the gallery was the first screen opened.
#include "korvogui/korvogui.h"
#include "menus/click_handlers.h"
#include "menus/registration.h"
#include "runtime/module_state.h"

namespace {

void ClickGalleryBack(CGUI_GamePushButton*) {
  if (DialogStack().size() > 1) {
    GUI_PrevDialog(1, true);
  } else {
    GUI_PrevDialog(1, false);   // the gallery leaves the stack; the main menu takes its place
    GUI_NextDialog("MAINMENU");
  }
}

}  // namespace

void RegisterGallery(CGUI_ClassRegistry* r) {
  RegisterIdClass<TGUI_ClickButton<&ClickGalleryBack, kBaseFirst>>(r, "IDC_BUTTON_GALLERYBACK");
}
