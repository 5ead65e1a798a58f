// tls_test.cpp: korvo-lobbyd over TLS on 127.0.0.1, with certificates made
// here by the openssl command: the client logs in trusting the right CA or
// pin and refuses a wrong one, plain TCP never stands in for TLS, the
// password is not readable on the wire, plain TCP is refused off the
// loopback, a login ends at its max age, and one Poll reads a bounded
// amount over TLS too.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>

#include "lobby_probe.h"
#include "lobbyd/client.h"
#include "lobbyd/encoder.h"
#include "lobbyd/server.h"
#include "lobbyd/server_process.h"
#include "../lobbyd/lobbyd_temp.h"

namespace lobbyd {
namespace {

constexpr char kPassword[] = "Wire-Secret-7731";

// Runs a shell command; its exit status (-1 when it did not exit).
int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A self-signed certificate for 127.0.0.1 and its key, made once per run.
struct SCertificate {
  std::string cert, key, fingerprint;   // fingerprint as openssl prints it (AA:BB:...)
};

class CCertificates {
 public:
  static CCertificates& Get() {
    static CCertificates made;
    return made;
  }
  SCertificate server, other;
  std::string error;

 private:
  CCertificates() {
    server = Make("server");
    other = Make("other");
  }
  SCertificate Make(const std::string& name) {
    SCertificate c{folder_.File(name + ".pem"), folder_.File(name + "-key.pem"), ""};
    const std::string log = folder_.File("openssl.log");
    if (Shell("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 -subj /CN=" +
              name + " -addext subjectAltName=IP:127.0.0.1 -keyout " + c.key + " -out " + c.cert + " >" + log +
              " 2>&1") != 0) {
      error = ReadFile(log);
      return c;
    }
    const std::string print = folder_.File(name + ".sha256");
    Shell("openssl x509 -noout -fingerprint -sha256 -in " + c.cert + " >" + print);
    const std::string text = ReadFile(print);
    const size_t equals = text.find('=');
    if (equals != std::string::npos) c.fingerprint = text.substr(equals + 1, 95);
    return c;
  }
  CTempFolder folder_;
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

// Relays one connection from 127.0.0.1 to the server and keeps what the
// client sent, as the network between them would see it.
class CWireTap {
 public:
  explicit CWireTap(uint16_t serverPort) : serverPort_(serverPort) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
    socklen_t length = sizeof at;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 && listen(listener_, 1) == 0 &&
        getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &length) == 0)
      port_ = ntohs(at.sin_port);
    thread_ = std::thread([this] { Relay(); });
  }
  ~CWireTap() {
    stop_ = true;
    thread_.join();
    close(listener_);
  }
  uint16_t Port() const { return port_; }
  std::string Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  void Relay() {
    pollfd waiting{listener_, POLLIN, 0};
    int client = -1;
    while (!stop_ && client < 0)
      if (poll(&waiting, 1, 50) == 1) client = accept(listener_, nullptr, nullptr);
    if (client < 0) return;
    probe::CProbe server;
    if (!server.Connect(serverPort_)) {
      close(client);
      return;
    }
    while (!stop_) {
      pollfd both[2] = {{client, POLLIN, 0}, {server.Fd(), POLLIN, 0}};
      if (poll(both, 2, 50) <= 0) continue;
      char buffer[16384];
      for (int side = 0; side < 2; ++side) {
        if (!both[side].revents) continue;
        const ssize_t got = recv(both[side].fd, buffer, sizeof buffer, 0);
        if (got <= 0) {
          close(client);
          return;
        }
        if (side == 0) {
          std::lock_guard<std::mutex> lock(mutex_);
          seen_.append(buffer, static_cast<size_t>(got));
        }
        send(both[1 - side].fd, buffer, static_cast<size_t>(got), MSG_NOSIGNAL);
      }
    }
    close(client);
  }

  uint16_t serverPort_, port_ = 0;
  int listener_ = -1;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::string seen_;
  std::thread thread_;
};

// A TLS listener that, once a client has shaken hands, sends `bytes` as fast
// as the client takes them, until it is destroyed.
class CTlsFlood {
 public:
  CTlsFlood(const SCertificate& cert, std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    std::string error;
    ctx_ = NewServerContext(cert.cert, cert.key, &error);
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
    socklen_t length = sizeof at;
    if (ctx_ && bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 && listen(listener_, 1) == 0 &&
        getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &length) == 0)
      port_ = ntohs(at.sin_port);
    thread_ = std::thread([this] {
      client_ = accept(listener_, nullptr, nullptr);
      if (client_ < 0 || !ctx_) return;
      ssl_.reset(SSL_new(ctx_.get()));
      SSL_set_fd(ssl_.get(), client_);
      if (SSL_accept(ssl_.get()) != 1) return;
      for (size_t sent = 0; sent < bytes_.size();) {
        const int n = SSL_write(ssl_.get(), bytes_.data() + sent, static_cast<int>(bytes_.size() - sent));
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
      }
    });
  }
  ~CTlsFlood() {
    shutdown(listener_, SHUT_RDWR);
    if (client_ >= 0) shutdown(client_, SHUT_RDWR);
    thread_.join();
    if (client_ >= 0) close(client_);
    close(listener_);
  }
  uint16_t Port() const { return port_; }

 private:
  SslContext ctx_;
  SslPtr ssl_;
  std::vector<uint8_t> bytes_;
  int listener_ = -1, client_ = -1;
  uint16_t port_ = 0;
  std::thread thread_;
};

