// server_process.cpp: fork, exec, the "listening" line, signals and /proc.
#include "lobbyd/server_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

namespace lobbyd {

CServerProcess::~CServerProcess() { Kill(); }

bool CServerProcess::Start(const std::string& program, const std::string& database,
                           const std::vector<std::string>& extra, int timeoutMs, std::string* error) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    *error = "pipe failed";
    return false;
  }
  std::vector<std::string> args = {program, "--db", database, "--port", "0"};
  args.insert(args.end(), extra.begin(), extra.end());
  const pid_t pid = fork();
  if (pid < 0) {
    *error = "fork failed";
    return false;
  }
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    // The server starts with stdin, stdout and stderr only: descriptors the
    // starting process inherited or opened count against its own limits.
    close_range(3, ~0U, 0);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  pid_ = pid;
  output_ = pipeFds[0];
  // Read up to the end of the first line.
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (line.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd waiting{output_, POLLIN, 0};
    char buffer[256];
    ssize_t got = 0;
    if (left.count() <= 0 || poll(&waiting, 1, static_cast<int>(left.count())) != 1 ||
        (got = read(output_, buffer, sizeof buffer)) <= 0) {
      *error = "the server did not report its port";
      Kill();
      return false;
    }
    line.append(buffer, static_cast<size_t>(got));
  }
  const size_t colon = line.rfind(':', line.find('\n'));
  const long port = colon == std::string::npos ? 0 : std::strtol(line.c_str() + colon + 1, nullptr, 10);
  if (port <= 0 || port > 65535) {
    *error = "unexpected first line: " + line;
    Kill();
    return false;
  }
  port_ = static_cast<uint16_t>(port);
  return true;
}

void CServerProcess::Kill() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  pid_ = -1;
  if (output_ >= 0) close(output_);
  output_ = -1;
}

int CServerProcess::Stop(int timeoutMs) {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      Kill();   // closes the pipe
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  Kill();
  return -1;
}

long CServerProcess::PeakMemoryKiB() const {
  if (pid_ <= 0) return 0;
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return 0;
}

}  // namespace lobbyd
