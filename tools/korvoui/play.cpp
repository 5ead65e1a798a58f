// play.cpp: `korvoui play` opens an SDL window and drives the module as the
// game would: mouse, keys, text and IME composition in, the cursor's place
// told every frame, one GUI_Update and GUI_Draw per displayed frame, the
// reference host's frame shown, sounds played. The UI script reloads when its file changes; F12 shows the
// inspector.
#include <SDL2/SDL.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "netkorvo/netkorvo.h"
#include "refhost/game_state.h"
#include "refhost/host_script.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"
#include "refhost/profile_store.h"
#include "refhost/sim_mission.h"
#include "tools/korvoui/host_game.h"
#include "tools/korvoui/hot_reload.h"
#include "tools/korvoui/inspector.h"
#include "tools/korvoui/local_lobby.h"
#include "tools/korvoui/options.h"
#include "tools/korvoui/overlay_text.h"
#include "tools/korvoui/match_flow.h"
#include "tools/korvoui/play_events.h"
#include "tools/korvoui/play_input.h"
#include "tools/korvoui/play_sound.h"
#include "tools/korvoui/usage.h"
#include "tools/korvoui/verbs.h"

namespace {

constexpr uint32_t kPlayClearRgb = 0x101014;
constexpr uint32_t kWatchIntervalMs = 300;
constexpr uint32_t kFrameMsWithoutVsync = 16;

struct PlayOptions {
  ToolOptions tool;
  std::string start = "MAINMENU";
  std::string events;   // test input script, or ""
  bool lan = true;       // the network stand-in plays on the real local network
  std::string match;     // a host script's match line for --match, or ""
  std::string lobbyAddress, lobbyPort;   // --lobby ADDRESS:PORT[,ADDRESS:PORT...], the online lobby server(s)
  std::string lobbyCa, lobbyPin;         // --lobby-ca FILE, --lobby-pin SHA256: TLS to it
  int missionSpeed = 1;  // --mission-speed N: mission steps per step of the frame clock
};

bool ParsePlayOptions(int argc, char** argv, PlayOptions* options) {
  if (!ParseToolOptions(argc, argv, &options->tool,
                        {"--start", "--events", "--profile", "--no-lan", "--lobby", "--lobby-ca", "--lobby-pin",
                         "--match", "--frags", "--time", "--bots", "--seed", "--mission-speed"}))
    return false;
  if (options->tool.profile.empty()) options->tool.profile = korvohost::DefaultProfileDir();
  const std::vector<std::string>& args = options->tool.positional;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--no-lan") {
      options->lan = false;
      continue;
    }
    if (i + 1 >= args.size()) return false;
    if (TakeMatchOption(args, &i, &options->match)) continue;
    if (args[i] == "--start") {
      options->start = args[++i];
    } else if (args[i] == "--events") {
      options->events = args[++i];
    } else if (args[i] == "--mission-speed") {
      const std::string& n = args[++i];
      if (n.empty() || n.size() > 3 || n.find_first_not_of("0123456789") != std::string::npos) return false;
      options->missionSpeed = std::stoi(n);
      if (options->missionSpeed < 1 || options->missionSpeed > korvohost::kMaxSimMissionSpeed) return false;
    } else if (args[i] == "--lobby") {
      // ADDRESS:PORT, or a list of lobby nodes "A:P,B:Q": the last port is the
      // stored default port, the rest the stored address list (the online
      // client reads both items with their ports).
      const std::string& at = args[++i];
      const size_t colon = at.rfind(':');
      if (colon == std::string::npos || colon == 0 || colon + 1 == at.size()) return false;
      options->lobbyAddress = at.substr(0, colon);
      options->lobbyPort = at.substr(colon + 1);
    } else if (args[i] == "--lobby-ca") {
      options->lobbyCa = args[++i];
    } else if (args[i] == "--lobby-pin") {
      options->lobbyPin = args[++i];
    } else {
      return false;
    }
  }
  return true;
}

