// soak.cpp: CYCLES times over the shipped UI script: compile it, open every
// dialog of the compiled table one after the other (each with frames, a click
// in its middle and more frames), close it, and free the table. Checks that
// the table holds every dialog id of the game's registration table, that
// every dialog opens, and that resident memory stops growing: under 1 MiB over
// the run after a warm-up. Under AddressSanitizer the resident size says
// nothing (its quarantine grows), so there only the leak check at exit judges.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/window_manager.h"

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

namespace {

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

// The dialog ids of the registration table, as GUI_Initialize ran it.
std::set<std::string> RegisteredDialogs() {
  std::set<std::string> ids;
  for (const CGUI_ClassRegistry::SRegistration& r : GetClassRegistry()->IdRegistrations())
    if (r.className == "DIALOG") ids.insert(r.id);
  return ids;
}

void Frame(uint32_t* tick) {
  *tick += 16;
  korvohost::SetTick(*tick);
  GUI_Update();
  korvohost::BeginFrame(0);
  GUI_Draw();
}

// One cycle; false with a message when the script does not compile or a
// dialog does not open.
bool Cycle(const std::set<std::string>& registered) {
  if (!GUI_Compile()) {
    std::fprintf(stderr, "soak: %s\n", GUI_GetLastError());
    return false;
  }
  std::vector<std::string> ids;
  for (const auto& entry : DialogTable()->Entries()) ids.push_back(entry.first);
  for (const std::string& id : registered) {
    if (!DialogTable()->Entries().count(id)) {
      std::fprintf(stderr, "soak: the shipped script has no dialog %s\n", id.c_str());
      return false;
    }
  }
  uint32_t tick = 1000;
  for (const std::string& id : ids) {
    if (!GUI_CreateDialog(id.c_str())) {
      std::fprintf(stderr, "soak: %s does not open: %s\n", id.c_str(), GUI_GetLastError());
      return false;
    }
    Frame(&tick);
    GUI_MouseMove(0.5f, 0.5f);
    GUI_LButtonDown();
    GUI_LButtonUp();
    for (int i = 0; i < 3; ++i) Frame(&tick);
    // The click may have opened other dialogs, message boxes included.
    GUI_DestroyAllDialog();
  }
  InstallDialogTable(nullptr);
  korvohost::TakeSounds();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
  if (!korvohost::Mount(KORVO_ASSET_ROOT)) return 2;
  korvohost::SetRenderMode(korvohost::RenderMode::RecordOnly);
  GUI_Initialize();
  const std::set<std::string> registered = RegisteredDialogs();
  if (registered.empty()) {
    std::fprintf(stderr, "soak: no registration table\n");
    return 2;
  }
  const int warmup = cycles < 20 ? 1 : 10;
  for (int i = 0; i < warmup; ++i)
    if (!Cycle(registered)) return 1;
  const long before = ResidentBytes();
  for (int i = 0; i < cycles; ++i)
    if (!Cycle(registered)) return 1;
  const long growth = ResidentBytes() - before;
  GUI_Release();
  std::printf("soak: %d cycles of %zu registered dialogs, resident growth %ld bytes%s\n", cycles,
              registered.size(), growth, kSanitized ? " (not judged under AddressSanitizer)" : "");
  if (!kSanitized && growth >= 1024 * 1024) {
    std::printf("soak: resident memory grew by 1 MiB or more\n");
    return 1;
  }
  return 0;
}
