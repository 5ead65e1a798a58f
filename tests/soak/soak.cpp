// soak.cpp: compile the shipped script, open every dialog, run frames, close
// them, free the table — CYCLES times — and check that resident memory stops
// growing (under 1 MiB over the run after a warm-up). Under AddressSanitizer
// the resident size says nothing (its quarantine grows), so there only the
// leak check at exit judges.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "runtime/module_state.h"
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

bool Cycle() {
  if (!GUI_Compile()) {
    std::fprintf(stderr, "soak: %s\n", GUI_GetLastError());
    return false;
  }
  std::vector<std::string> ids;
  for (const auto& entry : DialogTable()->Entries()) ids.push_back(entry.first);
  for (const std::string& id : ids) {
    GUI_CreateDialog(id.c_str());
    GUI_MouseMove(0.5f, 0.5f);
    GUI_LButtonDown();
    GUI_LButtonUp();
    GUI_Update();
    korvohost::BeginFrame(0);
    GUI_Draw();
  }
  GUI_DestroyAllDialog();
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
  const int warmup = cycles < 20 ? 1 : 10;
  for (int i = 0; i < warmup; ++i)
    if (!Cycle()) return 1;
  const long before = ResidentBytes();
  for (int i = 0; i < cycles; ++i)
    if (!Cycle()) return 1;
  const long growth = ResidentBytes() - before;
  GUI_Release();
  std::printf("soak: %d cycles, resident growth %ld bytes%s\n", cycles, growth,
              kSanitized ? " (not judged under AddressSanitizer)" : "");
  if (!kSanitized && growth >= 1024 * 1024) {
    std::printf("soak: resident memory grew by 1 MiB or more\n");
    return 1;
  }
  return 0;
}
