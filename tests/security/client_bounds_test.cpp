// client_bounds_test.cpp: the lobby's client library against a server that
// floods it (a test listener on 127.0.0.1): one Poll reads a bounded amount,
// and a list keeps a bounded number of entries.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "lobbyd/client.h"
#include "lobbyd/encoder.h"

namespace lobbyd {
namespace {

// A listener that, once a client connects, sends `bytes` and keeps the
// connection open until it is destroyed.
class CFloodServer {
 public:
  explicit CFloodServer(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
    socklen_t length = sizeof at;
    bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at);
    listen(listener_, 1);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &length);
    port_ = ntohs(at.sin_port);
    thread_ = std::thread([this] {
      client_ = accept(listener_, nullptr, nullptr);
      size_t sent = 0;
      while (client_ >= 0 && sent < bytes_.size()) {
        const ssize_t n = send(client_, bytes_.data() + sent, bytes_.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
      }
    });
  }
  ~CFloodServer() {
    shutdown(listener_, SHUT_RDWR);
    if (client_ >= 0) shutdown(client_, SHUT_RDWR);
    thread_.join();
    if (client_ >= 0) close(client_);
    close(listener_);
  }
  uint16_t Port() const { return port_; }

 private:
  std::vector<uint8_t> bytes_;
  int listener_ = -1, client_ = -1;
  uint16_t port_ = 0;
  std::thread thread_;
};

std::vector<uint8_t> Frames(const SMessage& message, int count) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < count; ++i) EncodeFrame(message, &bytes);
  return bytes;
}

TEST(ClientBounds, OnePollReadsABoundedAmount) {
  const SMessage line = MakeMessage(EMsg::kChat, {"x", "y"});
  std::vector<uint8_t> one;
  EncodeFrame(line, &one);
  CFloodServer server(Frames(line, 500'000));   // 4 MB of chat lines
  CLobbyClient client;
  std::string error;
  ASSERT_TRUE(client.Connect("127.0.0.1", server.Port(), 5000, &error)) << error;
  std::vector<SLobbyEvent> events;
  // Let the flood queue up, then take one Poll.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_TRUE(client.Poll(1000, &events));
  std::printf("events from one Poll: %zu (%zu bytes)\n", events.size(), events.size() * one.size());
  EXPECT_GT(events.size(), 0u);
  EXPECT_LE(events.size() * one.size(), CLobbyClient::kMaxReadPerPoll);
}

TEST(ClientBounds, AListKeepsABoundedNumberOfEntries) {
  std::vector<uint8_t> bytes = Frames(MakeMessage(EMsg::kPlayerEntry, {"Pilot"}, {1, 2, 3, 4, 5}), 20'000);
  EncodeFrame(MakeMessage(EMsg::kResult, {}, {static_cast<uint32_t>(EMsg::kPlayerList), 0}), &bytes);
  CFloodServer server(std::move(bytes));
  CLobbyClient client;
  std::string error;
  ASSERT_TRUE(client.Connect("127.0.0.1", server.Port(), 5000, &error)) << error;
  std::vector<SLobbyEvent> events;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  const SPlayerListEvent* list = nullptr;
  while (!list && std::chrono::steady_clock::now() < end && client.Poll(50, &events))
    for (const SLobbyEvent& e : events)
      if ((list = std::get_if<SPlayerListEvent>(&e))) break;
  ASSERT_TRUE(list);
  std::printf("players kept of 20000 sent: %zu\n", list->players.size());
  EXPECT_EQ(list->players.size(), CLobbyClient::kMaxListEntries);
}

}  // namespace
}  // namespace lobbyd
