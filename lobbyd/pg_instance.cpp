// pg_instance.cpp: finding, initialising, starting and stopping a test PostgreSQL.
#include "lobbyd/pg_instance.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace lobbyd {

namespace {

namespace fs = std::filesystem;

bool HasTools(const fs::path& folder) {
  std::error_code ignored;
  return fs::exists(folder / "initdb", ignored) && fs::exists(folder / "pg_ctl", ignored);
}

// A port free on 127.0.0.1 now (the kernel's pick).
int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  if (fd >= 0) close(fd);
  return port;
}

}  // namespace

std::string CPgInstance::FindBinaries() {
  if (const char* path = std::getenv("PATH")) {
    std::stringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':'))
      if (!folder.empty() && HasTools(folder)) return folder;
  }
  if (HasTools("/usr/local/bin")) return "/usr/local/bin";
  std::vector<fs::path> versions;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec))
    if (HasTools(entry.path() / "bin")) versions.push_back(entry.path() / "bin");
  // Newest first: "15" after "9" by number.
  std::sort(versions.begin(), versions.end(), [](const fs::path& a, const fs::path& b) {
    return std::atoi(a.parent_path().filename().c_str()) > std::atoi(b.parent_path().filename().c_str());
  });
  return versions.empty() ? std::string() : versions.front().string();
}

CPgInstance::~CPgInstance() { Stop(); }

bool CPgInstance::Run(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
                      std::string* error) {
  std::vector<std::string> argv;
  if (geteuid() == 0) argv = {"/usr/sbin/runuser", "-u", "nobody", "--"};
  argv.push_back(bin_ + "/" + program);
  argv.insert(argv.end(), args.begin(), args.end());
  const std::string log = folder_ + "/tools.log";
  const pid_t pid = fork();
  if (pid < 0) {
    *error = "fork failed";
    return false;
  }
  if (pid == 0) {
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (out >= 0) {
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
    }
    if (chdir(folder_.c_str()) != 0) _exit(126);
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    execv(raw[0], raw.data());
    _exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      *error = program + " did not finish in time";
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  *error = program + " failed: " + text.str();
  return false;
}

bool CPgInstance::Start(std::string* error, bool durable) {
  bin_ = FindBinaries();
  if (bin_.empty()) {
    *error = "PostgreSQL is not installed (no initdb and pg_ctl on PATH, in /usr/local/bin or /usr/lib/postgresql)";
    return false;
  }
  char pattern[] = "/tmp/lobbyd_pg_XXXXXX";
  if (!mkdtemp(pattern)) {
    *error = "cannot make a temporary folder";
    return false;
  }
  folder_ = pattern;
  if (geteuid() == 0) {
    // initdb refuses root: the folder and the server belong to "nobody".
    const passwd* nobody = getpwnam("nobody");
    if (!nobody || chown(folder_.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) {
      *error = "running as root, and the folder cannot be given to the user nobody";
      return false;
    }
  }
  const int port = FreePort();
  if (port == 0) {
    *error = "no free port on 127.0.0.1";
    return false;
  }
  if (!Run("initdb", {"-D", folder_ + "/data", "-U", "korvo", "-A", "trust", "-E", "UTF8", "--no-sync", "--no-locale"},
           60000, error))
    return false;
  const std::string serverOptions = "-c listen_addresses=127.0.0.1 -p " + std::to_string(port) + " -k " + folder_ +
                                    " -c max_connections=50" + (durable ? "" : " -c fsync=off");
  if (!Run("pg_ctl", {"-D", folder_ + "/data", "-l", folder_ + "/server.log", "-o", serverOptions, "-w", "-t", "30",
                      "start"},
           40000, error))
    return false;
  url_ = "postgresql://korvo@127.0.0.1:" + std::to_string(port) + "/postgres";
  return true;
}

void CPgInstance::Stop() {
  // Also a server whose start was not waited out to the end.
  std::error_code ec;
  if (!folder_.empty() && fs::exists(folder_ + "/data/postmaster.pid", ec)) {
    std::string ignored;
    Run("pg_ctl", {"-D", folder_ + "/data", "-m", "immediate", "-w", "-t", "20", "stop"}, 30000, &ignored);
  }
  if (!folder_.empty()) {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    folder_.clear();
  }
}

}  // namespace lobbyd
