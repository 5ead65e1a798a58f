// fuzz_calls.cpp: each input is a byte stream decoded into a sequence of the
// module's exported calls, over a fixed set of UI scripts laid over the game
// file system: compiles, dialogs and the dialog stack, message boxes whose
// callbacks compile again, re-initialise, open another box or refuse, the
// script console, diagnostic lines, input, frames, the overlays' game events
// over a controlled mech, and release and initialisation. Nothing may crash or leak. Every input ends with the module
// and the reference host back in one state, so runs reproduce.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "korvogui/console.h"
#include "korvogui/korvogui.h"
#include "korvogui/messagebox.h"
#include "korvogui/overlays.h"
#include "netkorvo/netkorvo.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "runtime/control.h"
#include "runtime/key_codes.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/routing.h"
#include "runtime/window_manager.h"

namespace {

constexpr const char* kScriptPath = "data/script/ui/ui_script.txt";

// ---- Scripts -------------------------------------------------------------------------------

// A small room script, the shipped script cut into scripts of a few related
// screens each (fuzz/split_script.py: every screen family is there, and an
// input compiles a few dialogs rather than the whole file), then scripts that
// fail to compile or to create.
const char* const kScriptFiles[] = {
    "rooms.ui", "part_front_end.ui", "part_front_end_gallery.ui", "part_multiplayer_create.ui",
    "part_multiplayer_room.ui", "part_multiplayer_setup.ui", "part_online_lobby_accounts.ui",
    "part_online_lobby_channels.ui", "part_options.ui", "part_options_controls.ui",
    "part_overlays_hud.ui", "part_overlays_menus.ui", "part_single_player_briefing.ui",
    "part_single_player_in_mission.ui", "part_single_player_missions.ui",
    "part_single_player_results.ui", "bad_create.ui", "syntax.ui", "unknown_class.ui"};
std::vector<std::string> g_scripts;

std::string ReadScript(const char* name) {
  std::ifstream in(std::string(KORVO_FUZZ_SCRIPTS) + "/" + name, std::ios::binary);
  if (!in) std::abort();   // the script set is part of the fuzzer
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void SelectScript(size_t index) { korvohost::OverlayFile(kScriptPath, g_scripts[index]); }

// Dialog ids the calls name: those of the scripts and one that none has.
const char* const kDialogs[] = {
    "MAINMENU",         "MBOX_OK",           "MESSAGEBOX2",          "SCRIPTCONSOLE",
    "OPTIONMENU",       "OPTIONGRAPHIC",     "OPTIONSOUND",          "OPTIONNETWORK",
    "OPTIONCONTROLS",   "OPTIONCONTROLSMESSAGE", "OPTIONMACROMENU",  "SELECTIDMENU",
    "SELECTIDNEWIDMENU", "LOGINMENU",        "KORVONETMENU",         "CREATECHANNEL",
    "NEWIDMENU",        "CHANGEPASSMENU",    "JOINMENU",             "MULTIPLAYSELECTMENU",
    "SERVERMENU",       "CREATEMENU",        "TEAMDEATHMATCH",       "ROOMMENU",
    "GALLERY",          "DEMOPLAY",          "SELECTMISSIONMENU",    "OBJECTIVE",
    "SINGLEPLAYESC",    "SINGLEPLAYSURRENDER", "SINGLEPLAYRESTART",  "SINGLEPLAYEXIT",
    "SINGLEPLAYMISSIONOBJECTIVE", "STATISTICSMENU", "MISSIONFAILEDMENU", "MISSIONENDINGMENU",
    "PLAYINTERFACE",    "PLAYCHAT",          "PLAYTAB",              "MULTIPLAYGAMEOVER",
    "GAMELOADING",      "MISSIONLOADING",    "MULTIPLAYESC",         "LEAVEGAME",
    "EXITGAME",         "NOSUCHMENU"};

const char* const kTexts[] = {
    "",
    "Short text",
    ("A text long enough to take more rows than a message box shows at a time, so that its "
     "arrows stay; it goes on for a while.\nA second paragraph\nand a third one."),
    "#c 02 red#r and plain ## %s %d",
};

constexpr int kKeys[] = {VK_BACK, VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR,  VK_NEXT, VK_END, VK_HOME,
                         VK_LEFT, VK_UP,  VK_RIGHT,  VK_DOWN,   VK_DELETE, 'A',     '0',    VK_SPACE};

// ---- Release and initialisation ------------------------------------------------------------------

// GUI_Initialize runs once per process (GUI_Release leaves its guard set and
// the registry gone), so a release here frees what GUI_Release frees besides
// the class registry: the compiled table with everything that points into it.
void Release() { ReleaseDialogTable(); }

// Every input starts with the room script.
void StartHost() {
  korvohost::Mount(KORVO_ASSET_ROOT);
  korvohost::SetRenderMode(korvohost::RenderMode::RecordOnly);
  SelectScript(0);
}

// ---- Message box callbacks -----------------------------------------------------------------------

bool Accept(unsigned long) { return true; }
bool Refuse(unsigned long) { return false; }
bool Recompile(unsigned long) {
  GUI_Compile();
  return true;
}
bool Reinitialize(unsigned long) {
  Release();
  GUI_Initialize();
  GUI_Compile();
  return true;
}
bool OpenAnother(unsigned long code) {
  GUI_MessageBox(code == 1 ? "again" : "no", "title", GUI_MB_YESNO, Accept);
  return true;
}
bool WriteLine(unsigned long code) {
  GUI_ScriptMessage("answer %lu", code);
  return true;
}

const MessageBoxCallback kCallbacks[] = {nullptr, Accept, Refuse, Recompile, Reinitialize,
                                         OpenAnother, WriteLine};

constexpr unsigned long kStyles[] = {0,      GUI_MB_OK,        GUI_MB_CANCEL,
                                     GUI_MB_YESNO, GUI_MB_OK | GUI_MB_EXCLUSIVE, 0x3};

// ---- Decoding ------------------------------------------------------------------------------

// Reads the stream byte by byte; past its end every read gives 0.
struct Stream {
  const uint8_t* data;
  size_t size, pos = 0;
  uint8_t Next() { return pos < size ? data[pos++] : 0; }
  bool More() const { return pos < size; }
  // Up to 63 bytes of text, its length first.
  std::string Text() {
    std::string text;
    for (int n = Next() % 64; n > 0 && More(); --n) text += static_cast<char>(Next());
    return text;
  }
};

template <class T, size_t N>
const T& Pick(const T (&items)[N], uint8_t b) {
  return items[b % N];
}

void CollectWindows(CGUI_Window* w, std::vector<CGUI_Window*>& out) {
  for (CGUI_Window* child : w->Children()) {
    out.push_back(child);
    CollectWindows(child, out);
  }
}

// Moves the mouse onto the middle of one of the windows of the open dialogs.
void MoveOntoWindow(uint8_t b) {
  std::vector<CGUI_Window*> windows;
  CollectWindows(GetRootWindow(), windows);
  if (windows.empty()) return;
  CGUI_Window* w = windows[b % windows.size()];
  float corner[2] = {w->Origin()[0] + w->Region()[0], w->Origin()[1] + w->Region()[1]};
  if (auto* control = dynamic_cast<CGUI_Control*>(w)) control->GetAlignedPos(corner, true);
  GUI_MouseMove(corner[0] + w->Region()[2] * 0.5f, corner[1] + w->Region()[3] * 0.5f);
}

// The controlled mech that the play interface reads, and an item of the scene.
CHARACTER g_mech;
CWeapon g_weapon = {"GATLING"};
COH_Item g_item = {33};

void ControlMech(Stream& in) {
  g_mech = CHARACTER();
  g_mech.armor = int(in.Next()) - 30;
  g_mech.heat.value = in.Next() * 5.0f;
  g_mech.heat.overheated = in.Next() & 1;
  g_mech.weapon = in.Next() & 1 ? &g_weapon : nullptr;
  pControlCharacter = in.Next() % 4 ? &g_mech : nullptr;
}

void Frame() {
  GUI_Update();
  korvohost::BeginFrame(0);
  GUI_Draw();
}

void RunCall(Stream& in) {
  switch (in.Next() % 37) {
    case 0: SelectScript(in.Next() % g_scripts.size()); break;
    case 1: GUI_Compile(); break;
    case 2: GUI_CreateDialog(Pick(kDialogs, in.Next())); break;
    case 3: GUI_DestroyDialog(Pick(kDialogs, in.Next())); break;
    case 4: GUI_NextDialog(in.Next() % 8 ? Pick(kDialogs, in.Next()) : nullptr); break;
    case 5: {
      const int count = in.Next() % 4;
      GUI_PrevDialog(count, in.Next() & 1);
      break;
    }
    case 6: GUI_PumpDialog(); break;
    case 7: GUI_DestroyAllDialog(); break;
    case 8: {
      const char* text = Pick(kTexts, in.Next());
      const unsigned long style = Pick(kStyles, in.Next());
      GUI_MessageBox(text, "title", style, Pick(kCallbacks, in.Next()));
      break;
    }
    case 9: GUI_CloseCurrentMessageBox(); break;
    case 10: GUI_ShowScriptPanel(in.Next() & 1); break;
    case 11: GUI_ScriptMessage("%s", in.Text().c_str()); break;
    case 12: {
      korvohost::SetVar("DebugMode", in.Next() & 1);
      LogMessage("%s", in.Text().c_str());
      break;
    }
    case 13: MoveOntoWindow(in.Next()); break;
    case 14: {
      const float x = in.Next() / 200.0f - 0.1f, y = in.Next() / 200.0f - 0.1f;
      GUI_MouseMove(x, y);
      break;
    }
    case 15: GUI_LButtonDown(); break;
    case 16: GUI_LButtonUp(); break;
    case 17:   // a whole click
      GUI_LButtonDown();
      GUI_LButtonUp();
      GUI_Update();
      break;
    case 18: GUI_KeyDown(Pick(kKeys, in.Next())); break;
    case 19: GUI_Char(static_cast<char>(in.Next())); break;
    case 20: {
      const char lead = static_cast<char>(in.Next()), trail = static_cast<char>(in.Next());
      GUI_CompositionChar(lead, trail);
      break;
    }
    case 21: GUI_Update(); break;
    case 22: Frame(); break;
    case 23: dwY3DCurrentFrameTick += in.Next() * 16u; break;
    case 24: Release(); break;
    case 25: GUI_Initialize(); break;
    case 26:
      for (const char* line : {"show", "map arena"}) {
        for (const char* c = line; *c; ++c) GUI_Char(*c);
        GUI_Char('\r');
      }
      GUI_Update();
      break;
    case 27: ControlMech(in); break;
    case 28: {
      std::string text = in.Text();
      const uint32_t duration = in.Next() * 100u, argb = 0xFF000000u | in.Next() * 0x010101u;
      switch (in.Next() % 5) {
        case 0: GUI_EventMessage1(text.data(), duration, argb); break;
        case 1: GUI_EventMessage2(text.data(), duration, argb); break;
        case 2: GUI_EventMessage3(text.data(), duration, argb); break;
        case 3: GUI_EventMessage4(text.data(), duration, argb); break;
        case 4: GUI_EventMessage5(text.data(), duration, argb); break;
      }
      break;
    }
    case 29: {
      const int mode = in.Next() % 5;
      GUI_TimerMessage(mode, int(in.Next()) * 40 - 100);
      break;
    }
    case 30: {
      std::string name = in.Text(), text = in.Text();
      GUI_ChatMessage(0xFF000000u | in.Next() * 0x010101u, name.data(), text.data());
      break;
    }
    case 31: in.Next() & 1 ? GUI_EnterChatMode() : GUI_LeaveChatMode(); break;
    case 32:
      if (in.Next() & 1) GUI_InitLoadingScene();
      else GUI_ReleaseLoadingScene();
      break;
    case 33: {
      static const int kItemTypes[] = {27, 28, 29, 30, 31, 32, 33};
      g_item.type = Pick(kItemTypes, in.Next());
      const uint32_t what = in.Next() % 5;
      const float fill = in.Next() / 255.0f;
      uint32_t bits;
      std::memcpy(&bits, &fill, sizeof bits);
      GUI_SetItemState(&g_item, what, what == 2 ? bits : in.Next());
      break;
    }
    case 34: {
      const uint32_t what = in.Next() % 6;
      const float range = in.Next() / 64.0f;
      uint32_t bits;
      std::memcpy(&bits, &range, sizeof bits);
      GUI_SetRadarState(what, what == 2 ? bits : what >= 3 ? reinterpret_cast<uintptr_t>(&g_mech) : in.Next() & 1);
      break;
    }
    case 35: {
      std::string mark = in.Text();
      GUI_SetPlayMark(in.Next() & 1 ? mark.data() : nullptr, 0xFF000000u | in.Next() * 0x010101u);
      break;
    }
    case 36: (void)GUI_IsLoadingSceneAlive(); break;
  }
}

// Back to the state every input starts from.
void ResetModule() {
  GUI_CloseCurrentMessageBox();
  Release();
  GUI_FlushInput();
  Routing() = SGUI_Routing();
  korvohost::Reset();
  netkorvo::Reset();
  StartHost();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  for (const char* name : kScriptFiles) g_scripts.push_back(ReadScript(name));
  StartHost();
  GUI_Initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Stream in{data, size};
  while (in.More()) RunCall(in);
  ResetModule();
  return 0;
}
