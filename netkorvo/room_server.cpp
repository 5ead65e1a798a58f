// room_server.cpp: the room server's events and messages.
#include "netkorvo/room_server.h"

#include <chrono>

#include "netkorvo/enet_link.h"

namespace netkorvo {

namespace {

// Peers beyond the eight slots, so that a player of a full room still hears why.
constexpr size_t kSparePeers = 8;
constexpr uint32_t kCloseWaitMs = 300;

}  // namespace

CRoomServer::~CRoomServer() { Close(""); }

bool CRoomServer::Open(const SConfig& config, std::string* error) {
  Close("");
  if (!StartENet()) {
    *error = "the network cannot start (ENet)";
    return false;
  }
  ENetAddress address;
  if (!MakeAddress(config.bindAddress, config.port, &address)) {
    *error = "not an IPv4 address: " + config.bindAddress;
    return false;
  }
  host_ = enet_host_create(&address, kSlotCount + kSparePeers, 1, 0, 0);
  if (!host_) {
    *error = "cannot open the room on " + config.bindAddress + " port " + std::to_string(config.port);
    return false;
  }
  host_->maximumPacketSize = wire::kMaxFrame;
  config_ = config;
  peers_.assign(host_->peerCount, SPeer());
  room_ = CRoom(config.hostName);
  started_ = false;
  dropped_ = 0;
  said_.clear();
  return true;
}

void CRoomServer::Close(const std::string& reason) {
  if (!host_) return;
  Broadcast(wire::SClosed{reason});
  for (size_t i = 0; i < host_->peerCount; ++i)
    if (host_->peers[i].state == ENET_PEER_STATE_CONNECTED) enet_peer_disconnect_later(&host_->peers[i], 0);
  // Let the notices and disconnections go out; bounded in time.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kCloseWaitMs);
  ENetEvent event;
  while (std::chrono::steady_clock::now() < end) {
    bool connected = false;
    for (size_t i = 0; i < host_->peerCount; ++i)
      connected |= host_->peers[i].state != ENET_PEER_STATE_DISCONNECTED;
    if (!connected) break;
    if (enet_host_service(host_, &event, 10) > 0 && event.type == ENET_EVENT_TYPE_RECEIVE)
      enet_packet_destroy(event.packet);
  }
  enet_host_destroy(host_);
  host_ = nullptr;
  peers_.clear();
}

uint16_t CRoomServer::Port() const { return host_ ? host_->address.port : 0; }

// ---- Events ------------------------------------------------------------------------------------

void CRoomServer::Service() {
  if (!host_) return;
  ENetEvent event;
  // Bounded: at most a few hundred events per call, the rest wait for the next.
  for (int n = 0; n < 512 && host_ && enet_host_service(host_, &event, 0) > 0; ++n) {
    switch (event.type) {
      case ENET_EVENT_TYPE_CONNECT:
        OnConnect(event.peer);
        break;
      case ENET_EVENT_TYPE_RECEIVE:
        OnReceive(event.peer, event.packet);
        enet_packet_destroy(event.packet);
        break;
      case ENET_EVENT_TYPE_DISCONNECT:
        OnDisconnect(event.peer);
        break;
      case ENET_EVENT_TYPE_NONE:
        break;
    }
  }
  DropWaitingLinks();
  // A player silent for the timeout is gone (its process or machine stopped).
  for (size_t i = 0; host_ && i < host_->peerCount; ++i) {
    if (peers_[i].slot <= 0 || !PeerSilent(&host_->peers[i], config_.timeoutMs)) continue;
    const int slot = peers_[i].slot;
    peers_[i] = SPeer();
    enet_peer_reset(&host_->peers[i]);
    if (room_.Leave(slot)) BroadcastSlot(slot);
  }
}

int CRoomServer::Links() const {
  int links = 0;
  for (size_t i = 0; host_ && i < host_->peerCount; ++i)
    links += host_->peers[i].state == ENET_PEER_STATE_CONNECTED;
  return links;
}

// A new link: refused at once when its address already holds its share of
// links that have not joined (so that a few silent hosts cannot take every
// link of the room).
void CRoomServer::OnConnect(ENetPeer* peer) {
  int waiting = 0;
  for (size_t i = 0; i < host_->peerCount; ++i) {
    const ENetPeer& other = host_->peers[i];
    if (&other != peer && peers_[i].slot < 0 && other.state == ENET_PEER_STATE_CONNECTED &&
        other.address.host == peer->address.host)
      ++waiting;
  }
  PeerOf(peer) = SPeer();
  if (waiting >= config_.waitingLinksPerAddress) {
    enet_peer_reset(peer);
    return;
  }
  PeerOf(peer).connectedAt = enet_time_get();
  SetPeerTimeout(peer, config_.timeoutMs);
}

// Links that did not join within the hello timeout are let go.
void CRoomServer::DropWaitingLinks() {
  const uint32_t now = enet_time_get();
  for (size_t i = 0; host_ && i < host_->peerCount; ++i) {
    ENetPeer& peer = host_->peers[i];
    if (peers_[i].slot >= 0 || peer.state != ENET_PEER_STATE_CONNECTED) continue;
    if (uint32_t(now - peers_[i].connectedAt) <= config_.helloTimeoutMs) continue;
    peers_[i] = SPeer();
    enet_peer_reset(&peer);
  }
}

void CRoomServer::OnReceive(ENetPeer* peer, const ENetPacket* packet) {
  wire::SMessage message;
  uint8_t version = 0;
  wire::EType type{};
  const wire::EDecode result = DecodePacket(packet, &message, &version, &type);
  SPeer& p = PeerOf(peer);
  if (result == wire::EDecode::kVersion && type == wire::EType::kHello && p.slot < 0) {
    Refuse(peer,
           "THE ROOM PLAYS PROTOCOL VERSION " + std::to_string(wire::kProtocolVersion) +
               "; YOUR GAME USES VERSION " + std::to_string(version),
           version);
    return;
  }
  if (result != wire::EDecode::kOk) return BadMessage(peer);
  if (const auto* hello = std::get_if<wire::SHello>(&message); hello && p.slot < 0)
    return OnHello(peer, *hello);
  if (const auto* choice = std::get_if<wire::SChoice>(&message); choice && p.slot > 0) {
    // Out of the game data's ranges, or after the start: not taken.
    if (started_ || !config_.choices.Allows(*choice)) return void(++dropped_);
    if (room_.SetChoice(p.slot, *choice)) BroadcastSlot(p.slot);
    return;
  }
  if (const auto* say = std::get_if<wire::SSay>(&message); say && p.slot > 0) return OnSay(p, *say);
  BadMessage(peer);   // a message a client does not send, or out of turn
}

void CRoomServer::OnHello(ENetPeer* peer, const wire::SHello& hello) {
  if (started_) return Refuse(peer, "THE MATCH HAS STARTED", wire::kProtocolVersion);
  if (!config_.password.empty() && !SamePassword(hello.password, config_.password))
    return Refuse(peer, kWrongPasswordText, wire::kProtocolVersion);
  const int slot = room_.Join(hello.name.empty() ? "PLAYER" : hello.name);
  if (slot < 0) return Refuse(peer, "THE ROOM IS FULL", wire::kProtocolVersion);
  PeerOf(peer).slot = slot;
  wire::SWelcome welcome = config_.settings;
  welcome.slot = uint8_t(slot);
  SendMessage(peer, welcome);
  for (int i = 0; i < kSlotCount; ++i)
    if (i != slot) SendMessage(peer, room_.Slot(i).Record(i));
  BroadcastSlot(slot);
}

// Within a second from its first line a player says at most
// kChatLinesPerSecond lines; empty lines and lines beyond that are dropped.
void CRoomServer::OnSay(SPeer& peer, const wire::SSay& say) {
  if (say.text.empty()) return;
  const auto now = std::chrono::steady_clock::now();
  if (peer.chatLines == 0 || now - peer.chatSince >= std::chrono::seconds(1)) peer.chatSince = now, peer.chatLines = 0;
  if (++peer.chatLines > kChatLinesPerSecond) return void(++dropped_);
  said_.push_back({peer.slot, say.text});
}

std::vector<CRoomServer::SSaid> CRoomServer::TakeSaid() {
  std::vector<SSaid> out;
  out.swap(said_);
  return out;
}

void CRoomServer::SendToAll(const wire::SMessage& message) {
  Broadcast(message);
  if (host_) enet_host_flush(host_);
}

void CRoomServer::OnDisconnect(ENetPeer* peer) {
  SPeer& p = PeerOf(peer);
  if (p.slot > 0 && room_.Leave(p.slot)) BroadcastSlot(p.slot);
  p = SPeer();
}

void CRoomServer::Refuse(ENetPeer* peer, const std::string& reason, uint8_t version) {
  // A refusal reads the same in every version; the frame carries the
  // client's version so that its decoder takes it.
  SendMessage(peer, wire::SRefuse{reason}, version);
  enet_peer_disconnect_later(peer, 0);
}

void CRoomServer::BadMessage(ENetPeer* peer) {
  ++dropped_;
  SPeer& p = PeerOf(peer);
  if (++p.badMessages <= kBadMessageLimit) return;
  const int slot = p.slot;
  p = SPeer();
  enet_peer_disconnect_now(peer, 0);   // no disconnect event follows
  if (slot > 0 && room_.Leave(slot)) BroadcastSlot(slot);
}

// ---- Changes on the server ----------------------------------------------------------------------

void CRoomServer::BroadcastSlot(int slot) { Broadcast(room_.Slot(slot).Record(slot)); }

void CRoomServer::Broadcast(const wire::SMessage& message) {
  if (!host_) return;
  for (size_t i = 0; i < host_->peerCount; ++i)
    if (peers_[i].slot > 0 && host_->peers[i].state == ENET_PEER_STATE_CONNECTED)
      SendMessage(&host_->peers[i], message);
}

bool CRoomServer::SetChoice(int slot, const wire::SChoice& choice) {
  if (started_ || !room_.SetChoice(slot, choice)) return false;
  BroadcastSlot(slot);
  return true;
}

bool CRoomServer::AddBot(int slot) {
  if (started_ || !room_.AddBot(slot)) return false;
  BroadcastSlot(slot);
  return true;
}

bool CRoomServer::RemoveBot(int slot) {
  if (started_ || !room_.RemoveBot(slot)) return false;
  BroadcastSlot(slot);
  return true;
}

bool CRoomServer::UpdateMenuState(int slot, int state) {
  if (started_ || !room_.UpdateMenuState(slot, state)) return false;
  BroadcastSlot(slot);
  return true;
}

bool CRoomServer::Start() {
  if (!host_ || started_ || !room_.CanStart()) return false;
  started_ = true;
  Broadcast(wire::SStart{});
  enet_host_flush(host_);
  return true;
}

}  // namespace netkorvo
