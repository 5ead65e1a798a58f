// hud_controls.h: the readouts of the heads-up display (heat, armor, shield,
// weapon, option parts, radar, frags, clock) as the play interface and the
// exports reach them.
#pragma once
#include <cstdint>

class CGUI_ClassRegistry;
class CGUI_GameStatic;
class CGUI_Radar;
class CGUI_Window;
struct COPT_Option;

// Binds an option part to the option name `nameId` and icon `iconId` of `dialog`.
void BindOption(CGUI_Window* dialog, const char* nameId, const char* iconId, COPT_Option* option);
// The clock of GUI_TimerMessage on `clock`: mode 1, 2 or 3 with `seconds`.
void ShowClock(CGUI_GameStatic* clock, int mode, int seconds);
// GUI_SetRadarState on the live radar; `f` is value's low 32 bits as a float.
void SetRadarState(CGUI_Radar* radar, uint32_t what, uintptr_t value, float f);
// The HUD controls' registrations, in the table's order.
void RegisterHudControls(CGUI_ClassRegistry* r);
