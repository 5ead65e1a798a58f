// pg_instance.h: a throwaway PostgreSQL server for the tests and the load
// program: initdb into a temporary folder, pg_ctl start on a free loopback
// port with its socket in that folder, stopped and removed at the end. The
// binaries are looked for on PATH, in /usr/local/bin and under
// /usr/lib/postgresql/*/bin (newest first). initdb refuses to run as root:
// then the folder is given to the user "nobody" and the binaries run as it
// (runuser). Every wait is bounded.
#pragma once
#include <string>
#include <vector>

namespace lobbyd {

class CPgInstance {
 public:
  CPgInstance() = default;
  ~CPgInstance();
  CPgInstance(const CPgInstance&) = delete;
  CPgInstance& operator=(const CPgInstance&) = delete;

  // The folder holding initdb and pg_ctl, or "" when PostgreSQL is absent.
  static std::string FindBinaries();
  // Creates and starts the server; false with *error (says why). Not
  // durable (no fsync) unless asked: tests want speed, measurements the truth.
  bool Start(std::string* error, bool durable = false);
  // Stops the server at once (as a crash would) and removes its folder.
  void Stop();
  // "postgresql://korvo@127.0.0.1:PORT/postgres".
  const std::string& Url() const { return url_; }

 private:
  // Runs a PostgreSQL program (as "nobody" under root) and waits at most
  // timeoutMs; its output goes to the folder's log.
  bool Run(const std::string& program, const std::vector<std::string>& args, int timeoutMs, std::string* error);

  std::string bin_, folder_, url_;
};

}  // namespace lobbyd
