// play_events.cpp: parsing and stepping the events script of `korvoui play`.
#include "tools/korvoui/play_events.h"

#include <SDL2/SDL.h>
#include <fnmatch.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "refhost/korvohost_graphics.h"
#include "runtime/list.h"
#include "runtime/module_state.h"
#include "runtime/routing.h"
#include "runtime/window_manager.h"
#include "tools/korvoui/export_calls.h"
#include "tools/korvoui/observe.h"
#include "tools/korvoui/session_script.h"

namespace {

constexpr uint32_t kReloadWaitMs = 10000;
constexpr uint32_t kRetryMs = 2500;   // over the join list's own 2 s guard on refreshing

struct Failure {
  std::string why;
};

void Need(const std::vector<std::string>& args, size_t count) {
  if (args.size() != count + 1)
    throw Failure{args[0] + " takes " + std::to_string(count) + " argument(s)"};
}

int Number(const std::string& text) {
  long long v;
  if (!ParseSessionInt(text, &v)) throw Failure{"not an integer: " + text};
  return int(v);
}

void PushMotion(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  SDL_PushEvent(&e);
}

// Left button down and up where the cursor is.
void PushPress(int x, int y) {
  for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }
}

void PushClick(int x, int y) {
  PushMotion(x, y);
  PushPress(x, y);
}

// A key press, or only its going down or up.
void PushKey(const std::string& name, bool down = true, bool up = true) {
  const SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
  if (key == SDLK_UNKNOWN) throw Failure{"unknown key " + name};
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    if (!(type == SDL_KEYDOWN ? down : up)) continue;
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&e);
  }
}

void PushText(Uint32 type, const std::string& text) {
  SDL_Event e{};
  e.type = type;
  char* dst = type == SDL_TEXTINPUT ? e.text.text : e.edit.text;
  if (text.size() >= SDL_TEXTINPUTEVENT_TEXT_SIZE) throw Failure{"text too long for one event"};
  std::memcpy(dst, text.data(), text.size());
  if (type == SDL_TEXTEDITING) {
    e.edit.start = 0;
    e.edit.length = 0;
  }
  SDL_PushEvent(&e);
}

void ReplaceFile(const std::string& from, const std::string& to) {
  std::ifstream in(from, std::ios::binary);
  if (!in) throw Failure{"cannot read " + from};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  if (!(out << bytes.str())) throw Failure{"cannot write " + to};
}

