// option_icon.h: the small icon of an option part on a bitmap, as the room
// and the play interface show the parts a player carries.
#pragma once

class CGUI_GameBitmap;

// -1: no texture; 0: the random part's icon; n >= 1: the small icon of
// option table entry n - 1 (none when that entry has no icon).
void SetOptionIconTexture(CGUI_GameBitmap* bitmap, int optionId);
