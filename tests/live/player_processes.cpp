// player_processes.cpp: checks, and starting, reading and stopping the live
// tests' player.
#include "tests/live/player_processes.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

extern char** environ;

int g_failures = 0;
std::vector<std::string> g_playerLines;

namespace {
pid_t g_pid = -1;
int g_in = -1, g_out = -1;   // the player's standard input and output
std::string g_buffered;
}  // namespace

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!ok) ++g_failures;
}

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

void StartPlayer(const std::vector<std::string>& args) {
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, in[1]);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<std::string> words = {"/proc/self/exe", "--player"};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  if (posix_spawn(&g_pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  g_in = in[1];
  g_out = out[0];
  fcntl(g_out, F_SETFL, O_NONBLOCK);
}

void ReadPlayer() {
  char buffer[1024];
  ssize_t n;
  while (g_out >= 0 && (n = read(g_out, buffer, sizeof buffer)) > 0) g_buffered.append(buffer, size_t(n));
  for (size_t eol; (eol = g_buffered.find('\n')) != std::string::npos; g_buffered.erase(0, eol + 1))
    g_playerLines.push_back(g_buffered.substr(0, eol));
}

void StopPlayer(bool kill, const std::function<void()>& idle) {
  if (g_pid < 0) return;
  if (kill) ::kill(g_pid, SIGKILL);
  close(g_in);
  const auto start = Clock::now();
  int status = 0;
  while (waitpid(g_pid, &status, WNOHANG) == 0) {
    if (MsSince(start) > 5000) {
      ::kill(g_pid, SIGKILL);
      waitpid(g_pid, &status, 0);
      break;
    }
    idle();
    usleep(1000);
  }
  close(g_out);
  g_pid = g_out = -1;
}

uint16_t FreePort(int type) {
  const int fd = socket(AF_INET, type, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof at;
  bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at);
  getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length);
  close(fd);
  return ntohs(at.sin_port);
}