void PrintLine(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

CGUI_Window* ControlOf(const std::string& dialogId, const std::string& id) {
  CGUI_Window* dialog = FindOpenDialog(dialogId);
  return !dialog ? nullptr : dialogId == id ? dialog : dialog->FindChild(id);
}

// A click at the centre of a control of an open dialog.
void ClickOn(const std::string& dialogId, const std::string& id, const PlayStatus& status) {
  CGUI_Window* w = ControlOf(dialogId, id);
  if (!w) throw Failure{"clickon: no " + dialogId + " " + id};
  float r[4];
  AbsoluteRect(w, r);
  PushClick(int((r[0] + r[2] * 0.5f) * float(status.windowWidth)),
            int((r[1] + r[3] * 0.5f) * float(status.windowHeight)));
}

// Whether a row of the list begins with `text` (chat boxes cut their lines to
// the list's width, so a wait names the start of a line); false when the
// dialog is not open (or the control is no list).
bool HasRow(const std::string& dialogId, const std::string& id, const std::string& text, bool* open) {
  auto* list = dynamic_cast<CGUI_List*>(ControlOf(dialogId, id));
  *open = list != nullptr;
  std::string row;
  for (int i = 0; list && i < list->GetCount(); ++i)
    if (list->GetText(i, row) && row.compare(0, text.size(), text) == 0) return true;
  return false;
}

void Call(const std::vector<SessionToken>& tokens) {
  if (tokens.size() < 2) throw Failure{"call wants a function name"};
  const std::string& name = tokens[1].text;
  auto call = SessionCalls().find(name);
  if (call == SessionCalls().end()) throw Failure{"no exported function " + name};
  const std::vector<SessionToken> args(tokens.begin() + 2, tokens.end());
  if (int(args.size()) != call->second.arity)
    throw Failure{name + " takes " + std::to_string(call->second.arity) + " argument(s)"};
  std::string result, error;
  if (!call->second.invoke(args, &result, &error)) throw Failure{error};
  if (call->second.hasResult) PrintLine(name + " -> " + result);
}

void Print(const std::vector<std::string>& args, const PlayStatus& status) {
  const std::string& what = args[1];
  std::string line;
  if (what == "file") {
    if (args.size() != 3) throw Failure{"usage: print file PATH"};
    std::ifstream in(args[2], std::ios::binary);
    if (!in) {
      PrintLine("file " + args[2] + ": none");
      return;
    }
    PrintLine("file " + args[2] + ":");
    for (std::string text; std::getline(in, text);) PrintLine("  " + text);
    return;
  }
  if (what == "ctrl" || what == "rows") {
    if (args.size() != 4) throw Failure{"usage: print " + what + " DIALOG ID"};
    CGUI_Window* dialog = FindOpenDialog(args[2]);
    CGUI_Window* w = !dialog ? nullptr : args[2] == args[3] ? dialog : dialog->FindChild(args[3]);
    if (what == "ctrl") return PrintLine(w ? CtrlLine(w, w == dialog) : "ctrl: no " + args[2] + " " + args[3]);
    std::string rows;
    if (!w || !RowsText(w, &rows)) rows = "rows: no list " + args[2] + " " + args[3] + "\n";
    rows.pop_back();   // PrintLine ends the last line
    return PrintLine(rows);
  }
  if (args.size() != 2) throw Failure{"print takes 1 argument"};
  if (what == "open") {
    line = "open:";
    for (CGUI_Window* w : GetRootWindow()->Children()) line += " " + WindowName(w);
  } else if (what == "stack") {
    line = "stack:";
    for (CGUI_Window* w : DialogStack()) line += " " + (w ? WindowName(w) : std::string("-"));
  } else if (what == "focus") {
    line = "focus: " + WindowName(Routing().focus);
  } else if (what == "hover") {
    line = "hover: " + WindowName(Routing().hover);
  } else if (what == "reload") {
    line = "reload: " + (status.reloadText.empty() ? std::string("none") : status.reloadText);
  } else {
    throw Failure{"print wants open, stack, focus, hover, reload, ctrl, rows or file"};
  }
  PrintLine(line);
}

}  // namespace

bool PlayEvents::Load(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path;
    return false;
  }
  const size_t slash = path.rfind('/');
  directory_ = slash == std::string::npos ? "." : path.substr(0, slash);
  std::ostringstream text;
  text << in.rdbuf();
  for (const SessionLine& line : SplitSessionLines(text.str())) {
    const size_t first = line.body.find_first_not_of(" \t");
    if (first == std::string::npos || line.body[first] == '#') continue;
    std::vector<SessionToken> tokens;
    std::string why;
    if (!TokenizeSessionLine(line.body, &tokens, &why)) {
      *error = path + ":" + std::to_string(line.number) + ": " + why;
      return false;
    }
    Command command{line.number, {}, tokens};
    for (const SessionToken& t : tokens) command.args.push_back(t.text);
    commands_.push_back(command);
  }
  return true;
}

