// throttle.h: login and registration throttling. A key (an address, or an
// address with an account) counts tries within a window; reaching the rule's
// count locks the key, for a time that doubles with each lock in a row up to
// the rule's longest. The clock is injected so that tests step it by hand.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>

namespace lobbyd {

// Milliseconds of a monotonic clock.
using Clock = std::function<int64_t()>;
Clock SteadyClock();

struct SThrottleRule {
  int maxFailures;     // tries within the window that lock the key
  int64_t windowMs;
  int64_t lockMs;      // the first lock; each next one in a row doubles it
  int64_t maxLockMs;   // the longest lock
  int64_t forgetMs;    // quiet time after a lock before the doubling starts over
};

// The tries of one key: their times within the window (oldest first), the
// end of its lock and the locks in a row (for the doubling). Kept in memory
// by CLoginThrottle, in a table row by the shared store.
struct SThrottleKey {
  std::deque<int64_t> failures;
  int64_t lockedUntil = 0;
  int locks = 0;

  bool Locked(int64_t now) const { return now < lockedUntil; }
  void Fail(int64_t now, const SThrottleRule& rule);
  void Refund() {
    if (!failures.empty()) failures.pop_back();
  }
  // Nothing left to remember at `now`: the key may be dropped.
  bool Forgettable(int64_t now, const SThrottleRule& rule) const;
};

// Counts tries per key under one rule (see SThrottleKey).
class IThrottle {
 public:
  virtual ~IThrottle() = default;
  // True while the key is locked.
  virtual bool Locked(const std::string& key) = 0;
  // Counts a try for the key; the rule's count within the window locks it.
  virtual void Fail(const std::string& key) = 0;
  // Takes back the latest try of the key (it turned out good).
  virtual void Refund(const std::string& key) = 0;
  // Forgets the key's tries and locks (after a good login).
  virtual void Clear(const std::string& key) = 0;
};

// The throttle of one process: keys in memory.
class CLoginThrottle : public IThrottle {
 public:
  // Failed logins of one account from one address.
  static constexpr SThrottleRule kPairRule{5, 60'000, 30'000, 15 * 60'000, 10 * 60'000};
  // Failed logins from one address, whatever the account.
  static constexpr SThrottleRule kAddressRule{20, 60'000, 30'000, 15 * 60'000, 10 * 60'000};

  explicit CLoginThrottle(Clock clock, SThrottleRule rule = kPairRule) : clock_(std::move(clock)), rule_(rule) {}

  bool Locked(const std::string& key) override;
  void Fail(const std::string& key) override;
  void Refund(const std::string& key) override;
  void Clear(const std::string& key) override;
  // Keys tracked (entries expire once their window, lock and memory are over).
  size_t Tracked() const { return keys_.size(); }

 private:
  void Prune(int64_t now);

  Clock clock_;
  SThrottleRule rule_;
  std::unordered_map<std::string, SThrottleKey> keys_;
  int64_t lastPrune_ = 0;
};

// A token bucket: `burst` tokens, one more every `intervalMs`.
class CRateBucket {
 public:
  // True (and one token taken) when a token is there at `now`.
  bool Take(int64_t now, int burst, int64_t intervalMs);

 private:
  int64_t last_ = 0;
  int tokens_ = -1;   // -1: not used yet (full)
};

}  // namespace lobbyd
