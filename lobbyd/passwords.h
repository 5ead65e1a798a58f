// passwords.h: Argon2id password hashes (libsodium's crypto_pwhash_str). The
// cost is a setting: the server's defaults are libsodium's interactive
// limits; tests and the load program may choose the minimum.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace lobbyd {

struct SHashCost {
  unsigned long long ops;
  size_t memory;   // bytes
};
SHashCost InteractiveCost();
SHashCost MinimumCost();

class CPasswordHasher {
 public:
  explicit CPasswordHasher(SHashCost cost) : cost_(cost) {}
  // False when libsodium cannot start.
  static bool Initialize();
  // The encoded hash, or nothing when hashing failed (out of memory).
  std::optional<std::string> Hash(const std::string& password) const;
  bool Verify(const std::string& hash, const std::string& password) const;
  // True when the hash was made at another cost (or cannot be read).
  bool NeedsRehash(const std::string& hash) const;

 private:
  SHashCost cost_;
};

}  // namespace lobbyd
