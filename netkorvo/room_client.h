// room_client.h: a player's link to a room over ENet. It joins with the
// player's name, keeps every slot of the room as the server sends them, sends
// the choices of its own slot and the player's chat lines, and reports what
// happens: joined, refused (or no room answered), the match started, a chat
// line or news of the room's match came, the room ended.
#pragma once
#include <enet/enet.h>

#include <array>
#include <string>
#include <vector>

#include "netkorvo/room.h"

namespace netkorvo {

class CRoomClient {
 public:
  enum class EEvent { kJoined, kRefused, kStarted, kEnded, kChat, kMatch };
  struct SEvent {
    EEvent kind;
    std::string text;       // refusal or end: why
    wire::SMessage message{};   // kChat: the SChatLine; kMatch: the SMatchEvent or SMatchState
  };

  CRoomClient() = default;
  ~CRoomClient();
  CRoomClient(const CRoomClient&) = delete;
  CRoomClient& operator=(const CRoomClient&) = delete;

  // Starts joining the room at a dotted address; the answer comes as an event.
  // `version` other than the current one only for tests of the refusal.
  bool Connect(const std::string& address, uint16_t port, const std::string& name, uint32_t timeoutMs,
               std::string* error, uint8_t version = wire::kProtocolVersion);
  // The password of a locked room, sent with the hello of the next Connect.
  void SetPassword(const std::string& password) { password_ = password; }
  // Leaves the room at once.
  void Leave();
  void Service();
  std::vector<SEvent> TakeEvents();

  bool Joined() const { return slot_ >= 0 && peer_; }
  int MySlot() const { return slot_; }
  const SSlot& Slot(int slot) const { return slots_[size_t(slot)]; }
  const wire::SWelcome& Settings() const { return settings_; }
  int DroppedMessages() const { return dropped_; }

  // The choices of the own slot go to the server when they changed.
  void SendChoice(const wire::SChoice& choice);
  // A chat line for the server to pass on to everybody (this player included).
  void Say(const std::string& text);

 private:
  void OnReceive(const ENetPacket* packet);
  void End(EEvent kind, const std::string& why);

  ENetHost* host_ = nullptr;
  ENetPeer* peer_ = nullptr;
  std::string name_, address_, password_;
  uint8_t version_ = wire::kProtocolVersion;
  uint32_t timeoutMs_ = 5000;
  int slot_ = -1;
  std::array<SSlot, kSlotCount> slots_;
  wire::SWelcome settings_;
  wire::SChoice sent_;
  bool over_ = false;
  int dropped_ = 0;
  std::vector<SEvent> events_;
};

}  // namespace netkorvo
