// gui_api.cpp: the exported entry points: lifecycle, dialogs and the dialog
// stack, the frame, input, the last-error text and texture paths.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "korvogui/korvogui.h"
#include "korvogui/room.h"
#include "menus/menu_registrations.h"
#include "runtime/input_queue.h"
#include "runtime/module_state.h"
#include "runtime/routing.h"
#include "runtime/window_manager.h"

namespace {
char g_lastError[4096];
char g_texPath[1024];
std::list<CGUI_Window*> g_dialogStack;
CDialogTable* g_dialogTable = nullptr;

CGUI_Window* Top() { return g_dialogStack.empty() ? nullptr : g_dialogStack.back(); }
}  // namespace

CDialogTable*& DialogTable() { return g_dialogTable; }

void InstallDialogTable(CDialogTable* table) {
  if (g_dialogTable) ReleaseTable(g_dialogTable);
  g_dialogTable = table;
}

std::list<CGUI_Window*>& DialogStack() { return g_dialogStack; }

// ---- Lifecycle ------------------------------------------------------------------------

extern "C" KORVO_API void GUI_Initialize() {
  InitializeRuntime();
  RegisterMenuClasses();
  GUI_InitOptionInfo();
}

extern "C" KORVO_API void GUI_Release() {
  InstallDialogTable(nullptr);
  g_dialogStack.clear();
  ReleaseRuntime();
}

// ---- Dialogs --------------------------------------------------------------------------------

extern "C" KORVO_API bool GUI_CreateDialog(const char* name) {
  if (!name || !g_dialogTable) return false;
  CGUI_Window* dialog = FindDialog(g_dialogTable, name);
  if (!dialog) {
    GUI_ReportError("Error : %s", GetErrorText());
    return false;
  }
  if (dialog->IsCreated()) dialog->Destroy();
  return dialog->Create();
}

extern "C" KORVO_API bool GUI_DestroyDialog(const char* name) {
  if (!name) return false;
  CGUI_Window* dialog = FindOpenDialog(name);
  return dialog ? dialog->Destroy() : true;
}

extern "C" KORVO_API bool GUI_DestroyAllDialog() {
  DestroyAllDialogs();
  return true;
}

extern "C" KORVO_API bool GUI_IsDialogCreated(const char* name) {
  return name && FindOpenDialog(name) != nullptr;
}

extern "C" KORVO_API bool GUI_NextDialog(const char* name) {
  if (CGUI_Window* top = Top()) top->Destroy();
  if (!name) {
    g_dialogStack.push_back(nullptr);
    return true;
  }
  if (!GUI_CreateDialog(name)) return false;
  g_dialogStack.push_back(FindOpenDialog(name));
  return true;
}

extern "C" KORVO_API bool GUI_PrevDialog(int count, bool create) {
  if (!g_dialogStack.empty()) {
    CGUI_Window* top = g_dialogStack.back();
    g_dialogStack.pop_back();
    if (top) top->Destroy();
  }
  for (int i = 1; i < count && !g_dialogStack.empty(); ++i) g_dialogStack.pop_back();
  if (!create) return true;
  CGUI_Window* top = Top();
  return top ? top->Create() : true;
}

extern "C" KORVO_API bool GUI_PumpDialog() {
  while (CGUI_Window* top = Top()) {
    g_dialogStack.pop_back();
    top->Destroy();
  }
  return true;
}

// ---- Frame and input ------------------------------------------------------------------------

extern "C" KORVO_API void GUI_Update() {
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
          if (key == 9) TabNavigate();
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
  std::vsnprintf(g_lastError, sizeof g_lastError, format, args);
  va_end(args);
}

extern "C" KORVO_API char* GUI_GetLastError() { return g_lastError; }

extern "C" KORVO_API char* GUI_GetTexPath(const char* name) {
  std::snprintf(g_texPath, sizeof g_texPath, "menu/%s", name ? name : "");
  return g_texPath;
}
