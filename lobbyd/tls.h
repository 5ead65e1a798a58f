// tls.h: the TLS both sides of the lobby speak (OpenSSL, TLS 1.2 and up).
// The server loads its certificate and key; a client trusts a CA file (the
// certificate must name the server's IPv4 address) or one pinned server
// certificate, given by its SHA-256 fingerprint. Nothing here falls back to
// plain TCP: a client with neither asks for plain TCP itself.
#pragma once
#include <openssl/ssl.h>
#include <signal.h>

#include <memory>
#include <string>

namespace lobbyd {

// What a client trusts. Both empty: plain TCP.
struct STlsTrust {
  std::string caFile;      // PEM certificates of the authorities trusted
  std::string pinSha256;   // the server certificate's SHA-256, hex (colons allowed)
  bool Enabled() const { return !caFile.empty() || !pinSha256.empty(); }
};

struct SSslCtxFree {
  void operator()(SSL_CTX* c) const { SSL_CTX_free(c); }
};
struct SSslFree {
  void operator()(SSL* s) const { SSL_free(s); }
};
using SslContext = std::unique_ptr<SSL_CTX, SSslCtxFree>;
using SslPtr = std::unique_ptr<SSL, SSslFree>;

// A server context on a PEM certificate (chain) and its key; null with *error.
SslContext NewServerContext(const std::string& certFile, const std::string& keyFile, std::string* error);
// A client context for `trust`; null with *error (an unreadable CA file, a pin
// that is not 64 hex digits).
SslContext NewClientContext(const STlsTrust& trust, std::string* error);
// Checks the peer of a finished client handshake against `trust`: "" when it
// holds, else why not.
std::string CheckPeer(SSL* ssl, const STlsTrust& trust);

// Holds SIGPIPE back on this thread while OpenSSL writes to a socket (its
// writes cannot ask for MSG_NOSIGNAL) and drops one raised meanwhile: a peer
// that is gone ends the connection, not the process that hosts the client.
class CNoSigPipe {
 public:
  CNoSigPipe();
  ~CNoSigPipe();
  CNoSigPipe(const CNoSigPipe&) = delete;
  CNoSigPipe& operator=(const CNoSigPipe&) = delete;

 private:
  sigset_t old_;
  bool pendingBefore_ = false;   // one that was there already is not ours to drop
};

// What an SSL call that returned `ret` needs next.
enum class ETlsStep { kDone, kWantRead, kWantWrite, kClosed, kFailed };
ETlsStep Step(SSL* ssl, int ret);
// The last OpenSSL error of this thread as text (and the queue cleared).
std::string TlsError();

}  // namespace lobbyd
