// overlay_registrations.h: the overlays' screens in the registration table.
#pragma once

class CGUI_ClassRegistry;

void RegisterPlayChat(CGUI_ClassRegistry* r);        // PLAYCHAT and the message lines
void RegisterInMatchMenus(CGUI_ClassRegistry* r);    // GAMELOADING .. LEAVEGAME
void RegisterExitQuestions(CGUI_ClassRegistry* r);   // EXITGAME, LEAVEGAME and their buttons
void RegisterPlayInterface(CGUI_ClassRegistry* r);   // PLAYINTERFACE
void RegisterScoreTab(CGUI_ClassRegistry* r);        // PLAYTAB, MULTIPLAYGAMEOVER
