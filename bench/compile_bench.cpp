// compile_bench.cpp: compiling generated scripts of 1,000 dialogs x 20
// controls and 200 x 40, with MB/s and controls/s, beside its stages (the
// scanner alone, scanner and parser without evaluation) and a memchr pass over
// the same bytes (the floor any scanner has to pay).
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/script_generator.h"
#include "korvogui/korvogui.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"
#include "script/parser.h"
#include "script/scanner.h"
#include "script/ui_script_language.h"

namespace {

void EnsureInitialized() {
  static bool done = false;
  if (!done) {
    GUI_Initialize();
    done = true;
  }
}

void BM_CompileScript(benchmark::State& state) {
  EnsureInitialized();
  const int dialogs = static_cast<int>(state.range(0));
  const int controls = static_cast<int>(state.range(1));
  const std::string text = GenerateScript(dialogs, controls);
  for (auto _ : state) {
    CDialogTable* table = CompileScript(text.c_str());
    if (!table) state.SkipWithError(GetErrorText());
    benchmark::DoNotOptimize(table);
    delete table;
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["controls/s"] = benchmark::Counter(double(dialogs) * controls * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
  state.counters["bytes"] = double(text.size());
}
// Warm: the pools and kept frames of earlier compiles are in place, as for
// repeated compiles in one process.
BENCHMARK(BM_CompileScript)->Args({1000, 20})->Args({200, 40})->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5)->MinTime(1.0);

void SetRates(benchmark::State& state, const std::string& text) {
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["controls/s"] = benchmark::Counter(
      double(state.range(0)) * double(state.range(1)) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The scanner alone: every token of the text, skipped ones included.
void BM_ScanOnly(benchmark::State& state) {
  EnsureInitialized();
  const std::string text = GenerateScript(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  CUIScriptLexerTables lexerTables;
  for (auto _ : state) {
    CStringScanner scanner(&lexerTables, text.c_str());
    CToken token;
    size_t tokens = 0;
    while (!scanner.AtEnd()) {
      scanner.NextToken(token);
      ++tokens;
    }
    benchmark::DoNotOptimize(tokens);
  }
  SetRates(state, text);
}
BENCHMARK(BM_ScanOnly)->Args({1000, 20})->Args({200, 40})->Unit(benchmark::kMillisecond);

// Scanner and parser: the whole parse tree is built, then cleared.
void BM_ParseOnly(benchmark::State& state) {
  EnsureInitialized();
  const std::string text = GenerateScript(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  CUIScriptLexerTables lexerTables;
  CUIScriptParserTables parserTables;
  for (auto _ : state) {
    CStringScanner scanner(&lexerTables, text.c_str());
    CParser parser(&parserTables, &scanner);
    const CParseResult result = parser.Parse();
    if (!result.IsValid()) state.SkipWithError(result.message.Data());
    parser.Clear();
  }
  SetRates(state, text);
}
BENCHMARK(BM_ParseOnly)->Args({1000, 20})->Args({200, 40})->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

void BM_MemchrPass(benchmark::State& state) {
  const std::string text = GenerateScript(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    size_t lines = 0;
    for (const char* p = text.data(); (p = static_cast<const char*>(std::memchr(p, '\n', text.data() + text.size() - p))); ++p)
      ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_MemchrPass)->Args({1000, 20})->Args({200, 40})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
