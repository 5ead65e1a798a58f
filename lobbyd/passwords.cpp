// passwords.cpp: libsodium's Argon2id string hashes.
#include "lobbyd/passwords.h"

#include <sodium.h>

namespace lobbyd {

SHashCost InteractiveCost() {
  return {crypto_pwhash_argon2id_OPSLIMIT_INTERACTIVE, crypto_pwhash_argon2id_MEMLIMIT_INTERACTIVE};
}
SHashCost MinimumCost() { return {crypto_pwhash_argon2id_OPSLIMIT_MIN, crypto_pwhash_argon2id_MEMLIMIT_MIN}; }

bool CPasswordHasher::Initialize() { return sodium_init() >= 0; }

std::optional<std::string> CPasswordHasher::Hash(const std::string& password) const {
  char out[crypto_pwhash_argon2id_STRBYTES];
  if (crypto_pwhash_argon2id_str(out, password.data(), password.size(), cost_.ops, cost_.memory) != 0)
    return std::nullopt;
  return std::string(out);
}

bool CPasswordHasher::NeedsRehash(const std::string& hash) const {
  return crypto_pwhash_argon2id_str_needs_rehash(hash.c_str(), cost_.ops, cost_.memory) != 0;
}

bool CPasswordHasher::Verify(const std::string& hash, const std::string& password) const {
  return crypto_pwhash_argon2id_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace lobbyd
