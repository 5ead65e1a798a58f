// lobby_probe.h: the server the probes push (the built korvo-lobbyd, or the
// program named by $KORVO_LOBBYD_UNDER_TEST, to measure another build; started
// by SLobbyServer, ../lobbyd/lobby_pilot.h), and a bare connection from a
// chosen loopback source address that says nothing and notices when the
// server closes it. Every wait is bounded.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "../lobbyd/lobby_pilot.h"

namespace lobbyd::probe {

inline std::string ServerProgram() {
  const char* other = std::getenv("KORVO_LOBBYD_UNDER_TEST");
  return other && *other ? other : KORVO_LOBBYD;
}

class CProbe {
 public:
  CProbe() = default;
  CProbe(const CProbe&) = delete;
  CProbe& operator=(const CProbe&) = delete;
  ~CProbe() {
    if (fd_ >= 0) close(fd_);
  }

  // Connects to 127.0.0.1:port from `source` (any 127.x.y.z address).
  bool Connect(uint16_t port, const std::string& source = "127.0.0.1") {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in from{}, to{};
    from.sin_family = to.sin_family = AF_INET;
    to.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    return fd_ >= 0 && inet_pton(AF_INET, source.c_str(), &from.sin_addr) == 1 &&
           bind(fd_, reinterpret_cast<sockaddr*>(&from), sizeof from) == 0 &&
           connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  }
  int Fd() const { return fd_; }
  // True when the server closed the connection within waitMs (what it sent is dropped).
  bool ClosedWithin(int waitMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    char buffer[4096];
    while (std::chrono::steady_clock::now() < end) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 20) > 0 && recv(fd_, buffer, sizeof buffer, 0) <= 0) return true;
    }
    return false;
  }

 private:
  int fd_ = -1;
};

}  // namespace lobbyd::probe
