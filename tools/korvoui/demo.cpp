// demo.cpp: `korvoui demo`: builds a dialog through the class registry, opens
// it, feeds input through the exported calls and prints what happened.
#include <cstdio>
#include <string>

#include "korvogui/korvogui.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/routing.h"
#include "runtime/window_manager.h"
#include "tools/korvoui/verbs.h"

namespace {

CGUI_Window* Build(const char* className, const char* id, const char* caption, float x, float y,
                   float w, float h) {
  CGUI_Window* win = GetClassRegistry()->CreateWindow(className, id);
  if (!win) return nullptr;
  const float region[4] = {x, y, w, h};
  win->SetCaption(caption);
  win->SetId(id);
  win->SetRegion(region);
  return win;
}

const char* NameOf(CGUI_Window* w) { return w ? w->Id().c_str() : "none"; }

}  // namespace

int RunDemo(int, char**) {
  GUI_Initialize();
  auto* table = new CDialogTable;
  CGUI_Window* dialog = Build("DIALOG", "MAINMENU", "Main", 0, 0, 1, 1);
  dialog->AddChild(Build("BUTTON", "IDC_BUTTON_LEFT", "left", 0.1f, 0.1f, 0.3f, 0.8f));
  dialog->AddChild(Build("BUTTON", "IDC_BUTTON_RIGHT", "right", 0.6f, 0.1f, 0.3f, 0.8f));
  table->Insert("MAINMENU", dialog);
  InstallDialogTable(table);

  std::printf("GUI_NextDialog(MAINMENU) -> %s\n", GUI_NextDialog("MAINMENU") ? "true" : "false");
  GUI_MouseMove(0.7f, 0.5f);
  std::printf("hover after GUI_MouseMove(0.7, 0.5): %s\n", NameOf(Routing().hover));
  GUI_LButtonDown();
  GUI_LButtonUp();
  GUI_Update();
  std::printf("focus after a click: %s\n", NameOf(Routing().focus));
  GUI_Draw();

  std::string dump;
  GetRootWindow()->Dump(dump);
  std::printf("\n%s", dump.c_str());
  GUI_CreateDialog("NOSUCH");
  std::printf("\nGUI_CreateDialog(NOSUCH) -> last error \"%s\"\n", GUI_GetLastError());
  GUI_Release();
  return 0;
}
