// gui_api.cpp: the exported entry points: lifecycle, dialogs and the dialog
// stack, the frame, input, the last-error text and texture paths.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "korvogui/korvogui.h"
#include "runtime/input_queue.h"
#include "runtime/key_codes.h"
#include "runtime/module_state.h"
#include "runtime/routing.h"
#include "runtime/window_manager.h"

namespace {
CGUI_Window* Top() {
  const std::list<CGUI_Window*>& stack = DialogStack();
  return stack.empty() ? nullptr : stack.back();
}
}  // namespace

// ---- Lifecycle ------------------------------------------------------------------------
// GUI_Initialize belongs to the game's side (menus/), which runs the runtime's
// initialisation and then its own registrations.

// Ends the module state: the next GUI_Initialize starts from a fresh one.
extern "C" KORVO_API void GUI_Release() { ReleaseModuleState(); }

// ---- Dialogs --------------------------------------------------------------------------------

extern "C" KORVO_API bool GUI_CreateDialog(const char* name) {
  if (!name || !DialogTable()) return false;
  SModuleCall call;
  CGUI_Window* dialog = FindDialog(DialogTable(), name);
  if (!dialog) {
    GUI_ReportError("Error : %s", GetErrorText());
    return false;
  }
  if (dialog->IsCreated()) dialog->Destroy();
  return dialog->Create();
}

extern "C" KORVO_API bool GUI_DestroyDialog(const char* name) {
  if (!name) return false;
  SModuleCall call;
  CGUI_Window* dialog = FindOpenDialog(name);
  return dialog ? dialog->Destroy() : true;
}

extern "C" KORVO_API bool GUI_DestroyAllDialog() {
  SModuleCall call;
  DestroyAllDialogs();
  return true;
}

extern "C" KORVO_API bool GUI_IsDialogCreated(const char* name) {
  return name && FindOpenDialog(name) != nullptr;
}

extern "C" KORVO_API bool GUI_NextDialog(const char* name) {
  SModuleCall call;
  if (CGUI_Window* top = Top()) top->Destroy();
  if (!name) {
    DialogStack().push_back(nullptr);
    return true;
  }
  if (!GUI_CreateDialog(name)) return false;
  // A creation handler may have released the table; push only a live dialog.
  if (CGUI_Window* dialog = FindOpenDialog(name)) DialogStack().push_back(dialog);
  return true;
}

extern "C" KORVO_API bool GUI_PrevDialog(int count, bool create) {
  SModuleCall call;
  std::list<CGUI_Window*>& stack = DialogStack();
  if (!stack.empty()) {
    CGUI_Window* top = stack.back();
    stack.pop_back();
    if (top) top->Destroy();
  }
  for (int i = 1; i < count && !stack.empty(); ++i) stack.pop_back();
  if (!create) return true;
  CGUI_Window* top = Top();
  return top ? top->Create() : true;
}

extern "C" KORVO_API bool GUI_PumpDialog() {
  SModuleCall call;
  while (CGUI_Window* top = Top()) {
    DialogStack().pop_back();
    top->Destroy();
  }
  return true;
}

// ---- Frame and input ------------------------------------------------------------------------

extern "C" KORVO_API void GUI_Update() {
  SModuleCall call;
  CGUI_InputQueue& queue = InputQueue();
  SGUI_Routing& routing = Routing();
  uint32_t word;
  while (queue.Take(word)) {
    switch (word & 0xFFFF) {
      case GUI_EVENT_COMPOSITION:
        if (routing.focus)
          routing.focus->OnCompositionChar(char(word >> 24), char((word >> 16) & 0xFF));
        break;
      case GUI_EVENT_KEYDOWN:
        if (routing.focus) {
          const int key = int(word >> 16);
          if (key == VK_TAB) TabNavigate();
          else routing.focus->OnKeyDown(key);
        }
        break;
      case GUI_EVENT_CHAR:
        if (routing.focus) routing.focus->OnChar(char((word >> 16) & 0xFF));
        break;
      case GUI_EVENT_MOUSEBUTTON:
        if (word & 0x10000) {
          if (CGUI_Window* hover = routing.hover) {
            SetFocusWindow(hover);
            // The focus change may have destroyed the hover window's dialog.
            if (routing.hover) routing.hover->OnLButtonDown();
          }
        } else if (word & 0x20000) {
          if (routing.hover) routing.hover->OnLButtonUp();
        }
        break;
      default:
        break;
    }
  }
  UpdateTree(GetRootWindow());
}

extern "C" KORVO_API void GUI_Draw() {
  SModuleCall call;
  CGUI_Window* root = GetRootWindow();
  bool anyExclusive = false;
  const auto& open = root->Children();
  for (size_t i = 0; i < open.size(); ++i) {
    if (!open[i]->IsExclusive()) continue;
    anyExclusive = true;
    if (!DrawWindowTree(open[i])) return;
  }
  if (!anyExclusive) DrawWindowTree(root);
}

extern "C" KORVO_API void GUI_MouseMove(float x, float y) {
  SModuleCall call;
  const float pt[2] = {x, y};
  UpdateHover(GetRootWindow(), pt);
}

extern "C" KORVO_API void GUI_LButtonDown() { InputQueue().Append(kLButtonDownWord); }
extern "C" KORVO_API void GUI_LButtonUp() { InputQueue().Append(kLButtonUpWord); }
extern "C" KORVO_API void GUI_KeyDown(int key) { InputQueue().Append(MakeKeyWord(key)); }
extern "C" KORVO_API void GUI_Char(char ch) { InputQueue().Append(MakeCharWord(ch)); }
extern "C" KORVO_API void GUI_CompositionChar(char lead, char trail) {
  InputQueue().Append(MakeCompositionWord(lead, trail));
}
extern "C" KORVO_API void GUI_FlushInput() { InputQueue().Flush(); }
extern "C" KORVO_API void* GUI_GetFocusWindow() { return Routing().focus; }

// ---- Errors and texture paths --------------------------------------------------------------------

extern "C" KORVO_API void GUI_ReportError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char (&buffer)[4096] = ModuleState().lastError;
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
}

extern "C" KORVO_API char* GUI_GetLastError() { return ModuleState().lastError; }

// "menu/%s" by hand: every bitmap's creation asks for its path, and the
// formatter costs more than the copy. A name too long is cut as the formatter
// would cut it.
extern "C" KORVO_API char* GUI_GetTexPath(const char* name) {
  char (&buffer)[1024] = ModuleState().texPath;
  static constexpr char kFolder[] = "menu/";
  constexpr size_t kFolderLength = sizeof kFolder - 1;
  const size_t length = name ? ::strnlen(name, sizeof buffer - 1 - kFolderLength) : 0;
  std::memcpy(buffer, kFolder, kFolderLength);
  if (length) std::memcpy(buffer + kFolderLength, name, length);
  buffer[kFolderLength + length] = '\0';
  return buffer;
}