// The UI script on disk when the root is a folder; "" for a .zip root.
std::string WatchedScriptPath(const ToolOptions& options) {
  const std::string root = options.root.empty() ? DefaultAssetRoot() : options.root;
  struct stat st;
  if (stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return "";
  return root + "/" + kUIScriptPath;
}

// ---- The play session -----------------------------------------------------------------

class PlaySession {
 public:
  PlaySession(const PlayOptions& options, SDL_Window* window, SDL_Renderer* renderer)
      : options_(options), window_(window), renderer_(renderer),
        watch_(WatchedScriptPath(options.tool)) {
    status_.scriptPath = WatchedScriptPath(options.tool);
    SDL_RendererInfo info;
    vsync_ = SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC);
  }
  ~PlaySession() {
    if (texture_) SDL_DestroyTexture(texture_);
  }
  PlaySession(const PlaySession&) = delete;
  PlaySession& operator=(const PlaySession&) = delete;

  // Runs until the window closes; the exit status.
  int Run();

 private:
  void Start();
  bool StartMatch();   // --match; false when it cannot start
  bool HandleEvent(const SDL_Event& e);   // false: quit
  void PollReload(uint32_t now);
  void Reload();
  void DrawFrame();
  void NoteRawKey(int scancode, bool down);
  void PressKey(int virtualKey);
  void NoteRawButton(int button, bool down);
  void FeedRawInput();
  void DrawOverlays();
  void Present();

  const PlayOptions& options_;
  SDL_Window* window_;
  SDL_Renderer* renderer_;
  SDL_Texture* texture_ = nullptr;
  bool vsync_ = false;
  FileWatch watch_;
  uint32_t lastWatch_ = 0;
  PlayStatus status_;
  bool failed_ = false;             // the script does not compile
  ReloadError error_;
  bool inspector_ = false;
  bool composing_ = false;
  float mouse_[2] = {0, 0};
  bool mouseKnown_ = false;         // a motion told where the cursor is
  SoundPlayer sound_;
  PlayEvents events_;
  CMatchFlow match_;
  bool rawKeys_[256] = {}, rawKeysSeen_[256] = {};
  bool rawButtons_[4] = {}, rawButtonsSeen_[4] = {};
};

void PlaySession::Start() {
  GUI_Initialize();
  if (!GUI_Compile()) {
    std::string text;
    korvohost::ReadFile(kUIScriptPath, &text);
    failed_ = true;
    error_.error = GUI_GetLastError();
    error_.diagnostic = DiagnoseCompileError(error_.error, text);
    std::fprintf(stderr, "%s\n%s", error_.error.c_str(),
                 FormatDiagnostic(status_.scriptPath, error_.error, error_.diagnostic).c_str());
    return;
  }
  if (!GUI_NextDialog(options_.start.c_str()))
    std::fprintf(stderr, "korvoui play: %s\n", GUI_GetLastError());
}

bool PlaySession::StartMatch() {
  if (options_.match.empty()) return true;
  std::string error;
  if (StartMatchFromLine(options_.match, &error)) return true;
  std::fprintf(stderr, "korvoui play: no match: %s\n", error.c_str());
  return false;
}

