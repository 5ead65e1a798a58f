// net_backend.h: what lies behind the network library's exports. The exports
// keep the library's globals, record the calls of a session and hand every
// service to the backend in use: the recording backend (sessions: scripted
// answers, no socket, no clock) or a live one (sockets, discovery, lobby).
#pragma once
#include "host/netkorvo.h"

namespace netkorvo {

// The lobby requests of KORVO_CLT, in the order of their scalars.
enum class ERequest {
  kConnect, kLogOut, kIdPw, kPrivateInfo, kNewIdPw, kChgPw, kChannelList, kChgChannel,
  kPlayerList, kSessionList, kSessionInfo, kJoinGame, kCreateGame, kChatMsg,
};
constexpr int kRequestCount = 14;

// One lobby request with its arguments (texts in the order of the call; the
// number: SendConnect's mode, SendCreateGame's players).
struct SLobbyRequest {
  ERequest kind = ERequest::kConnect;
  const char* texts[5] = {};
  int number = 0;
};

class CNetBackend {
 public:
  virtual ~CNetBackend() = default;

  // ---- Life and the local game list ----
  virtual void Init(int server, const char* address, int a, int b) = 0;
  virtual void Release() = 0;
  virtual void StartGameList() = 0;       // NET_InitGLManager and NET_RefreshGLManager
  virtual void UpdateGameList(NET_GLCallback callback) = 0;
  virtual void StopGameList() = 0;

  // ---- Online lobby ----
  virtual int Send(const SLobbyRequest& request) = 0;
  virtual void Close() = 0;
  virtual int CalculateGrade(int ranking, int score) = 0;

  // ---- Room and match ----
  virtual SClientInfo* ClientInfo(int slot) = 0;
  virtual bool CanStart() = 0;
  virtual void WriteStart() = 0;
  virtual void UpdateMenuState(int slot, int state) = 0;
  virtual void AddBot(int slot) = 0;
  virtual void RemoveBot(int slot) = 0;
  virtual void FillScoreBoard(SScoreBoard* board) = 0;
  virtual int RankNumber(int key) = 0;
  virtual bool IsWinner(int slot) = 0;
  virtual bool IsTeamGame() = 0;
  virtual SGameRuleInfo* GameRuleInfo(int type) = 0;
  virtual char* ClassName(int classIndex) = 0;
  virtual int TotalLoaders() = 0;
  virtual int PendingLoaders() = 0;
  // The room's match is over (or could not begin): the room is back and may
  // start again.
  virtual void RoomMatchEnded() {}

  // ---- Chat, messages, stored settings ----
  virtual void WriteChatMode(bool on) = 0;
  virtual void RequestTextMsg(const char* text) = 0;
  virtual void ScreenMessage(const char* text) = 0;
  virtual void SetScreenMessageColor(unsigned long argb) = 0;
  virtual bool StoredValue(const char* key, const char** value) = 0;
  virtual void WritePrevLoginID(const char* id) = 0;
};

// The backend the exports use (the recording backend unless set otherwise).
CNetBackend& Backend();
void SetBackend(CNetBackend* backend);

}  // namespace netkorvo
