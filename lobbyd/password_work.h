// password_work.h: where Argon2id hashing and verifying run. An Argon2id hash
// takes tens of milliseconds and tens of MiB by design; run on the poll loop it
// would stall every other client, so the server hands it to worker threads and
// takes the outcome back on the loop thread. Tests run it inline.
#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "lobbyd/passwords.h"

namespace lobbyd {

class CPasswordWork {
 public:
  // Hash: ok and the encoded hash; Verify: ok when the password matches.
  using Done = std::function<void(bool ok, const std::string& hash)>;
  virtual ~CPasswordWork() = default;
  virtual void Hash(const std::string& password, Done done) = 0;
  virtual void Verify(const std::string& hash, const std::string& password, Done done) = 0;
  // True when a stored hash was made at another cost than the current one.
  virtual bool NeedsRehash(const std::string& hash) const = 0;
};

// Runs each job at once, in the caller.
class CInlinePasswordWork : public CPasswordWork {
 public:
  explicit CInlinePasswordWork(CPasswordHasher hasher) : hasher_(hasher) {}
  void Hash(const std::string& password, Done done) override;
  void Verify(const std::string& hash, const std::string& password, Done done) override;
  bool NeedsRehash(const std::string& hash) const override { return hasher_.NeedsRehash(hash); }

 private:
  CPasswordHasher hasher_;
};

// Runs jobs on worker threads; RunCompleted, on the loop thread, calls the
// `done` of every finished job. WakeFd becomes readable when one finished.
// Checks (logins) go before hashes (registrations, password changes), so
// that a burst of registrations does not hold logins back.
class CThreadedPasswordWork : public CPasswordWork {
 public:
  CThreadedPasswordWork(CPasswordHasher hasher, int threads);
  ~CThreadedPasswordWork() override;
  void Hash(const std::string& password, Done done) override;
  void Verify(const std::string& hash, const std::string& password, Done done) override;
  bool NeedsRehash(const std::string& hash) const override { return hasher_.NeedsRehash(hash); }
  int WakeFd() const { return wake_[0]; }
  void RunCompleted();
  bool Ok() const { return wake_[0] >= 0; }

 private:
  struct SJob {
    bool verify = false;
    std::string password, hash;
    Done done;
    bool ok = false;
  };
  void Submit(SJob job);
  void Work();

  CPasswordHasher hasher_;
  int wake_[2] = {-1, -1};
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<SJob> checks_, hashes_, finished_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace lobbyd
