// lobby_pilot.h: a korvo-lobbyd process on a temporary database, and a lobby
// client with the events it has received, waited on with a deadline (the
// server tests and the security probes).
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lobbyd/client.h"
#include "lobbyd/server_process.h"
#include "lobbyd_temp.h"

namespace lobbyd {

constexpr int kWaitMs = 10000;

// The server under a test: started with cheap hashes plus `extra`.
struct SLobbyServer {
  CTempFolder folder;
  CServerProcess process;

  ::testing::AssertionResult Start(const std::string& program, std::vector<std::string> extra = {}) {
    extra.insert(extra.begin(), {"--hash-cost", "minimum"});
    std::string error;
    if (process.Start(program, folder.File("lobby.db"), extra, kWaitMs, &error))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the server does not start: " << error;
  }
  uint16_t Port() const { return process.Port(); }
};

// A client with the events it has received, waited on with a deadline.
struct SPilot {
  CLobbyClient client;
  std::vector<SLobbyEvent> events;
  std::string error;   // why the last Connect failed

  bool Connect(uint16_t port, const STlsTrust& trust = {}) {
    events.clear();
    return client.Connect("127.0.0.1", port, kWaitMs, &error, trust);
  }
  // Polls until an event satisfies `match` (taken out), or the wait is over.
  template <typename T>
  std::optional<T> Await(const std::function<bool(const T&)>& match = [](const T&) { return true; }) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    bool last = false;   // the connection is gone: what it delivered is all there is
    for (;;) {
      for (auto it = events.begin(); it != events.end(); ++it) {
        if (const T* event = std::get_if<T>(&*it); event && match(*event)) {
          T found = *event;
          events.erase(it);
          return found;
        }
      }
      if (last || std::chrono::steady_clock::now() > deadline) return std::nullopt;
      last = !client.Poll(50, &events);
    }
  }
  // The result of `request` (the next one for it).
  ECode Result(EMsg request) {
    auto result = Await<SResultEvent>([request](const SResultEvent& r) { return r.request == request; });
    return result ? result->code : ECode::kServerError;
  }
  // The result of a request just given to the client (`sent`: whether it took it).
  ECode Ask(bool sent, EMsg request) { return sent ? Result(request) : ECode::kServerError; }
  // Registers `id` with the password "secret-ID".
  ECode Register(const std::string& id) {
    return Ask(client.SendNewIdPw(id, "secret-" + id, "secret-" + id, "850307", id + "@example.org"), EMsg::kNewIdPw);
  }
  // Logs `id` in, with its password unless another is given.
  ECode Login(const std::string& id, const std::string& password = "") {
    return Ask(client.SendIdPw(id, password.empty() ? "secret-" + id : password), EMsg::kIdPw);
  }
};

}  // namespace lobbyd
