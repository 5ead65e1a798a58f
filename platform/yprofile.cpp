// yprofile.cpp: the profiling library stand-in. It keeps the process handle it
// was initialised with and every log line, for tools and tests to read.
#include "platform/yprofile.h"

#include <cstdio>
#include <cstdlib>

namespace {
int g_initCount = 0;
void* g_process = nullptr;
std::vector<std::string>& Lines() {
  static std::vector<std::string> lines;
  return lines;
}
}  // namespace

extern "C" void QBN_Initialize(void* process) {
  ++g_initCount;
  g_process = process;
}

extern "C" void LogAddNewLine(const char* text) {
  Lines().emplace_back(text ? text : "");
  if (std::getenv("YPROFILE_ECHO")) std::fprintf(stderr, "[log] %s\n", text ? text : "");
}

extern "C" int YProfile_InitCount() { return g_initCount; }
extern "C" void* YProfile_Process() { return g_process; }

std::vector<std::string> YProfile_TakeLines() {
  std::vector<std::string> taken;
  taken.swap(Lines());
  return taken;
}
