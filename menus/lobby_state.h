// lobby_state.h: the online lobby's windows that the KN_* exports address,
// found when the lobby and join dialogs are created, and the join list's
// request clock. A part of the module state: freeing the table clears them.
#pragma once
#include <cstdint>

#include "runtime/module_state.h"

class CGUI_GameList;
class CGUI_RotateButton;
class CGUI_Window;

namespace lobby {

constexpr int kClassIcons = 10;        // class icons beside the visible pilot rows
constexpr int kJoinSlots = 8;          // player lines of the join dialog, slot 1-8
constexpr int kTableRecords = 100;     // records searched in each lobby table
constexpr uint32_t kNoRecord = ~0u;    // item data of a row without a record

}  // namespace lobby

struct SLobbyState final : CModulePart {
  CGUI_Window* lobby = nullptr;          // KORVONETMENU
  CGUI_GameList* chatBox = nullptr;      // IDC_LIST_NETCHATBOX
  CGUI_GameList* pilotList = nullptr;    // IDC_LIST_NETPILOTLIST
  CGUI_GameList* channelList = nullptr;  // IDC_LIST_NETCHANNELLIST
  CGUI_RotateButton* classIcons[lobby::kClassIcons] = {};
  CGUI_Window* join = nullptr;           // JOINMENU
  CGUI_GameList* joinList = nullptr;     // IDC_LIST_JOINGAMENAMELIST

  bool sessionsRequested = false;        // the join list asked for games at least once
  uint32_t lastSessionRequest = 0;       // timeGetTime of that request
  bool selectingChannel = false;         // the network library selects a channel row

  // The exported row counts (TotalChannelNum, …) count this state's rows:
  // they go back to 0 with it.
  ~SLobbyState() override;

  void OnTableReleased() override {
    lobby = join = nullptr;
    chatBox = pilotList = channelList = joinList = nullptr;
    for (CGUI_RotateButton*& icon : classIcons) icon = nullptr;
  }
};
