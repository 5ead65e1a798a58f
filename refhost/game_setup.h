// game_setup.h: brings the host's game state up outside sessions: the game
// data of the mounted root, the player's profile folder (accounts, options,
// key bindings) with every later write kept there, and the display modes.
#pragma once
#include <string>
#include <vector>

#include "refhost/korvohost.h"

namespace korvohost {

// Puts the mounted root's missions, characters, option parts, weapon names
// and maps into the game state, and its message texts behind Res_LoadString
// (replacing those of the same names and numbers). Problems
// go to *errors as "FILE:N: WHY"; the rest loads. False when there were any.
KORVOHOST_API bool LoadGameDataIntoGame(std::vector<std::string>* errors);

// Opens the profile folder, puts its accounts, options and bindings into the
// game state and installs the save hook, so that every account, option or
// binding write of the host services replaces its file on disk. A second
// process gets the folder read-only: it loads but never writes. Damaged lines
// and the lock go to the messages (TakeProfileMessages). False with a reason
// when the folder cannot be opened; the game state is untouched then.
KORVOHOST_API bool AttachProfile(const std::string& dir, std::string* error);
// Removes the save hook and closes the folder.
KORVOHOST_API void DetachProfile();
KORVOHOST_API bool ProfileAttached();
KORVOHOST_API bool ProfileReadOnly();
// What opening, loading and saving had to say (damaged lines with their file
// and line, the lock, refused writes); taking them forgets them.
KORVOHOST_API std::vector<std::string> TakeProfileMessages();

// The display modes outside sessions: a window system's list, else the fixed
// one (800x600, 1024x768, 1280x720, 1280x1024, 1920x1080).
KORVOHOST_API void SetDisplayModes(const std::vector<std::pair<int, int>>& modes);
KORVOHOST_API std::vector<std::pair<int, int>> FixedDisplayModes();

}  // namespace korvohost
