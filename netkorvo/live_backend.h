// live_backend.h: the network library for real play. A local server runs a
// room over ENet and answers game-list queries; a join links to a room; the
// game list queries over UDP. Once per frame (ServiceLive) it handles the
// network and keeps the module's client records and the library's
// SClientInfo records in step with the room: the local player's choices go
// out from the module's records, everybody else's come in, and the room
// menu's slot buttons follow the slots as they fill and empty. Chat lines go
// through the room's server to everybody. While the room's match runs the
// server's match is the one that counts: the server sends its frags,
// events, time, end and winners, and the players' matches follow them. The
// online client (online_client.h) talks to the lobby server and is serviced
// with it.
#pragma once
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "netkorvo/discovery.h"
#include "netkorvo/net_backend.h"
#include "netkorvo/netkorvo.h"
#include "netkorvo/online_client.h"
#include "netkorvo/room_client.h"
#include "netkorvo/room_server.h"

namespace netkorvo {

class CLiveBackend : public CNetBackend {
 public:
  explicit CLiveBackend(const SLiveOptions& options);
  ~CLiveBackend() override;

  void Service();
  uint16_t RoomPort() const { return server_ ? server_->Port() : 0; }
  bool InRoom() const { return server_ || client_; }

  void Init(int server, const char* address, int a, int b) override;
  void Release() override;
  void StartGameList() override;
  void UpdateGameList(NET_GLCallback callback) override;
  void StopGameList() override;

  int Send(const SLobbyRequest& request) override;
  void Close() override;
  int CalculateGrade(int ranking, int score) override;

  SClientInfo* ClientInfo(int slot) override;
  bool CanStart() override;
  void WriteStart() override;
  void UpdateMenuState(int slot, int state) override;
  void AddBot(int slot) override;
  void RemoveBot(int slot) override;
  void FillScoreBoard(SScoreBoard* board) override;
  int RankNumber(int key) override;
  bool IsWinner(int slot) override;
  bool IsTeamGame() override;
  int TotalLoaders() override;
  int PendingLoaders() override;
  void RoomMatchEnded() override;

  void RequestTextMsg(const char* text) override;
  void ScreenMessage(const char* text) override;
  void SetScreenMessageColor(unsigned long argb) override;
  bool StoredValue(const char* key, const char** value) override;
  void WritePrevLoginID(const char* id) override;

 private:
  CRoomEvents& Events();
  std::string PlayerName() const;
  void OpenRoom(bool announce);
  // Opens the room's server (announced or not); false with the reason.
  bool StartRoom(bool announce, bool anyInterface, std::string* error);
  // The room of an online game: its port, or 0 with the reason.
  uint16_t OpenOnlineRoom(bool anyInterface, std::string* error);
  void JoinRoom(const char* address, bool online);
  void ServiceServer();
  void ServiceClient();
  wire::SAnnounce Announcement() const;
  // The room's slot as this side knows it; null without a room.
  const SSlot* RoomSlot(int slot) const;
  // Slots whose choices this side makes: the own slot, and on the server its bots.
  bool Owned(int slot) const;
  void ShowSlots();
  void ShowSlot(int slot, bool choices);
  // GUI_EnableRoomMenuSlot / GUI_DisableRoomMenuSlot where a slot changed.
  void ShowSlotButtons();
  // The server's chat line of a slot: to every player and to this window.
  void ServerChat(int slot, const std::string& text);
  unsigned long ChatColour(int slot) const;
  // The server sends what its room's match did since the last frame.
  void ShareMatch();
  // A player's match takes the server's news.
  void FollowMatch(const wire::SMessage& message);
  void Later(std::function<void()> event) { later_.push_back(std::move(event)); }

  SLiveOptions options_;
  std::unique_ptr<CRoomEvents> moduleEvents_;
  std::unique_ptr<CRoomServer> server_;
  std::unique_ptr<CGameAnnouncer> announcer_;
  std::unique_ptr<CRoomClient> client_;
  std::unique_ptr<CGameFinder> finder_;
  std::map<std::pair<uint32_t, uint32_t>, uint16_t> roomPorts_;   // (address, server id): port
  std::vector<std::function<void()>> later_;   // run at the next Service, outside the module's calls
  uint32_t serverId_ = 0;
  unsigned long screenColour_ = 0xFFFFFFFF;
  std::array<SClientInfo, 8> infos_ = {};
  std::array<int, 8> slotButtons_;     // shown: -1 unknown, 0 disabled, 1 enabled, 2 enabled and usable
  wire::SMatchState sharedState_;      // the match state sent last
  bool stateSent_ = false;
  std::map<std::string, std::string> stored_;   // NET_var
  uint16_t onlineJoinPort_ = 0;                 // the room port the lobby granted
  bool onlineRoom_ = false;                     // the room is an online game's: leaving it tells the lobby
  std::string onlineJoinPassword_;              // the password of the game asked for
  std::string joinPassword_;                    // the one the room was joined with
  std::unique_ptr<COnlineClient> online_;
};

}  // namespace netkorvo
