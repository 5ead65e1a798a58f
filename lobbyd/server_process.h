// server_process.h: starts korvo-lobbyd as a child process on a database and
// a free loopback port (it reports the port it bound), and stops or kills it.
// Used by the tests and the load program.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lobbyd {

class CServerProcess {
 public:
  CServerProcess() = default;
  ~CServerProcess();   // kills a server still running
  CServerProcess(const CServerProcess&) = delete;
  CServerProcess& operator=(const CServerProcess&) = delete;

  // Runs `program --db database --port 0` plus `extra`, and waits at most
  // timeoutMs for its "listening" line.
  bool Start(const std::string& program, const std::string& database, const std::vector<std::string>& extra,
             int timeoutMs, std::string* error);
  uint16_t Port() const { return port_; }
  pid_t Pid() const { return pid_; }
  // SIGKILL, then reaps it.
  void Kill();
  // SIGTERM and waits at most timeoutMs; the exit status (-1 when it had to be killed).
  int Stop(int timeoutMs);
  // The peak resident memory so far (VmHWM), in KiB; 0 when unknown.
  long PeakMemoryKiB() const;

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  uint16_t port_ = 0;
};

}  // namespace lobbyd
