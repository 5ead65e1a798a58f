// room_server.h: a room's server over ENet. It keeps the room's slots (the
// server's own player in slot 0), takes joining players into open slots,
// refuses them when the room is full or speaks another protocol version,
// sends every slot change to every client, frees the slot of a client that
// leaves or stays silent, and tells everybody when the match starts or the
// room ends. Messages that do not decode are dropped; past kBadMessageLimit
// of them the sender is dropped too. Chat lines of the players are taken
// (at most kChatLinesPerSecond per player, the rest dropped) for the owner to
// send back to everybody with SendToAll, as everything of the room's match.
// A locked room takes only players who give its password; links that do not
// say hello in time are dropped, and one address holds at most a few links
// that have not joined. Choices out of the game data's ranges, or made after
// the start, are dropped.
#pragma once
#include <enet/enet.h>

#include <chrono>
#include <string>
#include <vector>

#include "netkorvo/room.h"
#include "netkorvo/room_rules.h"

namespace netkorvo {

class CRoomServer {
 public:
  static constexpr int kBadMessageLimit = 8;
  static constexpr int kChatLinesPerSecond = 4;

  // A chat line a player typed: its slot and text (never empty).
  struct SSaid {
    int slot = 0;
    std::string text;
  };

  struct SConfig {
    std::string bindAddress = "127.0.0.1";
    uint16_t port = 0;              // 0: any free port
    uint32_t timeoutMs = 5000;
    std::string hostName;           // the server's player, slot 0
    wire::SWelcome settings;        // the room's settings (slot filled per client)
    std::string password;           // "": an open room; never sent
    SChoiceRules choices;           // what a joined player may choose
    uint32_t helloTimeoutMs = 2000; // a link without a slot is dropped after this
    int waitingLinksPerAddress = 4; // links without a slot from one address
  };

  CRoomServer() = default;
  ~CRoomServer();
  CRoomServer(const CRoomServer&) = delete;
  CRoomServer& operator=(const CRoomServer&) = delete;

  bool Open(const SConfig& config, std::string* error);
  // Tells every client why the room ends and lets them go (waits at most
  // a fraction of a second for them to acknowledge).
  void Close(const std::string& reason);
  bool IsOpen() const { return host_ != nullptr; }
  uint16_t Port() const;

  // Handles what arrived; call often.
  void Service();

  const CRoom& Room() const { return room_; }
  std::vector<SSaid> TakeSaid();
  // Sends a message of the room (a chat line, the match) to every player.
  void SendToAll(const wire::SMessage& message);
  bool Started() const { return started_; }
  int DroppedMessages() const { return dropped_; }
  // Links connected at the ENet level, joined or not.
  int Links() const;

  // Changes made on the server; each reaches every client. False when the
  // room did not change.
  bool SetChoice(int slot, const wire::SChoice& choice);
  bool AddBot(int slot);
  bool RemoveBot(int slot);
  bool UpdateMenuState(int slot, int state);
  // Starts the match when the room may start.
  bool Start();
  // The match is over and the room is back: it takes joins, bots and slot
  // changes again and may start again.
  void EndMatch() { started_ = false; }

 private:
  struct SPeer {
    int slot = -1;
    int badMessages = 0;
    uint32_t connectedAt = 0;   // ENet time of the connection
    std::chrono::steady_clock::time_point chatSince;   // its chat lines in the second since
    int chatLines = 0;
  };
  SPeer& PeerOf(ENetPeer* peer) { return peers_[size_t(peer - host_->peers)]; }
  void OnReceive(ENetPeer* peer, const ENetPacket* packet);
  void OnHello(ENetPeer* peer, const wire::SHello& hello);
  void OnConnect(ENetPeer* peer);
  void OnSay(SPeer& peer, const wire::SSay& say);
  void OnDisconnect(ENetPeer* peer);
  void DropWaitingLinks();
  void Refuse(ENetPeer* peer, const std::string& reason, uint8_t version);
  void BadMessage(ENetPeer* peer);
  void BroadcastSlot(int slot);
  void Broadcast(const wire::SMessage& message);

  SConfig config_;
  ENetHost* host_ = nullptr;
  std::vector<SPeer> peers_;
  CRoom room_{""};
  bool started_ = false;
  int dropped_ = 0;
  std::vector<SSaid> said_;
};

}  // namespace netkorvo
