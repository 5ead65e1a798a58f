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
void RegisterMainMenu(CGUI_ClassRegistry* r);       // MAINMENU
void RegisterMultiplaySelectMenu(CGUI_ClassRegistry* r);  // MULTIPLAYSELECTMENU
void RegisterServerMenu(CGUI_ClassRegistry* r);     // SERVERMENU
void RegisterCreateMenu(CGUI_ClassRegistry* r);     // CREATEMENU
void RegisterRoomMenu(CGUI_ClassRegistry* r);       // ROOMMENU
// The room's player-name static of a slot under another id.
void RegisterRoomPlayerName(CGUI_ClassRegistry* r, const char* id, int slot);
void RegisterSinglePlayEscape(CGUI_ClassRegistry* r);   // SINGLEPLAYESC and its questions
void RegisterMissionStatistics(CGUI_ClassRegistry* r);  // STATISTICSMENU
void RegisterMissionFailed(CGUI_ClassRegistry* r);      // MISSIONFAILEDMENU
void RegisterMissionEnding(CGUI_ClassRegistry* r);      // MISSIONENDINGMENU
void RegisterDemoPlay(CGUI_ClassRegistry* r);       // DEMOPLAY
void RegisterOptionMenu(CGUI_ClassRegistry* r);        // OPTIONMENU
void RegisterOptionGraphic(CGUI_ClassRegistry* r);     // OPTIONGRAPHIC
void RegisterOptionControls(CGUI_ClassRegistry* r);    // OPTIONCONTROLS
void RegisterOptionSound(CGUI_ClassRegistry* r);       // OPTIONSOUND
void RegisterOptionNetwork(CGUI_ClassRegistry* r);     // OPTIONNETWORK
void RegisterOptionMacroMenu(CGUI_ClassRegistry* r);   // OPTIONMACROMENU
void RegisterBriefing(CGUI_ClassRegistry* r);       // OBJECTIVE
void RegisterMissionMap(CGUI_ClassRegistry* r);     // SELECTMISSIONMENU
void RegisterPilotChoice(CGUI_ClassRegistry* r);    // SELECTIDMENU
void RegisterNewPilot(CGUI_ClassRegistry* r);       // SELECTIDNEWIDMENU
void RegisterLoginMenu(CGUI_ClassRegistry* r);      // LOGINMENU
void RegisterKorvoNetMenu(CGUI_ClassRegistry* r);   // KORVONETMENU
void RegisterCreateChannel(CGUI_ClassRegistry* r);  // CREATECHANNEL
void RegisterNewIdMenu(CGUI_ClassRegistry* r);      // NEWIDMENU
void RegisterChangePassMenu(CGUI_ClassRegistry* r); // CHANGEPASSMENU
void RegisterJoinMenu(CGUI_ClassRegistry* r);       // JOINMENU
void RegisterGallery(CGUI_ClassRegistry* r);        // GALLERY
