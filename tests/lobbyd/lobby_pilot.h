// lobby_pilot.h: a lobby client with the events it has received, waited on
// with a deadline (the server tests).
#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lobbyd/client.h"

namespace lobbyd {

constexpr int kWaitMs = 10000;

// A client with the events it has received, waited on with a deadline.
struct SPilot {
  CLobbyClient client;
  std::vector<SLobbyEvent> events;

  bool Connect(uint16_t port) {
    std::string error;
    events.clear();
    return client.Connect("127.0.0.1", port, kWaitMs, &error);
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
  // Reads for a while and counts the chat lines with this text.
  int CountChat(const std::string& text, int forMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(forMs);
    while (std::chrono::steady_clock::now() < end && client.Poll(20, &events)) {}
    int count = 0;
    for (const SLobbyEvent& event : events)
      if (const auto* chat = std::get_if<SChatEvent>(&event); chat && chat->text == text) ++count;
    return count;
  }
};

}  // namespace lobbyd
