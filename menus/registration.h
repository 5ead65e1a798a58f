// registration.h: the two forms of a registration of the game's table, each
// replacing an earlier one under the same key. Screen files register their
// classes with these in their Register…() function.
#pragma once
#include "runtime/registry.h"

// The game's class T over the runtime's class of the same script class name.
template <class T>
void RegisterGameClass(CGUI_ClassRegistry* r) {
  r->RegisterClass(new TGUI_WindowFactory<T>, true);
}

// T wherever a template declares T's script class with this id.
template <class T>
void RegisterIdClass(CGUI_ClassRegistry* r, const char* id) {
  r->RegisterId(new TGUI_WindowFactory<T>(id), true);
}
