// script_generator.h: UI scripts of N dialogs with M controls each (every
// control with a PARAM line), for benchmarks and fuzz seeds.
#pragma once
#include <string>

std::string GenerateScript(int dialogs, int controlsPerDialog);
// Dialogs of push buttons that carry the game button's whole set of PARAM
// lines (caption font, four state images, colours): about 500 bytes each.
std::string GeneratePushButtonScript(int dialogs, int buttonsPerDialog);
