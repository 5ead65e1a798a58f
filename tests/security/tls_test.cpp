// tls_test.cpp: korvo-lobbyd over TLS on 127.0.0.1, with certificates made
// here by the openssl command: the client logs in trusting the right CA or
// pin and refuses a wrong one, plain TCP never stands in for TLS, the
// password is not readable on the wire, a login ends at its max age; and the
// client against a server that floods it (plain or TLS): one Poll reads a
// bounded amount, a list keeps a bounded number of entries.
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <chrono>
#include <csignal>
#include <mutex>
#include <optional>
#include <thread>

#include "lobby_probe.h"
#include "tests/security/certificate.h"
#include "lobbyd/client.h"
#include "lobbyd/encoder.h"
#include "lobbyd/tls.h"

namespace lobbyd {
namespace {

constexpr char kPassword[] = "Wire-Secret-7731";

// A certificate for the server and another one, made once per run.
struct SCertificates {
  static SCertificates& Get() {
    static SCertificates made;
    return made;
  }
  CTempFolder folder;
  SCertificate server = MakeCertificate(folder, "server"), other = MakeCertificate(folder, "other");
};

// Polls until the result of `request` or a disconnection, at most waitMs.
std::optional<ECode> WaitResult(CLobbyClient& client, EMsg request, std::string* lost = nullptr,
                                int waitMs = 10000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (std::chrono::steady_clock::now() < end) {
    std::vector<SLobbyEvent> events;
    const bool alive = client.Poll(20, &events);
    for (const SLobbyEvent& e : events) {
      if (const auto* r = std::get_if<SResultEvent>(&e); r && r->request == request) return r->code;
      if (const auto* d = std::get_if<SDisconnectedEvent>(&e); d && lost) *lost = d->reason;
    }
    if (!alive) return std::nullopt;
  }
  return std::nullopt;
}

// A listener on 127.0.0.1 that hands its first connection to `serve`, on a
// thread of its own. Destroyed, it shuts both sockets down, which ends what
// `serve` waits for, and joins the thread.
class CListener {
 public:
  explicit CListener(std::function<void(int)> serve) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
    socklen_t length = sizeof at;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 && listen(listener_, 1) == 0 &&
        getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &length) == 0)
      port_ = ntohs(at.sin_port);
    thread_ = std::thread([this, serve] {
      client_ = accept(listener_, nullptr, nullptr);
      if (client_ >= 0) serve(client_);
    });
  }
  ~CListener() {
    shutdown(listener_, SHUT_RDWR);
    if (client_ >= 0) shutdown(client_, SHUT_RDWR);
    thread_.join();
    if (client_ >= 0) close(client_);
    close(listener_);
  }
  uint16_t Port() const { return port_; }

 private:
  int listener_ = -1;
  std::atomic<int> client_{-1};
  uint16_t port_ = 0;
  std::thread thread_;
};

// Relays one connection to the server and keeps what the client sent, as
// the network between them would see it.
class CWireTap {
 public:
  explicit CWireTap(uint16_t serverPort) : listener_([this, serverPort](int client) { Relay(client, serverPort); }) {}
  uint16_t Port() const { return listener_.Port(); }
  std::string Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  void Relay(int client, uint16_t serverPort) {
    probe::CProbe server;
    if (!server.Connect(serverPort)) return;
    for (;;) {
      pollfd both[2] = {{client, POLLIN, 0}, {server.Fd(), POLLIN, 0}};
      if (poll(both, 2, 50) <= 0) continue;
      char buffer[16384];
      for (int side = 0; side < 2; ++side) {
        if (!both[side].revents) continue;
        const ssize_t got = recv(both[side].fd, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        if (side == 0) {
          std::lock_guard<std::mutex> lock(mutex_);
          seen_.append(buffer, static_cast<size_t>(got));
        }
        send(both[1 - side].fd, buffer, static_cast<size_t>(got), MSG_NOSIGNAL);
      }
    }
  }

  std::mutex mutex_;
  std::string seen_;
  CListener listener_;   // last: its thread ends before the members it uses go
};

// Sends `bytes` to its client (over TLS, given a certificate) as fast as the
// client takes them, and keeps the connection open until it is destroyed.
class CFlood {
 public:
  CFlood(const SCertificate* cert, std::vector<uint8_t> bytes)
      : bytes_(std::move(bytes)), ctx_(cert ? NewServerContext(cert->cert, cert->key, &error_) : nullptr),
        listener_([this](int client) { Send(client); }) {}
  uint16_t Port() const { return listener_.Port(); }