bool PlaySession::HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      return false;
    case SDL_MOUSEMOTION: {
      int w, h;
      SDL_GetWindowSize(window_, &w, &h);
      mouse_[0] = float(e.motion.x) / float(w);
      mouse_[1] = float(e.motion.y) / float(h);
      mouseKnown_ = true;
      GUI_MouseMove(mouse_[0], mouse_[1]);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      NoteRawButton(e.button.button - 1, e.type == SDL_MOUSEBUTTONDOWN);
      if (e.button.button != SDL_BUTTON_LEFT) break;
      if (e.type == SDL_MOUSEBUTTONDOWN) GUI_LButtonDown();
      else GUI_LButtonUp();
      break;
    case SDL_KEYUP:
      NoteRawKey(e.key.keysym.scancode, false);
      if (e.key.keysym.sym == SDLK_TAB) match_.OnScoreKey(false);
      break;
    case SDL_KEYDOWN: {
      NoteRawKey(e.key.keysym.scancode, true);
      const SDL_Keycode key = e.key.keysym.sym;
      if (key == SDLK_F12) {
        if (!e.key.repeat) inspector_ = !inspector_;
        break;
      }
      const bool enter = key == SDLK_RETURN || key == SDLK_KP_ENTER;
      // The match's chat line takes Enter and Escape itself, before the match's keys.
      if (bChatInputMode && match_.Active() && (enter || key == SDLK_ESCAPE)) {
        PressKey(VirtualKeyOf(key));
        break;
      }
      if ((key == SDLK_ESCAPE && match_.OnEscape()) || (key == SDLK_TAB && match_.OnScoreKey(true)) ||
          (enter && match_.OnChatKey()))
        break;
      if (key == SDLK_ESCAPE && GetRootWindow()->Children().empty()) return false;
      if (const int vk = VirtualKeyOf(key)) PressKey(vk);
      break;
    }
    case SDL_TEXTEDITING: {
      char lead, trail;
      CompositionBytes(e.edit.text, kHostCodePage, &lead, &trail);
      composing_ = lead != 0;
      GUI_CompositionChar(lead, trail);
      break;
    }
    case SDL_TEXTINPUT: {
      if (composing_) {
        GUI_CompositionChar(0, 0);
        composing_ = false;
      }
      std::string bytes;
      Utf8ToCodePage(e.text.text, kHostCodePage, &bytes);
      for (char c : bytes) GUI_Char(c);
      break;
    }
    default:
      break;
  }
  return true;
}

// As a game window: the key-down, then the character the key makes (Enter
// gives 13, Escape 27, Backspace 8, Tab 9), which text input does not bring.
void PlaySession::PressKey(int virtualKey) {
  GUI_KeyDown(virtualKey);
  if (const char ch = CharacterOfKey(virtualKey)) GUI_Char(ch);
}

void PlaySession::PollReload(uint32_t now) {
  if (status_.scriptPath.empty() || now - lastWatch_ < kWatchIntervalMs) return;
  lastWatch_ = now;
  if (watch_.Changed()) Reload();
}

void PlaySession::Reload() {
  std::vector<std::string> lost;
  ++status_.reloads;
  if (!ReloadScript(&error_, &lost)) {
    failed_ = true;
    const ScriptDiagnostic& d = error_.diagnostic;
    status_.reloadText = "error " + (d.positioned ? std::to_string(d.line) + ":" +
                                                        std::to_string(d.column) + " " + d.message
                                                  : error_.error);
    std::fprintf(stderr, "korvoui play: the script does not compile; the screens stay as they were\n%s\n%s",
                 error_.error.c_str(),
                 FormatDiagnostic(status_.scriptPath, error_.error, error_.diagnostic).c_str());
    return;
  }
  failed_ = false;
  status_.reloadText = "ok";
  if (GetRootWindow()->Children().empty() && DialogStack().empty())
    GUI_NextDialog(options_.start.c_str());
  if (!lost.empty()) {
    std::string ids;
    for (const std::string& id : lost) ids += (ids.empty() ? "" : " ") + id;
    status_.reloadText += " (lost: " + ids + ")";
    std::fprintf(stderr, "korvoui play: reloaded; no longer in the script: %s\n", ids.c_str());
  } else {
    std::fprintf(stderr, "korvoui play: reloaded %s\n", status_.scriptPath.c_str());
  }
}

void PlaySession::DrawOverlays() {
  if (inspector_) {
    OverlayPanel panel(0xD0283848);
    for (const std::string& line : InspectorLines(mouse_)) panel.Add(line);
    panel.Draw(8, 8, false);
  }
  if (failed_) {
    OverlayPanel panel(0xE0300808);
    const ScriptDiagnostic& d = error_.diagnostic;
    panel.Add("The UI script does not compile; the screens stay as they were until it does.",
              kOverlayAccent);
    panel.Add(error_.error, kOverlayError);
    if (d.positioned) {
      panel.Add(status_.scriptPath + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) +
                ": error: " + d.message);
      panel.AddSourceLine(d.source, d.column);
      if (!d.hint.empty()) panel.Add("hint: " + d.hint, kOverlayAccent);
      for (const ScriptNote& n : d.notes)
        panel.Add(status_.scriptPath + ":" + std::to_string(n.place.line) + ":" +
                      std::to_string(n.place.column) + ": note: " + n.text,
                  kOverlayAccent);
    }
    panel.Draw(8, korvohost::FrameHeight() - 8, true);
  }
}

