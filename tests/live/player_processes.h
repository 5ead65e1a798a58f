// player_processes.h: the live tests' player processes. The test program
// starts copies of itself with "--player ARGS..." and reads the lines they
// print; the end of a player's standard input tells it to quit.
#pragma once
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SPlayer {
  pid_t pid = -1;
  int in = -1, out = -1;      // its standard input and output
  std::string buffered;
  std::vector<std::string> lines;
};

extern std::vector<SPlayer> g_players;
extern int g_failures;

using Clock = std::chrono::steady_clock;
double MsSince(Clock::time_point start);

// Prints the check and counts a failure.
void Check(bool ok, const std::string& what);
// A player's answer: one line on its standard output.
void Say(const std::string& line);
// Starts "/proc/self/exe --player ARGS..."; its index in g_players.
size_t StartPlayer(const std::vector<std::string>& args);
// Takes what every player wrote into its lines.
void ReadPlayers();
// Closes a player's input (or kills it) and reaps it, running `idle` while it
// goes; one that takes over 5 s is killed.
void StopPlayer(size_t player, bool kill, const std::function<void()>& idle = {});
// A port of this socket type on 127.0.0.1 that nobody listens on.
uint16_t FreePort(int type);
