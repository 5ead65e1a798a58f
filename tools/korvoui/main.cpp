// main.cpp: korvoui, the UI authors' tool: picks the verb and runs it.
#include <cstdio>
#include <cstring>

#include "tools/korvoui/usage.h"
#include "tools/korvoui/verbs.h"

namespace {

struct Verb {
  const char* name;
  int (*run)(int argc, char** argv);
};

const Verb kVerbs[] = {
    {"check", RunCheck}, {"dump", RunDump}, {"render", RunRender},
    {"play", RunPlay},   {"run", RunSessionVerb}, {"demo", RunDemo},
};

// `korvoui help [VERB]`.
int Help(int argc, char** argv) {
  if (argc < 3) {
    PrintToolUsage(stdout);
    return 0;
  }
  if (const char* usage = VerbUsage(argv[2])) {
    std::fputs(usage, stdout);
    return 0;
  }
  std::fprintf(stderr, "korvoui: unknown verb '%s'\n", argv[2]);
  PrintToolUsage(stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintToolUsage(stderr);
    return 2;
  }
  if (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help")) {
    PrintToolUsage(stdout);
    return 0;
  }
  if (!std::strcmp(argv[1], "help")) return Help(argc, argv);
  for (const Verb& v : kVerbs) {
    if (std::strcmp(argv[1], v.name)) continue;
    if (AsksForHelp(argc - 1, argv + 1)) {
      std::fputs(VerbUsage(v.name), stdout);
      return 0;
    }
    return v.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "korvoui: unknown verb '%s'\n", argv[1]);
  PrintToolUsage(stderr);
  return 2;
}
