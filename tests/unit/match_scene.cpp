// match_scene.cpp: the team match of match_scene.h, set up as the game would
// between frames: host and network state first, then the compile, the
// overlays and the events the game pushes into them.
#include "tests/unit/match_scene.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "korvogui/korvogui.h"
#include "korvogui/overlays.h"
#include "korvogui/room.h"
#include "netkorvo/netkorvo.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "host/session_state.h"
#include "runtime/module_state.h"
#include "runtime/window.h"
#include "runtime/window_manager.h"
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

// Runs set-up lines of the session format through the stand-ins' providers.
bool RunStateLines(const std::string& text, std::string* error) {
  for (const SessionLine& line : SplitSessionLines(text)) {
    if (line.body.empty()) continue;
    std::vector<SessionToken> tokens;
    bool handled = false;
    if (!TokenizeSessionLine(line.body, &tokens, error) || !RunStateCommand(tokens, &handled, error)) {
      *error = line.body + ": " + *error;
      return false;
    }
    if (!handled) {
      *error = line.body + ": not a state line";
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
// play mark, two item gauges, four timed messages and twelve chat lines.
void PushEvents() {
  unsigned long colours[2] = {0xFFFF4040, 0xFF4080FF};
  char red[] = "RED", blue[] = "BLUE";
  char* names[2] = {red, blue};
  GUI_InitTeamColor(2, colours, names);
  GUI_TimerMessage(3, 775);
  char mark[] = "crandom.tga";
  GUI_SetPlayMark(mark, 0xC0FFFFFF);
  // The items are the host's objects of the scene, found by their session names.
  for (const char* name : {"@invincible", "@cooling"}) {
    void* item = nullptr;
    std::string kind, error;
    if (!ResolveSessionObject(SessionToken{name, false, false}, &item, &kind, &error)) continue;
    GUI_SetItemState(static_cast<COH_Item*>(item), 1, 1);
    const float fill = 0.4f;
    uint32_t bits;
    static_assert(sizeof bits == sizeof fill);
    std::memcpy(&bits, &fill, sizeof bits);
    GUI_SetItemState(static_cast<COH_Item*>(item), 2, bits);
    GUI_SetItemState(static_cast<COH_Item*>(item), 3, 0xFF30FF30);
  }
  const uint32_t ten_minutes = 600000;
  char m1[] = "PILOT-3 DESTROYED PILOT-6", m2[] = "RED TEAM LEADS BY 4", m3[] = "ARMOR RESTORED",
       m4[] = "PILOT-1: regroup at the north gate";
  GUI_EventMessage1(m1, ten_minutes, 0xFFFFFFFF);
  GUI_EventMessage2(m2, ten_minutes, 0xFFFF4040);
  GUI_EventMessage3(m3, ten_minutes, 0xFF30FF30);
  GUI_EventMessage4(m4, ten_minutes, 0xFFFFFA9D);
  char name[32], text[96];
  for (int i = 0; i < kChatLines; ++i) {
    std::snprintf(name, sizeof name, "PILOT-%d", i % kScoreRows);
    std::snprintf(text, sizeof text, "message %d of the match chat, a line of ordinary length", i + 1);
    GUI_ChatMessage(i % 2 ? 0xFFFF4040 : 0xFF4080FF, name, text);
  }
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
  if (!RunStateLines(SceneLines() + NetworkLines(), error)) return false;
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
  PushEvents();
  g_frames = 0;
  return true;
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
