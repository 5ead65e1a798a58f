// net_backend.h: what lies behind the network library's exports. The exports
// keep the library's globals, record the calls of a session and hand every
// service to the backend in use: the recording backend (sessions: scripted
// answers, no socket, no clock) or a live one (sockets, discovery, lobby).
#pragma once
#include <cstdint>
#include <map>
#include <string>

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

// The services behind the exports. A service that only asks for an effect
// does nothing unless a backend has that effect; a service that answers is
// answered by every backend.
class CNetBackend {
 public:
  virtual ~CNetBackend() = default;

  // ---- Life and the local game list ----
  virtual void Init(int /*server*/, const char* /*address*/, int /*a*/, int /*b*/) {}
  virtual void Release() {}
  virtual void StartGameList() {}       // NET_InitGLManager and NET_RefreshGLManager
  virtual void UpdateGameList(NET_GLCallback callback) = 0;
  virtual void StopGameList() {}

  // ---- Online lobby ----
  virtual int Send(const SLobbyRequest& request) = 0;
  virtual void Close() {}
  virtual int CalculateGrade(int ranking, int score) = 0;

  // ---- Room and match ----
  virtual SClientInfo* ClientInfo(int slot) = 0;
  virtual bool CanStart() = 0;
  virtual void WriteStart() {}
  virtual void UpdateMenuState(int /*slot*/, int /*state*/) {}
  virtual void AddBot(int /*slot*/) {}
  virtual void RemoveBot(int /*slot*/) {}
  virtual void FillScoreBoard(SScoreBoard* board) = 0;
  virtual int RankNumber(int key) = 0;
  virtual bool IsWinner(int slot) = 0;
  virtual bool IsTeamGame() = 0;
  // The names of the rule tables unless a backend names them otherwise.
  virtual SGameRuleInfo* GameRuleInfo(int type);
  virtual char* ClassName(int classIndex);
  virtual int TotalLoaders() = 0;
  virtual int PendingLoaders() = 0;
  // The room's match is over (or could not begin): the room is back and may
  // start again.
  virtual void RoomMatchEnded() {}

  // ---- Chat, messages, stored settings ----
  virtual void WriteChatMode(bool /*on*/) {}
  virtual void RequestTextMsg(const char* /*text*/) {}
  virtual void ScreenMessage(const char* /*text*/) {}
  virtual void SetScreenMessageColor(unsigned long /*argb*/) {}
  virtual bool StoredValue(const char* key, const char** value) = 0;
  virtual void WritePrevLoginID(const char* /*id*/) {}

 protected:
  // The record handed out for a rule or class index, with this name: one per
  // index, where it is until ForgetNames.
  SGameRuleInfo* RuleInfoRecord(int type, const std::string& name);
  char* ClassNameRecord(int classIndex, const std::string& name);
  void ForgetNames();

 private:
  std::map<int, SGameRuleInfo> ruleInfos_;
  std::map<int, std::string> classNames_;
};

// A backend that serves over the one in use before it: every service goes
// on to that backend unless the class above serves it itself.
class CNetBackendOver : public CNetBackend {
 public:
  // The backend it serves over, while it serves.
  CNetBackend* Inner() const { return inner_; }

  void Init(int server, const char* address, int a, int b) override { inner_->Init(server, address, a, b); }
  void Release() override { inner_->Release(); }
  void StartGameList() override { inner_->StartGameList(); }
  void UpdateGameList(NET_GLCallback callback) override { inner_->UpdateGameList(callback); }
  void StopGameList() override { inner_->StopGameList(); }

  int Send(const SLobbyRequest& request) override { return inner_->Send(request); }
  void Close() override { inner_->Close(); }
  int CalculateGrade(int ranking, int score) override { return inner_->CalculateGrade(ranking, score); }

  SClientInfo* ClientInfo(int slot) override { return inner_->ClientInfo(slot); }
  bool CanStart() override { return inner_->CanStart(); }
  void WriteStart() override { inner_->WriteStart(); }
  void UpdateMenuState(int slot, int state) override { inner_->UpdateMenuState(slot, state); }
  void AddBot(int slot) override { inner_->AddBot(slot); }
  void RemoveBot(int slot) override { inner_->RemoveBot(slot); }
  void FillScoreBoard(SScoreBoard* board) override { inner_->FillScoreBoard(board); }
  int RankNumber(int key) override { return inner_->RankNumber(key); }
  bool IsWinner(int slot) override { return inner_->IsWinner(slot); }
  bool IsTeamGame() override { return inner_->IsTeamGame(); }
  SGameRuleInfo* GameRuleInfo(int type) override { return inner_->GameRuleInfo(type); }
  char* ClassName(int classIndex) override { return inner_->ClassName(classIndex); }
  int TotalLoaders() override { return inner_->TotalLoaders(); }
  int PendingLoaders() override { return inner_->PendingLoaders(); }

  void WriteChatMode(bool on) override { inner_->WriteChatMode(on); }
  void RequestTextMsg(const char* text) override { inner_->RequestTextMsg(text); }
  void ScreenMessage(const char* text) override { inner_->ScreenMessage(text); }
  void SetScreenMessageColor(unsigned long argb) override { inner_->SetScreenMessageColor(argb); }
  bool StoredValue(const char* key, const char** value) override { return inner_->StoredValue(key, value); }
  void WritePrevLoginID(const char* id) override { inner_->WritePrevLoginID(id); }

 protected:
  CNetBackend* inner_ = nullptr;
};

// Hands one game of a game list to NET_UpdateGLManager's callback (none: nothing).
void HandGame(NET_GLCallback callback, uint32_t serverId, const std::string& name,
              const uint8_t address[4], int type, int players, int maxPlayers, const std::string& text);

// The backend the exports use (the recording backend unless set otherwise).
CNetBackend& Backend();
void SetBackend(CNetBackend* backend);

}  // namespace netkorvo
