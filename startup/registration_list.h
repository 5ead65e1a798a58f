// registration_list.h: the game's registration table, run once by
// GUI_Initialize after the runtime registered its standard classes.
#pragma once

void RegisterMenuClasses();
