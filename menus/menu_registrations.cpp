// menu_registrations.cpp: the game's registration table. Every registration
// replaces an earlier one under the same key; the order is the table's.
#include "menus/menu_registrations.h"

#include "menus/registration.h"
#include "runtime/dialog.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/game_pushbutton.h"
#include "runtime/game_slider.h"
#include "runtime/game_static.h"
#include "runtime/rotate_button.h"
#include "runtime/rotate_text_button.h"

void RegisterMenuClasses() {
  CGUI_ClassRegistry* r = GetClassRegistry();
  // Once per registry: the runtime registers no id-bound class, so a registry
  // holding some has had the table already (a repeated GUI_Initialize would
  // otherwise grow the registration log by the whole table each time).
  if (!r || !r->IdRegistrations().empty()) return;

  // ---- Class replacements: the game's look over the runtime's classes ----
  RegisterGameClass<CGUI_Dialog>(r);             // "DIALOG": the runtime dialog itself
  RegisterGameClass<CGUI_GameStatic>(r);         // "STATIC"
  RegisterGameClass<CGUI_GameBitmap>(r);         // "BITMAP"
  RegisterGameClass<CGUI_GameEdit>(r);           // "EDIT"
  RegisterGameClass<CGUI_GameList>(r);           // "LIST"
  RegisterGameClass<CGUI_GamePushButton>(r);     // "PUSHBUTTON"
  RegisterGameClass<CGUI_RotateButton>(r);       // "ROTATEBUTTON"
  RegisterGameClass<CGUI_RotateTextButton>(r);   // "ROTATETEXTBUTTON"
  RegisterGameClass<CGUI_GameSlider>(r);         // "SLIDER"

  // ---- Id-bound classes, screen by screen ----
  // One line a screen: the Register… function its file defines, declared and
  // called here, in the table's order.
#define SCREEN(Register)                     \
  do {                                       \
    void Register(CGUI_ClassRegistry*);       \
    Register(r);                             \
  } while (false)

  SCREEN(RegisterMessageBox);
  SCREEN(RegisterPlayChat);
  SCREEN(RegisterScriptConsole);
  SCREEN(RegisterMainMenu);
  SCREEN(RegisterMultiplaySelectMenu);
  SCREEN(RegisterServerMenu);
  SCREEN(RegisterCreateMenu);
  SCREEN(RegisterRoomMenu);
  SCREEN(RegisterInMatchMenus);
  SCREEN(RegisterSinglePlayEscape);
  SCREEN(RegisterExitQuestions);
  SCREEN(RegisterMissionStatistics);
  SCREEN(RegisterMissionFailed);
  SCREEN(RegisterMissionEnding);
  SCREEN(RegisterPlayInterface);
  SCREEN(RegisterScoreTab);
  SCREEN(RegisterDemoPlay);
  SCREEN(RegisterOptionMenu);
  SCREEN(RegisterOptionGraphic);
  SCREEN(RegisterOptionControls);
  SCREEN(RegisterOptionSound);
  SCREEN(RegisterOptionNetwork);
  SCREEN(RegisterOptionMacroMenu);
  SCREEN(RegisterBriefing);
  SCREEN(RegisterMissionMap);
  SCREEN(RegisterPilotChoice);
  SCREEN(RegisterNewPilot);
  SCREEN(RegisterLoginMenu);
  SCREEN(RegisterKorvoNetMenu);
  SCREEN(RegisterCreateChannel);
  SCREEN(RegisterNewIdMenu);
  SCREEN(RegisterChangePassMenu);
  SCREEN(RegisterJoinMenu);
  SCREEN(RegisterGallery);
#undef SCREEN
}
