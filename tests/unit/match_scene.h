// match_scene.h: one team match as the game shows it, for the frame benchmark
// and the frame allocation test: the shipped UI script compiled, the HUD with
// its radar (16 other mechs in range), the chat with 12 lines and the score
// table of 8 rows open, 4 timed messages on show. The game state comes through
// the stand-ins' session records (host actors, the network library's clients
// and score board), the overlays' data through the module's exports.
#pragma once
#include <string>

namespace matchscene {

// Mounts the asset root, sets the screen and the host's render mode to
// record-only, initialises the module once per process and fills the state.
// False with a reason in *error when a step fails.
bool Open(std::string* error);

// Closes the overlays, frees the compiled table and brings both stand-ins back
// to their start state (the module stays initialised).
void Close();

// One frame of the host: the clock advanced (kept within the chat's quiet
// time, so nothing scrolls out), then GUI_Update and GUI_Draw.
void Frame();

// Windows of the open dialogs (dialogs and every control below them).
int OpenWindows();

}  // namespace matchscene
