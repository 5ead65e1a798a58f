// profile_crash_test: kills a profile writer with SIGKILL at random points and
// checks after each kill that every profile file is exactly one complete
// generation (the old or the new one, never a mix) and that the generations
// never go back. Bounded by a number of kills and a time limit. The writer is
// a forked child: it saves generation after generation (two accounts,
// options.ini, controls.ini), continuing from the one on disk, and after the
// first complete one writes a byte to the ready pipe.
//
//   profile_crash_test DIR KILLS SECONDS
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "refhost/atomic_file.h"
#include "refhost/profile_files.h"
#include "refhost/profile_store.h"

namespace {

namespace fs = std::filesystem;
using namespace korvohost;

// The profile of each generation number, so that the checker can tell from any
// file which generation it claims and rebuild the exact bytes it must hold.
// Big enough that one file takes several writes of the disk's blocks.
constexpr int kAchievements = 400;
constexpr int kOptionsPerGroup = 150;
constexpr int kBindings = 120;

SAccountRecord Account(const std::string& name, int generation) {
  SAccountRecord a{name, generation % 8, generation % 11 - 1, generation % 5, generation % 2 == 0,
                   "MISSION " + std::to_string(generation % 12 + 1), false, "", generation, {}};
  for (int i = 0; i < kAchievements; ++i)
    a.achievements.push_back({"KEY " + std::to_string(i), "MISSION " + std::to_string(i), generation + i,
                              generation / 2 + i, generation % 7 + i});
  return a;
}

OptionGroups Options(int generation) {
  OptionGroups groups;
  for (int g = 0; g < 4; ++g)
    for (int i = 0; i < kOptionsPerGroup; ++i)
      groups[g].push_back({"item" + std::to_string(i), uint32_t(generation), uint32_t(generation + i),
                           uint32_t(i), std::to_string(generation), "macro text " + std::to_string(generation * 3 + i),
                           ""});
  return groups;
}

std::vector<SBindingRecord> Bindings(int generation) {
  std::vector<SBindingRecord> bindings;
  for (int i = 0; i < kBindings; ++i)
    bindings.push_back({"ACTION" + std::to_string(generation) + "_" + std::to_string(i),
                        {"KEY" + std::to_string(i), "KEY" + std::to_string(generation % 256)},
                        {"MOUSE" + std::to_string(i % 3)},
                        {"KEY" + std::to_string(generation)}});
  return bindings;
}

struct Tally {
  int kills = 0, checked = 0, mixes = 0, midWrite = 0;
  std::map<std::string, int> last;   // file -> newest generation seen
};

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The bytes generation g puts in a file (ALPHA is saved first, so it is first
// in the pilot list).
std::string Bytes(const std::string& file, int g) {
  if (file == "options.ini") return FormatOptions(Options(g));
  if (file == "controls.ini") return FormatBindings(Bindings(g));
  const bool alpha = file == "ALPHA.pilot";
  return FormatAccount(Account(alpha ? "ALPHA" : "BRAVO \xB0\xA1", g), alpha ? 1 : 2);
}

void Check(const std::string& dir, Tally& tally) {
  for (const char* file : {"ALPHA.pilot", "BRAVO%20%B0%A1.pilot", "options.ini", "controls.ini"}) {
    const std::string path = dir + "/" + file;
    if (!fs::exists(path)) continue;   // not written before the first kill
    ++tally.checked;
    // A complete generation no older than the newest seen (the writer makes
    // far fewer than 200 between two kills).
    const std::string bytes = Read(path);
    int generation = tally.last[file];
    while (generation < tally.last[file] + 200 && bytes != Bytes(file, generation)) ++generation;
    if (generation < tally.last[file] + 200) {
      tally.last[file] = generation;
    } else {
      ++tally.mixes;
      std::fprintf(stderr, "mix: %s after kill %d (newest seen %d)\n", file, tally.kills, tally.last[file]);
    }
  }
  for (const auto& entry : fs::directory_iterator(dir))
    if (IsAtomicTempName(entry.path().filename().string())) ++tally.midWrite;
}

int Write(const char* dir, int ready) {
  CProfileStore store;
  std::string error;
  if (!store.Open(dir, &error) || store.ReadOnly()) {
    std::fprintf(stderr, "writer: %s\n", error.empty() ? "profile is read-only" : error.c_str());
    return 1;
  }
  int generation = 0;
  for (const SAccountRecord& a : store.LoadAccounts())
    if (a.name == "ALPHA") generation = a.total;
  const auto start = std::chrono::steady_clock::now();
  // Bounded on its own too: the test kills it long before.
  for (int round = 0; round < 100000 && std::chrono::steady_clock::now() - start < std::chrono::seconds(60); ++round) {
    ++generation;
    if (!store.SaveAccount(Account("ALPHA", generation), &error) ||
        !store.SaveAccount(Account("BRAVO \xB0\xA1", generation), &error) ||
        !store.SaveOptions(Options(generation), &error) ||
        !store.SaveBindings(Bindings(generation), &error)) {
      std::fprintf(stderr, "writer: %s\n", error.c_str());
      return 1;
    }
    if (round == 0 && (::write(ready, "r", 1) != 1 || ::close(ready) != 0)) return 1;
  }
  return 0;
}

// Starts the writer and waits for its first complete generation; its pid, or -1.
pid_t StartWriter(const std::string& dir) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    _exit(Write(dir.c_str(), fds[1]));
  }
  close(fds[1]);
  pollfd p{fds[0], POLLIN, 0};
  char byte = 0;
  const bool ready = pid > 0 && poll(&p, 1, 30000) == 1 && read(fds[0], &byte, 1) == 1;
  close(fds[0]);
  if (!ready && pid > 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  return pid;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: profile_crash_test DIR KILLS SECONDS\n");
    return 2;
  }
  const std::string dir = argv[1];
  const int kills = std::atoi(argv[2]), seconds = std::atoi(argv[3]);
  fs::remove_all(dir);
  std::mt19937 random(20261206);
  std::uniform_int_distribution<int> delay(0, 8000);   // microseconds after the first generation
  Tally tally;
  const auto start = std::chrono::steady_clock::now();
  while (tally.kills < kills && std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds)) {
    const pid_t pid = StartWriter(dir);
    if (pid < 0) {
      std::fprintf(stderr, "the writer did not start\n");
      return 1;
    }
    usleep(useconds_t(delay(random)));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFSIGNALED(status)) {
      std::fprintf(stderr, "the writer ended before it was killed (status %d)\n", status);
      return 1;
    }
    ++tally.kills;
    Check(dir, tally);
  }
  std::printf("profile crash test: %d kills, %d files checked, %d mixes found, %d kills left a temporary file, "
              "newest generation %d\n",
              tally.kills, tally.checked, tally.mixes, tally.midWrite, tally.last["ALPHA.pilot"]);
  fs::remove_all(dir);
  // A slow machine may run out of time first; too few kills prove little.
  const bool enough = tally.kills >= std::min(kills, 20);
  if (!enough) std::fprintf(stderr, "only %d kills within %d s\n", tally.kills, seconds);
  return tally.mixes == 0 && enough ? 0 : 1;
}
