// room.h: the records of the multiplayer setup that the module shares with the
// host and the network library: eight client records, the server record, the
// option-part table, the team colours and the local client index.
#pragma once
#include <cstddef>
#include <cstdint>

#include "korvogui/export.h"

// One player slot of a room (0-7).
struct KORVO_API SGUI_ClientInfo {
  SGUI_ClientInfo() = default;
  SGUI_ClientInfo(const SGUI_ClientInfo& other) = default;
  SGUI_ClientInfo& operator=(const SGUI_ClientInfo& other);   // copies the whole record

  int32_t state = 0;        // 0: slot state (frame of the slot state button)
  char name[256] = {};      // 4: player name
  int32_t character = -1;   // 260: character id (-1: none)
  int32_t left = -1;        // 264: left option id (-1 none, 0 random, n entry n - 1)
  int32_t right = -1;       // 268: right option id (same coding)
  int32_t team = 0;         // 272: index into the team colours
  int32_t classIndex = 0;   // 276: frame of the class icon
  uint8_t ready = 0;        // 280: ready flag
  uint8_t padding[3] = {};  // 281
};
static_assert(sizeof(SGUI_ClientInfo) == 284);
static_assert(offsetof(SGUI_ClientInfo, name) == 4 && offsetof(SGUI_ClientInfo, character) == 260);
static_assert(offsetof(SGUI_ClientInfo, left) == 264 && offsetof(SGUI_ClientInfo, right) == 268);
static_assert(offsetof(SGUI_ClientInfo, team) == 272 && offsetof(SGUI_ClientInfo, classIndex) == 276);
static_assert(offsetof(SGUI_ClientInfo, ready) == 280);

// The game being created or played.
struct KORVO_API SGUI_ServerInfo {
  SGUI_ServerInfo() = default;
  SGUI_ServerInfo(const SGUI_ServerInfo& other) = default;
  SGUI_ServerInfo& operator=(const SGUI_ServerInfo& other);   // copies the whole record

  char room[256] = {};      // 0: room name
  char password[256] = {};  // 256
  char map[256] = {};       // 512: map file name
  int32_t type = 0;         // 768: game type (game-rule index)
  int32_t frag = 0;         // 772: frag limit (0: unlimited)
  int32_t time = 0;         // 776: time limit in minutes (0: unlimited)
  int32_t parts = 0;        // 780: option parts: 0 none, 1 single, 2 double
  int32_t armor = 0;        // 784: armor point
  int32_t shield = 0;       // 788: shield point
  uint8_t unused[16] = {};  // 792
};
static_assert(sizeof(SGUI_ServerInfo) == 808);
static_assert(offsetof(SGUI_ServerInfo, password) == 256 && offsetof(SGUI_ServerInfo, map) == 512);
static_assert(offsetof(SGUI_ServerInfo, type) == 768 && offsetof(SGUI_ServerInfo, frag) == 772);
static_assert(offsetof(SGUI_ServerInfo, time) == 776 && offsetof(SGUI_ServerInfo, parts) == 780);
static_assert(offsetof(SGUI_ServerInfo, armor) == 784 && offsetof(SGUI_ServerInfo, shield) == 788);

// One option part of the host, as the room's option boxes offer it.
struct KORVO_API SGUI_OptionInfo {
  SGUI_OptionInfo() = default;
  SGUI_OptionInfo(const SGUI_OptionInfo& other) = default;
  SGUI_OptionInfo& operator=(const SGUI_OptionInfo& other);   // copies the whole record

  uint8_t valid = 0;        // 0: 1 for a filled entry
  int32_t index = 0;        // 4: index of the entry in the table
  char name[50] = {};       // 8
  char text2[50] = {};      // 58: second text
  char icon[50] = {};       // 108: small icon texture name
  char text4[50] = {};      // 158: fourth text
  int32_t left = 0;         // 208: host option id mounted left
  int32_t right = 0;        // 212: host option id mounted right
};
static_assert(sizeof(SGUI_OptionInfo) == 216);
static_assert(offsetof(SGUI_OptionInfo, index) == 4 && offsetof(SGUI_OptionInfo, name) == 8);
static_assert(offsetof(SGUI_OptionInfo, text2) == 58 && offsetof(SGUI_OptionInfo, icon) == 108);
static_assert(offsetof(SGUI_OptionInfo, text4) == 158 && offsetof(SGUI_OptionInfo, left) == 208);
static_assert(offsetof(SGUI_OptionInfo, right) == 212);

extern "C" {

// ---- Client records -------------------------------------------------------------
// Resets slot 0-7: state, empty name, character and options -1, team, class and
// ready 0. False (nothing changed) for another slot.
KORVO_API bool GUI_InitClientInfo(int slot, int state);
// The record of slot 0-7, null for another slot.
KORVO_API SGUI_ClientInfo* GUI_GetClientInfo(int slot);
KORVO_API int GUI_GetLocalClientIndex();
KORVO_API bool GUI_SetLocalClientIndex(int slot);

// ---- Team colours ------------------------------------------------------------------
// Copies count (at most 8) ARGB colours and names (at most 15 characters each).
KORVO_API void GUI_InitTeamColor(int count, unsigned long* colours, char** names);
KORVO_API int GUI_GetNumTeamColor();
// Team 1000 and above: 0xFFFFBD1E and "NONE"; a team without an entry: 0 and "".
KORVO_API unsigned long GUI_GetTeamColorByID(int team);
KORVO_API char* GUI_GetTeamColorNameByID(int team);

// ---- Option parts ------------------------------------------------------------------
// Rebuilds the table (at most 127 entries) from the host's option descriptors.
KORVO_API void GUI_InitOptionInfo();
KORVO_API int GUI_GetNumOptions();
KORVO_API int GUI_GetNumAvailableOptions();
// The entry at index 0 .. count - 1, null for another index.
KORVO_API SGUI_OptionInfo* GUI_GetOptionInfo(int index);
KORVO_API SGUI_OptionInfo* GUI_GetAvailableOptionInfo(int index);

// ---- Server record -----------------------------------------------------------------
KORVO_API SGUI_ServerInfo* GUI_GetServerInfo();

// ---- Room slots ----------------------------------------------------------------------
// Makes the buttons of a room slot (0-7) usable: on the server the slot state
// button of slots 1-7 as `enable` says; the team button in a team game; the
// class icon while the slot holds a client.
KORVO_API void GUI_EnableRoomMenuSlot(int slot, bool enable);
// Makes them unusable: the slot state button of slots 1-7 only on the server,
// the team button and the class icon hidden.
KORVO_API void GUI_DisableRoomMenuSlot(int slot);

}  // extern "C"
