// player_processes.cpp: starting, telling, reading and stopping the live
// tests' players.
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

std::vector<SPlayer> g_players;
int g_failures = 0;

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

size_t StartPlayer(const std::vector<std::string>& args) {
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
  SPlayer player;
  if (posix_spawn(&player.pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  player.in = in[1];
  player.out = out[0];
  fcntl(player.out, F_SETFL, O_NONBLOCK);
  g_players.push_back(player);
  return g_players.size() - 1;
}

void ReadPlayers() {
  for (SPlayer& p : g_players) {
    char buffer[1024];
    ssize_t n;
    while (p.out >= 0 && (n = read(p.out, buffer, sizeof buffer)) > 0) p.buffered.append(buffer, size_t(n));
    for (size_t eol; (eol = p.buffered.find('\n')) != std::string::npos; p.buffered.erase(0, eol + 1))
      p.lines.push_back(p.buffered.substr(0, eol));
  }
}

void StopPlayer(size_t player, bool kill, const std::function<void()>& idle) {
  SPlayer& p = g_players[player];
  if (p.pid < 0) return;
  if (kill) ::kill(p.pid, SIGKILL);
  close(p.in);
  const auto start = Clock::now();
  int status = 0;
  while (waitpid(p.pid, &status, WNOHANG) == 0) {
    if (MsSince(start) > 5000) {
      ::kill(p.pid, SIGKILL);
      waitpid(p.pid, &status, 0);
      break;
    }
    if (idle) idle();
    usleep(1000);
  }
  close(p.out);
  p.pid = -1;
  p.out = -1;
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
