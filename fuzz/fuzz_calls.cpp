// fuzz_calls.cpp: each input is a byte stream decoded into a sequence of the
// module's exported calls, over a fixed set of UI scripts laid over the game
// file system: compiles, dialogs and the dialog stack, message boxes whose
// callbacks compile again, re-initialise, open another box or refuse, the
// script console, diagnostic lines, input, frames, and release and
// initialisation. Nothing may crash or leak. Every input ends with the module
// and the reference host back in one state, so runs reproduce.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/host_services.h"
#include "korvogui/console.h"
#include "korvogui/korvogui.h"
#include "korvogui/messagebox.h"
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

// The shipped script (the file of the asset root itself), then fuzz/scripts/.
const char* const kScriptFiles[] = {"rooms.ui", "bad_create.ui", "syntax.ui", "unknown_class.ui"};
std::vector<std::string> g_scripts;   // overlay texts; index 0 (shipped) has none

std::string ReadScript(const char* name) {
  std::ifstream in(std::string(KORVO_FUZZ_SCRIPTS) + "/" + name, std::ios::binary);
  if (!in) std::abort();   // the script set is part of the fuzzer
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void SelectScript(size_t index) {
  if (index == 0) korvohost::RemoveOverlayFile(kScriptPath);
  else korvohost::OverlayFile(kScriptPath, g_scripts[index]);
}

// Dialog ids the calls name: those of the scripts and one that none has.
const char* const kDialogs[] = {"ROOMMENU", "SCRIPTCONSOLE", "MBOX_OK",      "MESSAGEBOX2",
                                "MAINMENU", "OPTIONMENU",    "SELECTIDMENU", "NOSUCHMENU"};

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

// The small script of the set is the one an input starts with (the shipped
// one takes long to compile).
void StartHost() {
  korvohost::Mount(KORVO_ASSET_ROOT);
  korvohost::SetRenderMode(korvohost::RenderMode::RecordOnly);
  SelectScript(1);
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

void Frame() {
  GUI_Update();
  korvohost::BeginFrame(0);
  GUI_Draw();
}

void RunCall(Stream& in) {
  switch (in.Next() % 27) {
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
  }
}

// Back to the state every input starts from.
void ResetModule() {
  GUI_CloseCurrentMessageBox();
  Release();
  GUI_FlushInput();
  Routing() = SGUI_Routing();
  korvohost::Reset();
  StartHost();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_scripts.emplace_back();
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
