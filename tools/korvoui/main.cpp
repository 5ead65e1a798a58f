// main.cpp: korvoui, the UI authors' tool: picks the verb and runs it.
#include <cstdio>
#include <cstring>

#include "tools/korvoui/verbs.h"

namespace {

struct Verb {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* help;
};

const Verb kVerbs[] = {
    {"demo", RunDemo,
     "compiles the shipped UI script, opens [DIALOG] (MAINMENU), clicks, prints: [--profile DIR]"},
    {"check", RunCheck, "compiles the UI script: [--root DIR] [SCRIPT]"},
    {"dump", RunDump, "prints a compiled dialog's dump: [--root DIR] DIALOG"},
    {"run", RunSessionVerb, "runs a session script: [--root DIR] [--screen WxH] SCRIPT|-"},
    {"render", RunRender,
     "draws dialogs into a PNG: [--root DIR] [--screen WxH] [--profile DIR] [--tick MS] DIALOG... "
     "-o OUT.png"},
    {"play", RunPlay,
     "opens a window to use the menus: [--root DIR] [--screen WxH] [--profile DIR] [--start DIALOG] [--no-lan] "
     "[--lobby ADDRESS:PORT]"},
};

void Usage() {
  std::fprintf(stderr, "usage: korvoui VERB [ARGS]\n\nverbs:\n");
  for (const Verb& v : kVerbs) std::fprintf(stderr, "  %-8s %s\n", v.name, v.help);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help")) {
    Usage();
    return argc < 2 ? 2 : 0;
  }
  for (const Verb& v : kVerbs)
    if (!std::strcmp(argv[1], v.name)) return v.run(argc - 1, argv + 1);
  std::fprintf(stderr, "korvoui: unknown verb '%s'\n", argv[1]);
  Usage();
  return 2;
}