bool PlayEvents::Execute(const Command& c, const PlayStatus& status, uint32_t nowMs) {
  const std::string& name = c.args[0];
  if (name == "frames") {
    Need(c.args, 1);
    framesLeft_ = Number(c.args[1]);
    return true;
  }
  if (name == "move" || name == "click") {
    Need(c.args, 2);
    const int x = Number(c.args[1]), y = Number(c.args[2]);
    lastMouse_[0] = x, lastMouse_[1] = y;
    if (name == "move") PushMotion(x, y);
    else PushClick(x, y);
    return true;
  }
  if (name == "press") {
    Need(c.args, 0);
    PushPress(lastMouse_[0], lastMouse_[1]);
    return true;
  }
  if (name == "clickon") {
    Need(c.args, 2);
    CGUI_Window* dialog = FindOpenDialog(c.args[1]);
    CGUI_Window* w = !dialog ? nullptr : c.args[1] == c.args[2] ? dialog : dialog->FindChild(c.args[2]);
    if (!w) throw Failure{"clickon: no " + c.args[1] + " " + c.args[2]};
    float r[4];
    AbsoluteRect(w, r);
    lastMouse_[0] = int((r[0] + r[2] * 0.5f) * float(status.windowWidth));
    lastMouse_[1] = int((r[1] + r[3] * 0.5f) * float(status.windowHeight));
    PushClick(lastMouse_[0], lastMouse_[1]);
    return true;
  }
  if (name == "clickrow") {
    Need(c.args, 3);
    CGUI_Window* dialog = FindOpenDialog(c.args[1]);
    auto* list = dynamic_cast<CGUI_List*>(dialog ? dialog->FindChild(c.args[2]) : nullptr);
    if (!list) throw Failure{"clickrow: no list " + c.args[1] + " " + c.args[2]};
    const int row = Number(c.args[3]) - list->GetTopIndex();
    if (row < 0 || row >= list->GetVisibleRows()) throw Failure{"clickrow: row " + c.args[3] + " is not shown"};
    float corner[2];
    list->GetAlignedPos(corner, true);
    float r[4];
    AbsoluteRect(list, r);
    lastMouse_[0] = int((r[0] + r[2] * 0.5f) * float(status.windowWidth));
    lastMouse_[1] = int((corner[1] + (float(row) + 0.5f) * list->GetRowHeight()) * float(status.windowHeight));
    PushClick(lastMouse_[0], lastMouse_[1]);
    return true;
  }
  if (name == "key" || name == "keydown" || name == "keyup") {
    Need(c.args, 1);
    PushKey(c.args[1], name != "keyup", name != "keydown");
    return true;
  }
  if (name == "text" || name == "compose") {
    Need(c.args, 1);
    PushText(name == "text" ? SDL_TEXTINPUT : SDL_TEXTEDITING, c.args[1]);
    return true;
  }
  if (name == "replace-script") {
    Need(c.args, 1);
    if (status.scriptPath.empty()) throw Failure{"the script is not watched (a .zip root?)"};
    const std::string& from = c.args[1];
    ReplaceFile(from[0] == '/' ? from : directory_ + "/" + from, status.scriptPath);
    return false;
  }
  if (name == "wait-reload") {
    Need(c.args, 0);
    waitingReload_ = true;
    reloadsAtWait_ = status.reloads;
    waitDeadline_ = nowMs + kReloadWaitMs;
    return true;
  }
  if (name == "wait-open" || name == "wait-closed") {
    if (c.args.size() != 3 && (name == "wait-closed" || c.args.size() != 5))
      throw Failure{name == "wait-open" ? "wait-open takes 2 or 4 arguments" : "wait-closed takes 2 arguments"};
    const int seconds = Number(c.args[2]);
    if (seconds <= 0) throw Failure{name + " wants a dialog and seconds"};
    waitingOpen_ = c.args[1];
    if (c.args.size() == 5) retryClick_ = {c.args[3], c.args[4]};
    nextRetryMs_ = nowMs + kRetryMs;
    waitingClosed_ = name == "wait-closed";
    waitDeadline_ = nowMs + uint32_t(seconds) * 1000;
    return true;
  }
  if (name == "wait-caption" || name == "wait-match" || name == "wait-ctrl") {
    Need(c.args, 4);
    const int seconds = Number(c.args[4]);
    if (seconds <= 0) throw Failure{name + " wants a dialog, a control, a text and seconds"};
    waitingCaption_.assign(c.args.begin() + 1, c.args.begin() + 4);
    captionPattern_ = name == "wait-match";
    waitingCtrl_ = name == "wait-ctrl";
    waitDeadline_ = nowMs + uint32_t(seconds) * 1000;
    return true;
  }
  if (name == "wait-row" || name == "wait-no-row") {
    if (c.args.size() != 5 && c.args.size() != 6) throw Failure{name + " takes 4 or 5 arguments"};
    const int seconds = Number(c.args[4]);
    if (seconds <= 0) throw Failure{name + " wants a dialog, a list, a text and seconds"};
    waitingRow_ = RowWait{c.args[1], c.args[2], c.args[3], name == "wait-row"};
    if (c.args.size() == 6) retryClick_ = {c.args[1], c.args[5]};
    nextRetryMs_ = nowMs + kRetryMs;
    waitDeadline_ = nowMs + uint32_t(seconds) * 1000;
    return true;
  }
  if (name == "print") {
    if (c.args.size() < 2) throw Failure{"print wants what to print"};
    Print(c.args, status);
    return false;
  }
  if (name == "call") {
    Call(c.tokens);
    return true;
  }
  if (name == "screenshot") {
    Need(c.args, 1);
    std::string error;
    if (!korvohost::WriteFramePng(c.args[1], &error)) throw Failure{"screenshot: " + error};
    return false;
  }
  if (name == "quit") {
    Need(c.args, 0);
    quit_ = true;
    return true;
  }
  throw Failure{"unknown command " + name};
}

