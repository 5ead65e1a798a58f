// script_player.h: runs host scripts on the console lines "s_exe FILE",
// "s_reset FILE" and "s_terminate FILE", sending their text lines through the
// module's GUI_NextString as the frame clock advances. Outside sessions only:
// under `korvoui run` ExecuteCommand stays a record.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "refhost/korvohost.h"

namespace korvohost {

// The module's export `void GUI_NextString(char* text, unsigned long color)`.
using NextStringFn = void (*)(char* text, unsigned long color);

// Where text lines go. Null (the default): GUI_NextString is looked up by name
// in the loaded module when a line is due, and lines go nowhere without it.
KORVOHOST_API void SetNextStringSink(NextStringFn sink);
// Off at start and after Reset: ExecuteCommand only records.
KORVOHOST_API void EnableScriptPlayer(bool on);
// Runs the due steps of every running script at frame tick `now`; SetTick
// calls it while the player is on.
KORVOHOST_API void StepScripts(uint32_t now);
// Paths of the scripts running, in start order.
KORVOHOST_API std::vector<std::string> RunningScripts();
// Scripts that could not start (unreadable, bad lines), as "FILE:N: WHY" or
// "FILE: WHY"; taking them forgets them.
KORVOHOST_API std::vector<std::string> TakeScriptErrors();

// Internal: ExecuteCommand hands every line over; Reset clears the player.
void ScriptCommand(const char* line);
void ResetScriptPlayer();

}  // namespace korvohost
