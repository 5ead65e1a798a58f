// usage.cpp: the usage texts of korvoui's verbs.
#include "tools/korvoui/usage.h"

#include <cstring>

namespace {

struct SVerbUsage {
  const char* verb;
  const char* summary;
  const char* text;
};

const SVerbUsage kUsages[] = {
    {"check", "compile the UI script and check what opening its dialogs would find",
     "usage: korvoui check [--root DIR] [SCRIPT]\n"
     "  Compiles the root's UI script (or SCRIPT) and reports like a compiler: FILE:LINE:COLUMN,\n"
     "  the source line, a caret and a hint. A script that compiles is then checked against\n"
     "  what its dialogs do when they open: the number and kinds of each control's PARAM\n"
     "  lists, fonts, textures missing from the root, unknown flags and ids bound to another\n"
     "  class (errors), and values or lists that are not read (warnings).\n"
     "  --root DIR   the asset root (folder or .zip; default: the shipped assets)\n"
     "  exit status: 0 no errors, 1 errors, 2 wrong arguments\n"},
    {"dump", "print a compiled dialog's window tree",
     "usage: korvoui dump [--root DIR] [--verbose] DIALOG\n"
     "  Prints the compiled dialog's dump (class, caption, id, region, children).\n"
     "  --verbose    then one record per window: the session's ctrl line, the class bound\n"
     "               to its id (or none), its region and its PARAM lists with their shapes\n"
     "  --root DIR   the asset root (default: the shipped assets)\n"},
    {"render", "draw dialogs into a PNG, no display needed",
     "usage: korvoui render [--root DIR] [--screen WxH] [--profile DIR] [--tick MS] [--check] DIALOG... -o OUT.png\n"
     "       korvoui render [options] --match RULE [--frags N] [--time MIN] [--bots N] [--seed N]\n"
     "                      [--at MS] [DIALOG...] -o OUT.png\n"
     "  Opens the dialogs in the order given, draws one frame and writes it as a PNG; lists the\n"
     "  textures that could not be loaded. With --match, plays the simulated match for MS\n"
     "  milliseconds first and opens the dialogs over it.\n"
     "  --check   lists each text that leaves its window, lies under a later picture of another\n"
     "            window or over another text; exit status 1 when there is one (-o optional)\n"},
    {"play", "open a window and use the menus as the game does",
     "usage: korvoui play [--root DIR] [--screen WxH] [--profile DIR] [--start DIALOG] [--no-lan]\n"
     "                    [--lobby ADDRESS:PORT[,...] [--lobby-ca FILE | --lobby-pin SHA256]] [--events FILE]\n"
     "                    [--match RULE [--frags N] [--time MIN] [--bots N] [--seed N]]\n"
     "                    [--mission-speed N]\n"
     "  --start DIALOG  the first screen (MAINMENU)\n"
     "  --no-lan        the local game list asks this machine only\n"
     "  --lobby A:P     the korvo-lobbyd for online play (default: one started here)\n"
     "  --lobby-ca FILE    talk TLS to it, trusting the CA certificates in FILE (PEM)\n"
     "  --lobby-pin SHA256 talk TLS to it, trusting only the certificate of this SHA-256\n"
     "                     fingerprint (hex, colons allowed)\n"
     "  --events FILE   a script of input, waits, checks and screenshots (tests)\n"
     "  --match RULE    play the simulated match at once\n"
     "  --mission-speed N  missions run N times as fast as the clock, 1-100 (tests)\n"
     "  In a mission Space or the left button fires, Escape opens the mission menu.\n"
     "  F12 shows the inspector; saving the script reloads it.\n"},
    {"run", "run a session script (the screens' tests)",
     "usage: korvoui run [--root DIR] [--screen WxH] SCRIPT|-\n"
     "  Runs a session script (- reads standard input) and prints what it observes.\n"
     "  exit status: 0 every line ran, 2 a line that cannot be run\n"},
    {"demo", "compile the shipped script, open a dialog, click, print",
     "usage: korvoui demo [--root DIR] [--screen WxH] [--profile DIR] [DIALOG]\n"
     "  Compiles the UI script, opens DIALOG (MAINMENU) with GUI_NextDialog, clicks its first\n"
     "  tab stop and prints the dialogs, the open screens and stack, sounds and the dump.\n"},
    {"help", "print this help, or a verb's",
     "usage: korvoui help [VERB]\n"},
};

}  // namespace

const char* VerbUsage(const char* verb) {
  for (const SVerbUsage& u : kUsages)
    if (!std::strcmp(u.verb, verb)) return u.text;
  return nullptr;
}

void PrintToolUsage(std::FILE* out) {
  std::fprintf(out, "usage: korvoui VERB [ARGS]       korvoui VERB --help for a verb's options\n\n");
  for (const SVerbUsage& u : kUsages) std::fprintf(out, "  %-7s %s\n", u.verb, u.summary);
  std::fprintf(out, "\n");
  for (const SVerbUsage& u : kUsages) std::fprintf(out, "%s", u.text);
}

int UsageError(const char* verb) {
  std::fputs(VerbUsage(verb), stderr);
  return 2;
}

bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) return true;
  return false;
}
