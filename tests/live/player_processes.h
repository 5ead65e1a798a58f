// player_processes.h: the live tests' checks and their player process. The
// test program starts a copy of itself with "--player ARGS..." and reads the
// lines it prints; the end of the player's standard input tells it to quit.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

extern int g_failures;
// What the player printed, line by line.
extern std::vector<std::string> g_playerLines;

using Clock = std::chrono::steady_clock;
double MsSince(Clock::time_point start);

// Prints the check and counts a failure.
void Check(bool ok, const std::string& what);
// A player's answer: one line on its standard output.
void Say(const std::string& line);
// Starts "/proc/self/exe --player ARGS...".
void StartPlayer(const std::vector<std::string>& args);
// Takes what the player wrote into g_playerLines.
void ReadPlayer();
// Closes the player's input (or kills it) and reaps it, running `idle` while
// it goes; one that takes over 5 s is killed.
void StopPlayer(bool kill, const std::function<void()>& idle);
// A port of this socket type on 127.0.0.1 that nobody listens on.
uint16_t FreePort(int type);
