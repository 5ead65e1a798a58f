// netkorvo.h: the network stand-in's control API, for tools and tests only
// (the module reaches the library through host/netkorvo.h).
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/host_match.h"
#include "host/netkorvo.h"
#include "host/session_state.h"
#include "korvogui/room.h"

#define NETKORVO_API __attribute__((visibility("default")))

namespace netkorvo {

// The provider of the network scalars and records and of the module's
// clientinfo and serverinfo records.
NETKORVO_API korvostate::CStateProvider& SessionProvider();
// Starts a session: registers the provider (once, after the ones registered
// before), brings the library to its start state in recording mode and turns
// the log of recorded calls on.
NETKORVO_API void BeginSession();
// The library's globals and the scripted state back to their start values.
NETKORVO_API void Reset();

// ---- Live backend ------------------------------------------------------------------------
// What the live backend makes the game do when a room changes hands. The
// default (null in SLiveOptions) goes through the module: ROOMMENU opens, the
// module's message box tells why a room ended or a join failed.
class NETKORVO_API CRoomEvents {
 public:
  virtual ~CRoomEvents() = default;
  // The room was created or joined (my_client and the records are set).
  virtual void RoomOpened() = 0;
  // A join was refused or found no room (inRoom false), or the open room
  // ended: the server left, the link was lost (inRoom true).
  virtual void RoomClosed(const char* why, bool inRoom) = 0;
  virtual void MatchStarted() = 0;
  // ScreenMsg's text with the colour set last.
  virtual void ScreenMessage(const char* text, unsigned long argb) = 0;
  // A chat line of the room (room menu or match), in the sender's colour.
  virtual void ChatMessage(unsigned long argb, const char* name, const char* text) = 0;
};

struct SLiveOptions {
  // Where game-list queries go and where rooms listen. Loopback unless `lan`.
  std::string announceAddress = "127.0.0.1";
  // A real local network: rooms listen on every interface and the game list
  // also broadcasts its queries. Only `korvoui play` turns it on.
  bool lan = false;
  uint16_t roomPort = 24160;         // ENet port of a room (0: any free port)
  uint16_t discoveryPort = 24161;    // UDP port where rooms answer game-list queries
  uint32_t timeoutMs = 5000;         // a silent peer is dropped after this
  uint32_t queryIntervalMs = 1000;   // the game list queries again after this
  CRoomEvents* events = nullptr;     // null: through the module
  // The stored settings (NET_var) at start: "kn_server_address" and
  // "kn_server_port" name the online lobby server (127.0.0.1:24162 when
  // absent); "kn_prev_login_id" the last login.
  std::map<std::string, std::string> stored;
  uint32_t lobbyConnectMs = 3000;    // a connection to the lobby server gives up after this
  // Called when the player chooses online play, before the connection: it
  // may start a lobby server and name it in the stored settings.
  std::function<void(std::map<std::string, std::string>& stored)> onlineChosen;
};

// The exports run on the live backend from now on: sockets, the game list,
// rooms. The recording backend returns with BeginSession.
NETKORVO_API void UseLiveBackend(const SLiveOptions& options);
// Runs the live backend's network once: rooms, game list, the module's
// records. Call once per frame on the game thread, between frames.
NETKORVO_API void ServiceLive();
// The port of the room this process serves (0: none), for tests on any port.
NETKORVO_API uint16_t LiveRoomPort();
// True while this process serves or has joined a room of the live backend.
NETKORVO_API bool LiveInRoom();

// ---- Simulated match ------------------------------------------------------------------------
// The network side of the host's simulated match (host/host_match.h).
// Installs the host's match starter, so that a host script's `match` line
// starts one.
NETKORVO_API void ServeSimMatches();
// Starts a match of the rule named (a rule name in any case, blanks, '-' and
// '_' ignored, or its index; a map that suits the rule unless given): the
// exports' room and match services answer from it and the module's server
// and client records show it, until NET_Release or the host's match ends.
// False with a reason.
NETKORVO_API bool StartSimMatch(const korvohost::SSimMatchRequest& request, std::string* error);
// Once per frame: the match clock into CC_Manager, the frags into the records.
NETKORVO_API void ServiceSimMatch();

// Printed fields of records as sessions show them ("state=0 name=\"\" …").
NETKORVO_API std::string PrintFields(const SGUI_ClientInfo& record);
NETKORVO_API std::string PrintFields(const SGUI_ServerInfo& record);
NETKORVO_API std::string PrintFields(const SGUI_OptionInfo& record);
NETKORVO_API std::string PrintFields(const PLAYER_INFO& record);
NETKORVO_API std::string PrintFields(const SESSION_INFO& record);
NETKORVO_API std::string PrintFields(const CHANNEL_INFO& record);

// A zero-filled SESSION_INFO with these fields (name, type, map, address), as
// a session passes the record by value; false with a reason for a bad field.
NETKORVO_API bool ReadSessionInfo(const std::vector<korvostate::SField>& fields, SESSION_INFO* out,
                                  std::string& error);

}  // namespace netkorvo
