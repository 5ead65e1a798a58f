// enet_link.cpp: ENet start-up and the helpers of enet_link.h.
#include "netkorvo/enet_link.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstdlib>

namespace netkorvo {

bool StartENet() {
  static const bool started = [] {
    if (enet_initialize() != 0) return false;
    std::atexit(enet_deinitialize);
    return true;
  }();
  return started;
}

bool MakeAddress(const std::string& dotted, uint16_t port, ENetAddress* address) {
  in_addr parsed;
  if (inet_pton(AF_INET, dotted.c_str(), &parsed) != 1) return false;
  address->host = parsed.s_addr;
  address->port = port;
  return true;
}

void SendMessage(ENetPeer* peer, const wire::SMessage& message, uint8_t version) {
  const std::vector<uint8_t> bytes = wire::Encode(message, version);
  ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
  if (packet && enet_peer_send(peer, 0, packet) != 0) enet_packet_destroy(packet);
}

wire::EDecode DecodePacket(const ENetPacket* packet, wire::SMessage* message, uint8_t* version,
                           wire::EType* type) {
  return wire::Decode(packet->data, packet->dataLength, message, version, type);
}

void SetPeerTimeout(ENetPeer* peer, uint32_t timeoutMs) {
  enet_peer_ping_interval(peer, std::max<uint32_t>(timeoutMs / 8, 20));
  enet_peer_timeout(peer, 0, timeoutMs, timeoutMs);
}

bool PeerSilent(const ENetPeer* peer, uint32_t timeoutMs) {
  return peer->state == ENET_PEER_STATE_CONNECTED &&
         enet_uint32(enet_time_get() - peer->lastReceiveTime) > timeoutMs;
}

}  // namespace netkorvo