// The raw keyboard and mouse state the game hands to its input handlers each
// frame (the controls page captures a key this way): 0x80 at every scan code
// and button held, or pressed since the last frame (a press and release
// within one frame still counts, as a buffered device reports it).
void PlaySession::NoteRawKey(int scancode, bool down) {
  if (scancode < 0 || scancode >= 256) return;
  rawKeys_[scancode] = down;
  if (down) rawKeysSeen_[scancode] = true;
}

void PlaySession::NoteRawButton(int button, bool down) {
  if (button < 0 || button >= 4) return;
  rawButtons_[button] = down;
  if (down) rawButtonsSeen_[button] = true;
}

void PlaySession::FeedRawInput() {
  uint8_t keys[256] = {};
  for (int i = 0; i < 256; ++i)
    if (rawKeys_[i] || rawKeysSeen_[i]) keys[i] = 0x80;
  SRawMouseState mouse{};
  for (int b = 0; b < 4; ++b)
    if (rawButtons_[b] || rawButtonsSeen_[b]) mouse.buttons[b] = 0x80;
  std::fill(std::begin(rawKeysSeen_), std::end(rawKeysSeen_), false);
  std::fill(std::begin(rawButtonsSeen_), std::end(rawButtonsSeen_), false);
  int called = 0, removed = 0;
  korvohost::RunInputHandlers(keys, &mouse, &called, &removed);
}

void PlaySession::DrawFrame() {
  // The pilot fires while Space or the left button is held and no menu is open.
  korvohost::SetSimMissionTrigger((rawKeys_[SDL_SCANCODE_SPACE] || rawButtons_[0]) && match_.MissionControls());
  korvohost::SetTick(SDL_GetTicks());
  korvohost::SetSystemTime(SDL_GetTicks());   // timeGetTime runs in real time too
  korvohost::BeginFrame(kPlayClearRgb);
  netkorvo::ServiceLive();
  match_.Update();
  FeedRawInput();
  // The cursor's place every frame, as the game tells it: a screen that
  // opened under a still cursor finds its hover window before a click.
  if (mouseKnown_) GUI_MouseMove(mouse_[0], mouse_[1]);
  GUI_Update();
  GUI_Draw();
  DrawOverlays();
  for (int id : korvohost::TakeSounds()) sound_.Play(id);
  ReportProfileMessages("play");
}

void PlaySession::Present() {
  const int w = korvohost::FrameWidth(), h = korvohost::FrameHeight();
  int tw = 0, th = 0;
  if (texture_) SDL_QueryTexture(texture_, nullptr, nullptr, &tw, &th);
  if (!texture_ || tw != w || th != h) {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STREAMING, w, h);
  }
  int stride = 0;
  const uint8_t* pixels = korvohost::FramePixels(&stride);
  if (texture_) SDL_UpdateTexture(texture_, nullptr, pixels, stride);
  SDL_RenderClear(renderer_);
  if (texture_) SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

