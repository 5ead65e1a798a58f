// recording_backend.h: the network stand-in's recording mode. No socket, no
// clock, no answer of its own: every service answers from the scripted state
// below (filled by session lines through the session provider), and the game
// list hands its games to NET_UpdateGLManager's callback once per start.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "netkorvo/net_backend.h"

namespace netkorvo {

// Rooms of the scripted texts (with their NUL), as in the records they fill.
constexpr size_t kGameNameRoom = sizeof(CGameListItem::Name);
constexpr size_t kGameTextRoom = sizeof(CGameListItem::Text);
constexpr size_t kRuleNameRoom = sizeof(SGameRuleInfo::name);
constexpr size_t kClientNameRoom = sizeof(SClientInfo::name);

// A local network game (`game ID`).
struct SGameRecord {
  uint32_t id = 0;
  std::string name, text;
  uint8_t address[4] = {};
  uint8_t type = 0, players = 0, max = 8;
  bool delivered = false;    // handed to the game list since its last start
};

// A client slot of the room (`netclient SLOT`).
struct SNetClientRecord {
  SClientInfo info = {};     // inUse stays 1
  bool winner = false;
};

// The score board header (`scoreboard`) and its rows (`scorerow ROW`).
struct SScoreBoardRecord {
  int32_t rows = 0;
  std::optional<std::string> fragTitle, slotTitle;
};
struct SScoreRowRecord {
  std::string name;
  int32_t key = 0, rank = 0;
  std::string mark;
  bool highlight = false;
  int32_t team = 0, classIndex = -1, left = -1, right = -1;
  std::optional<std::string> frag, slot;
};

// Everything a session scripts for the network library.
struct SNetScript {
  std::vector<SGameRecord> games;                 // definition order
  std::map<int32_t, std::string> gameRules;       // `gamerule INDEX`
  std::map<int32_t, std::string> classNames;      // `classname INDEX`
  std::array<std::optional<SNetClientRecord>, 8> clients;
  std::optional<SScoreBoardRecord> board;
  std::map<int32_t, SScoreRowRecord> rows;        // 1-8
  std::array<int32_t, kRequestCount> requestResults;
  bool teamGame = false;
  int32_t totalLoaders = 1, pendingLoaders = 1;
  int32_t grade = 0;
  bool canStart = true;
  std::optional<std::string> prevLoginId;         // "kn_prev_login_id"

  SNetScript() { requestResults.fill(1); }
};

class CRecordingBackend : public CNetBackend {
 public:
  SNetScript& Script() { return script_; }
  // Back to an empty script (records handed out before stay valid until then).
  void Reset();

  // Requests have no effect beyond their scripted result (the exports record
  // them); answers come from the script.
  void StartGameList() override;
  void UpdateGameList(NET_GLCallback callback) override;
  int Send(const SLobbyRequest& request) override;
  int CalculateGrade(int ranking, int score) override;
  SClientInfo* ClientInfo(int slot) override;
  bool CanStart() override;
  void FillScoreBoard(SScoreBoard* board) override;
  int RankNumber(int key) override;
  bool IsWinner(int slot) override;
  bool IsTeamGame() override;
  SGameRuleInfo* GameRuleInfo(int type) override;
  char* ClassName(int classIndex) override;
  int TotalLoaders() override;
  int PendingLoaders() override;
  bool StoredValue(const char* key, const char** value) override;
  void WritePrevLoginID(const char* id) override;

 private:
  SNetScript script_;
};

CRecordingBackend& RecordingBackend();

}  // namespace netkorvo
