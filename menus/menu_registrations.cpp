// menu_registrations.cpp: the game's registration table, one registration per
// line, in registration order. Every registration replaces an earlier one
// under the same key.
#include "menus/menu_registrations.h"

#include "menus/click_handlers.h"
#include "menus/message_box.h"
#include "menus/script_console.h"
#include "runtime/dialog.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/game_pushbutton.h"
#include "runtime/game_slider.h"
#include "runtime/game_static.h"
#include "runtime/registry.h"
#include "runtime/rotate_button.h"
#include "runtime/rotate_text_button.h"

namespace {
template <class T>
void Class(CGUI_ClassRegistry* r) { r->RegisterClass(new TGUI_WindowFactory<T>, true); }
// T where a template declares T's script class with this id.
template <class T>
void Id(CGUI_ClassRegistry* r, const char* id) { r->RegisterId(new TGUI_WindowFactory<T>(id), true); }
}  // namespace

void RegisterMenuClasses() {
  CGUI_ClassRegistry* r = GetClassRegistry();
  if (!r) return;

  // ---- Class replacements: the game's look over the runtime's classes ----
  Class<CGUI_Dialog>(r);             // "DIALOG": the runtime dialog itself
  Class<CGUI_GameStatic>(r);         // "STATIC"
  Class<CGUI_GameBitmap>(r);         // "BITMAP"
  Class<CGUI_GameEdit>(r);           // "EDIT"
  Class<CGUI_GameList>(r);           // "LIST"
  Class<CGUI_GamePushButton>(r);     // "PUSHBUTTON"
  Class<CGUI_RotateButton>(r);       // "ROTATEBUTTON"
  Class<CGUI_RotateTextButton>(r);   // "ROTATETEXTBUTTON"
  Class<CGUI_GameSlider>(r);         // "SLIDER"

  // ---- Message box -------------------------------------------------------------------
  Id<CGUI_MessageBox>(r, "MBOX_OK");
  Id<CGUI_MessageBox>(r, "MESSAGEBOX2");
  Id<CGUI_MessageList>(r, "IDC_LIST_MESSAGE1");
  Id<CGUI_MessageList>(r, "IDC_LIST_MESSAGE2");
  Id<CGUI_MessageOkButton>(r, "IDC_BUTTON_MESSAGEOK");
  Id<CGUI_MessageYesButton>(r, "IDC_BUTTON_MESSAGEYES");
  Id<CGUI_MessageNoButton>(r, "IDC_BUTTON_MESSAGENO");

  // ---- Script console ------------------------------------------------------------------
  Id<CGUI_ScriptConsole>(r, "SCRIPTCONSOLE");
  Id<CGUI_CloseParentButton>(r, "IDC_BUTTON_CLOSE");
  Id<CGUI_ConsoleEdit>(r, "IDC_EDIT_COMMAND");
}