// A control that is not there (its dialog closed meanwhile) is not clicked.
void PlayEvents::Retry(const PlayStatus& status, uint32_t nowMs) {
  if (retryClick_.empty() || int32_t(nowMs - nextRetryMs_) < 0) return;
  nextRetryMs_ = nowMs + kRetryMs;
  if (ControlOf(retryClick_[0], retryClick_[1])) ClickOn(retryClick_[0], retryClick_[1], status);
}

PlayEvents::Step PlayEvents::Run(const PlayStatus& status, uint32_t nowMs) {
  if (quit_) return Step::Quit;
  if (framesLeft_ > 0) {
    --framesLeft_;
    return Step::Continue;
  }
  if (waitingReload_) {
    if (status.reloads == reloadsAtWait_) {
      if (int32_t(nowMs - waitDeadline_) < 0) return Step::Continue;
      std::fprintf(stderr, "korvoui play: events line %d: no reload within %u ms\n",
                   commands_[next_ - 1].line, kReloadWaitMs);
      return Step::Fail;
    }
    waitingReload_ = false;
  }
  if (!waitingOpen_.empty()) {
    if ((FindOpenDialog(waitingOpen_) != nullptr) == waitingClosed_) {
      if (int32_t(nowMs - waitDeadline_) < 0) return Retry(status, nowMs), Step::Continue;
      std::fprintf(stderr, "korvoui play: events line %d: %s did not %s in time\n", commands_[next_ - 1].line,
                   waitingOpen_.c_str(), waitingClosed_ ? "close" : "open");
      return Step::Fail;
    }
    waitingOpen_.clear();
    retryClick_.clear();
  }
  if (!waitingCaption_.empty()) {
    const std::vector<std::string>& w = waitingCaption_;
    CGUI_Window* dialog = FindOpenDialog(w[0]);
    CGUI_Window* control = !dialog ? nullptr : w[0] == w[1] ? dialog : dialog->FindChild(w[1]);
    std::string seen;
    if (control && waitingCtrl_) {
      seen = CtrlLine(control, control == dialog);
      std::string rows;
      if (RowsText(control, &rows)) seen += "\n" + rows;
    }
    const bool shows =
        control && (waitingCtrl_     ? seen.find(w[2]) != std::string::npos
                    : captionPattern_ ? fnmatch(w[2].c_str(), control->Caption().c_str(), 0) == 0
                                      : control->Caption() == w[2]);
    if (!shows) {
      if (int32_t(nowMs - waitDeadline_) < 0) return Step::Continue;
      std::fprintf(stderr, "korvoui play: events line %d: %s %s did not show \"%s\" in time\n",
                   commands_[next_ - 1].line, w[0].c_str(), w[1].c_str(), w[2].c_str());
      return Step::Fail;
    }
    waitingCaption_.clear();
  }
  if (waitingRow_) {
    RowWait& w = *waitingRow_;
    bool open = false;
    const bool has = HasRow(w.dialog, w.id, w.text, &open);
    if (w.present ? !has : (!open || has)) {
      if (int32_t(nowMs - waitDeadline_) >= 0) {
        std::fprintf(stderr, "korvoui play: events line %d: %s %s %s \"%s\" in time\n", commands_[next_ - 1].line,
                     w.dialog.c_str(), w.id.c_str(), w.present ? "did not show a row" : "still shows the row",
                     w.text.c_str());
        return Step::Fail;
      }
      Retry(status, nowMs);
      return Step::Continue;
    }
    waitingRow_.reset();
    retryClick_.clear();
  }
  while (next_ < commands_.size()) {
    const Command& c = commands_[next_++];
    try {
      if (Execute(c, status, nowMs)) return quit_ ? Step::Quit : Step::Continue;
    } catch (const Failure& f) {
      std::fprintf(stderr, "korvoui play: events line %d: %s\n", c.line, f.why.c_str());
      return Step::Fail;
    }
  }
  return Step::Continue;
}
