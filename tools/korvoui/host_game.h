// host_game.h: the reference host's game brought up for the verbs that use
// the menus outside sessions (play, demo, render): the mounted root's game
// data, the profile folder behind every account, option and binding write,
// the display modes and the host-script player.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tools/korvoui/options.h"

// After PrepareHost. The profile folder is options.profile (none when empty);
// displayModes empty takes the fixed list. Problems with the game data or
// damaged profile lines are printed (FILE:LINE: WHY) and the verb goes on; a
// folder that cannot be opened is printed too, and nothing is kept then. A
// read-only folder (another process holds it) says so.
void StartHostGame(const ToolOptions& options, const char* verb,
                   const std::vector<std::pair<int, int>>& displayModes = {});
// Prints what saves had to say since the last call (refused writes).
void ReportProfileMessages(const char* verb);
// Detaches the profile folder.
void StopHostGame();
