// menu_registrations.h: the game's registration table: the game's classes
// registered over the runtime's by class name, then each screen's id-bound
// classes, screen by screen in the table's order. The list in
// menu_registrations.cpp names each screen's Register… function once.
#pragma once

class CGUI_ClassRegistry;

// Called once by GUI_Initialize after the runtime registered its standard classes.
void RegisterMenuClasses();

// The room's player-name static of a slot under another id (the score table's).
void RegisterRoomPlayerName(CGUI_ClassRegistry* r, const char* id, int slot);
