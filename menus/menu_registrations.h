// menu_registrations.h: the game's registration table: the game's classes
// registered over the runtime's by class name, then the classes bound to
// (class name, id) pairs.
#pragma once

// Called once by GUI_Initialize after the runtime registered its standard classes.
void RegisterMenuClasses();
