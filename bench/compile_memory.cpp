// compile_memory.cpp: the memory and time of one compile of a large script.
// Usage: korvo_compile_memory [DIALOGS BUTTONS_PER_DIALOG]  (default 400 x 50,
// 20,000 push buttons with the game button's PARAM lines, about 10 MB).
// Prints the script's bytes, the compile's wall time, the process's peak
// resident memory before and after the compile (VmHWM) and the peak over the
// script's size. Run alone (peak RSS is per process), e.g. under
// /usr/bin/time -v for the kernel's own figure:
//   /usr/bin/time -v build/release/bench/korvo_compile_memory
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/script_generator.h"
#include "korvogui/korvogui.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"

namespace {

// The process's peak resident memory in KiB (VmHWM of /proc/self/status).
long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int dialogs = argc > 2 ? std::atoi(argv[1]) : 400;
  const int buttons = argc > 2 ? std::atoi(argv[2]) : 50;
  GUI_Initialize();
  const std::string text = GeneratePushButtonScript(dialogs, buttons);
  const long before = PeakResidentKiB();
  const auto start = std::chrono::steady_clock::now();
  CDialogTable* table = CompileScript(text.c_str());
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const long after = PeakResidentKiB();
  if (!table) {
    std::fprintf(stderr, "compile failed: %s\n", GetErrorText());
    return 1;
  }
  const double mb = text.size() / 1e6;
  std::printf("%zu bytes (%.1f MB), %d push buttons: compile %.0f ms, peak RSS %.0f MiB before, %.0f MiB after "
              "(%.0f MiB for the compile, %.0fx the script)\n",
              text.size(), mb, dialogs * buttons, ms, before / 1024.0, after / 1024.0, (after - before) / 1024.0,
              (after - before) * 1024.0 / text.size());
  delete table;
  GUI_Release();
  return 0;
}
