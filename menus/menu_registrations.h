// menu_registrations.h: the framework's own dialogs in the registration
// table: the message box and the script console.
#pragma once

class CGUI_ClassRegistry;

void RegisterMessageBox(CGUI_ClassRegistry* r);     // MBOX_OK, MESSAGEBOX2
void RegisterScriptConsole(CGUI_ClassRegistry* r);  // SCRIPTCONSOLE
