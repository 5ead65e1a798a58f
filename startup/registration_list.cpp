// registration_list.cpp: the game's registration table, the one place that
// sees both the screens and the overlays. Every registration replaces an
// earlier one under the same key; the order is the table's.
#include "startup/registration_list.h"

#include "menus/menu_registrations.h"
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
#include "screens/screen_registrations.h"

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
  RegisterMessageBox(r);
  RegisterPlayChat(r);
  RegisterScriptConsole(r);
  RegisterMainMenu(r);
  RegisterMultiplaySelectMenu(r);
  RegisterServerMenu(r);
  RegisterCreateMenu(r);
  RegisterRoomMenu(r);
  RegisterInMatchMenus(r);
  RegisterSinglePlayEscape(r);
  RegisterExitQuestions(r);
  RegisterMissionStatistics(r);
  RegisterMissionFailed(r);
  RegisterMissionEnding(r);
  RegisterPlayInterface(r);
  RegisterScoreTab(r, &RegisterRoomPlayerName);
  RegisterDemoPlay(r);
  RegisterOptionMenu(r);
  RegisterOptionGraphic(r);
  RegisterOptionControls(r);
  RegisterOptionSound(r);
  RegisterOptionNetwork(r);
  RegisterOptionMacroMenu(r);
  RegisterBriefing(r);
  RegisterMissionMap(r);
  RegisterPilotChoice(r);
  RegisterNewPilot(r);
  RegisterLoginMenu(r);
  RegisterKorvoNetMenu(r);
  RegisterCreateChannel(r);
  RegisterNewIdMenu(r);
  RegisterChangePassMenu(r);
  RegisterJoinMenu(r);
  RegisterGallery(r);
}
