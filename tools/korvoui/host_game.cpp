// host_game.cpp: game data, profile folder, display modes and host scripts
// for play, demo and render.
#include "tools/korvoui/host_game.h"

#include <cstdio>

#include "refhost/game_setup.h"
#include "refhost/script_player.h"

// The module's briefing line entry; weak so that korvoui links while the
// module does not define it (the script player then sends lines nowhere).
extern "C" void GUI_NextString(char* text, unsigned long color) __attribute__((weak));

void StartHostGame(const ToolOptions& options, const char* verb,
                   const std::vector<std::pair<int, int>>& displayModes) {
  std::vector<std::string> errors;
  if (!korvohost::LoadGameDataIntoGame(&errors)) {
    std::fprintf(stderr, "korvoui %s: the game data has problems; the rest is loaded:\n", verb);
    for (const std::string& e : errors) std::fprintf(stderr, "  %s\n", e.c_str());
  }
  korvohost::SetDisplayModes(displayModes.empty() ? korvohost::FixedDisplayModes() : displayModes);
  korvohost::SetNextStringSink(GUI_NextString);
  korvohost::EnableScriptPlayer(true);
  if (options.profile.empty()) return;
  std::string error;
  if (!korvohost::AttachProfile(options.profile, &error)) {
    std::fprintf(stderr, "korvoui %s: no profile: %s; pilots and options are not kept\n", verb,
                 error.c_str());
    return;
  }
  // Damaged lines, and a folder that another process holds (read-only here).
  ReportProfileMessages(verb);
}

void ReportProfileMessages(const char* verb) {
  for (const std::string& m : korvohost::TakeProfileMessages())
    std::fprintf(stderr, "korvoui %s: profile: %s\n", verb, m.c_str());
}

void StopHostGame() {
  korvohost::EnableScriptPlayer(false);
  korvohost::DetachProfile();
}
