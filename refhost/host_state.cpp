// host_state.cpp: the reference host's clock, screen, flags, sound and command
// records and message strings.
#include <algorithm>
#include <cstring>
#include <functional>
#include <map>

#include "host/host_services.h"
#include "refhost/game_state.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "refhost/script_player.h"
#include "refhost/sim_match.h"
#include "refhost/sim_mission.h"

// ---- Host globals ------------------------------------------------------------------------
uint32_t dwY3DCurrentFrameTick = 0;
int SCREEN_X = 1024;
int SCREEN_Y = 768;
int bConsole = 0;
int bSystemMenu = 0;
int bChatInputMode = 0;
int bSceneActive = 0;
int bServerSystem = 0;
int bHalt = 0;
int DebugMode = 0;
char KORVO_VERSION[32] = "100";
int bInputEvent = 0;
int bY3DFrameSkip = 1;
int ViewP = 0;

namespace {

struct Records {
  std::vector<int> sounds;
  std::vector<std::string> commands;
  std::vector<std::pair<int, uint32_t>> renderStates;
  std::map<int, std::string> strings;
  int mouseCursorDepth = 0;
  int ambientLight = 0;
};

Records& R() {
  static Records records;
  return records;
}

// Every int host variable the control API reaches by name.
const std::map<std::string, int*>& Vars() {
  static const std::map<std::string, int*> vars = {
      {"SCREEN_X", &SCREEN_X},       {"SCREEN_Y", &SCREEN_Y},
      {"bConsole", &bConsole},       {"bSystemMenu", &bSystemMenu},
      {"bChatInputMode", &bChatInputMode}, {"bSceneActive", &bSceneActive},
      {"bServerSystem", &bServerSystem},   {"bHalt", &bHalt},
      {"DebugMode", &DebugMode},     {"bInputEvent", &bInputEvent},
      {"bY3DFrameSkip", &bY3DFrameSkip}, {"ViewP", &ViewP},
      {"bInvertMouseH", &bInvertMouseH}, {"bInvertMouseV", &bInvertMouseV},
      {"iMouseSensitivity", &iMouseSensitivity},
  };
  return vars;
}

}  // namespace

// ---- Host services -----------------------------------------------------------------------

void EnterMouseCursorMode() { ++R().mouseCursorDepth; }
void LeaveMouseCursorMode() { --R().mouseCursorDepth; }
void SetAmbientLight(int level) { R().ambientLight = level; }

void PlaySoundA(int id) { R().sounds.push_back(id); }

int Res_LoadString(int id, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  auto it = R().strings.find(id);
  if (it == R().strings.end()) {
    buffer[0] = 0;
    return 0;
  }
  const int n = static_cast<int>(std::min<size_t>(it->second.size(), size_t(size - 1)));
  std::memcpy(buffer, it->second.data(), n);
  buffer[n] = 0;
  return n;
}

namespace {
// What the game executable does with a console line; set by the tools.
std::function<void(const std::string&)>& CommandHandler() {
  static std::function<void(const std::string&)> handler;
  return handler;
}
}  // namespace

// Every line is recorded; outside sessions the script player also runs the
// script commands among them, and the tools' handler runs the rest.
void ExecuteCommand(const char* line) {
  const std::string text = line ? line : "";
  R().commands.push_back(text);
  korvohost::ScriptCommand(line);
  if (CommandHandler()) CommandHandler()(text);
}

// ---- Control API -------------------------------------------------------------------------

namespace korvohost {

void SetSystemTime(uint32_t ms) { Game().systemTime = ms; }

void SetTick(uint32_t ms) {
  dwY3DCurrentFrameTick = ms;
  StepScripts(ms);
  StepSimMission(ms);
  StepSimMatch(ms);
}

void SetScreen(int width, int height) {
  SCREEN_X = width;
  SCREEN_Y = height;
}

bool SetVar(const std::string& name, int value) {
  auto it = Vars().find(name);
  if (it == Vars().end()) return false;
  *it->second = value;
  return true;
}

bool GetVar(const std::string& name, int* value) {
  auto it = Vars().find(name);
  if (it == Vars().end()) return false;
  *value = *it->second;
  return true;
}

std::vector<std::string> VarNames() {
  std::vector<std::string> names;
  for (const auto& entry : Vars()) names.push_back(entry.first);
  return names;
}

void SetCommandHandler(std::function<void(const std::string&)> handler) {
  CommandHandler() = std::move(handler);
}

int MouseCursorDepth() { return R().mouseCursorDepth; }
int AmbientLight() { return R().ambientLight; }

std::vector<int> TakeSounds() {
  std::vector<int> taken;
  taken.swap(R().sounds);
  return taken;
}

void RecordRenderState(int state, uint32_t value) { R().renderStates.emplace_back(state, value); }

std::vector<std::pair<int, uint32_t>> TakeRenderStates() {
  std::vector<std::pair<int, uint32_t>> taken;
  taken.swap(R().renderStates);
  return taken;
}

std::vector<std::string> TakeCommands() {
  std::vector<std::string> taken;
  taken.swap(R().commands);
  return taken;
}

void SetString(int id, const std::string& text) { R().strings[id] = text; }
void ClearStrings() { R().strings.clear(); }

void Reset() {
  Unmount();
  ClearOverlay();
  R() = Records();
  dwY3DCurrentFrameTick = 0;
  SCREEN_X = 1024;
  SCREEN_Y = 768;
  ResetHostScalars();
  ResetGraphics();
  ResetScriptPlayer();
}

void ResetHostScalars() {
  bConsole = bSystemMenu = bChatInputMode = bSceneActive = bServerSystem = bHalt = DebugMode = 0;
  std::strcpy(KORVO_VERSION, "100");
  bInputEvent = ViewP = bInvertMouseH = bInvertMouseV = iMouseSensitivity = 0;
  bY3DFrameSkip = 1;
  R().mouseCursorDepth = 0;
  R().ambientLight = 0;
  ResetGame();
}

}  // namespace korvohost
