// menu_registrations.h: the game's registration table: the game's classes
// registered over the runtime's by class name, then each screen's id-bound
// classes, screen by screen in the table's order.
#pragma once

class CGUI_ClassRegistry;

// Called once by GUI_Initialize after the runtime registered its standard classes.
void RegisterMenuClasses();

// ---- Screens (each in its own file) ----------------------------------------------------------
void RegisterMessageBox(CGUI_ClassRegistry* r);     // MBOX_OK, MESSAGEBOX2
void RegisterScriptConsole(CGUI_ClassRegistry* r);  // SCRIPTCONSOLE
void RegisterMultiplaySelectMenu(CGUI_ClassRegistry* r);  // MULTIPLAYSELECTMENU
void RegisterServerMenu(CGUI_ClassRegistry* r);     // SERVERMENU
void RegisterCreateMenu(CGUI_ClassRegistry* r);     // CREATEMENU
void RegisterRoomMenu(CGUI_ClassRegistry* r);       // ROOMMENU
