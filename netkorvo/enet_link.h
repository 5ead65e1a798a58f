// enet_link.h: what the room server and client share over ENet: library
// start-up, addresses, sending one message as one reliable packet, decoding a
// received packet, and the timeouts of a peer.
#pragma once
#include <enet/enet.h>

#include <cstdint>
#include <string>

#include "netkorvo/wire.h"

namespace netkorvo {

// Starts ENet once per process (released at exit); false when it cannot.
bool StartENet();
// A dotted IPv4 address and a port; false for anything else.
bool MakeAddress(const std::string& dotted, uint16_t port, ENetAddress* address);
void SendMessage(ENetPeer* peer, const wire::SMessage& message,
                 uint8_t version = wire::kProtocolVersion);
wire::EDecode DecodePacket(const ENetPacket* packet, wire::SMessage* message, uint8_t* version,
                           wire::EType* type);
// Both sides ping each other every eighth of `timeoutMs` when nothing else
// travels, so a live peer is heard several times per timeout; ENet's own
// limit is set to the timeout as a backstop.
void SetPeerTimeout(ENetPeer* peer, uint32_t timeoutMs);
// True when nothing came from a connected peer for longer than `timeoutMs`.
bool PeerSilent(const ENetPeer* peer, uint32_t timeoutMs);

}  // namespace netkorvo
