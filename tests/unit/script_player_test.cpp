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
#include "tests/expected/expected_text.h"

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
  // Walks steps: "@T" moves the frame clock to T, "running", "errors" and
  // "commands" print the running scripts, the script errors and the recorded
  // commands, anything else is executed as a command. One line per step,
  // with the text lines sent meanwhile.
  static std::string Walk(const std::vector<std::string>& steps) {
    std::string out;
    for (const std::string& step : steps) {
      std::vector<std::string> shown;
      if (step[0] == '@')
        SetTick(uint32_t(std::stoul(step.substr(1))));
      else if (step == "running")
        shown = RunningScripts();
      else if (step == "errors")
        shown = TakeScriptErrors();
      else if (step == "commands")
        shown = TakeCommands();
      else
        ExecuteCommand(step.c_str());
      out += step;
      for (const std::string& line : shown) out += " {" + line + "}";
      for (const std::string& line : Take()) out += " [" + line + "]";
      out += "\n";
    }
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

// Every bad line of each kind, told with its line; then what mission and
// match lines carry. Text, colour, pace and wait steps are seen through the
// player below (ScriptPlayer.SendsLinesWithTheirColoursAtTheirPace).
TEST(HostScript, ReportsEveryBadLineAndReadsMissionAndMatchLines) {
  std::vector<SScriptStep> steps;
  std::vector<std::string> errors;
  EXPECT_FALSE(ParseHostScript("> ok\ncolor red\npace 0\nwait -1\nwait 600001\n>no blank\nsay hi\ncolor 0xFF00FF\n"
                               "pace 10\nmission enemies=17\nmission foe=1\nmission map\nmission time=61\n"
                               "mission time=-1\nmatch bots=8\nmatch frags=0 time=0\nmatch rule\nmatch team=1\n",
                               "bad.txt", &steps, &errors));
  std::string text;
  for (const std::string& e : errors) text += e + "\n";
  errors.clear();
  EXPECT_TRUE(ParseHostScript("mission\nmission enemies=16 map=arena.gnd seed=7 time=60\nmatch\n"
                              "match rule=team-death-match bots=7 frags=0 time=2 seed=9 map=arena.gnd\n",
                              "good.txt", &steps, &errors));
  for (const SScriptStep& step : steps) {
    const SSimMatchSetup& m = step.match.setup;
    if (step.kind == SScriptStep::EKind::kMission)
      text += "mission enemies " + std::to_string(step.number) + " seed " + std::to_string(step.seed) + " time " +
              std::to_string(step.timeLimitMin) + " map " + step.text + "\n";
    else
      text += "match " + step.match.rule + " bots " + std::to_string(m.bots) + " frags " +
              std::to_string(m.fragLimit) + " time " + std::to_string(m.timeLimitMin) + " seed " +
              std::to_string(m.seed) + " map " + m.map + "\n";
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/host_script_lines.expected", text);
}

// Nothing before the next frame; the default pace is 400 ms, then the
// script's 250 and its wait of 1000.
TEST_F(ScriptPlayer, SendsLinesWithTheirColoursAtTheirPace) {
  OverlayFile("data/b.txt", kBriefing);
  EXPECT_MATCHES_EXPECTED("unit/expected/script_player_pace.expected",
                          Walk({"@5000", "s_exe data/b.txt", "commands", "running", "@5016", "@5400", "@5416",
                                "@5665", "@5666", "@6915", "@6916", "running", "@20000"}));
}

TEST_F(ScriptPlayer, ResetRestartsTerminateStopsAndScriptsRunSideBySide) {
  OverlayFile("data/a.txt", "pace 100\n> a1\n> a2\n> a3\n");
  OverlayFile("data/b.txt", "pace 100\n> b1\n> b2\n");
  EXPECT_MATCHES_EXPECTED("unit/expected/script_player_side_by_side.expected",
                          Walk({"@0", "s_exe data/a.txt", "@10", "s_exe   data/b.txt  ", "@110", "s_reset data/a.txt",
                                "@111", "s_terminate data/b.txt", "running", "@1000", "s_terminate data/a.txt",
                                "s_terminate data/never.txt", "@2000", "running", "errors", "commands"}));
}

// A bad script, a missing one and a missing name are told and not run; other
// commands are recorded only.
TEST_F(ScriptPlayer, BadScriptsAreReportedAndNotRun) {
  OverlayFile("data/bad.txt", "> fine\nsay hi\n");
  EXPECT_MATCHES_EXPECTED(
      "unit/expected/script_player_bad.expected",
      Walk({"s_exe data/bad.txt", "s_exe data/none.txt", "s_exe", "map data/bad.txt", "@100", "running", "errors",
            "commands"}));
}

// Under a session and switched off the player only records; switched on
// again it runs; Reset switches it off and forgets the sink.
TEST_F(ScriptPlayer, SessionsAndTheSwitchedOffPlayerOnlyRecord) {
  OverlayFile("data/a.txt", "> a1\n");
  korvostate::SetRecording(true);
  std::string text = Walk({"s_exe data/a.txt", "@100", "running"});
  korvostate::SetRecording(false);
  EnableScriptPlayer(false);
  text += Walk({"s_exe data/a.txt", "@200", "running", "commands"});
  EnableScriptPlayer(true);
  text += Walk({"s_exe data/a.txt", "@300", "s_exe data/a.txt"});
  Reset();
  OverlayFile("data/a.txt", "> a1\n");
  text += Walk({"s_exe data/a.txt", "@400", "running"});
  EXPECT_MATCHES_EXPECTED("unit/expected/script_player_off.expected", text);
}
