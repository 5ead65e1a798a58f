// long_text_bench.cpp: 1 MB texts through the paths whose cost must stay in
// proportion to the text: the compile of a script that ends inside a comment
// or a string (one failed token holding the rest of the text, and its error
// messages), and the wrapping of a message into rows measured with the
// reference host's text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "host/host_graphics.h"
#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "menus/line_wrapper.h"
#include "refhost/korvohost.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"

namespace {

constexpr size_t kTextBytes = 1 << 20;

// Arg 0: the text ends inside a block comment; 1: inside a string.
void BM_CompileEndingInsideToken(benchmark::State& state) {
  static const bool initialized = [] {
    GUI_Initialize();
    return true;
  }();
  benchmark::DoNotOptimize(initialized);
  const std::string text = std::string(state.range(0) ? "\"" : "/*") + std::string(kTextBytes, 'x');
  for (auto _ : state) {
    CDialogTable* table = CompileScript(text.c_str());
    if (table) state.SkipWithError("the text compiled");
    benchmark::DoNotOptimize(GetErrorText());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_CompileEndingInsideToken)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A message of words and blanks wrapped for a list half the screen wide, the
// way the message box measures it.
void BM_WrapLongMessage(benchmark::State& state) {
  korvohost::SetScreen(1024, 768);
  CY3DText font(Y3DFONT_GAME, GFontNormal, 0, 0, 0, 16, 1.0f, 0);
  const TextMeasure measure = [&font](const char* s, int len) {
    float w = 0;
    font.GetTextMetric(s, len, &w, nullptr);
    return w / float(SCREEN_X);
  };
  std::string text;
  while (text.size() < kTextBytes) text += "the quick brown fox jumps over the lazy dog ";
  text.resize(kTextBytes);
  size_t rows = 0;
  for (auto _ : state) {
    const std::vector<std::string> wrapped = WrapText(nullptr, text.c_str(), 0.5f, measure);
    rows = wrapped.size();
    benchmark::DoNotOptimize(rows);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["rows"] = double(rows);
}
BENCHMARK(BM_WrapLongMessage)->Unit(benchmark::kMillisecond);

}  // namespace
