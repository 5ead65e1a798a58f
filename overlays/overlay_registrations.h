// overlay_registrations.h: the overlays' screens in the registration table.
#pragma once

class CGUI_ClassRegistry;

void RegisterPlayChat(CGUI_ClassRegistry* r);        // PLAYCHAT and the message lines
void RegisterInMatchMenus(CGUI_ClassRegistry* r);    // GAMELOADING .. LEAVEGAME
void RegisterExitQuestions(CGUI_ClassRegistry* r);   // EXITGAME, LEAVEGAME and their buttons
void RegisterPlayInterface(CGUI_ClassRegistry* r);   // PLAYINTERFACE
// PLAYTAB, MULTIPLAYGAMEOVER. The score table's first name row is the room's
// player-name static; the registration list hands in the room screen's
// registration of it, as overlays do not see the screens.
using RegisterNameRow = void (*)(CGUI_ClassRegistry* r, const char* id, int slot);
void RegisterScoreTab(CGUI_ClassRegistry* r, RegisterNameRow registerNameRow);
