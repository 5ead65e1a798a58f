// peerbench.cpp: korvogui_peerbench DATA_DIR — the module's side of the peer
// comparison (CEGUI, Dear ImGui) on the layouts gen_layouts.py writes. Prints
// "RESULT kind key=value ..." lines:
//   module_layout_load  GUI_Compile of DATA_DIR/module_script.txt from memory,
//                       warm (after a warm-up), best and median of REPS runs;
//                       mb_per_s beside a plain memchr pass over the same bytes
//   module_show         GUI_CreateDialog over OPENS different dialogs: cold (the
//                       first creation of each), warm (each opened again after
//                       GUI_DestroyDialog), median and best; then dialog 0's
//                       first frame after its creation
//   module_frame        GUI_Update + GUI_Draw of dialog 0, the reference host
//                       recording draw calls without rasterising; heap
//                       allocations per frame counted by operator new
// MODULE_FRAMES sets the number of frames (20000), REPS the loads (5), OPENS the
// dialogs opened (100, at most N) and
// RENDER_MODE the host's mode: "record" (the default), "off" (the module's
// share alone) or "raster".
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "bench/peer_classes.h"
#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"

// ---- Allocation counter -----------------------------------------------------------------

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

int EnvInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

bool ReadFile(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *out = s.str();
  return true;
}

int StatValue(const std::string& stats, const char* key) {
  const std::string k = std::string(key) + "=";
  const size_t at = stats.find(k);
  return at == std::string::npos ? 0 : std::atoi(stats.c_str() + at + k.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: korvogui_peerbench DATA_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  std::string script, stats;
  if (!ReadFile(dir + "/module_script.txt", &script) || !ReadFile(dir + "/stats.txt", &stats)) {
    std::fprintf(stderr, "korvogui_peerbench: cannot read %s/module_script.txt or stats.txt\n", dir.c_str());
    return 2;
  }
  const int n = StatValue(stats, "N"), m = StatValue(stats, "M");
  const int windows = StatValue(stats, "layout_windows");
  const int reps = std::max(1, EnvInt("REPS", 5));
  const int frames = std::max(100, EnvInt("MODULE_FRAMES", 20000));
  const int opens = std::max(1, EnvInt("OPENS", 100));

  // As the peers' harness does for CEGUI: memory freed by one load stays with
  // the allocator for the next (no trimming back to the system), so warm loads
  // measure the work rather than first-touch page faults.
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  korvohost::OverlayFile(kUIScriptPath, script);
  korvohost::SetScreen(1920, 1080);
  const char* mode = std::getenv("RENDER_MODE");
  const std::string modeName = mode && *mode ? mode : "record";
  korvohost::SetRenderMode(modeName == "off"      ? korvohost::RenderMode::Off
                           : modeName == "raster" ? korvohost::RenderMode::Raster
                                                  : korvohost::RenderMode::RecordOnly);
  GUI_Initialize();
  RegisterPeerBenchClasses();

  // ---- Load: warm-up, then REPS timed compiles (the old table freed untimed) ----
  std::vector<double> loads;
  for (int i = -1; i < reps; ++i) {
    InstallDialogTable(nullptr);
    const auto t0 = Clock::now();
    const bool ok = GUI_Compile();
    const auto t1 = Clock::now();
    if (!ok) {
      std::fprintf(stderr, "korvogui_peerbench: %s\n", GUI_GetLastError());
      return 1;
    }
    if (i >= 0) loads.push_back(Seconds(t0, t1));
  }
  std::vector<double> scans;
  for (int i = 0; i < 20; ++i) {
    const auto t0 = Clock::now();
    size_t lines = 0;
    for (const char* p = script.data(); (p = static_cast<const char*>(std::memchr(p, '\n', script.data() + script.size() - p))); ++p)
      ++lines;
    const auto t1 = Clock::now();
    if (lines == 0) return 1;
    scans.push_back(Seconds(t0, t1));
  }
  const double best = *std::min_element(loads.begin(), loads.end());
  const double mb = script.size() / 1e6;
  std::printf("RESULT module_layout_load N=%d M=%d reps=%d best_ms=%.2f median_ms=%.2f windows_per_s=%.0f "
              "mb_per_s=%.2f memchr_mb_per_s=%.0f\n",
              n, m, reps, best * 1e3, Median(loads) * 1e3, windows / best, mb / best,
              mb / *std::min_element(scans.begin(), scans.end()));

  // ---- Opens: the first creation of each dialog (cold), then each again (warm) ----
  std::vector<std::string> ids;
  for (const auto& entry : DialogTable()->Entries()) {
    if (int(ids.size()) >= opens) break;
    ids.push_back(entry.first);
  }
  korvohost::BeginFrame(0);
  std::vector<double> cold, warm;
  for (std::vector<double>* series : {&cold, &warm}) {
    for (size_t i = ids.size(); i-- > 0;) {   // dialog 0 last: it stays open for the frames
      const auto s0 = Clock::now();
      const bool shown = GUI_CreateDialog(ids[i].c_str());
      const auto s1 = Clock::now();
      if (!shown) {
        std::fprintf(stderr, "korvogui_peerbench: %s\n", GUI_GetLastError());
        return 1;
      }
      series->push_back(Seconds(s0, s1) * 1e6);
      if (series == &cold || i > 0) GUI_DestroyDialog(ids[i].c_str());
    }
  }
  const auto s1 = Clock::now();
  GUI_Update();
  GUI_Draw();
  const auto s2 = Clock::now();
  std::printf("RESULT module_show N=%d M=%d opens=%zu cold_median_us=%.1f cold_best_us=%.1f warm_median_us=%.1f "
              "warm_best_us=%.1f first_frame_us=%.1f\n",
              n, m, ids.size(), Median(cold), *std::min_element(cold.begin(), cold.end()), Median(warm),
              *std::min_element(warm.begin(), warm.end()), Seconds(s1, s2) * 1e6);

  // ---- Frames: the mouse off-screen, as for the peers ----
  GUI_MouseMove(-1, -1);
  std::vector<double> times;
  times.reserve(frames);
  long allocations = 0;
  for (int i = 0; i < frames; ++i) {
    korvohost::BeginFrame(0);
    const long a0 = g_allocations.load(std::memory_order_relaxed);
    const auto t0 = Clock::now();
    GUI_Update();
    GUI_Draw();
    const auto t1 = Clock::now();
    if (i > 0) allocations += g_allocations.load(std::memory_order_relaxed) - a0;
    times.push_back(Seconds(t0, t1) * 1e9);
  }
  double quiet = 1e300;
  const size_t block = times.size() / 5;
  for (size_t b = 0; b < 5; ++b)
    quiet = std::min(quiet, Median(std::vector<double>(times.begin() + b * block, times.begin() + (b + 1) * block)));
  std::printf("RESULT module_frame M=%d frames=%d median_ns=%.0f quiet_median_ns=%.0f best_ns=%.0f "
              "draw_calls=%zu allocs_per_frame=%.2f\n",
              m, frames, Median(times), quiet, *std::min_element(times.begin(), times.end()),
              korvohost::DrawList().size(), double(allocations) / (frames - 1));
  return 0;
}
