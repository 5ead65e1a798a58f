// throttle.cpp: failure windows and locks per key.
#include "lobbyd/throttle.h"

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
  while (!entry.failures.empty() && now - entry.failures.front() >= kWindowMs) entry.failures.pop_front();
  entry.failures.push_back(now);
  if (static_cast<int>(entry.failures.size()) >= kMaxFailures) {
    entry.lockedUntil = now + kLockMs;
    entry.failures.clear();
  }
}

void CLoginThrottle::Clear(const std::string& key) { keys_.erase(key); }

// Drops keys with nothing left to remember, at most once a second, so that
// a stream of failures from many addresses cannot grow the table for ever.
void CLoginThrottle::Prune(int64_t now) {
  if (now - lastPrune_ < 1000) return;
  lastPrune_ = now;
  for (auto it = keys_.begin(); it != keys_.end();) {
    const SKey& entry = it->second;
    const bool windowOver = entry.failures.empty() || now - entry.failures.back() >= kWindowMs;
    if (windowOver && now >= entry.lockedUntil) it = keys_.erase(it);
    else ++it;
  }
}

}  // namespace lobbyd
