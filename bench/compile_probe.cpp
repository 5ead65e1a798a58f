// compile_probe.cpp: compiles one generated script a given number of times,
// for instruction counts under callgrind (toggle collection on CompileScript)
// or a quick wall-clock check. Usage: korvo_compile_probe DIALOGS CONTROLS
// [REPEATS]; prints the bytes and the fastest compile's milliseconds.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/script_generator.h"
#include "korvogui/korvogui.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s DIALOGS CONTROLS [REPEATS]\n", argv[0]);
    return 2;
  }
  const int dialogs = std::atoi(argv[1]);
  const int controls = std::atoi(argv[2]);
  const int repeats = argc > 3 ? std::atoi(argv[3]) : 1;
  GUI_Initialize();
  const std::string text = GenerateScript(dialogs, controls);
  double bestMs = 0, bestDeleteMs = 0;
  for (int i = 0; i < repeats; ++i) {
    const auto start = std::chrono::steady_clock::now();
    CDialogTable* table = CompileScript(text.c_str());
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (i == 0 || ms < bestMs) bestMs = ms;
    if (!table) {
      std::fprintf(stderr, "compile failed: %s\n", GetErrorText());
      return 1;
    }
    const auto deleteStart = std::chrono::steady_clock::now();
    delete table;
    const double deleteMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - deleteStart).count();
    if (i == 0 || deleteMs < bestDeleteMs) bestDeleteMs = deleteMs;
  }
  std::printf("%zu bytes, %d controls, fastest compile %.2f ms (%.2f us/control), table delete %.2f ms\n",
              text.size(), dialogs * controls, bestMs, bestMs * 1000.0 / (dialogs * controls), bestDeleteMs);
  GUI_Release();
  return 0;
}
