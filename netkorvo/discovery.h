// discovery.h: the local game list over UDP. A finder sends a query to the
// announce address (and, on a real local network only, to the broadcast
// address) when it starts and then at an interval; every server that runs a
// game answers with its announcement: server id, game name, rule, players,
// second text and the room's port. Datagrams that do not decode are dropped,
// and so are announcements that do not echo the nonce of the finder's query
// (unsolicited or spoofed). The finder lists at most kMaxGames games and
// forgets a game not heard for kForgetIntervals query intervals.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "netkorvo/wire.h"

namespace netkorvo {

// A non-blocking UDP socket; closed with the object.
class CUdpSocket {
 public:
  CUdpSocket() = default;
  ~CUdpSocket();
  CUdpSocket(const CUdpSocket&) = delete;
  CUdpSocket& operator=(const CUdpSocket&) = delete;

  // Binds a dotted address and port (0: any free port); `broadcast` allows
  // sending to the broadcast address.
  bool Open(const std::string& address, uint16_t port, bool broadcast, std::string* error);
  bool SendTo(uint32_t host, uint16_t port, const std::vector<uint8_t>& bytes);
  // One datagram, false when none waits. host in network order.
  bool Receive(std::vector<uint8_t>* bytes, uint32_t* host, uint16_t* port);
  uint16_t Port() const;

 private:
  int fd_ = -1;
};

// The server's side: answers queries with the game it runs.
class CGameAnnouncer {
 public:
  bool Open(const std::string& bindAddress, uint16_t port, std::string* error);
  // Answers each query with `game`, the query's nonce echoed.
  void Service(const wire::SAnnounce& game);
  int DroppedMessages() const { return dropped_; }

 private:
  CUdpSocket socket_;
  int dropped_ = 0;
};

// A game found: the announcement and the address it came from.
struct SFoundGame {
  wire::SAnnounce game;
  uint8_t address[4] = {};
};

// The player's side: queries and collects the answers.
class CGameFinder {
 public:
  static constexpr size_t kMaxGames = 100;       // the server menu lists no more
  static constexpr uint32_t kForgetIntervals = 5;

  struct SConfig {
    std::string announceAddress = "127.0.0.1";
    bool broadcast = false;          // also query 255.255.255.255 (a real local network)
    uint16_t port = 0;               // the servers' discovery port
    uint32_t intervalMs = 1000;
  };
  bool Open(const SConfig& config, std::string* error);
  // Forgets the games found and queries again.
  void Restart();
  // Sends the query when due and reads the answers; `nowMs` a steady clock.
  void Service(uint64_t nowMs);
  // Games found since the last call (each once per start).
  std::vector<SFoundGame> TakeNew();
  int DroppedMessages() const { return dropped_; }
  size_t Listed() const { return found_.size(); }   // games remembered now
  uint16_t Port() const { return socket_.Port(); }

 private:
  using Key = std::pair<uint32_t, uint32_t>;   // host address, server id
  SConfig config_;
  CUdpSocket socket_;
  std::vector<uint32_t> targets_;
  uint64_t nextQuery_ = 0;
  struct SEntry {
    SFoundGame found;
    uint64_t heardMs = 0;
  };
  uint64_t nonce_ = 0;
  std::map<Key, SEntry> found_;
  std::vector<Key> fresh_;
  int dropped_ = 0;
};

}  // namespace netkorvo
