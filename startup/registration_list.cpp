// registration_list.cpp: the game's registration table, the one place that
// sees both the screens and the overlays. Every registration replaces an
// earlier one under the same key; the order is the table's.
#include "startup/registration_list.h"

#include "menus/registration.h"
#include "overlays/overlay_registrations.h"
#include "runtime/dialog.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/game_pushbutton.h"
#include "runtime/game_slider.h"
#include "runtime/game_static.h"
#include "runtime/rotate_button.h"
#include "runtime/rotate_text_button.h"

// The room screen's player-name static of a slot under another id
// (room_menu.cpp); the score table's first name row is one.
void RegisterRoomPlayerName(CGUI_ClassRegistry* r, const char* id, int slot);

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
  RegisterScoreTab(r, &RegisterRoomPlayerName);   // the overlay gets the screen's name row here
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
