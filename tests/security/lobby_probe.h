// lobby_probe.h: a bare lobby connection for probes: connects from a chosen
// loopback source address, sends frames and reads the answers, every wait
// bounded. The server under test is the built korvo-lobbyd, or the program
// named by $KORVO_LOBBYD_UNDER_TEST (to measure another build), started by
// SLobbyServer (../lobbyd/lobby_pilot.h).
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "../lobbyd/lobby_pilot.h"
#include "lobbyd/decoder.h"
#include "lobbyd/encoder.h"

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
  ~CProbe() { Close(); }

  // Connects to 127.0.0.1:port from `source` (any 127.x.y.z address).
  bool Connect(uint16_t port, const std::string& source = "127.0.0.1") {
    Close();
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;
    sockaddr_in from{};
    from.sin_family = AF_INET;
    if (inet_pton(AF_INET, source.c_str(), &from.sin_addr) != 1 ||
        bind(fd_, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0)
      return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    return connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  int Fd() const { return fd_; }

  bool Send(EMsg type, std::vector<std::string> texts, std::vector<uint32_t> numbers = {}) {
    std::vector<uint8_t> frame;
    if (!EncodeFrame(MakeMessage(type, std::move(texts), std::move(numbers)), &frame)) return false;
    return SendBytes(frame);
  }
  bool SendBytes(const std::vector<uint8_t>& bytes) {
    return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
  }
  // Reads what is there, waiting at most waitMs for something; false when
  // the connection is gone.
  bool Pump(int waitMs) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, waitMs) <= 0) return true;
    uint8_t buffer[16384];
    const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    reader_.Feed(buffer, static_cast<size_t>(got));
    SMessage m;
    std::string error;
    while (reader_.Next(&m, &error) == CFrameReader::EStatus::kMessage) received.push_back(m);
    return true;
  }
  // The code of the next result for `request`, waiting at most waitMs.
  std::optional<ECode> Result(EMsg request, int waitMs = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
      for (auto it = received.begin(); it != received.end(); ++it) {
        if (it->type == EMsg::kResult && it->Number(0) == static_cast<uint32_t>(request)) {
          const auto code = static_cast<ECode>(it->Number(1));
          received.erase(it);
          return code;
        }
      }
      if (std::chrono::steady_clock::now() > end || !Pump(20)) return std::nullopt;
    }
  }
  // Registers `id` with the password "secret-1" and, when `login`, logs it
  // in: the first answer that is not kOk.
  std::optional<ECode> Enter(const std::string& id, bool login = true) {
    if (!Send(EMsg::kNewIdPw, {id, "secret-1", "secret-1", "850307", "p@example.org"})) return std::nullopt;
    const std::optional<ECode> made = Result(EMsg::kNewIdPw);
    if (made != ECode::kOk || !login || !Send(EMsg::kIdPw, {id, "secret-1"})) return made;
    return Result(EMsg::kIdPw);
  }
  // True when the server closed the connection within waitMs.
  bool ClosedWithin(int waitMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (std::chrono::steady_clock::now() < end)
      if (!Pump(20)) return true;
    return false;
  }

  std::vector<SMessage> received;

 private:
  int fd_ = -1;
  CFrameReader reader_;
};

}  // namespace lobbyd::probe
