// throttle.cpp: try windows, locks and their doubling per key.
#include "lobbyd/throttle.h"

#include <algorithm>
#include <chrono>

namespace lobbyd {

Clock SteadyClock() {
  return [] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
}

void SThrottleKey::Fail(int64_t now, const SThrottleRule& rule) {
  // A long quiet time after the last lock: the next lock is a first one again.
  if (locks > 0 && now >= lockedUntil + rule.forgetMs) locks = 0;
  while (!failures.empty() && now - failures.front() >= rule.windowMs) failures.pop_front();
  failures.push_back(now);
  if (static_cast<int>(failures.size()) >= rule.maxFailures) {
    const int shift = std::min(locks, 20);
    lockedUntil = now + std::min(rule.lockMs << shift, rule.maxLockMs);
    ++locks;
    failures.clear();
  }
}

bool SThrottleKey::Forgettable(int64_t now, const SThrottleRule& rule) const {
  const bool windowOver = failures.empty() || now - failures.back() >= rule.windowMs;
  const bool lockOver = locks == 0 ? now >= lockedUntil : now >= lockedUntil + rule.forgetMs;
  return windowOver && lockOver;
}

bool CLoginThrottle::Locked(const std::string& key) {
  const int64_t now = clock_();
  Prune(now);
  auto it = keys_.find(key);
  return it != keys_.end() && it->second.Locked(now);
}

void CLoginThrottle::Fail(const std::string& key) { keys_[key].Fail(clock_(), rule_); }

void CLoginThrottle::Refund(const std::string& key) {
  auto it = keys_.find(key);
  if (it != keys_.end()) it->second.Refund();
}

void CLoginThrottle::Clear(const std::string& key) { keys_.erase(key); }

// Drops keys with nothing left to remember, at most once a second, so that
// a stream of failures from many addresses cannot grow the table for ever.
void CLoginThrottle::Prune(int64_t now) {
  if (now - lastPrune_ < 1000) return;
  lastPrune_ = now;
  for (auto it = keys_.begin(); it != keys_.end();) {
    if (it->second.Forgettable(now, rule_)) it = keys_.erase(it);
    else ++it;
  }
}

}  // namespace lobbyd

namespace lobbyd {

// ---- Rate buckets --------------------------------------------------------------------------

bool CRateBucket::Take(int64_t now, int burst, int64_t intervalMs) {
  if (tokens_ < 0) {
    tokens_ = burst;
    last_ = now;
  }
  if (intervalMs > 0 && now > last_) {
    const int64_t gained = (now - last_) / intervalMs;
    if (gained > 0) {
      tokens_ = static_cast<int>(std::min<int64_t>(burst, tokens_ + gained));
      last_ += gained * intervalMs;
      if (tokens_ == burst) last_ = now;
    }
  }
  if (tokens_ == 0) return false;
  --tokens_;
  return true;
}

}  // namespace lobbyd
