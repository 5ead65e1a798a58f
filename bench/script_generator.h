// script_generator.h: UI scripts of N dialogs with M controls each (every
// control with a PARAM line), for benchmarks and fuzz seeds.
#pragma once
#include <string>

std::string GenerateScript(int dialogs, int controlsPerDialog);
