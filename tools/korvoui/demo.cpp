// demo.cpp: `korvoui demo`: compiles the shipped UI script, opens the main
// screen, moves the mouse over its first tab stop, clicks it, and prints what
// a host would see: the dialogs, the open screens and stack, sounds, the dump.
#include <cstdio>
#include <string>

#include "korvogui/korvogui.h"
#include "netkorvo/netkorvo.h"
#include "refhost/korvohost.h"
#include "runtime/control.h"
#include "runtime/dialog.h"
#include "runtime/module_state.h"
#include "runtime/routing.h"
#include "runtime/window_manager.h"
#include "refhost/profile_store.h"
#include "tools/korvoui/host_game.h"
#include "tools/korvoui/observe.h"
#include "tools/korvoui/options.h"
#include "tools/korvoui/usage.h"
#include "tools/korvoui/verbs.h"

namespace {

void PrintOpenAndStack() {
  std::string open = "open:", stack = "stack:";
  for (CGUI_Window* w : GetRootWindow()->Children()) open += " " + WindowName(w);
  for (CGUI_Window* w : DialogStack()) stack += " " + (w ? WindowName(w) : std::string("-"));
  std::printf("%s\n%s\n", open.c_str(), stack.c_str());
}

}  // namespace

int RunDemo(int argc, char** argv) {
  ToolOptions options;
  if (!ParseToolOptions(argc, argv, &options, {"--profile"}) || options.positional.size() > 1)
    return UsageError("demo");
  if (!PrepareHost(options)) return 2;
  if (options.profile.empty()) options.profile = korvohost::DefaultProfileDir();
  StartHostGame(options, "demo");
  // The network stand-in runs live, on this machine only.
  netkorvo::UseLiveBackend(netkorvo::SLiveOptions());
  const std::string start = options.positional.empty() ? "MAINMENU" : options.positional[0];

  GUI_Initialize();
  if (!GUI_Compile()) {
    std::printf("%s\n(run `korvoui check` for the position)\n", GUI_GetLastError());
    StopHostGame();
    return 1;
  }
  int controls = 0;
  std::printf("compiled %zu dialogs:", DialogTable()->Entries().size());
  for (const auto& entry : DialogTable()->Entries()) {
    std::printf(" %s", entry.first.c_str());
    controls += entry.second->ChildCount();
  }
  std::printf("\n%d controls in all\n\n", controls);

  std::printf("GUI_NextDialog(%s) -> %s\n", start.c_str(), GUI_NextDialog(start.c_str()) ? "true" : GUI_GetLastError());
  PrintOpenAndStack();
  auto* dialog = dynamic_cast<CGUI_Dialog*>(FindOpenDialog(start));
  if (dialog && !dialog->TabStops().empty()) {
    CGUI_Window* target = dialog->TabStops().front();
    float r[4];
    AbsoluteRect(target, r);
    GUI_MouseMove(r[0] + r[2] * 0.5f, r[1] + r[3] * 0.5f);
    std::printf("\nmouse over %s: hover %s\n", WindowName(target).c_str(), WindowName(Routing().hover).c_str());
    GUI_LButtonDown();
    GUI_LButtonUp();
    netkorvo::ServiceLive();
    GUI_Update();
    GUI_Draw();
    std::string sounds;
    for (int id : korvohost::TakeSounds()) sounds += " " + std::to_string(id);
    std::printf("clicked: focus %s, sounds:%s\n", WindowName(Routing().focus).c_str(), sounds.c_str());
    PrintOpenAndStack();
  }
  if (CGUI_Window* open = FindOpenDialog(start)) {
    std::string dump;
    open->Dump(dump);
    std::printf("\n%s", dump.c_str());
  }
  GUI_Release();
  ReportProfileMessages("demo");
  StopHostGame();
  return 0;
}
