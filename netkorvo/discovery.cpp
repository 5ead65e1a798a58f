// discovery.cpp: UDP sockets, the announcer and the finder.
#include "netkorvo/discovery.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

namespace netkorvo {

// ---- UDP socket ---------------------------------------------------------------------------------

CUdpSocket::~CUdpSocket() {
  if (fd_ >= 0) close(fd_);
}

bool CUdpSocket::Open(const std::string& address, uint16_t port, bool broadcast, std::string* error) {
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(port);
  if (inet_pton(AF_INET, address.c_str(), &at.sin_addr) != 1) {
    *error = "not an IPv4 address: " + address;
    return false;
  }
  fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) {
    *error = std::string("cannot open a UDP socket: ") + std::strerror(errno);
    return false;
  }
  const int one = 1;
  setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (broadcast) setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
  if (bind(fd_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
    *error = "cannot listen on " + address + " port " + std::to_string(port) + ": " + std::strerror(errno);
    close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
}

bool CUdpSocket::SendTo(uint32_t host, uint16_t port, const std::vector<uint8_t>& bytes) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = host;
  return fd_ >= 0 && sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to),
                            sizeof to) == ssize_t(bytes.size());
}

bool CUdpSocket::Receive(std::vector<uint8_t>* bytes, uint32_t* host, uint16_t* port) {
  if (fd_ < 0) return false;
  // One byte above the largest frame, so that a longer datagram shows as such.
  bytes->resize(wire::kMaxFrame + 1);
  sockaddr_in from{};
  socklen_t length = sizeof from;
  const ssize_t n = recvfrom(fd_, bytes->data(), bytes->size(), 0, reinterpret_cast<sockaddr*>(&from), &length);
  if (n < 0) return false;
  bytes->resize(size_t(n));
  *host = from.sin_addr.s_addr;
  *port = ntohs(from.sin_port);
  return true;
}

uint16_t CUdpSocket::Port() const {
  sockaddr_in at{};
  socklen_t length = sizeof at;
  if (fd_ < 0 || getsockname(fd_, reinterpret_cast<sockaddr*>(&at), &length) != 0) return 0;
  return ntohs(at.sin_port);
}

// ---- Announcer ----------------------------------------------------------------------------------

namespace {
constexpr int kDatagramsPerService = 64;
}  // namespace

bool CGameAnnouncer::Open(const std::string& bindAddress, uint16_t port, std::string* error) {
  return socket_.Open(bindAddress, port, false, error);
}

void CGameAnnouncer::Service(const wire::SAnnounce& game) {
  std::vector<uint8_t> bytes;
  uint32_t host;
  uint16_t port;
  for (int n = 0; n < kDatagramsPerService && socket_.Receive(&bytes, &host, &port); ++n) {
    wire::SMessage message;
    const auto* query = wire::Decode(bytes.data(), bytes.size(), &message) == wire::EDecode::kOk
                            ? std::get_if<wire::SQuery>(&message)
                            : nullptr;
    if (!query) {
      ++dropped_;
      continue;
    }
    wire::SAnnounce answer = game;
    answer.nonce = query->nonce;
    socket_.SendTo(host, port, wire::Encode(answer));
  }
}

// ---- Finder -------------------------------------------------------------------------------------

bool CGameFinder::Open(const SConfig& config, std::string* error) {
  config_ = config;
  in_addr target;
  if (inet_pton(AF_INET, config.announceAddress.c_str(), &target) != 1) {
    *error = "not an IPv4 address: " + config.announceAddress;
    return false;
  }
  targets_ = {target.s_addr};
  if (config.broadcast) targets_.push_back(INADDR_BROADCAST);
  // On a real local network answers come from other machines; otherwise the
  // finder listens on the announce address only.
  if (!socket_.Open(config.broadcast ? "0.0.0.0" : config.announceAddress, 0, config.broadcast, error))
    return false;
  Restart();
  return true;
}

void CGameFinder::Restart() {
  found_.clear();
  fresh_.clear();
  nextQuery_ = 0;
  std::random_device device;
  nonce_ = (uint64_t(device()) << 32) | device();
}

void CGameFinder::Service(uint64_t nowMs) {
  if (nowMs >= nextQuery_) {
    const std::vector<uint8_t> query = wire::Encode(wire::SQuery{nonce_});
    for (uint32_t target : targets_) socket_.SendTo(target, config_.port, query);
    nextQuery_ = nowMs + config_.intervalMs;
  }
  std::vector<uint8_t> bytes;
  uint32_t host;
  uint16_t port;
  for (int n = 0; n < kDatagramsPerService && socket_.Receive(&bytes, &host, &port); ++n) {
    wire::SMessage message;
    const auto* game = wire::Decode(bytes.data(), bytes.size(), &message) == wire::EDecode::kOk
                           ? std::get_if<wire::SAnnounce>(&message)
                           : nullptr;
    if (!game || port != config_.port || game->nonce != nonce_) {
      ++dropped_;
      continue;
    }
    const Key key{host, game->serverId};
    auto it = found_.find(key);
    if (it != found_.end()) {   // listed once per start; heard again
      it->second.heardMs = nowMs;
      continue;
    }
    if (found_.size() >= kMaxGames) {
      ++dropped_;
      continue;
    }
    SEntry entry;
    entry.found.game = *game;
    entry.found.game.nonce = 0;
    std::memcpy(entry.found.address, &host, 4);
    entry.heardMs = nowMs;
    found_[key] = entry;
    fresh_.push_back(key);
  }
  // Games not heard for a while are gone.
  const uint64_t forget = uint64_t(config_.intervalMs) * kForgetIntervals;
  for (auto it = found_.begin(); it != found_.end();) {
    if (nowMs - it->second.heardMs > forget) {
      fresh_.erase(std::remove(fresh_.begin(), fresh_.end(), it->first), fresh_.end());
      it = found_.erase(it);
    } else {
      ++it;
    }
  }
}

std::vector<SFoundGame> CGameFinder::TakeNew() {
  std::vector<SFoundGame> out;
  for (const Key& key : fresh_) out.push_back(found_[key].found);
  fresh_.clear();
  return out;
}

}  // namespace netkorvo
