// dialog_text.cpp: file lines and control captions for the screens.
#include "menus/dialog_text.h"

#include <cstdint>
#include <cstring>

#include "host/host_services.h"
#include "runtime/window.h"

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
