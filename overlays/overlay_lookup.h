// overlay_lookup.h: finding the controls of the overlays: a control of a
// dialog (null when either is missing), cast to its class.
#pragma once
#include <charconv>
#include <cstring>
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

// Writes n in decimal ("%d") at `at`, at least `digits` digits (zeros in
// front of a non-negative n); gives the end. The HUD writes its numbers every
// frame, and the formatter costs many times the conversion. `at` has room for
// 11 characters.
inline char* WriteDecimal(char* at, int n, int digits = 1) {
  char* end = std::to_chars(at, at + 11, n).ptr;
  if (n >= 0 && end - at < digits) {
    const int pad = digits - int(end - at);
    std::memmove(at + pad, at, size_t(end - at));
    std::memset(at, '0', size_t(pad));
    end += pad;
  }
  return end;
}

// Decimal text (std::to_string would export a library template from the module).
inline std::string Decimal(int n) {
  char text[16];
  return std::string(text, WriteDecimal(text, n));
}