 private:
  void Send(int client) {
    if (ctx_) {
      ssl_.reset(SSL_new(ctx_.get()));
      SSL_set_fd(ssl_.get(), client);
      if (SSL_accept(ssl_.get()) != 1) return;
    }
    for (size_t sent = 0; sent < bytes_.size();) {
      const size_t left = bytes_.size() - sent;
      const long n = ssl_ ? SSL_write(ssl_.get(), bytes_.data() + sent, static_cast<int>(left))
                          : send(client, bytes_.data() + sent, left, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<size_t>(n);
    }
  }

  std::vector<uint8_t> bytes_;
  std::string error_;
  SslContext ctx_;
  SslPtr ssl_;
  CListener listener_;   // last: its thread ends before the members it uses go
};

struct TlsProbe : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(certs.server.error.empty() && certs.other.error.empty()) << certs.server.error << certs.other.error;
    ASSERT_EQ(certs.server.fingerprint.size(), 95u);
  }
  void Start(bool tls, std::vector<std::string> extra = {}) {
    if (tls) extra.insert(extra.end(), {"--tls-cert", certs.server.cert, "--tls-key", certs.server.key});
    ASSERT_TRUE(lobby.Start(probe::ServerProgram(), extra));
  }
  STlsTrust RightCa() const { return {certs.server.cert, ""}; }
  // Registers `id` and logs in on a fresh connection through `port`.
  void Login(CLobbyClient& client, uint16_t port, const STlsTrust& trust, const std::string& id) {
    std::string error;
    ASSERT_TRUE(client.Connect("127.0.0.1", port, 5000, &error, trust)) << error;
    ASSERT_TRUE(client.SendNewIdPw(id, kPassword, kPassword, "850307", "p@example.org"));
    ASSERT_EQ(WaitResult(client, EMsg::kNewIdPw), ECode::kOk);
    ASSERT_TRUE(client.SendIdPw(id, kPassword));
    ASSERT_EQ(WaitResult(client, EMsg::kIdPw), ECode::kOk);
  }

  SCertificates& certs = SCertificates::Get();
  SLobbyServer lobby;
  CServerProcess& server = lobby.process;
  CTempFolder& folder = lobby.folder;
};