int PlaySession::Run() {
  if (!options_.events.empty()) {
    std::string error;
    if (!events_.Load(options_.events, &error)) {
      std::fprintf(stderr, "korvoui play: %s\n", error.c_str());
      return 2;
    }
  }
  Start();
  korvohost::SetTick(SDL_GetTicks());
  korvohost::SetSystemTime(SDL_GetTicks());   // timeGetTime runs in real time too
  if (!StartMatch()) {
    GUI_Release();
    return 2;
  }
  SDL_StartTextInput();
  int status = 0;
  for (bool running = true; running;) {
    const uint32_t frameStart = SDL_GetTicks();
    SDL_GetWindowSize(window_, &status_.windowWidth, &status_.windowHeight);
    if (!options_.events.empty()) {
      const PlayEvents::Step step = events_.Run(status_, frameStart);
      if (step == PlayEvents::Step::Fail) status = 1;
      if (step != PlayEvents::Step::Continue) break;
    }
    SDL_Event e;
    while (running && SDL_PollEvent(&e)) running = HandleEvent(e);
    if (!running) break;
    PollReload(frameStart);
    DrawFrame();
    Present();
    int halt = 0;
    if (korvohost::GetVar("bHalt", &halt) && halt) break;
    if (!vsync_) {
      const uint32_t spent = SDL_GetTicks() - frameStart;
      if (spent < kFrameMsWithoutVsync) SDL_Delay(kFrameMsWithoutVsync - spent);
    }
  }
  SDL_StopTextInput();
  GUI_Release();
  return status;
}

// SDL video on a real display. Without one SDL falls back to its offscreen
// driver, which shows nothing: that counts as no display unless asked for by
// SDL_VIDEODRIVER.
bool InitDisplay() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  const bool headless = driver && (!std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy"));
  if (headless && !(asked && *asked)) {
    SDL_Quit();
    SDL_SetError("SDL found only its %s video driver", driver);
    return false;
  }
  return true;
}

// The display's modes, each size once, smallest first.
std::vector<std::pair<int, int>> DisplayModes() {
  std::vector<std::pair<int, int>> modes;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w > 0 && mode.h > 0)
      modes.emplace_back(mode.w, mode.h);
  }
  std::sort(modes.begin(), modes.end());
  modes.erase(std::unique(modes.begin(), modes.end()), modes.end());
  return modes;
}

}  // namespace

int RunPlay(int argc, char** argv) {
  PlayOptions options;
  if (!ParsePlayOptions(argc, argv, &options)) return UsageError("play");
  if (!options.match.empty()) {
    std::vector<korvohost::SScriptStep> steps;
    std::vector<std::string> errors;
    if (!korvohost::ParseHostScript(options.match, "--match", &steps, &errors)) {
      for (const std::string& e : errors) std::fprintf(stderr, "korvoui play: %s\n", e.c_str());
      return 2;
    }
  }
  if (!PrepareHost(options.tool)) return 2;
  // Rooms and the local game list run live; with --no-lan they stay on this
  // machine (loopback), as in the tests.
  // The online lobby server is a stored setting of the network library:
  // --lobby names one; without it, choosing online play starts one here.
  LocalLobby localLobby;
  netkorvo::SLiveOptions live;
  live.lan = options.lan;
  if (!options.lobbyAddress.empty()) {
    live.stored["kn_server_address"] = options.lobbyAddress;
    live.stored["kn_server_port"] = options.lobbyPort;
    live.stored["kn_server_ca"] = options.lobbyCa;
    live.stored["kn_server_pin"] = options.lobbyPin;
  } else {
    live.onlineChosen = [&localLobby](std::map<std::string, std::string>& stored) { localLobby.Start(stored); };
  }
  netkorvo::UseLiveBackend(live);
  netkorvo::ServeSimMatches();   // a mission script's match line starts one
  if (!InitDisplay()) {
    std::fprintf(stderr,
                 "korvoui play: no display (%s); `korvoui render DIALOG -o OUT.png` draws a "
                 "frame without one\n",
                 SDL_GetError());
    return 1;
  }
  StartHostGame(options.tool, "play", DisplayModes());
  korvohost::SetSimMissionSpeed(options.missionSpeed);
  SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
  SDL_Window* window = SDL_CreateWindow("korvoui play", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        options.tool.screenX, options.tool.screenY, 0);
  SDL_Renderer* renderer =
      window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC) : nullptr;
  if (!renderer && window) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer) {
    std::fprintf(stderr, "korvoui play: cannot open a window: %s\n", SDL_GetError());
    if (window) SDL_DestroyWindow(window);
    StopHostGame();
    SDL_Quit();
    return 1;
  }
  int status;
  {
    PlaySession session(options, window, renderer);
    status = session.Run();
  }
  StopHostGame();
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return status;
}
