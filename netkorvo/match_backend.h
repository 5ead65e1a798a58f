// match_backend.h: the network side of the host's simulated match. While a
// match runs, the exports' room and match services answer from it: the
// client records and their frags, the score board, ranks, winners, the team
// test, the rule and class names, the loading progress and the chat of the
// local player; everything else (lobby, game list, stored settings) goes on
// to the backend that was in use before. Once per frame it writes the match clock
// and limits into CC_Manager and the frags into the client records. The
// match ends with NET_Release (the player leaves) or with the host's. A
// room's match knows the room slot of each of its players, and its chat
// lines go through the room.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "netkorvo/net_backend.h"
#include "refhost/sim_match.h"

namespace netkorvo {

class CMatchBackend : public CNetBackendOver {
 public:
  // Starts the host's match and serves it; false with a reason. A room's
  // match gives the room slot of each player of its roster.
  bool Start(const korvohost::SSimMatchRequest& request, std::string* error, std::vector<int> roomSlots = {});
  bool InRoom() const { return inner_ && room_; }
  // The room slot of a player of the match, the player of a room slot; -1 for none.
  int RoomSlot(int player) const;
  int Player(int roomSlot) const;
  // Once per frame; leaves when the host's match is gone.
  void Service();

  // Leaving the match first; the lobby, the game list, the stored settings
  // and the screen messages are the backend's below.
  void Init(int server, const char* address, int a, int b) override;
  void Release() override;

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
  SGameRuleInfo* GameRuleInfo(int type) override { return CNetBackend::GameRuleInfo(type); }
  char* ClassName(int classIndex) override { return CNetBackend::ClassName(classIndex); }
  int TotalLoaders() override { return korvohost::SimMatchStatus().loaders; }
  int PendingLoaders() override { return korvohost::SimMatchStatus().pendingLoaders; }

  void WriteChatMode(bool) override {}
  void RequestTextMsg(const char* text) override;

 private:
  // The match's records into the module's: server record, client records, team colours.
  void ShowMatch(const korvohost::SSimMatchStatus& status);
  void UpdateInfos(const korvohost::SSimMatchStatus& status);
  // Ends the host's match and hands the exports back to the backend before,
  // telling it when the match was its room's.
  void Leave();

  // A room's match leaves the room's records alone and gives back its own
  // slot and network state when it ends.
  bool room_ = false;
  int roomClient_ = 0, roomInitialized_ = 0;
  std::vector<int> roomSlots_;   // by player
  std::array<SClientInfo, 8> infos_ = {};
  int players_ = 0;
};

// The game type of a rule name: a name of the rule table in any case, with
// blanks, '-' and '_' ignored ("deathmatch", "team-death-match"), or the
// index; false for another text.
bool FindRule(const std::string& name, int* type);

// The request for the match of the open room (server record and client
// records): its players in slot order (their room slots into `roomSlots`),
// the local player the control character; the room's server keeps the
// score (`leads`), the others follow it. False with a reason when the room
// cannot have one.
bool RoomMatchRequest(korvohost::SSimMatchRequest* request, std::vector<int>* roomSlots, bool leads,
                      std::string* error);
// Starts the open room's match (the room's start); `leads` on the room's server.
bool StartRoomMatch(bool leads, std::string* error);
// The match running for the open room, or null.
const CMatchBackend* RoomMatch();
// The backend a running match serves over, or null.
CNetBackend* MatchInner();

}  // namespace netkorvo
