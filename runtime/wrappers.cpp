// wrappers.cpp: the exported window and edit handle classes.
#include "korvogui/wrappers.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "runtime/edit.h"
#include "runtime/game_edit.h"
#include "runtime/window.h"

namespace {
CGUI_Window* AsWindow(void* handle) { return static_cast<CGUI_Window*>(handle); }
CGUI_Edit* AsEdit(void* handle) { return handle ? dynamic_cast<CGUI_Edit*>(AsWindow(handle)) : nullptr; }
}  // namespace

// ---- Window ------------------------------------------------------------------------------

CGUI_Wrapper_Window::CGUI_Wrapper_Window(void* handle) : handle_(handle) {}
CGUI_Wrapper_Window::CGUI_Wrapper_Window(const CGUI_Wrapper_Window& other) : handle_(other.handle_) {}

CGUI_Wrapper_Window& CGUI_Wrapper_Window::operator=(const CGUI_Wrapper_Window& other) {
  handle_ = other.handle_;
  return *this;
}

CGUI_Wrapper_Window::~CGUI_Wrapper_Window() { handle_ = nullptr; }

bool CGUI_Wrapper_Window::GetCaption(char* buffer, int size) {
  CGUI_Window* w = AsWindow(handle_);
  if (!w || !buffer) return false;
  std::string caption;
  w->GetCaption(caption);
  const size_t n = std::min(size_t(std::max(size, 0)), caption.size());
  std::memcpy(buffer, caption.data(), n);
  return true;
}

bool CGUI_Wrapper_Window::SetCaption(char* text) {
  CGUI_Window* w = AsWindow(handle_);
  if (!w) return false;
  return w->SetCaption(text ? text : "");
}

bool CGUI_Wrapper_Window::IsEditable() {
  CGUI_Window* w = AsWindow(handle_);
  return w && w->ClassName() == "EDIT";
}

// ---- Edit ----------------------------------------------------------------------------------

CGUI_Wrapper_Edit::CGUI_Wrapper_Edit(void* handle) : CGUI_Wrapper_Window(handle) {}
CGUI_Wrapper_Edit::CGUI_Wrapper_Edit(const CGUI_Wrapper_Edit& other) : CGUI_Wrapper_Window(other) {}

CGUI_Wrapper_Edit& CGUI_Wrapper_Edit::operator=(const CGUI_Wrapper_Edit& other) {
  CGUI_Wrapper_Window::operator=(other);
  return *this;
}

CGUI_Wrapper_Edit::~CGUI_Wrapper_Edit() = default;

bool CGUI_Wrapper_Edit::IsCompositionAvailable() {
  auto* edit = handle_ ? dynamic_cast<CGUI_GameEdit*>(AsWindow(handle_)) : nullptr;
  return edit && edit->GetTextStatic()->FontType() == Y3DFONT_SYSTEM;
}

bool CGUI_Wrapper_Edit::SetCursor(int pos) {
  CGUI_Edit* edit = AsEdit(handle_);
  return edit && edit->SetCursor(pos);
}

int CGUI_Wrapper_Edit::GetCursor() {
  CGUI_Edit* edit = AsEdit(handle_);
  return edit ? edit->GetCursor() : 0;
}

int CGUI_Wrapper_Edit::GetMaxNumChar() {
  CGUI_Edit* edit = AsEdit(handle_);
  if (!edit) return 0;
  const int n = edit->GetMaxNumChar();
  return n <= 1024 ? n : 0;
}
