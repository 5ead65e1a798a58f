// match_scene.cpp: the team match of match_scene.h, set up as the game would
// between frames: host and network state first, then the compile, the
// overlays and the events the game pushes into them.
#include "tests/unit/match_scene.h"

#include <cstdio>
#include <vector>

#include "korvogui/korvogui.h"
#include "netkorvo/netkorvo.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "host/session_state.h"
#include "runtime/module_state.h"
#include "runtime/window.h"
#include "runtime/window_manager.h"
#include "tools/korvoui/export_calls.h"
#include "tools/korvoui/session_script.h"
#include "tools/korvoui/session_state_commands.h"
#include "tests/unit/fresh_module.h"

namespace matchscene {
namespace {

constexpr uint32_t kStartTick = 100000;
constexpr uint32_t kFrameMs = 16;
// Frames before the clock goes back to the start: 250 x 16 ms stays below the
// 5 s after which the chat starts to scroll its lines out.
constexpr uint32_t kClockFrames = 250;
constexpr int kRadarMechs = 16;
constexpr int kScoreRows = 8;
constexpr int kChatLines = 12;

uint32_t g_frames = 0;

// Runs lines of the session format: state lines through the stand-ins'
// providers, the others as calls of the module's exports.
bool RunLines(const std::string& text, std::string* error) {
  for (const SessionLine& line : SplitSessionLines(text)) {
    if (line.body.empty()) continue;
    std::vector<SessionToken> tokens;
    bool handled = false;
    std::string result;
    bool ok = TokenizeSessionLine(line.body, &tokens, error) && RunStateCommand(tokens, &handled, error);
    if (ok && !handled) {
      const auto call = SessionCalls().find(tokens[0].text);
      ok = call != SessionCalls().end() &&
           call->second.invoke({tokens.begin() + 1, tokens.end()}, &result, error);
    }
    if (!ok) {
      *error = line.body + ": " + *error;
      return false;
    }
  }
  return true;
}

// The controlled mech with its two option parts, 16 other mechs inside the
// radar's range (half of them team mates), two items.
std::string SceneLines() {
  std::string s =
      "actoroption lopt name=\"MISSILE POD\" icon=\"icon_random_s.tga\" charge=0.6 "
      "color=0xFFFFB94B textcolor=0xFFFFFFFF\n"
      "actoroption ropt name=\"BARRIER\" icon=\"icon_random_s.tga\" charge=0.3 "
      "color=0xFF52D8DE textcolor=0xFFFFFFFF\n"
      "actor me armor=120 shield=80 heat=640 threshold=700 weapon=\"GATLING\" x=0 z=0 team=1 radar=0 "
      "loption=@lopt roption=@ropt\n"
      "item invincible type=33\n"
      "item cooling type=29\n"
      "host ControlCharacter @me\n";
  char line[160];
  for (int i = 1; i <= kRadarMechs; ++i) {
    // Spread over the disc: distance 40-340 of the default range 400.
    const float x = float((i * 37) % 340) - 170.0f, z = float((i * 53) % 300) - 150.0f;
    std::snprintf(line, sizeof line, "actor mech%d x=%g z=%g team=%d radar=%d armor=100\n", i, x, z,
                  1 + i % 2, i);
    s += line;
  }
  return s;
}

// A running network team match of 8 clients and its score board.
std::string NetworkLines() {
  std::string s =
      "host NET_bInitialized 1\n"
      "host my_client 0\n"
      "host CC_Manager::TimeLimit 20\n"
      "host CC_Manager::ElapsedTime 425000\n"
      "host CC_Manager::FragLimit 30\n"
      "host NET_GR_client::IsTeamGame true\n"
      "gamerule 1 name=\"TEAM DEATHMATCH\"\n"
      "serverinfo room=\"FRIDAY ARENA\" map=\"arena-DE.gnd\" type=1 frag=30 time=20\n"
      "scoreboard rows=8 fragtitle=\"KILLS\" slottitle=\"DEATHS\"\n";
  char line[200];
  for (int i = 0; i < kScoreRows; ++i) {
    std::snprintf(line, sizeof line, "netclient %d name=\"PILOT-%d\" team=%d frags=%d character=%d\n", i, i,
                  1 + i % 2, 20 - 2 * i, 1 + i);
    s += line;
    std::snprintf(line, sizeof line,
                  "scorerow %d name=\"PILOT-%d\" key=%d rank=%d team=%d frag=\"%d\" slot=\"%d\" "
                  "highlight=%s mark=\"crandom.tga\" left=%d right=%d\n",
                  i + 1, i, 100 + i, i + 1, 1 + i % 2, 20 - 2 * i, i, i == 0 ? "true" : "false", i % 3, 0);
    s += line;
  }
  return s;
}

// What the game pushes into the open overlays: team colours, the clock, the
// play mark, two item gauges, four timed messages (ten minutes each) and twelve
// chat lines.
std::string EventLines() {
  std::string s =
      "GUI_InitTeamColor 2 0xFFFF4040,0xFF4080FF RED,BLUE\n"
      "GUI_TimerMessage 3 775\n"
      "GUI_SetPlayMark \"crandom.tga\" 0xC0FFFFFF\n"
      "GUI_EventMessage1 \"PILOT-3 DESTROYED PILOT-6\" 600000 0xFFFFFFFF\n"
      "GUI_EventMessage2 \"RED TEAM LEADS BY 4\" 600000 0xFFFF4040\n"
      "GUI_EventMessage3 \"ARMOR RESTORED\" 600000 0xFF30FF30\n"
      "GUI_EventMessage4 \"PILOT-1: regroup at the north gate\" 600000 0xFFFFFA9D\n";
  for (const char* item : {"@invincible", "@cooling"})
    s += std::string("GUI_SetItemState ") + item + " 1 1\nGUI_SetItemState " + item +
         " 2 bits(0.4)\nGUI_SetItemState " + item + " 3 0xFF30FF30\n";
  char line[160];
  for (int i = 0; i < kChatLines; ++i) {
    std::snprintf(line, sizeof line,
                  "GUI_ChatMessage 0x%X \"PILOT-%d\" \"message %d of the match chat, a line of ordinary "
                  "length\"\n",
                  i % 2 ? 0xFFFF4040 : 0xFF4080FF, i % kScoreRows, i + 1);
    s += line;
  }
  return s;
}

int CountWindows(CGUI_Window* w) {
  int n = 0;
  for (CGUI_Window* child : w->Children()) n += 1 + CountWindows(child);
  return n;
}

}  // namespace

bool Open(std::string* error) {
  korvohost::Reset();
  if (!korvohost::Mount(KORVO_ASSET_ROOT, error)) return false;
  korvohost::SetScreen(1920, 1080);
  korvohost::SetRenderMode(korvohost::RenderMode::RecordOnly);
  // The network library answers from its scripted state, as under sessions;
  // a game keeps no log of service calls, so none is recorded.
  netkorvo::BeginSession();
  korvostate::SetRecording(false);
  RestartModule();
  if (!RunLines(SceneLines() + NetworkLines(), error)) return false;
  korvohost::SetTick(kStartTick);
  if (!GUI_Compile()) {
    *error = GUI_GetLastError();
    return false;
  }
  for (const char* id : {"PLAYINTERFACE", "PLAYCHAT", "PLAYTAB"}) {
    if (!GUI_CreateDialog(id)) {
      *error = std::string(id) + ": " + GUI_GetLastError();
      return false;
    }
  }
  g_frames = 0;
  return RunLines(EventLines(), error);
}

void Close() {
  GUI_Release();
  netkorvo::Reset();
  korvohost::Reset();
}

void Frame() {
  korvohost::SetTick(kStartTick + (g_frames % kClockFrames) * kFrameMs);
  ++g_frames;
  korvohost::BeginFrame(0);
  GUI_Update();
  GUI_Draw();
}

int OpenWindows() { return CountWindows(GetRootWindow()); }

}  // namespace matchscene
