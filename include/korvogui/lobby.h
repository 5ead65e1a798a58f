// lobby.h: the online lobby's exports: the chat box, pilot, channel and game
// lists that the network library fills, the join dialog's player lines, and
// the three row counters. The records are the online client's (lobby_records.h).
#pragma once
#include <cstdint>

#include "korvogui/export.h"
#include "korvogui/lobby_records.h"

extern "C" {

// ---- Row counters --------------------------------------------------------------------
KORVO_API extern int32_t TotalChannelNum;
KORVO_API extern int32_t TotalPlayerNum;
KORVO_API extern int32_t TotalSessionNum;

// ---- Chat box ------------------------------------------------------------------------
// Appends "NAME : TEXT" (or five blanks and TEXT without a name), cut to
// size - 1 bytes, in `colour`, and scrolls to the end.
KORVO_API bool KN_AddChatListLine(char* name, char* text, int size, unsigned long colour);
// Splits a message into chat lines that fit the box, each carrying the name.
KORVO_API void KN_ChatMsgCutting(char* name, char* text, unsigned long colour);
KORVO_API bool KN_ChatLineControl(int delta);
KORVO_API bool KN_RemoveAllChatList();
// Appends 14 empty rows.
KORVO_API void InitChatListLine();

// ---- Pilot list ----------------------------------------------------------------------
KORVO_API bool KN_AddPlayerList(char* id, unsigned short wins, unsigned short losses,
                                int ranking, int score);
KORVO_API bool KN_RemovePlayerList(int row);
KORVO_API bool KN_RemoveAllPlayerList();
KORVO_API int KN_GetEmptyPlayerListIndex();
KORVO_API bool KN_GetPlayerString(int row, char* buffer);
KORVO_API int KN_GetPlayerIndex(char* id);
KORVO_API PLAYER_INFO* KN_GetPlayerInfo();
KORVO_API bool KN_PlayerLineControl(int delta);
// Shows the online client's own record in the lobby; the arguments are not read.
KORVO_API bool KN_SetPlayerInfo(char* const id, unsigned int a, unsigned int b,
                                unsigned short c, unsigned short d, unsigned int e);

// ---- Channel list --------------------------------------------------------------------
KORVO_API bool KN_AddChannelList(char* name);
KORVO_API bool KN_RemoveChannelList(int row);
KORVO_API bool KN_RemoveAllChannelList();
KORVO_API int KN_GetEmptyChannelListIndex();
KORVO_API bool KN_IsExistChannel(char* name);
KORVO_API bool KN_GetChannelString(int row, char* buffer);
KORVO_API int KN_GetChannelIndex(char* name);
KORVO_API CHANNEL_INFO* KN_GetChannelInfo();
KORVO_API bool KN_ChannelListSetCurSel(int row);
KORVO_API bool KN_ChannelLineControl(int delta);
// Asks to change to the selected channel; false when none is selected.
KORVO_API bool KN_SelChangeChannelList();

// ---- Game list and the join dialog's player lines --------------------------------
KORVO_API bool KN_AddSessionList(SESSION_INFO session);
KORVO_API bool KN_RemoveSessionList(int row);
KORVO_API bool KN_RemoveAllSessionList();
KORVO_API int KN_GetEmptySessionListIndex();
KORVO_API bool KN_GetSessionString(int row, char* buffer);
KORVO_API int KN_GetSessionIndex(char* name);
KORVO_API SESSION_INFO* KN_GetSessionInfo();
// Slot 1-8; other slots do nothing.
KORVO_API bool KN_AddSessionInPlayerList(char* id, int wins, int losses, int ranking, int slot);
KORVO_API bool KN_RemoveSessionInPlayerList(int slot);
KORVO_API bool KN_RemoveAllSessionInPlayerList();
// Joins an online game at `address`.
KORVO_API bool KN_GoInGame(char* const address);

}  // extern "C"
