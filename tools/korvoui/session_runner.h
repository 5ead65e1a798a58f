// session_runner.h: `korvoui run`: executes a session script against the
// module and the reference host, printing what the script observes.
#pragma once
#include <string>

// Runs the script; 0 when every line ran, 2 after "error: line N: WHY" on
// standard error for a line that cannot be run.
int RunSession(const std::string& script);
