// module_start.cpp: GUI_Initialize, the game's side of start-up: the runtime
// (registry, standard classes, root window, colours), then the game's
// registration table, then the option records from the host's descriptors.
#include "korvogui/korvogui.h"
#include "korvogui/room.h"
#include "runtime/window_manager.h"
#include "startup/registration_list.h"

extern "C" KORVO_API void GUI_Initialize() {
  InitializeRuntime();
  RegisterMenuClasses();
  GUI_InitOptionInfo();
}
