// menu_state.cpp: the front end's state instance.
#include "menus/menu_state.h"

SMenuState& MenuState() {
  static SMenuState* state = [] {
    static SMenuState instance;
    AddModulePart(&instance);
    return &instance;
  }();
  return *state;
}
