// usage.h: the usage text of korvoui and of each of its verbs, in one place
// for `korvoui --help`, `korvoui help [VERB]`, `korvoui VERB --help` and the
// message of a verb given wrong arguments.
#pragma once
#include <cstdio>

// The verb's usage (synopsis and options); null for an unknown verb.
const char* VerbUsage(const char* verb);
// The whole tool's usage: every verb with its synopsis.
void PrintToolUsage(std::FILE* out);
// Prints the verb's usage to standard error and gives 2 (wrong arguments).
int UsageError(const char* verb);
// True when the arguments after the verb ask for help (--help or -h).
bool AsksForHelp(int argc, char** argv);
