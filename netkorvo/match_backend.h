// match_backend.h: the network side of the host's simulated match. While a
// match runs, the exports' room and match services answer from it: the
// client records and their frags, the score board, ranks, winners, the team
// test, the rule and class names, the loading progress and the chat of the
// local player; everything else (lobby, game list, stored settings) goes on
// to the backend that was in use before. Once per frame it writes the match clock
// and limits into CC_Manager and the frags into the client records. The
// match ends with NET_Release (the player leaves) or with the host's.
#pragma once
#include <array>
#include <string>

#include "netkorvo/net_backend.h"
#include "refhost/sim_match.h"

namespace netkorvo {

class CMatchBackend : public CNetBackend {
 public:
  // Starts the host's match and serves it; false with a reason.
  bool Start(const korvohost::SSimMatchRequest& request, std::string* error);
  // Once per frame; leaves when the host's match is gone.
  void Service();

  void Init(int server, const char* address, int a, int b) override;
  void Release() override;
  void StartGameList() override { inner_->StartGameList(); }
  void UpdateGameList(NET_GLCallback callback) override { inner_->UpdateGameList(callback); }
  void StopGameList() override { inner_->StopGameList(); }

  int Send(const SLobbyRequest& request) override { return inner_->Send(request); }
  void Close() override { inner_->Close(); }
  int CalculateGrade(int ranking, int score) override { return inner_->CalculateGrade(ranking, score); }

  SClientInfo* ClientInfo(int slot) override;
  bool CanStart() override { return false; }
  void WriteStart() override {}
  void UpdateMenuState(int, int) override {}
  void AddBot(int) override {}
  void RemoveBot(int) override {}
  void FillScoreBoard(SScoreBoard* board) override;
  int RankNumber(int key) override { return korvohost::SimMatchRank(key); }
  bool IsWinner(int slot) override { return korvohost::SimMatchWinner(slot); }
  bool IsTeamGame() override { return korvohost::SimMatchStatus().teams; }
  SGameRuleInfo* GameRuleInfo(int type) override;
  char* ClassName(int classIndex) override;
  int TotalLoaders() override { return korvohost::SimMatchStatus().loaders; }
  int PendingLoaders() override { return korvohost::SimMatchStatus().pendingLoaders; }

  void WriteChatMode(bool) override {}
  void RequestTextMsg(const char* text) override;
  void ScreenMessage(const char* text) override { inner_->ScreenMessage(text); }
  void SetScreenMessageColor(unsigned long argb) override { inner_->SetScreenMessageColor(argb); }
  bool StoredValue(const char* key, const char** value) override { return inner_->StoredValue(key, value); }
  void WritePrevLoginID(const char* id) override { inner_->WritePrevLoginID(id); }

 private:
  // The match's records into the module's: server record, client records, team colours.
  void ShowMatch(const korvohost::SSimMatchStatus& status);
  void UpdateInfos(const korvohost::SSimMatchStatus& status);
  // Ends the host's match and hands the exports back to the backend before,
  // telling it when the match was its room's.
  void Leave();

  CNetBackend* inner_ = nullptr;
  // A room's match leaves the room's records alone and gives back its own
  // slot and network state when it ends.
  bool room_ = false;
  int roomClient_ = 0, roomInitialized_ = 0;
  std::array<SClientInfo, 8> infos_ = {};
  int players_ = 0;
  SGameRuleInfo ruleInfo_ = {};
  std::string className_;
};

// The game type of a rule name: a name of the rule table in any case, with
// blanks, '-' and '_' ignored ("deathmatch", "team-death-match"), or the
// index; false for another text.
bool FindRule(const std::string& name, int* type);

// The request for the match of the open room (server record and client
// records); false with a reason when the room cannot have one.
bool RoomMatchRequest(korvohost::SSimMatchRequest* request, std::string* error);
// Starts the open room's match (the room's start).
bool StartRoomMatch(std::string* error);

}  // namespace netkorvo
