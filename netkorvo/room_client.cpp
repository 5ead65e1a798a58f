// room_client.cpp: the client's events and messages.
#include "netkorvo/room_client.h"

#include "netkorvo/enet_link.h"

namespace netkorvo {

CRoomClient::~CRoomClient() { Leave(); }

bool CRoomClient::Connect(const std::string& address, uint16_t port, const std::string& name,
                          uint32_t timeoutMs, std::string* error, uint8_t version) {
  Leave();
  ENetAddress to;
  if (!StartENet()) {
    *error = "the network cannot start (ENet)";
    return false;
  }
  if (!MakeAddress(address, port, &to)) {
    *error = "not an IPv4 address: " + address;
    return false;
  }
  host_ = enet_host_create(nullptr, 1, 1, 0, 0);
  if (!host_) {
    *error = "cannot open a network link";
    return false;
  }
  host_->maximumPacketSize = wire::kMaxFrame;
  peer_ = enet_host_connect(host_, &to, 1, 0);
  if (!peer_) {
    Leave();
    *error = "cannot open a network link";
    return false;
  }
  SetPeerTimeout(peer_, timeoutMs);
  timeoutMs_ = timeoutMs;
  name_ = name;
  address_ = address;
  version_ = version;
  slot_ = -1;
  slots_ = {};
  settings_ = wire::SWelcome();
  sent_ = wire::SChoice();
  over_ = false;
  dropped_ = 0;
  return true;
}

void CRoomClient::Leave() {
  if (peer_) enet_peer_disconnect_now(peer_, 0);
  if (host_) enet_host_destroy(host_);
  host_ = nullptr;
  peer_ = nullptr;
  slot_ = -1;
}

std::vector<CRoomClient::SEvent> CRoomClient::TakeEvents() { return std::move(events_); }

void CRoomClient::End(EEvent kind, const std::string& why) {
  if (!over_) events_.push_back({kind, why});
  over_ = true;
}

// ---- Events ------------------------------------------------------------------------------------

void CRoomClient::Service() {
  ENetEvent event;
  for (int n = 0; n < 512 && host_ && enet_host_service(host_, &event, 0) > 0; ++n) {
    switch (event.type) {
      case ENET_EVENT_TYPE_CONNECT:
        SendMessage(peer_, wire::SHello{name_, password_}, version_);
        break;
      case ENET_EVENT_TYPE_RECEIVE:
        OnReceive(event.packet);
        enet_packet_destroy(event.packet);
        break;
      case ENET_EVENT_TYPE_DISCONNECT:
        End(slot_ >= 0 ? EEvent::kEnded : EEvent::kRefused,
            slot_ >= 0 ? "THE CONNECTION TO THE ROOM WAS LOST" : "NO ROOM ANSWERS AT " + address_);
        peer_ = nullptr;
        Leave();
        break;
      case ENET_EVENT_TYPE_NONE:
        break;
    }
  }
  if (peer_ && slot_ >= 0 && PeerSilent(peer_, timeoutMs_)) {
    End(EEvent::kEnded, "THE CONNECTION TO THE ROOM WAS LOST");
    Leave();
  }
}

void CRoomClient::OnReceive(const ENetPacket* packet) {
  wire::SMessage message;
  if (DecodePacket(packet, &message, nullptr, nullptr) != wire::EDecode::kOk) {
    ++dropped_;
    return;
  }
  if (const auto* refuse = std::get_if<wire::SRefuse>(&message)) {
    End(EEvent::kRefused, refuse->reason);
  } else if (const auto* welcome = std::get_if<wire::SWelcome>(&message)) {
    if (slot_ >= 0) return void(++dropped_);
    settings_ = *welcome;
    slot_ = welcome->slot;
    events_.push_back({EEvent::kJoined, ""});
  } else if (const auto* record = std::get_if<wire::SSlotRecord>(&message)) {
    if (slot_ < 0) return void(++dropped_);
    slots_[record->slot] = SSlot::FromRecord(*record);
  } else if (std::holds_alternative<wire::SStart>(message)) {
    if (slot_ >= 0) events_.push_back({EEvent::kStarted, ""});
  } else if (const auto* closed = std::get_if<wire::SClosed>(&message)) {
    End(EEvent::kEnded, closed->reason);
  } else if (std::holds_alternative<wire::SChatLine>(message)) {
    if (slot_ < 0) return void(++dropped_);
    events_.push_back({EEvent::kChat, "", std::move(message)});
  } else if (std::holds_alternative<wire::SMatchEvent>(message) ||
             std::holds_alternative<wire::SMatchState>(message)) {
    if (slot_ < 0) return void(++dropped_);
    events_.push_back({EEvent::kMatch, "", std::move(message)});
  } else {
    ++dropped_;
  }
}

void CRoomClient::Say(const std::string& text) {
  if (!Joined() || over_ || text.empty()) return;
  SendMessage(peer_, wire::SSay{text});
  enet_host_flush(host_);
}

void CRoomClient::SendChoice(const wire::SChoice& choice) {
  if (!Joined() || over_ || choice == sent_) return;
  sent_ = choice;
  SendMessage(peer_, choice);
  enet_host_flush(host_);
}

}  // namespace netkorvo
