// limits.h: the lobby's limits on what one connection, address or account
// may ask for, with their defaults (docs/security.md lists them all).
#pragma once
#include <cstddef>
#include <cstdint>

#include "lobbyd/throttle.h"

namespace lobbyd {

struct SLobbyLimits {
  // Login tries, counted when they start (a good one is taken back).
  SThrottleRule pairLogins = CLoginThrottle::kPairRule;
  SThrottleRule addressLogins = CLoginThrottle::kAddressRule;
  // Registrations that reach the password hash, per address.
  SThrottleRule registrations{20, 3'600'000, 3'600'000, 3'600'000, 0};
  // Chat lines per connection: a burst, then one line per interval.
  int chatBurst = 5;
  int64_t chatIntervalMs = 1000;
  // Channels one account has created that exist at once.
  size_t channelsPerAccount = 3;
  // Several nodes on one PostgreSQL: each marks itself alive this often; one
  // silent for the expiry is taken for dead and its players and games go.
  int64_t heartbeatMs = 1000;
  int64_t nodeExpiryMs = 5000;
};

}  // namespace lobbyd
