// dialog_text.h: texts that screens put into their dialogs: the lines of a
// text file of the game's file system, and a control's caption by id.
#pragma once
#include <string>
#include <vector>

class CGUI_Window;

// The lines of a file split at "\r\n" (a final line break ends the last line
// and starts no empty one); false when it cannot be read.
bool ReadLines(const char* path, std::vector<std::string>& lines);

// Sets the caption of the control id of dialog, when both exist.
void SetControlCaption(CGUI_Window* dialog, const char* id, const std::string& caption);
