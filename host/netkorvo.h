// netkorvo.h: what the module calls in the network library NetKorvo: the
// life of a network match, the local game list, the online lobby client `Clt`
// and its tables, the room and match managers, the game-rule client, chat and
// screen messages, and the stored login id. The game links the library; the
// reference build has its stand-in (netkorvo/).
#pragma once
#include <cstddef>
#include <cstdint>

#include "korvogui/lobby_records.h"

// ---- Life of a network match ---------------------------------------------------
// A local server is NET_Init(1, null, 1, NET_bEnableGLMaker), a local-network
// join NET_Init(0, dotted address, 1, 0), an online join NET_Init(0, address, 0, 0).
void NET_Init(int server, const char* address, int a, int b);
void NET_Release();

extern int NET_bInitialized;     // a network match runs
extern int NET_bLocalGame;       // the match is a local (LAN or skirmish) game
extern int NET_bEnableGLMaker;   // a local server announces its game
extern int NET_ServerID;         // server id of the game joined or hosted
extern int my_client;            // the local client's slot, 0-7

// ---- Local game list ---------------------------------------------------------------
// One game announced on the local network, 56 bytes.
class CGameListItem {
 public:
  CGameListItem();                                    // zero-filled
  CGameListItem(const CGameListItem& other);
  CGameListItem& operator=(const CGameListItem& other);   // copies the whole record

  uint32_t ServerID;        // 0
  uint8_t Reserved4;        // 4
  char Name[25];            // 5: game name, NUL-terminated
  uint8_t Address[4];       // 30: IPv4 address of the game's host, one byte per part
  uint8_t Reserved34[2];    // 34
  uint8_t Type;             // 36: game type (game-rule index)
  uint8_t Players;          // 37
  uint8_t MaxPlayers;       // 38
  char Text[17];            // 39: second text, NUL-terminated
};
static_assert(sizeof(CGameListItem) == 56);
static_assert(offsetof(CGameListItem, Name) == 5);
static_assert(offsetof(CGameListItem, Address) == 30);
static_assert(offsetof(CGameListItem, Type) == 36);
static_assert(offsetof(CGameListItem, Players) == 37);
static_assert(offsetof(CGameListItem, MaxPlayers) == 38);
static_assert(offsetof(CGameListItem, Text) == 39);

// Receives one game at a time; the item is valid during the call only.
typedef void (*NET_GLCallback)(CGameListItem* item);

void NET_InitGLManager();
void NET_RefreshGLManager();
// Calls back once for each game found since the manager started or refreshed.
void NET_UpdateGLManager(NET_GLCallback callback);
void NET_ReleaseGLManager();

// ---- Lobby tables (storage of the online client, written by the module) ---------
// PLAYER_INFO, SESSION_INFO, CHANNEL_INFO: korvogui/lobby_records.h.

// ---- Online lobby client ---------------------------------------------------------------
// Requests return non-zero when sent; the server's answers come back through
// the module's KN_* exports.
class KORVO_CLT {
 public:
  enum { kPlayerRecords = 200, kSessionRecords = 100, kChannelRecords = 100 };

  int SendConnect(int mode);
  void Close();
  int SendLogOut();
  int SendIdPw(const char* id, const char* password);
  int SendPrivateInfo();
  int SendNewIdPw(const char* id, const char* password, const char* verify,
                  const char* birthday, const char* address);
  int SendChgPw(const char* id, const char* password, const char* newPassword,
                const char* verify);
  int SendChannelList();
  int SendChgChannel(const char* name);
  int SendPlayerList();
  int SendSessionList();
  int SendSessionInfo(const char* name);
  int SendJoinGame(const char* name, const char* password, const char* address);
  int SendCreateGame(const char* name, const char* password, int players);
  int SendChatMsg(const char* text);
  // The class (grade) of a pilot with this ranking and score.
  int CalculateGrade(int ranking, int score);

  // The client's own record.
  uint16_t Wins;
  uint16_t Losses;
  uint32_t Score;
  uint32_t Ranking;
  uint32_t Class;
  char LoginID[22];
  int CreatingGame;         // a game is being created (set by the create menu)
  // The lobby tables.
  PLAYER_INFO PlayerInfo[kPlayerRecords];
  SESSION_INFO SessionInfo[kSessionRecords];
  CHANNEL_INFO ChannelInfo[kChannelRecords];
};
static_assert(offsetof(KORVO_CLT, Wins) == 0 && offsetof(KORVO_CLT, Losses) == 2);
extern KORVO_CLT Clt;

