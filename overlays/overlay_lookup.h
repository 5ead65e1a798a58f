// overlay_lookup.h: finding the controls of the overlays: a control of a
// dialog (null when either is missing), cast to its class.
#pragma once
#include <cstdio>
#include <string>

#include "runtime/dialog.h"
#include "runtime/window_manager.h"

// The control `id` of `dialog` as a T, or null.
template <class T>
T* FindAs(CGUI_Window* dialog, const std::string& id) {
  auto* d = dynamic_cast<CGUI_Dialog*>(dialog);
  return d ? dynamic_cast<T*>(d->FindControl(id)) : nullptr;
}

// The control `id` of the open dialog `dialogId` as a T, or null.
template <class T>
T* FindOpenAs(const char* dialogId, const std::string& id) {
  return FindAs<T>(FindOpenDialog(dialogId), id);
}

// Decimal text (std::to_string would export a library template from the module).
inline std::string Decimal(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", n);
  return text;
}
