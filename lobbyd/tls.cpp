// tls.cpp: OpenSSL contexts, peer checks and error texts.
#include "lobbyd/tls.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <pthread.h>

#include <cctype>
#include <ctime>

namespace lobbyd {

namespace {

void CommonSettings(SSL_CTX* ctx) {
  SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
  // Writes resume from the same queue, which may have grown (and moved) meanwhile.
  SSL_CTX_set_mode(ctx, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
}

// Lower-case hex digits without separators; "" when it is not 32 bytes' worth.
std::string NormalPin(const std::string& pin) {
  std::string hex;
  for (char c : pin) {
    if (c == ':') continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) return "";
    hex += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return hex.size() == 64 ? hex : "";
}

}  // namespace

std::string TlsError() {
  const unsigned long code = ERR_get_error();
  ERR_clear_error();
  if (code == 0) return "no detail";
  char text[256];
  ERR_error_string_n(code, text, sizeof text);
  return text;
}

SslContext NewServerContext(const std::string& certFile, const std::string& keyFile, std::string* error) {
  SslContext ctx(SSL_CTX_new(TLS_server_method()));
  if (!ctx) {
    *error = "TLS: " + TlsError();
    return nullptr;
  }
  CommonSettings(ctx.get());
  if (SSL_CTX_use_certificate_chain_file(ctx.get(), certFile.c_str()) != 1) {
    *error = "TLS certificate " + certFile + ": " + TlsError();
    return nullptr;
  }
  if (SSL_CTX_use_PrivateKey_file(ctx.get(), keyFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
      SSL_CTX_check_private_key(ctx.get()) != 1) {
    *error = "TLS key " + keyFile + ": " + TlsError();
    return nullptr;
  }
  return ctx;
}

SslContext NewClientContext(const STlsTrust& trust, std::string* error) {
  if (!trust.pinSha256.empty() && NormalPin(trust.pinSha256).empty()) {
    *error = "the pinned certificate is not a SHA-256 fingerprint (64 hex digits)";
    return nullptr;
  }
  SslContext ctx(SSL_CTX_new(TLS_client_method()));
  if (!ctx) {
    *error = "TLS: " + TlsError();
    return nullptr;
  }
  CommonSettings(ctx.get());
  if (!trust.caFile.empty()) {
    if (SSL_CTX_load_verify_locations(ctx.get(), trust.caFile.c_str(), nullptr) != 1) {
      *error = "cannot read the CA file " + trust.caFile + ": " + TlsError();
      return nullptr;
    }
    SSL_CTX_set_verify(ctx.get(), SSL_VERIFY_PEER, nullptr);
  } else {
    // A pin alone: the certificate is checked by its fingerprint after the handshake.
    SSL_CTX_set_verify(ctx.get(), SSL_VERIFY_NONE, nullptr);
  }
  return ctx;
}

std::string CheckPeer(SSL* ssl, const STlsTrust& trust) {
  X509* peer = SSL_get0_peer_certificate(ssl);
  if (!peer) return "the server sent no certificate";
  if (!trust.caFile.empty() && SSL_get_verify_result(ssl) != X509_V_OK)
    return std::string("certificate verification failed: ") +
           X509_verify_cert_error_string(SSL_get_verify_result(ssl));
  if (!trust.pinSha256.empty()) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(peer, EVP_sha256(), digest, &length) != 1) return "cannot hash the server certificate";
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
      hex += kHex[digest[i] >> 4];
      hex += kHex[digest[i] & 15];
    }
    if (hex != NormalPin(trust.pinSha256)) return "the server certificate does not match the pinned fingerprint";
  }
  return "";
}

CNoSigPipe::CNoSigPipe() {
  sigset_t pipe, pending;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  sigemptyset(&pending);
  sigpending(&pending);
  pendingBefore_ = sigismember(&pending, SIGPIPE) == 1;
  pthread_sigmask(SIG_BLOCK, &pipe, &old_);
}

CNoSigPipe::~CNoSigPipe() {
  sigset_t pipe, pending;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  sigemptyset(&pending);
  sigpending(&pending);
  if (!pendingBefore_ && sigismember(&pending, SIGPIPE) == 1) {
    const timespec now{0, 0};
    sigtimedwait(&pipe, nullptr, &now);
  }
  pthread_sigmask(SIG_SETMASK, &old_, nullptr);
}

ETlsStep Step(SSL* ssl, int ret) {
  switch (SSL_get_error(ssl, ret)) {
    case SSL_ERROR_NONE: return ETlsStep::kDone;
    case SSL_ERROR_WANT_READ: return ETlsStep::kWantRead;
    case SSL_ERROR_WANT_WRITE: return ETlsStep::kWantWrite;
    case SSL_ERROR_ZERO_RETURN: return ETlsStep::kClosed;
    default: return ETlsStep::kFailed;
  }
}

}  // namespace lobbyd
