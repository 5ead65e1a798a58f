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
#include <csignal>
#include <functional>
#include <thread>

#include "lobby_probe.h"
#include "lobbyd/encoder.h"
#include "lobbyd/tls.h"
#include "tests/security/certificate.h"

namespace lobbyd {
namespace {

// A certificate for the server and another one, made once per run.
struct SCertificates {
  static SCertificates& Get() {
    static SCertificates made;
    return made;
  }
  CTempFolder folder;
  SCertificate server = MakeCertificate(folder, "server"), other = MakeCertificate(folder, "other");
};

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

// Relays one connection to the server and appends what the client sent to
// `seen`, as the network between them would see it (read it once the tap is
// gone: its thread has ended then).
class CWireTap {
 public:
  CWireTap(uint16_t serverPort, std::string* seen)
      : seen_(seen), listener_([this, serverPort](int client) { Relay(client, serverPort); }) {}
  uint16_t Port() const { return listener_.Port(); }

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
        if (side == 0) seen_->append(buffer, static_cast<size_t>(got));
        send(both[1 - side].fd, buffer, static_cast<size_t>(got), MSG_NOSIGNAL);
      }
    }
  }

  std::string* seen_;
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
  void Enter(SPilot& pilot, uint16_t port, const STlsTrust& trust, const std::string& id) {
    ASSERT_TRUE(pilot.Connect(port, trust)) << pilot.error;
    ASSERT_EQ(pilot.Register(id), ECode::kOk);
    ASSERT_EQ(pilot.Login(id), ECode::kOk);
  }

  SCertificates& certs = SCertificates::Get();
  SLobbyServer lobby;
  CServerProcess& server = lobby.process;
};

