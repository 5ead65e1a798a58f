// profile_crash_test: kills a profile writer with SIGKILL at random points and
// checks after each kill that every profile file is exactly one complete
// generation (the old or the new one, never a mix) and that the generations
// never go back. Bounded by a number of kills and a time limit. The writer is
// this program started again with "write": it saves generation after
// generation (two accounts, options.ini, controls.ini), continuing from the
// one on disk, and after the first complete one writes a byte to READY-FD.
//
//   profile_crash_test DIR KILLS SECONDS
//   profile_crash_test write DIR READY-FD
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

#include "crash_generation.h"
#include "refhost/atomic_file.h"
#include "refhost/profile_store.h"

namespace {

namespace fs = std::filesystem;
using namespace korvohost;

struct Tally {
  int kills = 0, checked = 0, mixes = 0, midWrite = 0;
  std::map<std::string, int> last;   // file -> newest generation seen
};

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The generation a file claims (-1 when it does not parse) and the bytes that
// generation must have.
int Claim(const std::string& file, const std::string& bytes, std::string* expected) {
  std::vector<std::string> errors;
  if (file.size() > 6 && file.compare(file.size() - 6, 6, ".pilot") == 0) {
    SAccountRecord a;
    int order = 0;
    if (!ParseAccount(bytes, file, &a, &order, &errors) || !errors.empty()) return -1;
    *expected = FormatAccount(crashtest::Account(a.name, a.total), order);
    return a.total;
  }
  if (file == "options.ini") {
    OptionGroups groups;
    ParseOptions(bytes, file, &groups, &errors);
    if (!errors.empty() || groups[0].empty()) return -1;
    *expected = FormatOptions(crashtest::Options(int(groups[0][0].value)));
    return int(groups[0][0].value);
  }
  std::vector<SBindingRecord> bindings;
  ParseBindings(bytes, file, &bindings, &errors);
  if (!errors.empty() || bindings.empty() || bindings[0].defaults.size() != 1) return -1;
  const int generation = std::atoi(bindings[0].defaults[0].c_str() + 3);
  *expected = FormatBindings(crashtest::Bindings(generation));
  return generation;
}

void Check(const std::string& dir, Tally& tally) {
  for (const char* file : {"ALPHA.pilot", "BRAVO%20%B0%A1.pilot", "options.ini", "controls.ini"}) {
    const std::string path = dir + "/" + file;
    if (!fs::exists(path)) continue;   // not written before the first kill
    ++tally.checked;
    std::string expected;
    const int generation = Claim(file, Read(path), &expected);
    if (generation < 0 || Read(path) != expected || generation < tally.last[file]) {
      ++tally.mixes;
      std::fprintf(stderr, "mix: %s after kill %d (generation %d, newest seen %d)\n", file, tally.kills, generation,
                   tally.last[file]);
    } else {
      tally.last[file] = generation;
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
    if (!store.SaveAccount(crashtest::Account("ALPHA", generation), &error) ||
        !store.SaveAccount(crashtest::Account("BRAVO \xB0\xA1", generation), &error) ||
        !store.SaveOptions(crashtest::Options(generation), &error) ||
        !store.SaveBindings(crashtest::Bindings(generation), &error)) {
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
    execl("/proc/self/exe", "profile_crash_test", "write", dir.c_str(), std::to_string(fds[1]).c_str(), nullptr);
    _exit(127);
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
  if (argc == 4 && std::string(argv[1]) == "write") return Write(argv[2], std::atoi(argv[3]));
  if (argc != 4) {
    std::fprintf(stderr, "usage: profile_crash_test DIR KILLS SECONDS | write DIR READY-FD\n");
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
