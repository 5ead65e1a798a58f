// lobby_state.cpp: the online lobby's state instance.
#include "menus/lobby_state.h"

SLobbyState& LobbyState() {
  static SLobbyState* state = [] {
    static SLobbyState instance;
    AddModulePart(&instance);
    return &instance;
  }();
  return *state;
}
