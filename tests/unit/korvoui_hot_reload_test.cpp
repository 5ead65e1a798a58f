// korvoui_hot_reload_test.cpp: the screens `korvoui play` reopens after a
// recompile (dialog stack with markers, overlapping dialogs in their order,
// dialogs the new script dropped) and the file watch.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"
#include "tools/korvoui/hot_reload.h"
#include "tests/unit/fresh_module.h"

namespace {

const char* kScript =
    "DIALOG \"a\" MAINMENU 0.0, 0.0, 1.0, 1.0 BEGIN END\n"
    "DIALOG \"b\" OPTIONMENU 0.0, 0.0, 1.0, 1.0 BEGIN END\n"
    "DIALOG \"c\" MSGBOX 0.6, 0.6, 0.3, 0.3 BEGIN END\n"
    "DIALOG \"d\" HUD 0.0, 0.0, 0.2, 0.2 BEGIN END\n";

class HotReloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RestartModule();
    Compile(kScript);
  }
  void TearDown() override {
    GUI_Release();
    korvohost::RemoveOverlayFile(kUIScriptPath);
  }
  static void Compile(const std::string& text) {
    korvohost::OverlayFile(kUIScriptPath, text);
    ASSERT_TRUE(GUI_Compile()) << GUI_GetLastError();
  }
  // The open dialogs, then the stack with "-" for a marker: "A B / A - B".
  static std::string Screens() {
    std::string s;
    for (CGUI_Window* w : GetRootWindow()->Children()) s += w->Id() + " ";
    s += "/";
    for (CGUI_Window* w : DialogStack()) s += " " + (w ? w->Id() : std::string("-"));
    return s;
  }
};

// HUD lies below the stack's dialogs; the stack top is reopened first, so the
// open dialogs are put back in their old order.
TEST_F(HotReloadTest, RestoreRebuildsTheStackAndTheOpenOrder) {
  ASSERT_TRUE(GUI_CreateDialog("HUD"));
  ASSERT_TRUE(GUI_NextDialog("MAINMENU"));
  ASSERT_TRUE(GUI_NextDialog(nullptr));
  ASSERT_TRUE(GUI_NextDialog("OPTIONMENU"));
  ASSERT_TRUE(GUI_CreateDialog("MSGBOX"));
  const OpenScreens screens = CaptureScreens();   // a marker is ""
  EXPECT_EQ(screens.open, (std::vector<std::string>{"HUD", "OPTIONMENU", "MSGBOX"}));
  EXPECT_EQ(screens.stack, (std::vector<std::string>{"MAINMENU", "", "OPTIONMENU"}));
  Compile(kScript);
  EXPECT_EQ(Screens(), "/");
  EXPECT_TRUE(RestoreScreens(screens).empty());
  EXPECT_EQ(Screens(), "HUD OPTIONMENU MSGBOX / MAINMENU - OPTIONMENU");
  // The rebuilt stack works as before: going back reopens the screen below.
  ASSERT_TRUE(GUI_PrevDialog(2, true));
  EXPECT_EQ(Screens(), "HUD MSGBOX MAINMENU / MAINMENU");
}

TEST_F(HotReloadTest, DialogsTheNewScriptDroppedAreReportedOnce) {
  ASSERT_TRUE(GUI_NextDialog("OPTIONMENU"));
  ASSERT_TRUE(GUI_NextDialog("MAINMENU"));
  ASSERT_TRUE(GUI_CreateDialog("MSGBOX"));
  const OpenScreens screens = CaptureScreens();
  Compile("DIALOG \"c\" MSGBOX 0.6, 0.6, 0.3, 0.3 BEGIN END\n"
          "DIALOG \"b\" OPTIONMENU 0.0, 0.0, 1.0, 1.0 BEGIN END\n");
  EXPECT_EQ(RestoreScreens(screens), (std::vector<std::string>{"MAINMENU"}));
  EXPECT_EQ(Screens(), "MSGBOX / OPTIONMENU");
}

TEST(FileWatch, SeesChangesOfSizeAndExistenceOnce) {
  const std::string path = ::testing::TempDir() + "korvoui_watch_" + std::to_string(getpid());
  std::remove(path.c_str());
  FileWatch watch(path);
  EXPECT_FALSE(watch.Changed());
  std::ofstream(path) << "one";
  EXPECT_TRUE(watch.Changed());
  EXPECT_FALSE(watch.Changed());
  std::ofstream(path) << "longer";
  EXPECT_TRUE(watch.Changed());
  std::remove(path.c_str());
  EXPECT_TRUE(watch.Changed());
  EXPECT_FALSE(watch.Changed());
}

}  // namespace
