// password_work.cpp: inline and threaded password jobs.
#include "lobbyd/password_work.h"

#include <fcntl.h>
#include <sodium.h>
#include <unistd.h>

namespace lobbyd {

void CInlinePasswordWork::Hash(const std::string& password, Done done) {
  const std::optional<std::string> hash = hasher_.Hash(password);
  done(hash.has_value(), hash.value_or(""));
}

void CInlinePasswordWork::Verify(const std::string& hash, const std::string& password, Done done) {
  done(hasher_.Verify(hash, password), hash);
}

CThreadedPasswordWork::CThreadedPasswordWork(CPasswordHasher hasher, int threads) : hasher_(hasher) {
  if (pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0) {
    wake_[0] = wake_[1] = -1;
    return;
  }
  for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
}

CThreadedPasswordWork::~CThreadedPasswordWork() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  ready_.notify_all();
  for (std::thread& thread : threads_) thread.join();
  // Passwords still queued are wiped before the memory is given back.
  for (std::deque<SJob>* queue : {&checks_, &hashes_})
    for (SJob& job : *queue) sodium_memzero(job.password.data(), job.password.size());
  for (int fd : wake_)
    if (fd >= 0) close(fd);
}

void CThreadedPasswordWork::Hash(const std::string& password, Done done) {
  SJob job;
  job.password = password;
  job.done = std::move(done);
  Submit(std::move(job));
}

void CThreadedPasswordWork::Verify(const std::string& hash, const std::string& password, Done done) {
  SJob job;
  job.verify = true;
  job.hash = hash;
  job.password = password;
  job.done = std::move(done);
  Submit(std::move(job));
}

void CThreadedPasswordWork::Submit(SJob job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    (job.verify ? checks_ : hashes_).push_back(std::move(job));
  }
  ready_.notify_one();
}

void CThreadedPasswordWork::Work() {
  for (;;) {
    SJob job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [this] { return stopping_ || !checks_.empty() || !hashes_.empty(); });
      if (stopping_) return;
      std::deque<SJob>& queue = checks_.empty() ? hashes_ : checks_;
      job = std::move(queue.front());
      queue.pop_front();
    }
    if (job.verify) {
      job.ok = hasher_.Verify(job.hash, job.password);
    } else {
      const std::optional<std::string> hash = hasher_.Hash(job.password);
      job.ok = hash.has_value();
      job.hash = hash.value_or("");
    }
    sodium_memzero(job.password.data(), job.password.size());
    {
      std::lock_guard<std::mutex> lock(mutex_);
      finished_.push_back(std::move(job));
    }
    const char byte = 1;
    if (write(wake_[1], &byte, 1) < 0) {}   // a full pipe already wakes the loop
  }
}

void CThreadedPasswordWork::RunCompleted() {
  char drain[256];
  while (read(wake_[0], drain, sizeof drain) > 0) {}
  std::deque<SJob> done;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    done.swap(finished_);
  }
  for (SJob& job : done) job.done(job.ok, job.hash);
}

}  // namespace lobbyd
