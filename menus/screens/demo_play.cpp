// demo_play.cpp: the demo scenes (DEMOPLAY). Each button loads a fixed scene
// and leaves the menus; the fifth opens the local game setup.
#include <cstdio>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "host/netkorvo.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"

namespace {

// The scenes' maps and characters.
constexpr const char* kArenaMap = "demo_arena.gnd";
constexpr const char* kCanyonMap = "demo_canyon.gnd";
constexpr const char* kCityMap = "demo_city.gnd";
constexpr const char* kMissionMap = "mission01.gnd";
constexpr int kDemoCharacter = 1;
constexpr int kPlayerCharacter = 5;
constexpr float kComputerSpacing = 50.0f;

// Closes the menu on top; no dialog has the empty id, so nothing opens.
void LeaveMenus() { GUI_NextDialog(""); }

void ClickDemo1(CGUI_GamePushButton*) {
  CLoadGround(kArenaMap);
  bSceneActive = 1;
  ChangeControlCharacter(nullptr);
  SetCamera(0, 50, -50, GetY3DDegree(-30));
  for (int i = 1; i <= 2; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "com%d", i);
    if (CHARACTER* com = CLoadCharacter(kDemoCharacter + i - 1, name, 0))
      com->x += kComputerSpacing * float(i - 1);
    char line[64];
    std::snprintf(line, sizeof line, "ai %s demo1", name);
    ExecuteCommand(line);
  }
  LeaveMenus();
}

void ClickDemo2(CGUI_GamePushButton*) {
  CLoadGround(kCanyonMap);
  CLoadCharacter(kDemoCharacter, "com", 1);
  ExecuteCommand("ai com demo2");
  ExecuteCommand("ig com 1");
  LeaveMenus();
}

void ClickDemo3(CGUI_GamePushButton*) {
  CLoadGround(kCityMap);
  ChangeControlCharacter(nullptr);
  SetCamera(0, 100, -100, GetY3DDegree(-45));
  LeaveMenus();
}

void ClickDemo4(CGUI_GamePushButton*) {
  CLoadGround(kMissionMap);
  ChangeControlCharacter(CLoadCharacter(kPlayerCharacter, "player", 0));
  LeaveMenus();
}

void ClickDemo5(CGUI_GamePushButton*) {
  NET_bLocalGame = 1;
  GUI_NextDialog("CREATEMENU");
}

}  // namespace

void RegisterDemoPlay(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_MenuDialog>(r, "DEMOPLAY");
  RegisterIdClass<TGUI_ClickButton<&ClickDemo1, kActionFirst>>(r, "IDC_BUTTON_DEMO1");
  RegisterIdClass<TGUI_ClickButton<&ClickDemo2, kActionFirst>>(r, "IDC_BUTTON_DEMO2");
  RegisterIdClass<TGUI_ClickButton<&ClickDemo3, kActionFirst>>(r, "IDC_BUTTON_DEMO3");
  RegisterIdClass<TGUI_ClickButton<&ClickDemo4, kActionFirst>>(r, "IDC_BUTTON_DEMO4");
  RegisterIdClass<TGUI_ClickButton<&ClickDemo5, kActionFirst>>(r, "IDC_BUTTON_DEMO5");
  RegisterIdClass<CGUI_BackActionFirstButton>(r, "IDC_BUTTON_DEMOBACK");
}
