// live_checks.h: the live lobby test's checks, printed line by line, its
// clock, and a free port on 127.0.0.1.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

extern int g_failures;

using Clock = std::chrono::steady_clock;
double MsSince(Clock::time_point start);

// Prints the check and counts a failure.
void Check(bool ok, const std::string& what);
// A port of this socket type on 127.0.0.1 that nobody listens on.
uint16_t FreePort(int type);
