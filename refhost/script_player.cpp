// script_player.cpp: the running host scripts and the line sink.
#include "refhost/script_player.h"

#include <dlfcn.h>

#include <algorithm>

#include "host/host_services.h"
#include "refhost/host_script.h"
#include "host/session_state.h"
#include "refhost/sim_match.h"
#include "refhost/sim_mission.h"

namespace korvohost {

namespace {

struct RunningScript {
  std::string path;
  std::vector<SScriptStep> steps;
  size_t next = 0;
  uint32_t due = 0;             // frame tick at which the next step may run
  uint32_t color = kScriptDefaultColor;
  uint32_t pace = kScriptDefaultPace;
};

struct Player {
  bool enabled = false;
  NextStringFn sink = nullptr;
  NextStringFn found = nullptr;   // GUI_NextString of the loaded module
  std::vector<RunningScript> running;
  std::vector<std::string> errors;
};

Player& P() {
  static Player player;
  return player;
}

NextStringFn Sink() {
  Player& p = P();
  if (p.sink) return p.sink;
  if (!p.found) p.found = reinterpret_cast<NextStringFn>(::dlsym(RTLD_DEFAULT, "GUI_NextString"));
  return p.found;
}

bool Due(uint32_t now, uint32_t due) { return int32_t(now - due) >= 0; }

void Send(const std::string& text, uint32_t color) {
  NextStringFn sink = Sink();
  if (!sink) return;
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back(0);
  sink(buffer.data(), color);
}

void Start(const std::string& path) {
  Player& p = P();
  p.running.erase(std::remove_if(p.running.begin(), p.running.end(),
                                 [&](const RunningScript& s) { return s.path == path; }),
                  p.running.end());
  std::string bytes;
  if (!ReadFile(path, &bytes)) {
    p.errors.push_back(path + ": no such script");
    return;
  }
  RunningScript script;
  script.path = path;
  script.due = dwY3DCurrentFrameTick;
  if (!ParseHostScript(bytes, path, &script.steps, &p.errors)) return;
  p.running.push_back(std::move(script));
}

void Stop(const std::string& path) {
  auto& running = P().running;
  running.erase(std::remove_if(running.begin(), running.end(), [&](const RunningScript& s) { return s.path == path; }),
                running.end());
}

struct Line {
  std::string text;
  uint32_t color;
};

// Runs one script's due steps, collecting its text lines; false once it has ended.
bool Advance(RunningScript& s, uint32_t now, std::vector<Line>* lines) {
  while (s.next < s.steps.size() && Due(now, s.due)) {
    const SScriptStep& step = s.steps[s.next++];
    switch (step.kind) {
      case SScriptStep::EKind::kColor: s.color = step.number; break;
      case SScriptStep::EKind::kPace: s.pace = step.number; break;
      case SScriptStep::EKind::kWait: s.due += step.number; break;
      case SScriptStep::EKind::kMission: {
        SSimMissionSetup setup;
        setup.script = s.path;
        setup.map = step.text;
        setup.enemies = int(step.number);
        setup.seed = step.seed;
        setup.timeLimitMin = step.timeLimitMin;
        std::string error;
        if (!StartSimMission(setup, &error)) P().errors.push_back(s.path + ": mission not started: " + error);
        break;
      }
      case SScriptStep::EKind::kMatch: {
        SSimMatchRequest request = step.match;
        request.setup.script = s.path;
        std::string error;
        if (!RequestSimMatch(request, &error)) P().errors.push_back(s.path + ": match not started: " + error);
        break;
      }
      case SScriptStep::EKind::kText:
        lines->push_back({step.text, s.color});
        s.due = now + s.pace;
        break;
    }
  }
  return s.next < s.steps.size();
}

}  // namespace

void SetNextStringSink(NextStringFn sink) { P().sink = sink; }

void EnableScriptPlayer(bool on) { P().enabled = on; }

void StepScripts(uint32_t now) {
  if (!P().enabled) return;
  auto& running = P().running;
  std::vector<Line> lines;
  for (size_t i = 0; i < running.size();) {
    if (Advance(running[i], now, &lines))
      ++i;
    else
      running.erase(running.begin() + long(i));
  }
  // Sent once the scripts are settled: the sink may run console lines itself.
  for (const Line& line : lines) Send(line.text, line.color);
}

std::vector<std::string> RunningScripts() {
  std::vector<std::string> paths;
  for (const RunningScript& s : P().running) paths.push_back(s.path);
  return paths;
}

std::vector<std::string> TakeScriptErrors() {
  std::vector<std::string> out;
  out.swap(P().errors);
  return out;
}

void ScriptCommand(const char* line) {
  if (!line || !P().enabled || korvostate::Recording()) return;
  const std::string text = line;
  const size_t blank = text.find(' ');
  const std::string verb = text.substr(0, blank);
  if (verb != "s_exe" && verb != "s_reset" && verb != "s_terminate") return;
  const size_t start = blank == std::string::npos ? std::string::npos : text.find_first_not_of(' ', blank);
  std::string path = start == std::string::npos ? "" : text.substr(start);
  while (!path.empty() && path.back() == ' ') path.pop_back();
  if (path.empty()) {
    P().errors.push_back(verb + ": no script named");
    return;
  }
  // A script's mission or match ends with it, and starts again with it.
  EndSimMissionOf(path);
  EndSimMatchOf(path);
  if (verb == "s_terminate")
    Stop(path);
  else
    Start(path);
}

void ResetScriptPlayer() { P() = Player(); }

}  // namespace korvohost
