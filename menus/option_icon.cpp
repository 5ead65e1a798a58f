// option_icon.cpp: option part icons on bitmaps.
#include "menus/option_icon.h"

#include <cstring>
#include <string>

#include "korvogui/room.h"
#include "runtime/game_bitmap.h"

void SetOptionIconTexture(CGUI_GameBitmap* bitmap, int optionId) {
  if (!bitmap) return;
  if (optionId < 0) {
    bitmap->SetTexture(nullptr);
  } else if (optionId == 0) {
    bitmap->SetTexture("icon_random_s.tga");
  } else {
    const SGUI_OptionInfo* option = GUI_GetOptionInfo(optionId - 1);
    const std::string icon =
        option ? std::string(option->icon, strnlen(option->icon, sizeof option->icon)) : "";
    bitmap->SetTexture(icon.c_str());
  }
}
