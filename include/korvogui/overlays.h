// overlays.h: the in-game overlays as the host calls them: timed event
// messages, the clock, item, play-mark and radar states, the chat and the
// loading scene.
#pragma once
#include <cstdint>

#include "korvogui/export.h"

struct COH_Item;

extern "C" {

// ---- Play interface ------------------------------------------------------------------------
// Message lines 1-3 of PLAYINTERFACE, 4 of PLAYCHAT, 5 of MULTIPLAYGAMEOVER;
// a non-empty text plays sound 63001-63005.
KORVO_API void GUI_EventMessage1(char* text, uint32_t durationMs, uint32_t argb);
KORVO_API void GUI_EventMessage2(char* text, uint32_t durationMs, uint32_t argb);
KORVO_API void GUI_EventMessage3(char* text, uint32_t durationMs, uint32_t argb);
KORVO_API void GUI_EventMessage4(char* text, uint32_t durationMs, uint32_t argb);
KORVO_API void GUI_EventMessage5(char* text, uint32_t durationMs, uint32_t argb);
// Mode 1 "TIME UNLIMITED", 2 "TIME OVER", 3 the clock of `seconds`.
KORVO_API void GUI_TimerMessage(int mode, int seconds);
// what 1 show/hide, 2 fill (float bits, 1 - f), 3 bar colour.
KORVO_API void GUI_SetItemState(COH_Item* item, uint32_t what, uintptr_t value);
KORVO_API void GUI_SetPlayMark(char* texture, uint32_t argb);
// what 1 jammed, 2 range (float bits x 400), 3 hide / 4 show a CHARACTER*.
KORVO_API void GUI_SetRadarState(uint32_t what, uintptr_t value);

// ---- Chat and loading scene ----------------------------------------------------------------
KORVO_API void GUI_EnterChatMode();
KORVO_API void GUI_LeaveChatMode();
KORVO_API void GUI_ChatMessage(uint32_t argb, char* name, char* text);
KORVO_API void GUI_InitLoadingScene();
KORVO_API void GUI_ReleaseLoadingScene();
KORVO_API bool GUI_IsLoadingSceneAlive();

}  // extern "C"
