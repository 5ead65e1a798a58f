// text_lines.h: a text file of the game's file system read as lines (mission
// objectives, statistics and epilogue texts).
#pragma once
#include <string>
#include <vector>

// The lines of a file split at "\r\n" (a final line break ends the last line
// and starts no empty one), appended to `lines`; false when it cannot be read.
bool ReadLines(const char* path, std::vector<std::string>& lines);
