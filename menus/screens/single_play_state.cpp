// single_play_state.cpp: the single-player screens' shared state and helpers.
#include "menus/screens/single_play_state.h"

#include <cstdio>
#include <cstring>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "korvogui/room.h"
#include "runtime/window.h"

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

void SetControlCaption(CGUI_Window* dialog, const char* id, const std::string& caption) {
  if (!dialog) return;
  if (CGUI_Window* control = dialog->FindChild(id)) control->SetCaption(caption);
}

bool ReadLines(const char* path, std::vector<std::string>& lines) {
  void* image = nullptr;
  uint32_t size = 0;
  if (!path || !GetFileImageInCFS(path, &image, &size)) return false;
  std::vector<char> copy(size + 1, '\0');
  if (image && size) std::memcpy(copy.data(), image, size);
  ReleaseFileImage(image);
  const std::string text = copy.data();
  // A line break ends a line: nothing after the last one is no further line.
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return true;
}
