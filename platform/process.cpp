// process.cpp: process exit and debugger stand-ins. A debugger is found
// through the TracerPid line of /proc/self/status.
#include "platform/process.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace win32 {

void ExitProcess(uint32_t code) {
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(static_cast<int>(code));
}

bool IsDebuggerPresent() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return false;
  char line[256];
  long tracer = 0;
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, "TracerPid:", 10) == 0) {
      tracer = std::strtol(line + 10, nullptr, 10);
      break;
    }
  }
  std::fclose(status);
  return tracer != 0;
}

void DebugBreak() { std::raise(SIGTRAP); }

}  // namespace win32
