// client.h: the lobby's client library. Requests mirror the online client's
// (SendIdPw, SendNewIdPw, ... SendChatMsg); each returns true when queued.
// Poll sends what is queued, reads what arrived and hands back typed events:
// a result per request, the lists gathered from their entries, chat lines
// and granted joins. One thread; no callback runs behind the caller's back.
// With a trust (a CA file or a pinned certificate) the connection is TLS and
// a server that fails the check is never talked to in plain TCP.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <variant>
#include <vector>

#include "lobbyd/decoder.h"
#include "lobbyd/protocol.h"
#include "lobbyd/tls.h"

namespace lobbyd {

struct SPlayer {
  std::string id;
  uint16_t wins = 0, losses = 0, ranking = 0;
  uint32_t score = 0;
  uint8_t grade = 0;
};
struct SChannel {
  std::string name;
  uint16_t members = 0;
};
struct SSession {
  std::string name, map;
  uint8_t type = 0;
  uint8_t address[4] = {};   // the host's IPv4 address, one byte per part
  uint16_t port = 0;
  uint8_t players = 0, maxPlayers = 0;
  bool locked = false;       // a password is needed
};
struct SSessionPlayer {
  std::string id;
  uint16_t wins = 0, losses = 0, ranking = 0;
  uint8_t slot = 0;          // 1-8; 1 is the host
};

// ---- Events ----
struct SResultEvent {        // every request's outcome, after its data events
  EMsg request;
  ECode code;
};
struct SPrivateInfoEvent { SPlayer own; };
struct SChannelListEvent { std::vector<SChannel> channels; };
struct SChannelChangedEvent { SChannel channel; };
struct SPlayerListEvent { std::vector<SPlayer> players; };
struct SSessionListEvent { std::vector<SSession> sessions; };
struct SSessionInfoEvent {
  std::string name;
  std::vector<SSessionPlayer> players;
};
struct SGameCreatedEvent { SSession session; };
struct SChatEvent { std::string from, text; };
struct SJoinGrantedEvent {
  std::string name;
  std::string address;       // dotted
  uint16_t port = 0;
};
struct SSessionClosedEvent { std::string name; };   // the game left the lobby's list
struct SDisconnectedEvent { std::string reason; };

using SLobbyEvent = std::variant<SResultEvent, SPrivateInfoEvent, SChannelListEvent, SChannelChangedEvent,
                                 SPlayerListEvent, SSessionListEvent, SSessionInfoEvent, SGameCreatedEvent,
                                 SChatEvent, SJoinGrantedEvent, SSessionClosedEvent, SDisconnectedEvent>;

// One lobby node: an IPv4 address and its port.
struct SEndpoint {
  std::string address;
  uint16_t port = 0;
};

class CLobbyClient {
 public:
  // Lobby nodes one address list names at most.
  static constexpr size_t kMaxEndpoints = 8;
  // "a.b.c.d[:port][,a.b.c.d[:port]...]", blanks around items ignored; an
  // item without a port takes defaultPort. False with *error on a bad item,
  // an empty list or more than kMaxEndpoints items.
  static bool ParseEndpoints(const std::string& list, uint16_t defaultPort, std::vector<SEndpoint>* out,
                             std::string* error);

  // What one Poll reads at most, and the entries kept for one list (the
  // server sends at most 100 of each); a server cannot make either grow.
  static constexpr size_t kMaxReadPerPoll = 64 * 1024;
  static constexpr size_t kMaxListEntries = 256;

  CLobbyClient() = default;
  ~CLobbyClient();
  CLobbyClient(const CLobbyClient&) = delete;
  CLobbyClient& operator=(const CLobbyClient&) = delete;

  // Connects to an IPv4 address, waiting at most timeoutMs (the TLS
  // handshake included when `trust` is enabled).
  bool Connect(const std::string& address, uint16_t port, int timeoutMs, std::string* error,
               const STlsTrust& trust = {});
  // Tries the endpoints in turn, starting at `first` and going round once,
  // each within timeoutMs; *reached: the index of the one connected. On
  // failure *error names every endpoint tried and why it failed.
  bool ConnectAny(const std::vector<SEndpoint>& endpoints, size_t first, int timeoutMs, std::string* error,
                  const STlsTrust& trust = {}, size_t* reached = nullptr);
  void Close();
  bool Connected() const { return fd_ >= 0; }
  int Fd() const { return fd_; }   // for callers that poll many clients at once

  // ---- Requests ----
  bool SendIdPw(const std::string& id, const std::string& password);
  bool SendLogOut();
  bool SendPrivateInfo();
  bool SendNewIdPw(const std::string& id, const std::string& password, const std::string& verify,
                   const std::string& birthday, const std::string& email);
  bool SendChgPw(const std::string& id, const std::string& password, const std::string& newPassword,
                 const std::string& verify);
  bool SendChannelList();
  bool SendChgChannel(const std::string& name);
  bool SendPlayerList();
  bool SendSessionList();
  bool SendSessionInfo(const std::string& name);
  bool SendJoinGame(const std::string& name, const std::string& password, const std::string& address);
  bool SendCreateGame(const std::string& name, const std::string& password, int players, int type = 0,
                      const std::string& map = "UNKNOWN.gnd", uint16_t port = 0);
  bool SendChatMsg(const std::string& text);
  // The player left the room of its game (hosted or joined).
  bool SendLeaveGame();

  // Sends what is queued and reads what arrived (at most kMaxReadPerPoll
  // bytes; the rest waits for the next call), waiting at most timeoutMs
  // for something to arrive (0: no wait); appends the events completed.
  // False once the connection is gone (a SDisconnectedEvent says why).
  bool Poll(int timeoutMs, std::vector<SLobbyEvent>* events);
  // Bytes queued but not yet taken by the socket.
  size_t PendingOutput() const { return out_.size() - outStart_; }

 private:
  bool Handshake(const std::string& address, const STlsTrust& trust, int timeoutMs, std::string* error);
  // recv/send, over TLS when it is on: bytes moved, 0 when the peer closed,
  // -1 with errno (EAGAIN: try again later).
  ssize_t Receive(uint8_t* buffer, size_t size);
  ssize_t Transmit(const uint8_t* data, size_t size);
  bool Send(const SMessage& message);
  bool Flush();
  void Dispatch(const SMessage& message, std::vector<SLobbyEvent>* events);
  void Drop(const std::string& reason, std::vector<SLobbyEvent>* events);

  int fd_ = -1;
  SslContext tlsContext_;
  SslPtr tls_;
  CFrameReader reader_;
  std::vector<uint8_t> out_;
  size_t outStart_ = 0;
  std::string dropReason_;
  // Entries gathered until their request's result.
  std::vector<SPlayer> players_;
  std::vector<SChannel> channels_;
  std::vector<SSession> sessions_;
  std::vector<SSessionPlayer> sessionPlayers_;
  std::deque<std::string> sessionNames_;   // SendSessionInfo's names, answered in order
};

}  // namespace lobbyd
