// standard_classes.h: registration of the runtime's standard window classes.
#pragma once

class CGUI_ClassRegistry;

// Registers, by class name with replace, "DIALOG", "CONTROL", "BUTTON",
// "BITMAP", "PUSHBUTTON", "EDIT", "LIST", "SLIDER" and "CUSTOM".
void RegisterStandardClasses(CGUI_ClassRegistry* registry);
