// open_bench.cpp: GUI_CreateDialog of compiled dialogs of 40 game push buttons
// with their full PARAM lines, one dialog after another. Cold: the first
// creation of each dialog (the button hands its lists to its members, reads
// them, registers textures, makes text objects); warm: each dialog opened
// again after GUI_DestroyDialog. Closing is not timed.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/script_generator.h"
#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"

namespace {

constexpr int kDialogs = 200;
constexpr int kButtons = 40;

// Compiles a fresh table (every dialog not yet created) and gives its ids.
std::vector<std::string> FreshTable(const std::string& text) {
  InstallDialogTable(CompileScript(text.c_str()));
  std::vector<std::string> ids;
  if (DialogTable())
    for (const auto& entry : DialogTable()->Entries()) ids.push_back(entry.first);
  return ids;
}

void BM_OpenDialog(benchmark::State& state) {
  static const bool initialized = [] {
    korvohost::SetScreen(1920, 1080);
    GUI_Initialize();
    return true;
  }();
  benchmark::DoNotOptimize(initialized);
  const bool warm = state.range(0) != 0;
  const std::string text = GeneratePushButtonScript(kDialogs, kButtons);
  std::vector<std::string> ids = FreshTable(text);
  if (ids.empty()) {
    state.SkipWithError(GetErrorText());
    return;
  }
  if (warm) {
    for (const std::string& id : ids) {
      GUI_CreateDialog(id.c_str());
      GUI_DestroyDialog(id.c_str());
    }
  }
  size_t next = 0;
  for (auto _ : state) {
    if (next == ids.size()) {
      state.PauseTiming();
      if (!warm) ids = FreshTable(text);
      next = 0;
      state.ResumeTiming();
    }
    const char* id = ids[next++].c_str();
    if (!GUI_CreateDialog(id)) {
      state.SkipWithError(GUI_GetLastError());
      break;
    }
    state.PauseTiming();
    GUI_DestroyDialog(id);
    state.ResumeTiming();
  }
  InstallDialogTable(nullptr);
}
BENCHMARK(BM_OpenDialog)->ArgName("warm")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
