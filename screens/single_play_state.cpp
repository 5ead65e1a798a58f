// single_play_state.cpp: the single-player screens' shared state and helpers.
#include "screens/single_play_state.h"

#include <cstdio>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "korvogui/room.h"

std::string ClearTimeText(unsigned int seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%2u:%2u:%2u", seconds / 3600, seconds / 60 % 60, seconds % 60);
  for (char* p = text; *p; ++p)
    if (*p == ' ') *p = '0';
  return text;
}

std::string OptionPartName(int value) {
  if (value < 0) return "NONE";
  if (value == 0) return "RANDOM";
  const SGUI_OptionInfo* part = GUI_GetOptionInfo(value - 1);
  const char* name = part ? OPT_GetNameByID(part->left) : nullptr;
  return name ? name : "";
}

void ShowMessageText(int n, unsigned long flags, MessageBoxCallback callback) {
  char text[256] = {};
  if (Res_LoadString(n, text, sizeof text) <= 0) return;
  text[sizeof text - 1] = '\0';
  GUI_MessageBox(text, nullptr, flags, callback);
}
