// A restart of the module (GUI_Release, GUI_Initialize) gives back a module as
// fresh as the first: each row of the table reads one piece of what the module
// remembers; the module is driven into use, restarted, and every row must read
// as it did at the start. Only the input queue lives from load to unload.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "korvogui/console.h"
#include "korvogui/korvogui.h"
#include "korvogui/lobby.h"
#include "korvogui/messagebox.h"
#include "korvogui/room.h"
#include "menus/lobby_state.h"
#include "menus/menu_state.h"
#include "screens/single_play_state.h"
#include "overlays/overlay_state.h"
#include "refhost/korvohost.h"
#include "runtime/dialog.h"
#include "runtime/error_text.h"
#include "runtime/input_queue.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/window_manager.h"
#include "tests/unit/fresh_module.h"
#include "tools/korvoui/observe.h"

namespace {

std::string Ids(const std::vector<CGUI_Window*>& windows) {
  std::string s;
  for (const CGUI_Window* w : windows) s += " " + (w ? w->Id() : std::string("-"));
  return s;
}

std::string Pointer(const void* p) { return p ? "set" : "null"; }

struct Row {
  const char* what;
  std::function<std::string()> read;
  bool keptAcrossRestart = false;
};

// Every row reads the current state; the first one counts parts before the
// others create any.
const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      {"parts", [] { return std::to_string(ModuleState().parts.size()); }},
      {"table", [] { return Pointer(DialogTable()); }},
      {"open dialogs", [] { return Ids(GetRootWindow()->Children()); }},
      {"dialog stack",
       [] { return Ids({DialogStack().begin(), DialogStack().end()}); }},
      {"routing",
       [] {
         const SGUI_Routing& r = Routing();
         return std::to_string(r.mouse[0]) + "," + std::to_string(r.mouse[1]) + " " +
                Pointer(r.hover) + " " + Pointer(r.focus);
       }},
      {"registry", [] { return std::to_string(GetClassRegistry()->IdRegistrations().size()); }},
      {"colour 2", [] { return std::to_string(GetColor(2)); }},
      {"error text", [] { return std::string(GetErrorText()); }},
      {"last error", [] { return std::string(GUI_GetLastError()); }},
      {"texture path", [] { return std::string(ModuleState().texPath); }},
      {"message box",
       [] {
         const char* box = ModulePart<SMenuState>().openBox;
         return std::string(box ? box : "none");
       }},
      {"console",
       [] {
         const SMenuState& m = ModulePart<SMenuState>();
         return Pointer(m.consoleList) + " " + std::to_string(m.consoleLines);
       }},
      {"local client", [] { return std::to_string(GUI_GetLocalClientIndex()); }},
      {"client 2", [] { return std::string(GUI_GetClientInfo(2)->name); }},
      {"server", [] { return std::string(GUI_GetServerInfo()->room); }},
      {"team colours", [] { return std::to_string(GUI_GetNumTeamColor()); }},
      {"lobby",
       [] {
         return std::to_string(TotalChannelNum) + " " +
                Pointer(ModulePart<SLobbyState>().channelList);
       }},
      {"single play", [] { return std::to_string(ModulePart<SSinglePlayState>().optionStart); }},
      {"overlays", [] { return std::to_string(ModulePart<SOverlayState>().warning.active); }},
      {"input queue", [] { return std::to_string(InputQueue().PendingCount()); }, true},
  };
  return rows;
}

std::vector<std::string> Read() {
  std::vector<std::string> values;
  for (const Row& row : Rows()) values.push_back(row.read());
  return values;
}

class ModuleRestartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    korvohost::Reset();
    std::string error;
    ASSERT_TRUE(korvohost::Mount(KORVO_ASSET_ROOT, &error)) << error;
    GUI_FlushInput();
    RestartModule();
  }
  void TearDown() override {
    GUI_Release();
    GUI_FlushInput();
    korvohost::Reset();
  }

  // Everything a session of play leaves behind.
  static void Use() {
    ASSERT_TRUE(GUI_Compile()) << GUI_GetLastError();
    ASSERT_TRUE(GUI_NextDialog("MAINMENU")) << GUI_GetLastError();
    ASSERT_TRUE(GUI_NextDialog("KORVONETMENU")) << GUI_GetLastError();
    char channel[] = "lounge";
    KN_AddChannelList(channel);
    GUI_MessageBox("hello", "title", GUI_MB_OK, nullptr);
    GUI_ShowScriptPanel(true);
    GUI_ScriptMessage("console line");
    GUI_MouseMove(0.5f, 0.5f);
    GetClassRegistry()->RegisterId(new TGUI_WindowFactory<CGUI_Dialog>("IDC_EXTRA"), true);
    SetColor(2, 0x12345678);
    SetErrorText("details");
    GUI_ReportError("failed");
    GUI_GetTexPath("x.tga");
    GUI_SetLocalClientIndex(3);
    std::snprintf(GUI_GetClientInfo(2)->name, 256, "ACE");
    std::snprintf(GUI_GetServerInfo()->room, 256, "ROOM");
    unsigned long colours[] = {0xFFFF0000};
    char red[] = "RED";
    char* names[] = {red};
    GUI_InitTeamColor(1, colours, names);
    ModulePart<SSinglePlayState>().optionStart = 4;
    ModulePart<SOverlayState>().warning.active = true;
    GUI_KeyDown(65);
  }
};

}  // namespace

TEST_F(ModuleRestartTest, EveryPieceOfStateIsFreshAfterARestart) {
  const std::vector<std::string> fresh = Read();
  Use();
  const std::vector<std::string> used = Read();
  RestartModule();
  const std::vector<std::string> restarted = Read();
  for (size_t i = 0; i < Rows().size(); ++i) {
    const Row& row = Rows()[i];
    // The use must have changed the row, or the row proves nothing.
    EXPECT_NE(used[i], fresh[i]) << row.what;
    EXPECT_EQ(restarted[i], row.keptAcrossRestart ? used[i] : fresh[i]) << row.what;
  }
}

// A box whose callback restarts the module: the click returns into the ended
// state, which lives until the call is over, and stops; what is left is a
// fresh module (its parts may be made anew by the code after the callback).
TEST_F(ModuleRestartTest, ARestartFromAHandlerLeavesAFreshModule) {
  const std::vector<std::string> fresh = Read();
  ASSERT_TRUE(GUI_Compile()) << GUI_GetLastError();
  GUI_MessageBox("bye", "title", GUI_MB_OK, [](unsigned long) {
    RestartModule();
    return true;
  });
  CGUI_Window* box = FindOpenDialog("MBOX_OK");
  ASSERT_NE(box, nullptr);
  float r[4];
  AbsoluteRect(box->FindChild("IDC_BUTTON_MESSAGEOK"), r);
  GUI_MouseMove(r[0] + r[2] * 0.5f, r[1] + r[3] * 0.5f);
  GUI_LButtonDown();
  GUI_LButtonUp();
  GUI_Update();
  const std::vector<std::string> after = Read();
  for (size_t i = 1; i < Rows().size(); ++i) EXPECT_EQ(after[i], fresh[i]) << Rows()[i].what;
}
