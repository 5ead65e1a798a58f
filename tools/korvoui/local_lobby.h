// local_lobby.h: the korvo-lobbyd that `korvoui play` starts on 127.0.0.1 the
// first time the player chooses online play, when no lobby server was named
// (--lobby): its database lives in a temporary folder, and server and folder
// are gone when play ends.
#pragma once
#include <map>
#include <string>

#include "lobbyd/server_process.h"

class LocalLobby {
 public:
  LocalLobby() = default;
  ~LocalLobby();   // stops the server and removes its folder
  LocalLobby(const LocalLobby&) = delete;
  LocalLobby& operator=(const LocalLobby&) = delete;

  // Starts the server once; when it runs, names it in the network library's
  // stored settings ("kn_server_address", "kn_server_port").
  void Start(std::map<std::string, std::string>& stored);

 private:
  lobbyd::CServerProcess server_;
  std::string folder_;
  bool tried_ = false;
};
