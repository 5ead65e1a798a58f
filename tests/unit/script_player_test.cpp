// Host scripts: the line format with its errors, and the player that runs
// "s_exe", "s_reset" and "s_terminate" on the frame clock and sends text lines
// through GUI_NextString (here a recording sink), outside sessions only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_services.h"
#include "refhost/host_script.h"
#include "refhost/korvohost.h"
#include "refhost/script_player.h"
#include "host/session_state.h"

using namespace korvohost;

namespace {

std::vector<std::string> g_lines;

void Record(char* text, unsigned long color) {
  char colour[16];
  std::snprintf(colour, sizeof colour, "%08lX", color);
  g_lines.push_back(std::string(colour) + " " + text);
}

class ScriptPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    g_lines.clear();
    EnableScriptPlayer(true);
    SetNextStringSink(&Record);
  }
  void TearDown() override {
    korvostate::SetRecording(false);
    Reset();
  }

  static std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(g_lines);
    return out;
  }
};

const char kBriefing[] =
    "# briefing\n"
    "color 0xFFFFA630\n"
    "> MISSION 01\r\n"
    "color 0xFFF0F4F8\n"
    "pace 250\n"
    ">   indented text \n"
    ">\n"
    "wait 1000\n"
    "> after the pause\n";

}  // namespace

// The steps of a good script are seen through the player below
// (ScriptPlayer.SendsLinesWithTheirColoursAtTheirPace); here every bad line.
TEST(HostScript, ReportsEveryBadLine) {
  std::vector<SScriptStep> steps;
  std::vector<std::string> errors;
  EXPECT_FALSE(ParseHostScript("> ok\ncolor red\npace 0\nwait -1\nwait 600001\n>no blank\nsay hi\ncolor 0xFF00FF\n"
                               "pace 10\n",
                               "bad.txt", &steps, &errors));
  EXPECT_EQ(errors, (std::vector<std::string>{
                        "bad.txt:2: bad colour 'red' (0xAARRGGBB)",
                        "bad.txt:3: bad pace '0' (milliseconds up to 600000)",
                        "bad.txt:4: bad wait '-1' (milliseconds up to 600000)",
                        "bad.txt:5: bad wait '600001' (milliseconds up to 600000)",
                        "bad.txt:6: a text line starts with \"> \"",
                        "bad.txt:7: unknown line 'say'",
                        "bad.txt:8: bad colour '0xFF00FF' (0xAARRGGBB)",
                    }));
}

TEST_F(ScriptPlayer, SendsLinesWithTheirColoursAtTheirPace) {
  OverlayFile("data/b.txt", kBriefing);
  SetTick(5000);
  ExecuteCommand("s_exe data/b.txt");
  EXPECT_EQ(TakeCommands(), std::vector<std::string>{"s_exe data/b.txt"});
  EXPECT_EQ(RunningScripts(), std::vector<std::string>{"data/b.txt"});
  EXPECT_TRUE(Take().empty());   // nothing before the next frame

  SetTick(5016);
  EXPECT_EQ(Take(), std::vector<std::string>{"FFFFA630 MISSION 01"});
  SetTick(5400);   // the default pace: 400 ms
  EXPECT_TRUE(Take().empty());
  SetTick(5416);
  EXPECT_EQ(Take(), std::vector<std::string>{"FFF0F4F8   indented text "});
  SetTick(5665);
  EXPECT_TRUE(Take().empty());
  SetTick(5666);   // pace 250
  EXPECT_EQ(Take(), std::vector<std::string>{"FFF0F4F8 "});
  SetTick(5916 + 999);   // pace, then the wait of 1000
  EXPECT_TRUE(Take().empty());
  SetTick(5916 + 1000);
  EXPECT_EQ(Take(), std::vector<std::string>{"FFF0F4F8 after the pause"});
  EXPECT_TRUE(RunningScripts().empty());   // ended
  SetTick(20000);
  EXPECT_TRUE(Take().empty());
}

TEST_F(ScriptPlayer, ResetRestartsTerminateStopsAndScriptsRunSideBySide) {
  OverlayFile("data/a.txt", "pace 100\n> a1\n> a2\n> a3\n");
  OverlayFile("data/b.txt", "pace 100\n> b1\n> b2\n");
  SetTick(0);
  ExecuteCommand("s_exe data/a.txt");
  SetTick(10);
  ExecuteCommand("s_exe   data/b.txt  ");
  EXPECT_EQ(Take(), std::vector<std::string>{"FFFFFFFF a1"});
  SetTick(110);
  EXPECT_EQ(Take(), (std::vector<std::string>{"FFFFFFFF a2", "FFFFFFFF b1"}));
  ExecuteCommand("s_reset data/a.txt");
  SetTick(111);
  EXPECT_EQ(Take(), std::vector<std::string>{"FFFFFFFF a1"});
  ExecuteCommand("s_terminate data/b.txt");
  EXPECT_EQ(RunningScripts(), std::vector<std::string>{"data/a.txt"});
  SetTick(1000);
  EXPECT_EQ(Take(), std::vector<std::string>{"FFFFFFFF a2"});
  ExecuteCommand("s_terminate data/a.txt");
  ExecuteCommand("s_terminate data/never.txt");
  SetTick(2000);
  EXPECT_TRUE(Take().empty());
  EXPECT_TRUE(RunningScripts().empty());
  EXPECT_TRUE(TakeScriptErrors().empty());
  EXPECT_EQ(TakeCommands().size(), 6u);   // every line is still recorded
}

TEST_F(ScriptPlayer, BadScriptsAreReportedAndNotRun) {
  OverlayFile("data/bad.txt", "> fine\nsay hi\n");
  ExecuteCommand("s_exe data/bad.txt");
  ExecuteCommand("s_exe data/none.txt");
  ExecuteCommand("s_exe");
  ExecuteCommand("map data/bad.txt");   // not a script command: recorded only
  SetTick(100);
  EXPECT_TRUE(Take().empty());
  EXPECT_TRUE(RunningScripts().empty());
  EXPECT_EQ(TakeScriptErrors(), (std::vector<std::string>{"data/bad.txt:2: unknown line 'say'",
                                                          "data/none.txt: no such script", "s_exe: no script named"}));
  EXPECT_EQ(TakeCommands().size(), 4u);
}

TEST_F(ScriptPlayer, SessionsAndTheSwitchedOffPlayerOnlyRecord) {
  OverlayFile("data/a.txt", "> a1\n");
  korvostate::SetRecording(true);
  ExecuteCommand("s_exe data/a.txt");
  SetTick(100);
  EXPECT_TRUE(RunningScripts().empty());
  korvostate::SetRecording(false);

  EnableScriptPlayer(false);
  ExecuteCommand("s_exe data/a.txt");
  SetTick(200);
  EXPECT_TRUE(RunningScripts().empty());
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(TakeCommands(), (std::vector<std::string>{"s_exe data/a.txt", "s_exe data/a.txt"}));

  // Switched on again; Reset switches it off and forgets the sink.
  EnableScriptPlayer(true);
  ExecuteCommand("s_exe data/a.txt");
  SetTick(300);
  EXPECT_EQ(Take(), std::vector<std::string>{"FFFFFFFF a1"});
  ExecuteCommand("s_exe data/a.txt");
  Reset();
  OverlayFile("data/a.txt", "> a1\n");
  ExecuteCommand("s_exe data/a.txt");
  SetTick(400);
  EXPECT_TRUE(RunningScripts().empty());
  EXPECT_TRUE(Take().empty());
}
