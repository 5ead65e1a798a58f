// online_client.h: the live backend's online client. KORVO_CLT's requests go
// to korvo-lobbyd through CLobbyClient; the answers are polled once per frame
// on the game thread and reach the module there: the KN_* lists, the online
// client's own record, the next dialog and the message box. Nothing reaches
// the module from inside a request or from another thread.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lobbyd/client.h"
#include "netkorvo/net_backend.h"

namespace netkorvo {

// The lobby server's address when the stored settings name none, and its port.
constexpr const char* kDefaultLobbyAddress = "127.0.0.1";
constexpr uint16_t kDefaultLobbyPort = 24162;

class COnlineClient {
 public:
  // What the online client needs of the rest of the backend.
  struct SHooks {
    // A stored setting of NET_var; "" when absent.
    std::function<std::string(const char* key)> stored;
    // The player chose online play: a lobby server may be started.
    std::function<void()> onlineChosen;
    // Opens the room of an online game (not announced on the local network):
    // its port, or 0 with the reason.
    std::function<uint16_t(bool anyInterface, std::string* error)> openRoom;
    // The lobby lists the game: the room shows.
    std::function<void()> roomListed;
    // The lobby refused the game: the room closes unseen.
    std::function<void()> dropRoom;
    // The next online join (KN_GoInGame) goes to this room port.
    std::function<void(uint16_t port)> joinPort;
    // The password of the game asked for (the room checks it at the join).
    std::function<void(const std::string& password)> joinPassword;
  };

  COnlineClient(SHooks hooks, int connectTimeoutMs);

  // A request of KORVO_CLT; non-zero when it went out.
  int Send(const SLobbyRequest& request);
  void Close();
  // The player left the room of an online game: the lobby closes a hosted
  // game (every join list loses it) and frees a joined player's place.
  void LeaveGame();
  // Reads the server's answers and hands them to the module.
  void Service(uint64_t nowMs);

 private:
  int Connect();
  int CreateGame(const char* name, const char* password, int players);
  void Deliver(const lobbyd::SLobbyEvent& event);
  void Result(lobbyd::EMsg request, lobbyd::ECode code);
  void ShowOwnRecord(const lobbyd::SPlayer& own);
  void SessionClosed(const std::string& name);
  // Closes the waiting box and tells the player why the server said no.
  void Refused(lobbyd::ECode code);
  void ConnectionLost(const std::string& reason);
  void Tell(const std::string& text) { notices_.push_back(text); }

  SHooks hooks_;
  int connectTimeoutMs_;
  lobbyd::CLobbyClient client_;
  bool connectedNow_ = false;           // the login screen opens at the next service
  std::vector<std::string> notices_;    // message-box texts for the next service
  uint64_t lastRefreshMs_ = 0;          // the lobby's lists were asked for then
  size_t reachedEndpoint_ = 0;          // the lobby node of the current connection
  size_t nextEndpoint_ = 0;             // the first node the next connection tries
};

}  // namespace netkorvo
