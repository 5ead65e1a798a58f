// script_console.h: the script console dialog (SCRIPTCONSOLE) and its command
// line (IDC_EDIT_COMMAND).
#pragma once
#include <string>

#include "menus/menu_dialogs.h"
#include "runtime/game_edit.h"

class CGUI_ScriptConsole : public CGUI_MenuDialog {
 public:
  // Takes the console list, restarts the numbering, focuses the command line.
  bool OnCreate() override;
  bool OnDestroy() override;
};

// The command line: Enter runs the line through the host, Up recalls the last one.
class CGUI_ConsoleEdit : public CGUI_GameEdit {
 public:
  bool OnCreate() override;
  bool OnChar(char ch) override;
  bool OnKeyDown(int key) override;

  const std::string& LastCommand() const { return lastCommand_; }

 private:
  // "show" toggles an open room screen; every line goes to ExecuteCommand.
  void RunLine();

  std::string lastCommand_;
};