// ---- Room and match ---------------------------------------------------------------------
// The network side's record of a client slot.
struct SClientInfo {
  uint8_t inUse;            // 0: 1 while the slot holds a client
  char name[32];            // 1
  uint8_t character;        // 33: character byte; its top bit is a flag
  uint8_t padding34[2];     // 34
  int32_t team;             // 36: team id
  int32_t frags;            // 40
};
static_assert(sizeof(SClientInfo) == 44);
static_assert(offsetof(SClientInfo, name) == 1 && offsetof(SClientInfo, character) == 33);
static_assert(offsetof(SClientInfo, team) == 36 && offsetof(SClientInfo, frags) == 40);

class CC_Manager {
 public:
  // The record of slot 0-7, or null when the slot holds no client.
  static SClientInfo* GetClientInfo(int slot);
  static int TimeLimit;       // the match's time limit in minutes
  static int ElapsedTime;     // elapsed match time in milliseconds
  static int16_t FragLimit;   // 0: none
};

class CS_Manager {
 public:
  static bool CanStart();
  static void Write_Start();
  static void UpdateMenuState(int slot, int state);
};

void Server_AddBot(int slot);
void Server_RemoveBot(int slot);

// ---- Game-rule client: score board, ranks, winners ---------------------------------
struct SScoreRow {
  char name[32];            // 0
  int32_t key;              // 32: client key (ask the rank number with it)
  char mark[32];            // 36: mark texture name (empty or "null": none)
  uint8_t highlight;        // 68
  uint8_t unused69[3];      // 69
  int32_t team;             // 72
  int32_t classIndex;       // 76: negative: none
  int32_t leftOption;       // 80
  int32_t rightOption;      // 84
  uint8_t hasFrag;          // 88
  uint8_t hasSlot;          // 89
  char frag[32];            // 90
  char slot[38];            // 122
};
static_assert(sizeof(SScoreRow) == 160);
static_assert(offsetof(SScoreRow, key) == 32 && offsetof(SScoreRow, mark) == 36);
static_assert(offsetof(SScoreRow, highlight) == 68 && offsetof(SScoreRow, team) == 72);
static_assert(offsetof(SScoreRow, classIndex) == 76 && offsetof(SScoreRow, leftOption) == 80);
static_assert(offsetof(SScoreRow, rightOption) == 84 && offsetof(SScoreRow, hasFrag) == 88);
static_assert(offsetof(SScoreRow, hasSlot) == 89 && offsetof(SScoreRow, frag) == 90);
static_assert(offsetof(SScoreRow, slot) == 122);

struct SScoreBoard {
  int32_t rowCount;         // 0: 0-8
  uint8_t unused4[88];      // 4
  uint8_t hasFragTitle;     // 92
  uint8_t hasSlotTitle;     // 93
  char fragTitle[32];       // 94
  char slotTitle[38];       // 126
  SScoreRow rows[8];        // 164: in the order the table shows them
};
static_assert(sizeof(SScoreBoard) == 164 + 8 * 160);
static_assert(offsetof(SScoreBoard, hasFragTitle) == 92 && offsetof(SScoreBoard, hasSlotTitle) == 93);
static_assert(offsetof(SScoreBoard, fragTitle) == 94 && offsetof(SScoreBoard, slotTitle) == 126);
static_assert(offsetof(SScoreBoard, rows) == 164);

class NET_GR_client {
 public:
  static void FillScoreBoard(SScoreBoard* board);
  static int GetRankNumber(int key);
  static bool IsWinner(int slot);
  static bool IsTeamGame();
};

// A game rule's record; it begins with the rule's name ("DEATH MATCH", ...).
struct SGameRuleInfo {
  char name[32];
};
// The record of rule `type`; never null.
SGameRuleInfo* NET_GetGameRuleInfo(int type);
// The display name of a pilot class; never null.
char* NET_GetClassName(int classIndex);

// Loading progress: loaders in all, loaders still pending.
int NET_GetTotalNumLoaders();
int NET_GetNumLoaders();

// ---- Chat and screen messages -----------------------------------------------------------
class CC_Message {
 public:
  // Tells the server that the player is typing (true) or stopped.
  void Write_ChatMode(bool on);
};
// The message object of a client; -1: the local one.
CC_Message* Client_GetClientMsg(int client);
void Client_RequestTextMsg(const char* text);
void ScreenMsg(const char* format, ...) __attribute__((format(printf, 1, 2)));
void SetScreenMsgColor(unsigned long argb);

// ---- Stored settings -----------------------------------------------------------------------
class CAssocArray {
 public:
  // True with *value pointing at the stored text (valid until it changes);
  // false when the key has no value.
  bool GetValue(const char* key, const char** value);
};
extern CAssocArray NET_var;    // "kn_prev_login_id": the id of the last login

struct SNetProfile {
  void WritePrevLoginID(const char* id);
};
extern SNetProfile NET_profile;