struct TlsProbe : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(certs.error.empty()) << certs.error;
    ASSERT_EQ(certs.server.fingerprint.size(), 95u);
  }
  void Start(bool tls, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args = {"--hash-cost", "minimum"};
    if (tls) args.insert(args.end(), {"--tls-cert", certs.server.cert, "--tls-key", certs.server.key});
    args.insert(args.end(), extra.begin(), extra.end());
    std::string error;
    ASSERT_TRUE(server.Start(probe::ServerProgram(), folder.File("lobby.db"), args, 10000, &error)) << error;
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

  CCertificates& certs = CCertificates::Get();
  CTempFolder folder;
  CServerProcess server;
};

TEST_F(TlsProbe, ATrustedServerIsReachedAndTheLoginHolds) {
  Start(true);
  std::string lower;
  for (char c : certs.server.fingerprint)
    if (c != ':') lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const struct {
    const char* name;
    STlsTrust trust;
  } cases[] = {
      {"CA file", RightCa()},
      {"pin as openssl prints it", {"", certs.server.fingerprint}},
      {"pin in lower case", {"", lower}},
      {"CA file and pin", {certs.server.cert, certs.server.fingerprint}},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CLobbyClient client;
    Login(client, server.Port(), c.trust, "Trusty" + std::to_string(++n));
    ASSERT_TRUE(client.SendPrivateInfo());
    EXPECT_EQ(WaitResult(client, EMsg::kPrivateInfo), ECode::kOk);
  }
}

TEST_F(TlsProbe, AServerFailingTheCheckIsNeverTalkedTo) {
  Start(true);
  const struct {
    const char* name;
    STlsTrust trust;
    const char* reason;
  } cases[] = {
      {"another CA", {certs.other.cert, ""}, "certificate verification failed"},
      {"another pin", {"", certs.other.fingerprint}, "does not match the pinned fingerprint"},
      {"right CA, wrong pin", {certs.server.cert, certs.other.fingerprint}, "does not match the pinned"},
      {"a pin that is no fingerprint", {"", "12:34"}, "64 hex digits"},
      {"a missing CA file", {folder.File("none.pem"), ""}, "cannot read the CA file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CLobbyClient client;
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

TEST_F(TlsProbe, PlainTcpIsServedOnTheLoopbackOnly) {
  SServerOptions options;
  options.database = folder.File("inproc.db");
  options.bind = "0.0.0.0";
  std::string error;
  EXPECT_EQ(CServer::Create(options, SteadyClock(), &error), nullptr);
  EXPECT_NE(error.find("--tls-cert"), std::string::npos) << error;
  options.tlsCert = certs.server.cert;
  EXPECT_EQ(CServer::Create(options, SteadyClock(), &error), nullptr);   // a certificate without its key
  EXPECT_NE(error.find("both a certificate and a key"), std::string::npos) << error;

  // The program says why and exits non-zero (timeout 10: a server that would serve stops).
  const std::string log = folder.File("refused.log");
  const int status = Shell("timeout 10 " + probe::ServerProgram() + " --db " + folder.File("lobby.db") +
                           " --port 0 --bind 0.0.0.0 >" + log + " 2>&1");
  EXPECT_NE(status, 0);
  EXPECT_NE(status, 124) << "it served";
  EXPECT_NE(ReadFile(log).find("plain TCP is served on 127.0.0.0/8 only"), std::string::npos) << ReadFile(log);
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

}  // namespace
}  // namespace lobbyd

namespace lobbyd {
namespace {

TEST_F(TlsProbe, OnePollReadsABoundedAmountOverTls) {
  const SMessage line = MakeMessage(EMsg::kChat, {"x", "y"});
  std::vector<uint8_t> one, flood;
  EncodeFrame(line, &one);
  for (int i = 0; i < 200'000; ++i) EncodeFrame(line, &flood);   // 1.6 MB of chat lines
  CTlsFlood server(certs.server, flood);
  ASSERT_NE(server.Port(), 0);
  CLobbyClient client;
  std::string error;
  ASSERT_TRUE(client.Connect("127.0.0.1", server.Port(), 5000, &error, RightCa())) << error;
  // Every Poll stays within the bound, and the flood fills it (no poll waits
  // longer than a second, 40 of them at most).
  size_t most = 0;
  for (int i = 0; i < 40 && most * one.size() + 16384 < CLobbyClient::kMaxReadPerPoll; ++i) {
    std::vector<SLobbyEvent> events;
    ASSERT_TRUE(client.Poll(1000, &events));
    EXPECT_LE(events.size() * one.size(), CLobbyClient::kMaxReadPerPoll);
    most = std::max(most, events.size());
  }
  EXPECT_GE(most * one.size() + 16384, CLobbyClient::kMaxReadPerPoll);
}

}  // namespace
}  // namespace lobbyd

namespace lobbyd {
namespace {

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
