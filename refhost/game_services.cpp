// game_services.cpp: the host's sound lengths, music, movie and restart
// requests, the game loop test, math tables, the platform clock and the map
// file search.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "host/host_services.h"
#include "refhost/call_record.h"
#include "refhost/game_state.h"

using korvohost::Game;
using korvohost::RecordService;

namespace {

struct Tables {
  float cosines[4096];
  float sines[4096];
  Tables() {
    for (int i = 0; i < 4096; ++i) {
      const double a = 2.0 * std::numbers::pi * i / 4096.0;
      cosines[i] = float(std::cos(a));
      sines[i] = float(std::sin(a));
    }
  }
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

}  // namespace

const float* cos_ptr = TheTables().cosines;
const float* sin_ptr = TheTables().sines;

// ---- Sound, music, engine ---------------------------------------------------------------

int GetPlayTime(int) { return Game().playTime; }
void PlayMainBGM() { RecordService("PlayMainBGM", {}); }
void PlayIntroMovie() { RecordService("PlayIntroMovie", {}); }
void Restart(const char* reason) { RecordService("Restart", {korvostate::PrintText(reason)}); }
bool IsInGameLoop() { return Game().inGameLoop; }

// ---- Math and clock ------------------------------------------------------------------------

float GetY3DDegree(float degrees) { return float(degrees * std::numbers::pi / 180.0); }
float fastsqrt(float x) { return std::sqrt(x); }
uint32_t timeGetTime() { return Game().systemTime; }

// ---- File search -------------------------------------------------------------------------

const char* GetGNDPath(const char* name) {
  static std::string path;
  path = std::string("map/") + (name ? name : "");
  return path.c_str();
}

int FindFiles(const char* pattern, char*** names) {
  if (names) *names = nullptr;
  if (!pattern || !names) return 0;
  const std::string full = std::string("data/") + pattern;
  std::vector<std::string> found;
  for (const std::string& path : korvohost::ListFiles()) {
    if (!korvohost::MatchPattern(full.c_str(), path.c_str())) continue;
    const size_t slash = path.rfind('/');
    found.push_back(slash == std::string::npos ? path : path.substr(slash + 1));
  }
  if (found.empty()) return 0;
  char** array = static_cast<char**>(std::calloc(found.size(), sizeof(char*)));
  if (!array) return 0;
  for (size_t i = 0; i < found.size(); ++i) array[i] = strdup(found[i].c_str());
  *names = array;
  return int(found.size());
}

void Release2DArray(char** array, int count) {
  if (!array) return;
  for (int i = 0; i < count; ++i) std::free(array[i]);
  std::free(array);
}

int FindFilesInCFS(const char* pattern) {
  if (!pattern) return 0;
  int n = 0;
  for (const std::string& path : korvohost::ListFiles())
    if (korvohost::MatchPattern(pattern, path.c_str())) ++n;
  return n;
}
