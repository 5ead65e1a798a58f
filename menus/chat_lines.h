// chat_lines.h: cuts a lobby chat message into pieces that fit the chat box,
// each piece later shown as "NAME : PIECE".
//
// The available width is the box's width less the width of the name. A piece
// takes characters while the piece so far is narrower than that width (at
// least one, so a box too narrow still makes progress) and holds at most 499
// bytes; a byte with the high bit set is taken with the byte after it, so a
// double-byte character is never cut. A piece that begins with a blank, ","
// or "." loses that first character.
#pragma once
#include <string>
#include <vector>

#include "menus/line_wrapper.h"

namespace lobby {

constexpr int kChatPieceRoom = 500;   // a piece with its terminator
constexpr int kChatBoxLines = 200;    // lines the lobby's chat box keeps

std::vector<std::string> CutChatMessage(const char* name, const char* text, float width,
                                        const TextMeasure& measure);

}  // namespace lobby
