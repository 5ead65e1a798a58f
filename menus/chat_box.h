// chat_box.h: the list of chat lines that the room, the lobby and the in-match
// chat share: each row is drawn in the colour it arrived with (its item data; 0
// draws it in the list's own colour, never in the selected look).
#pragma once
#include "runtime/game_list.h"

class CGUI_ChatBox : public CGUI_GameList {
 public:
  bool DrawItem(int index, float rect[4], bool selected, bool hovered) override;
};
