// room_probe.h: raw ENet links to a room for probes: many peers from one
// chosen loopback source address, that say hello (or nothing) and keep what
// they receive. Every wait is bounded.
#pragma once
#include <enet/enet.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "netkorvo/enet_link.h"
#include "netkorvo/wire.h"

namespace netkorvo::probe {

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs `step` until `done` or waitMs are over; true when done.
inline bool Until(const std::function<bool()>& done, const std::function<void()>& step, int waitMs) {
  const auto start = Clock::now();
  while (MsSince(start) < waitMs) {
    step();
    if (done()) return true;
  }
  return done();
}

class CRawLinks {
 public:
  CRawLinks() = default;
  CRawLinks(const CRawLinks&) = delete;
  CRawLinks& operator=(const CRawLinks&) = delete;
  ~CRawLinks() {
    if (host_) enet_host_destroy(host_);
  }

  // `count` links from `source` towards 127.0.0.1:port.
  bool Open(const std::string& source, size_t count, uint16_t port) {
    ENetAddress from;
    if (!StartENet() || !MakeAddress(source, 0, &from)) return false;
    host_ = enet_host_create(&from, count, 1, 0, 0);
    if (!host_) return false;
    ENetAddress to;
    MakeAddress("127.0.0.1", port, &to);
    for (size_t i = 0; i < count; ++i) {
      ENetPeer* peer = enet_host_connect(host_, &to, 1, 0);
      if (!peer) return false;
      // Silent links keep answering ENet's pings: only the hello is missing.
      enet_peer_timeout(peer, 0, 60000, 60000);
      peers_.push_back(peer);
    }
    return true;
  }
  // Services the links once, waiting at most waitMs.
  void Service(uint32_t waitMs = 1) {
    ENetEvent event;
    while (host_ && enet_host_service(host_, &event, waitMs) > 0) {
      waitMs = 0;
      if (event.type == ENET_EVENT_TYPE_RECEIVE) {
        received.emplace_back(event.packet->data, event.packet->data + event.packet->dataLength);
        enet_packet_destroy(event.packet);
      }
    }
  }
  size_t Connected() const {
    size_t n = 0;
    for (const ENetPeer* peer : peers_) n += peer->state == ENET_PEER_STATE_CONNECTED;
    return n;
  }
  void Send(size_t link, const wire::SMessage& message) {
    SendMessage(peers_[link], message);
    enet_host_flush(host_);
  }
  void SendBytes(size_t link, const std::vector<uint8_t>& bytes) {
    enet_peer_send(peers_[link], 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
    enet_host_flush(host_);
  }
  // True when some received packet holds these bytes.
  bool Received(const std::string& bytes) const {
    for (const auto& packet : received)
      if (std::string(packet.begin(), packet.end()).find(bytes) != std::string::npos) return true;
    return false;
  }

  std::vector<std::vector<uint8_t>> received;

 private:
  ENetHost* host_ = nullptr;
  std::vector<ENetPeer*> peers_;
};

}  // namespace netkorvo::probe
