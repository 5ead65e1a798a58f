// throttle.h: login throttling. Five failed logins for one key (an id or an
// address) within a minute lock that key for 30 seconds; the clock is
// injected so that tests step it by hand.
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

class CLoginThrottle {
 public:
  static constexpr int kMaxFailures = 5;
  static constexpr int64_t kWindowMs = 60'000;
  static constexpr int64_t kLockMs = 30'000;

  explicit CLoginThrottle(Clock clock) : clock_(std::move(clock)) {}

  // True while the key is locked.
  bool Locked(const std::string& key);
  // Records a failed login for the key; the fifth within the window locks it.
  void Fail(const std::string& key);
  // Forgets the key's failures (after a good login).
  void Clear(const std::string& key);
  // Keys tracked (entries expire once their window and lock are over).
  size_t Tracked() const { return keys_.size(); }

 private:
  struct SKey {
    std::deque<int64_t> failures;   // times within the window, oldest first
    int64_t lockedUntil = 0;
  };
  void Prune(int64_t now);

  Clock clock_;
  std::unordered_map<std::string, SKey> keys_;
  int64_t lastPrune_ = 0;
};

}  // namespace lobbyd
