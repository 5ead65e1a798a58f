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

bool CLoginThrottle::Locked(const std::string& key) {
  const int64_t now = clock_();
  Prune(now);
  auto it = keys_.find(key);
  return it != keys_.end() && now < it->second.lockedUntil;
}

void CLoginThrottle::Fail(const std::string& key) {
  const int64_t now = clock_();
  SKey& entry = keys_[key];
  // A long quiet time after the last lock: the next lock is a first one again.
  if (entry.locks > 0 && now >= entry.lockedUntil + rule_.forgetMs) entry.locks = 0;
  while (!entry.failures.empty() && now - entry.failures.front() >= rule_.windowMs) entry.failures.pop_front();
  entry.failures.push_back(now);
  if (static_cast<int>(entry.failures.size()) >= rule_.maxFailures) {
    const int shift = std::min(entry.locks, 20);
    entry.lockedUntil = now + std::min(rule_.lockMs << shift, rule_.maxLockMs);
    ++entry.locks;
    entry.failures.clear();
  }
}

void CLoginThrottle::Refund(const std::string& key) {
  auto it = keys_.find(key);
  if (it != keys_.end() && !it->second.failures.empty()) it->second.failures.pop_back();
}

void CLoginThrottle::Clear(const std::string& key) { keys_.erase(key); }

// Drops keys with nothing left to remember, at most once a second, so that
// a stream of failures from many addresses cannot grow the table for ever.
void CLoginThrottle::Prune(int64_t now) {
  if (now - lastPrune_ < 1000) return;
  lastPrune_ = now;
  for (auto it = keys_.begin(); it != keys_.end();) {
    const SKey& entry = it->second;
    const bool windowOver = entry.failures.empty() || now - entry.failures.back() >= rule_.windowMs;
    const bool lockOver = entry.locks == 0 ? now >= entry.lockedUntil : now >= entry.lockedUntil + rule_.forgetMs;
    if (windowOver && lockOver) it = keys_.erase(it);
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
