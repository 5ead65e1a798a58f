// local_lobby.cpp: starting and stopping play's own lobby server.
#include "tools/korvoui/local_lobby.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {
constexpr int kStartTimeoutMs = 5000;
constexpr int kStopTimeoutMs = 2000;
}  // namespace

LocalLobby::~LocalLobby() {
  if (server_.Pid() > 0) server_.Stop(kStopTimeoutMs);
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

void LocalLobby::Start(std::map<std::string, std::string>& stored) {
  if (tried_) return;
  tried_ = true;
  char pattern[] = "/tmp/korvoui_lobby_XXXXXX";
  if (!mkdtemp(pattern)) {
    std::fprintf(stderr, "korvoui play: no folder for a local lobby server\n");
    return;
  }
  folder_ = pattern;
  std::string error;
  if (!server_.Start(KORVO_LOBBYD, folder_ + "/lobby.db", {"--bind", "127.0.0.1"}, kStartTimeoutMs, &error)) {
    std::fprintf(stderr, "korvoui play: the local lobby server did not start (%s)\n", error.c_str());
    return;
  }
  stored["kn_server_address"] = "127.0.0.1";
  stored["kn_server_port"] = std::to_string(server_.Port());
  std::fprintf(stderr, "korvoui play: online play on a korvo-lobbyd of its own at 127.0.0.1:%u (until play ends)\n",
               unsigned(server_.Port()));
}