// The trust a client is given: a right one reaches the server and logs in;
// a wrong one never talks to it (told why), and the server serves on.
TEST_F(TlsProbe, OnlyAServerPassingTheCheckIsTalkedTo) {
  Start(true);
  std::string lower;
  for (char c : certs.server.fingerprint)
    if (c != ':') lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const struct {
    const char* name;
    STlsTrust trust;
    const char* reason;   // "": trusted
  } cases[] = {
      {"CA file", RightCa(), ""},
      {"pin as openssl prints it", {"", certs.server.fingerprint}, ""},
      {"pin in lower case", {"", lower}, ""},
      {"CA file and pin", {certs.server.cert, certs.server.fingerprint}, ""},
      {"another CA", {certs.other.cert, ""}, "certificate verification failed"},
      {"another pin", {"", certs.other.fingerprint}, "does not match the pinned fingerprint"},
      {"right CA, wrong pin", {certs.server.cert, certs.other.fingerprint}, "does not match the pinned"},
      {"a pin that is no fingerprint", {"", "12:34"}, "64 hex digits"},
      {"a missing CA file", {folder.File("none.pem"), ""}, "cannot read the CA file"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CLobbyClient client;
    if (!*c.reason) {
      Login(client, server.Port(), c.trust, "Trusty" + std::to_string(++n));
      ASSERT_TRUE(client.SendPrivateInfo());
      EXPECT_EQ(WaitResult(client, EMsg::kPrivateInfo), ECode::kOk);
      continue;
    }
    std::string error;
    EXPECT_FALSE(client.Connect("127.0.0.1", server.Port(), 5000, &error, c.trust));
    EXPECT_FALSE(client.Connected());
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_FALSE(client.SendIdPw("Trusty", kPassword));
  }
  // The failed handshakes closed their connections only: the server serves on.
  CLobbyClient good;
  Login(good, server.Port(), RightCa(), "AfterThem");
}

TEST_F(TlsProbe, PlainTcpNeverStandsInForTls) {
  // A plain client to a TLS server: its request is not taken, it hears a close.
  Start(true);
  {
    CLobbyClient plain;
    std::string error, lost;
    ASSERT_TRUE(plain.Connect("127.0.0.1", server.Port(), 5000, &error)) << error;
    ASSERT_TRUE(plain.SendNewIdPw("Plainly", kPassword, kPassword, "850307", "p@example.org"));
    EXPECT_EQ(WaitResult(plain, EMsg::kNewIdPw, &lost), std::nullopt);
    EXPECT_FALSE(plain.Connected());
    EXPECT_FALSE(lost.empty());
  }
  server.Stop(5000);
  // A TLS client to a plain server: refused, not downgraded.
  Start(false);
  CLobbyClient client;
  std::string error;
  EXPECT_FALSE(client.Connect("127.0.0.1", server.Port(), 5000, &error, RightCa()));
  EXPECT_FALSE(client.Connected());
  EXPECT_NE(error.find("TLS handshake failed"), std::string::npos) << error;
}

TEST_F(TlsProbe, ThePasswordIsNotReadableOnTheWire) {
  // Plain TCP on the loopback shows it (the tap sees what a network would);
  // TLS does not.
  for (const bool tls : {false, true}) {
    SCOPED_TRACE(tls ? "TLS" : "plain TCP");
    Start(tls);
    std::string seen;
    {
      CWireTap tap(server.Port());
      ASSERT_NE(tap.Port(), 0);
      CLobbyClient client;
      const std::string id = tls ? "WiredTls" : "WiredPlain";
      Login(client, tap.Port(), tls ? RightCa() : STlsTrust{}, id);
      ASSERT_TRUE(client.SendChgPw(id, kPassword, "New-Secret-99", "New-Secret-99"));
      EXPECT_EQ(WaitResult(client, EMsg::kChgPw), ECode::kOk);
      seen = tap.Seen();
    }
    EXPECT_GT(seen.size(), 100u);
    EXPECT_EQ(seen.find(kPassword) != std::string::npos, !tls);
    EXPECT_EQ(seen.find("New-Secret-99") != std::string::npos, !tls);
    server.Stop(5000);
  }
}

TEST_F(TlsProbe, ASilentConnectionLosesItsHandshake) {
  Start(true, {"--handshake-timeout-ms", "300"});
  probe::CProbe silent;
  ASSERT_TRUE(silent.Connect(server.Port()));
  EXPECT_TRUE(silent.ClosedWithin(5000));
}

TEST_F(TlsProbe, ALoginEndsAtItsMaxAge) {
  Start(true, {"--login-max-age", "1"});
  CLobbyClient client;
  Login(client, server.Port(), RightCa(), "Aging");
  const auto loggedIn = std::chrono::steady_clock::now();
  std::string lost;
  EXPECT_EQ(WaitResult(client, EMsg::kPrivateInfo, &lost, 8000), std::nullopt);
  EXPECT_GE(std::chrono::steady_clock::now() - loggedIn, std::chrono::milliseconds(900));
  EXPECT_FALSE(client.Connected());
  EXPECT_EQ(lost, "closed by the server");
  // Logged out, not locked out: the account logs in again.
  std::string error;
  ASSERT_TRUE(client.Connect("127.0.0.1", server.Port(), 5000, &error, RightCa())) << error;
  ASSERT_TRUE(client.SendIdPw("Aging", kPassword));
  EXPECT_EQ(WaitResult(client, EMsg::kIdPw), ECode::kOk);
}

// Plain and over TLS: every Poll stays within the bound, and the flood fills
// it. Before each Poll the socket is given (at most a second) to hold more
// than one Poll may take, so that a slow sender under load cannot hide an
// unbounded read.
TEST_F(TlsProbe, OnePollReadsABoundedAmount) {
  const SMessage line = MakeMessage(EMsg::kChat, {"x", "y"});
  std::vector<uint8_t> one, flood;
  EncodeFrame(line, &one);
  for (int i = 0; i < 200'000; ++i) EncodeFrame(line, &flood);   // 1.6 MB of chat lines
  for (const bool tls : {false, true}) {
    SCOPED_TRACE(tls ? "TLS" : "plain TCP");
    CFlood server(tls ? &certs.server : nullptr, flood);
    ASSERT_NE(server.Port(), 0);
    CLobbyClient client;
    std::string error;
    ASSERT_TRUE(client.Connect("127.0.0.1", server.Port(), 5000, &error, tls ? RightCa() : STlsTrust{})) << error;
    size_t most = 0;
    for (int i = 0; i < 40 && most * one.size() + 16384 < CLobbyClient::kMaxReadPerPoll; ++i) {
      int queued = 0;
      for (int wait = 0; wait < 1000 && queued <= int(CLobbyClient::kMaxReadPerPoll); ++wait) {
        usleep(1000);
        ioctl(client.Fd(), FIONREAD, &queued);
      }
      std::vector<SLobbyEvent> events;
      ASSERT_TRUE(client.Poll(1000, &events));
      EXPECT_LE(events.size() * one.size(), CLobbyClient::kMaxReadPerPoll);
      most = std::max(most, events.size());
    }
    std::printf("events from one Poll at most: %zu (%zu bytes)\n", most, most * one.size());
    EXPECT_GE(most * one.size() + 16384, CLobbyClient::kMaxReadPerPoll);
  }
}

TEST_F(TlsProbe, AListKeepsABoundedNumberOfEntries) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 20'000; ++i) EncodeFrame(MakeMessage(EMsg::kPlayerEntry, {"Pilot"}, {1, 2, 3, 4, 5}), &bytes);
  EncodeFrame(MakeMessage(EMsg::kResult, {}, {static_cast<uint32_t>(EMsg::kPlayerList), 0}), &bytes);
  CFlood server(nullptr, std::move(bytes));
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
  EXPECT_EQ(list->players.size(), CLobbyClient::kMaxListEntries);
}

// The game does not ignore SIGPIPE: writing TLS to a server that is gone
// must end the connection, not the process.
TEST_F(TlsProbe, AServerGoneMidSessionDoesNotKillTheClient) {
  ASSERT_NE(std::signal(SIGPIPE, SIG_DFL), SIG_ERR);
  Start(true);
  CLobbyClient client;
  Login(client, server.Port(), RightCa(), "Stayer");
  server.Kill();
  std::string lost;
  for (int i = 0; i < 50 && client.Connected(); ++i) {
    client.SendChatMsg("are you there");
    std::vector<SLobbyEvent> events;
    client.Poll(20, &events);
    for (const SLobbyEvent& e : events)
      if (const auto* d = std::get_if<SDisconnectedEvent>(&e)) lost = d->reason;
  }
  EXPECT_FALSE(client.Connected());
  EXPECT_FALSE(lost.empty());
}

}  // namespace
}  // namespace lobbyd
