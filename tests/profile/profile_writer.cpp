// profile_writer: the crash test's helper. Saves generation after generation
// of a profile (two accounts, options.ini, controls.ini) until it is killed,
// continuing from the generation already on disk; after the first complete
// generation it writes one byte to the ready descriptor.
//
//   profile_writer DIR READY-FD
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "crash_generation.h"
#include "refhost/profile_store.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: profile_writer DIR READY-FD\n");
    return 2;
  }
  korvohost::CProfileStore store;
  std::string error;
  if (!store.Open(argv[1], &error) || store.ReadOnly()) {
    std::fprintf(stderr, "profile_writer: %s\n", error.empty() ? "profile is read-only" : error.c_str());
    return 1;
  }
  int generation = 0;
  for (const korvohost::SAccountRecord& a : store.LoadAccounts())
    if (a.name == "ALPHA") generation = a.total;
  const int ready = std::atoi(argv[2]);
  const auto start = std::chrono::steady_clock::now();
  // Bounded on its own too: the test kills it long before.
  for (int round = 0; round < 100000 && std::chrono::steady_clock::now() - start < std::chrono::seconds(60); ++round) {
    ++generation;
    if (!store.SaveAccount(crashtest::Account("ALPHA", generation), &error) ||
        !store.SaveAccount(crashtest::Account("BRAVO \xB0\xA1", generation), &error) ||
        !store.SaveOptions(crashtest::Options(generation), &error) ||
        !store.SaveBindings(crashtest::Bindings(generation), &error)) {
      std::fprintf(stderr, "profile_writer: %s\n", error.c_str());
      return 1;
    }
    if (round == 0 && (::write(ready, "r", 1) != 1 || ::close(ready) != 0)) return 1;
  }
  return 0;
}
