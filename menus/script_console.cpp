// script_console.cpp: GUI_ShowScriptPanel, GUI_ScriptMessage, LogMessage,
// the console dialog and its command line.
#include "menus/script_console.h"

#include <strings.h>

#include <cstdarg>
#include <cstdio>

#include "host/host_services.h"
#include "host/yprofile.h"
#include "korvogui/console.h"
#include "korvogui/korvogui.h"
#include "menus/click_handlers.h"
#include "menus/menu_state.h"
#include "menus/registration.h"
#include "runtime/key_codes.h"
#include "runtime/list.h"
#include "runtime/routing.h"
#include "runtime/window_manager.h"

namespace {

constexpr char kBackquote = '`';

// Formatted texts, and the numbered lines, are cut to 1023 bytes.
constexpr size_t kMaxLine = 1023;

}  // namespace

// ---- Exported functions ---------------------------------------------------------------------

extern "C" KORVO_API void GUI_ShowScriptPanel(bool show) {
  SModuleCall call;
  CGUI_Window* console = FindOpenDialog("SCRIPTCONSOLE");
  if (!show) {
    if (console) console->Destroy();
    return;
  }
  if (!console) GUI_CreateDialog("SCRIPTCONSOLE");
  SetFocusWindow(nullptr);
  bConsole = 0;
  bSystemMenu = 0;
}

extern "C" KORVO_API void GUI_ScriptMessage(const char* format, ...) {
  SMenuState& menus = ModulePart<SMenuState>();
  if (!menus.consoleList) return;
  char message[kMaxLine + 1];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  char number[16];
  std::snprintf(number, sizeof number, "%4d:", ++menus.consoleLines);
  const std::string line = (number + std::string(message)).substr(0, kMaxLine);
  // No selection scrolls to the end; the new line then becomes the selection.
  menus.consoleList->SetCurSel(-1);
  menus.consoleList->SetCurSel(menus.consoleList->AddString(line));
  LogAddNewLine(("console : " + line).c_str());
}

extern "C" KORVO_API void LogMessage(const char* format, ...) {
  if (!DebugMode) return;
  char message[kMaxLine + 1];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  GUI_ScriptMessage("%s", message);
}

// ---- Console dialog ---------------------------------------------------------------------------

bool CGUI_ScriptConsole::OnCreate() {
  SMenuState& menus = ModulePart<SMenuState>();
  menus.consoleList = dynamic_cast<CGUI_List*>(FindChild("IDC_LIST_MESSAGE"));
  menus.consoleLines = 0;
  if (!CGUI_MenuDialog::OnCreate()) return false;
  // The console sits over the game: no menu cursor of its own.
  LeaveMouseCursorMode();
  SetForeground(1);
  if (CGUI_Window* edit = FindControl("IDC_EDIT_COMMAND")) SetFocusWindow(edit);
  return true;
}

bool CGUI_ScriptConsole::OnDestroy() {
  EnterMouseCursorMode();
  return CGUI_MenuDialog::OnDestroy();
}

// ---- Command line --------------------------------------------------------------------------------

bool CGUI_ConsoleEdit::OnCreate() {
  lastCommand_.clear();
  return CGUI_GameEdit::OnCreate();
}

bool CGUI_ConsoleEdit::OnKeyDown(int key) {
  if (key == VK_UP) SetCaption(lastCommand_);
  return CGUI_GameEdit::OnKeyDown(key);
}

bool CGUI_ConsoleEdit::OnChar(char ch) {
  // The backquote opens and closes the console in the host: never text.
  if (ch == kBackquote) return true;
  const bool leadByte = static_cast<unsigned char>(ch) & 0x80;
  if (!(leadByte && GetTextStatic()->FontType() == Y3DFONT_GAME) && !CGUI_GameEdit::OnChar(ch))
    return false;
  if (ch == VK_RETURN) RunLine();
  return true;
}

void CGUI_ConsoleEdit::RunLine() {
  std::string line;
  GetCaption(line);
  if (strcasecmp(line.c_str(), "show") == 0) {
    if (CGUI_Window* room = FindOpenDialog("ROOMMENU")) room->Show(room->IsHidden(), true);
  }
  const uint32_t generation = TableGeneration();
  ExecuteCommand(line.c_str());
  // A command that reloaded the UI freed this edit with the old table.
  if (TableGeneration() != generation) return;
  lastCommand_ = line;
  SetCaption("");
}

// ---- Registrations ------------------------------------------------------------------------

void RegisterScriptConsole(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_ScriptConsole>(r, "SCRIPTCONSOLE");
  RegisterIdClass<CGUI_CloseParentButton>(r, "IDC_BUTTON_CLOSE");
  RegisterIdClass<CGUI_ConsoleEdit>(r, "IDC_EDIT_COMMAND");
}
