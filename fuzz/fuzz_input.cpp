// fuzz_input.cpp: the shipped UI script compiled once; then each input is a
// byte stream decoded into what a host does between and during frames: mouse
// moves and clicks, keys, characters, compositions, dialogs opened and closed,
// the dialog stack, clock steps and frames. Nothing may crash or leak.
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "runtime/key_codes.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"

namespace {

std::vector<std::string> g_dialogs;

void Initialize() {
  korvohost::Mount(KORVO_ASSET_ROOT);
  korvohost::SetRenderMode(korvohost::RenderMode::RecordOnly);
  GUI_Initialize();
  if (!GUI_Compile()) std::abort();   // the shipped script must compile
  for (const auto& entry : DialogTable()->Entries()) g_dialogs.push_back(entry.first);
}

// Reads the stream byte by byte; past its end every read gives 0.
struct Stream {
  const uint8_t* data;
  size_t size, pos = 0;
  uint8_t Next() { return pos < size ? data[pos++] : 0; }
  bool More() const { return pos < size; }
};

const char* Dialog(uint8_t b) { return g_dialogs[b % g_dialogs.size()].c_str(); }

constexpr int kKeys[] = {VK_BACK, VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR,  VK_NEXT, VK_END, VK_HOME,
                         VK_LEFT, VK_UP,  VK_RIGHT,  VK_DOWN,   VK_DELETE, 'A',     '0',    VK_SPACE};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool initialized = false;
  if (!initialized) {
    Initialize();
    initialized = true;
  }
  Stream in{data, size};
  while (in.More()) {
    switch (in.Next() % 16) {
      case 0: {
        const float x = in.Next() / 200.0f - 0.1f, y = in.Next() / 200.0f - 0.1f;
        GUI_MouseMove(x, y);
        break;
      }
      case 1: GUI_LButtonDown(); break;
      case 2: GUI_LButtonUp(); break;
      case 3: GUI_KeyDown(kKeys[in.Next() % std::size(kKeys)]); break;
      case 4: GUI_Char(static_cast<char>(in.Next())); break;
      case 5: {
        const char lead = static_cast<char>(in.Next()), trail = static_cast<char>(in.Next());
        GUI_CompositionChar(lead, trail);
        break;
      }
      case 6: GUI_CreateDialog(Dialog(in.Next())); break;
      case 7: GUI_DestroyDialog(Dialog(in.Next())); break;
      case 8: GUI_NextDialog(in.Next() % 8 ? Dialog(in.Next()) : nullptr); break;
      case 9: {
        const int count = in.Next() % 4;
        GUI_PrevDialog(count, in.Next() & 1);
        break;
      }
      case 10:
      case 11:
        GUI_Update();
        korvohost::BeginFrame(0);
        GUI_Draw();
        break;
      case 12: GUI_FlushInput(); break;
      case 13: GUI_PumpDialog(); break;
      case 14: dwY3DCurrentFrameTick += in.Next() * 16u; break;
      case 15: GUI_KeyDown(in.Next()); break;
    }
  }
  // Back to the same state for the next input.
  GUI_Update();
  GUI_DestroyAllDialog();
  DialogStack().clear();
  GUI_FlushInput();
  korvohost::TakeSounds();
  korvohost::TakeCommands();
  return 0;
}