// The trust a client is given: a right one reaches the server and logs in;
// a wrong one never talks to it (told why), and the server serves on.
TEST_F(TlsProbe, OnlyAServerPassingTheCheckIsTalkedTo) {
  Start(true);
  const struct {
    const char* name;
    STlsTrust trust;
    const char* reason;   // "": trusted
  } cases[] = {
      {"CA file", RightCa(), ""},
      {"pin as openssl prints it", {"", certs.server.fingerprint}, ""},
      {"another CA", {certs.other.cert, ""}, "certificate verification failed"},
      {"another pin", {"", certs.other.fingerprint}, "does not match the pinned fingerprint"},
      {"right CA, wrong pin", {certs.server.cert, certs.other.fingerprint}, "does not match the pinned"},
      {"a pin that is no fingerprint", {"", "12:34"}, "64 hex digits"},
      {"a missing CA file", {lobby.folder.File("none.pem"), ""}, "cannot read the CA file"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SPilot pilot;
    if (!*c.reason) {
      Enter(pilot, server.Port(), c.trust, "Trusty" + std::to_string(++n));
      EXPECT_EQ(pilot.Ask(pilot.client.SendPrivateInfo(), EMsg::kPrivateInfo), ECode::kOk);
      continue;
    }
    EXPECT_FALSE(pilot.Connect(server.Port(), c.trust));
    EXPECT_FALSE(pilot.client.Connected());
    EXPECT_NE(pilot.error.find(c.reason), std::string::npos) << pilot.error;
    EXPECT_FALSE(pilot.client.SendIdPw("Trusty", "secret-Trusty"));
  }
  // The failed handshakes closed their connections only: the server serves on.
  SPilot good;
  Enter(good, server.Port(), RightCa(), "AfterThem");
}

TEST_F(TlsProbe, PlainTcpNeverStandsInForTls) {
  // A plain client to a TLS server: its request is not taken, it hears a close.
  Start(true);
  {
    SPilot plain;
    ASSERT_TRUE(plain.Connect(server.Port())) << plain.error;
    ASSERT_TRUE(plain.client.SendNewIdPw("Plainly", "secret-1", "secret-1", "850307", "p@example.org"));
    const auto lost = plain.Await<SDisconnectedEvent>();
    ASSERT_TRUE(lost);
    EXPECT_FALSE(lost->reason.empty());
    EXPECT_FALSE(plain.Await<SResultEvent>());
    EXPECT_FALSE(plain.client.Connected());
  }
  server.Stop(5000);
  // A TLS client to a plain server: refused, not downgraded.
  Start(false);
  SPilot client;
  EXPECT_FALSE(client.Connect(server.Port(), RightCa()));
  EXPECT_FALSE(client.client.Connected());
  EXPECT_NE(client.error.find("TLS handshake failed"), std::string::npos) << client.error;
}

// Plain TCP on the loopback shows the passwords of a login and a password
// change (the tap sees what a network would); TLS does not.
TEST_F(TlsProbe, ThePasswordIsNotReadableOnTheWire) {
  for (const bool tls : {false, true}) {
    SCOPED_TRACE(tls ? "TLS" : "plain TCP");
    Start(tls);
    const std::string id = tls ? "WiredTls" : "WiredPlain";
    std::string seen;
    {
      CWireTap tap(server.Port(), &seen);
      ASSERT_NE(tap.Port(), 0);
      SPilot pilot;
      Enter(pilot, tap.Port(), tls ? RightCa() : STlsTrust{}, id);
      const bool sent = pilot.client.SendChgPw(id, "secret-" + id, "New-Secret-99", "New-Secret-99");
      EXPECT_EQ(pilot.Ask(sent, EMsg::kChgPw), ECode::kOk);
    }
    EXPECT_GT(seen.size(), 100u);
    EXPECT_EQ(seen.find("secret-" + id) != std::string::npos, !tls);
    EXPECT_EQ(seen.find("New-Secret-99") != std::string::npos, !tls);
    server.Stop(5000);
  }
}

// A connection that never starts its handshake is closed; a login ends at
// its max age, logged out but not locked out.
TEST_F(TlsProbe, ASilentHandshakeAndALoginPastItsMaxAgeAreClosed) {
  Start(true, {"--handshake-timeout-ms", "300", "--login-max-age", "1"});
  probe::CProbe silent;
  ASSERT_TRUE(silent.Connect(server.Port()));
  EXPECT_TRUE(silent.ClosedWithin(5000));
  SPilot pilot;
  Enter(pilot, server.Port(), RightCa(), "Aging");
  const auto loggedIn = std::chrono::steady_clock::now();
  const auto lost = pilot.Await<SDisconnectedEvent>();
  ASSERT_TRUE(lost);
  EXPECT_GE(std::chrono::steady_clock::now() - loggedIn, std::chrono::milliseconds(900));
  EXPECT_EQ(lost->reason, "closed by the server");
  ASSERT_TRUE(pilot.Connect(server.Port(), RightCa())) << pilot.error;
  EXPECT_EQ(pilot.Login("Aging"), ECode::kOk);
}

// A server floods the client (plain and over TLS) with chat lines, then a
// list longer than the client keeps: every Poll stays within the read bound
// and the flood fills it, and the list keeps its bound of entries. Before
// each Poll the socket is given (at most a second) to hold more than one Poll
// may take, so that a slow sender under load cannot hide an unbounded read.
TEST_F(TlsProbe, OnePollReadsABoundedAmountAndAListKeepsABoundedNumberOfEntries) {
  const SMessage line = MakeMessage(EMsg::kChat, {"x", "y"});
  std::vector<uint8_t> one, flood;
  EncodeFrame(line, &one);
  for (int i = 0; i < 200'000; ++i) EncodeFrame(line, &flood);   // 1.6 MB of chat lines
  for (int i = 0; i < 2 * int(CLobbyClient::kMaxListEntries); ++i)
    EncodeFrame(MakeMessage(EMsg::kPlayerEntry, {"Pilot"}, {1, 2, 3, 4, 5}), &flood);
  EncodeFrame(MakeMessage(EMsg::kResult, {}, {static_cast<uint32_t>(EMsg::kPlayerList), 0}), &flood);
  for (const bool tls : {false, true}) {
    SCOPED_TRACE(tls ? "TLS" : "plain TCP");
    CFlood flooder(tls ? &certs.server : nullptr, flood);
    ASSERT_NE(flooder.Port(), 0);
    SPilot pilot;
    ASSERT_TRUE(pilot.Connect(flooder.Port(), tls ? RightCa() : STlsTrust{})) << pilot.error;
    size_t most = 0;
    for (int i = 0; i < 40 && most * one.size() + 16384 < CLobbyClient::kMaxReadPerPoll; ++i) {
      int queued = 0;
      for (int wait = 0; wait < 1000 && queued <= int(CLobbyClient::kMaxReadPerPoll); ++wait) {
        usleep(1000);
        ioctl(pilot.client.Fd(), FIONREAD, &queued);
      }
      std::vector<SLobbyEvent> events;
      ASSERT_TRUE(pilot.client.Poll(1000, &events));
      EXPECT_LE(events.size() * one.size(), CLobbyClient::kMaxReadPerPoll);
      most = std::max(most, events.size());
    }
    std::printf("events from one Poll at most: %zu (%zu bytes)\n", most, most * one.size());
    EXPECT_GE(most * one.size() + 16384, CLobbyClient::kMaxReadPerPoll);
    const auto list = pilot.Await<SPlayerListEvent>();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->players.size(), CLobbyClient::kMaxListEntries);
  }
}

// The game does not ignore SIGPIPE: writing TLS to a server that is gone
// must end the connection, not the process.
TEST_F(TlsProbe, AServerGoneMidSessionDoesNotKillTheClient) {
  ASSERT_NE(std::signal(SIGPIPE, SIG_DFL), SIG_ERR);
  Start(true);
  SPilot pilot;
  Enter(pilot, server.Port(), RightCa(), "Stayer");
  server.Kill();
  for (int i = 0; i < 50 && pilot.client.Connected(); ++i) {
    pilot.client.SendChatMsg("are you there");
    pilot.client.Poll(20, &pilot.events);
  }
  EXPECT_FALSE(pilot.client.Connected());
  const auto lost = pilot.Await<SDisconnectedEvent>();
  ASSERT_TRUE(lost);
  EXPECT_FALSE(lost->reason.empty());
}

}  // namespace
}  // namespace lobbyd
