// session_runner.cpp: the commands of session scripts: files of the game file
// system, exported calls, host driving and observations. Output formats are a
// contract that outside checks compare byte for byte.
#include "tools/korvoui/session_runner.h"

#include <cstdio>
#include <functional>
#include <map>

#include "foundation/report.h"
#include "korvogui/korvogui.h"
#include "platform/yprofile.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "runtime/module_state.h"
#include "runtime/routing.h"
#include "runtime/window_manager.h"
#include "tools/korvoui/export_calls.h"
#include "tools/korvoui/observe.h"
#include "tools/korvoui/session_script.h"
#include "tools/korvoui/session_state_commands.h"
#include "host/session_state.h"

namespace {

using Tokens = std::vector<SessionToken>;

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

struct Failure {
  std::string why;
};

[[noreturn]] void Fail(const std::string& why) { throw Failure{why}; }

void NeedArgs(const Tokens& t, size_t count, const char* usage) {
  if (t.size() != count + 1) Fail(std::string("usage: ") + usage);
}

double Float(const SessionToken& t) {
  double v;
  if (!ParseSessionFloat(t.text, &v)) Fail("not a number: " + t.text);
  return v;
}

long long Int(const SessionToken& t) {
  long long v;
  if (!ParseSessionInt(t.text, &v)) Fail("not an integer: " + t.text);
  return v;
}

// The open dialog DIALOG and, unless ID names the dialog itself, its control.
CGUI_Window* FindControlOf(const std::string& dialogId, const std::string& id) {
  CGUI_Window* dialog = FindOpenDialog(dialogId);
  if (!dialog) return nullptr;
  return id == dialogId ? dialog : dialog->FindChild(id);
}

// ---- Host driving ----------------------------------------------------------------------

// A new host frame with an empty draw list, as a host starts each frame: the
// list then holds the draws of the last frame only.
void StartFrame() { korvohost::BeginFrame(0x000000); }

void Click(float x, float y) {
  GUI_MouseMove(x, y);
  GUI_LButtonDown();
  GUI_LButtonUp();
  GUI_Update();
}

void CmdClickOn(const Tokens& t) {
  NeedArgs(t, 2, "clickon DIALOG ID");
  CGUI_Window* w = FindControlOf(t[1].text, t[2].text);
  if (!w) {
    Print("clickon: no " + t[1].text + " " + t[2].text);
    return;
  }
  float r[4];
  AbsoluteRect(w, r);
  Click(r[0] + r[2] * 0.5f, r[1] + r[3] * 0.5f);
}

// ---- Observations ----------------------------------------------------------------------

void CmdOpen(const Tokens& t) {
  NeedArgs(t, 0, "open");
  std::string line = "open:";
  for (CGUI_Window* w : GetRootWindow()->Children()) line.append(" ").append(WindowName(w));
  Print(line);
}

void CmdStack(const Tokens& t) {
  NeedArgs(t, 0, "stack");
  std::string line = "stack:";
  for (CGUI_Window* w : DialogStack()) line.append(" ").append(w ? WindowName(w) : "-");
  Print(line);
}

void CmdDump(const Tokens& t) {
  std::string out;
  if (t.size() == 1) {
    GetRootWindow()->Dump(out);
  } else {
    NeedArgs(t, 1, "dump [DIALOG]");
    CGUI_Window* w = FindOpenDialog(t[1].text);
    if (!w && DialogTable()) {
      auto it = DialogTable()->Entries().find(t[1].text);
      if (it != DialogTable()->Entries().end()) w = it->second;
    }
    if (!w) {
      Print("dump: no " + t[1].text);
      return;
    }
    w->Dump(out);
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void CmdCtrl(const Tokens& t) {
  NeedArgs(t, 2, "ctrl DIALOG ID");
  CGUI_Window* w = FindControlOf(t[1].text, t[2].text);
  if (!w) {
    Print("ctrl: no " + t[1].text + " " + t[2].text);
    return;
  }
  Print(CtrlLine(w, t[1].text == t[2].text));
}

void CmdRows(const Tokens& t) {
  NeedArgs(t, 2, "rows DIALOG ID");
  CGUI_Window* w = FindControlOf(t[1].text, t[2].text);
  std::string out;
  if (!w || !RowsText(w, &out)) {
    Print("rows: no " + t[1].text + " " + t[2].text);
    return;
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void CmdSounds(const Tokens& t) {
  NeedArgs(t, 0, "sounds");
  std::string line = "sounds:";
  for (int id : korvohost::TakeSounds()) line.append(" ").append(std::to_string(id));
  Print(line);
}

void CmdRenderStates(const Tokens& t) {
  NeedArgs(t, 0, "renderstates");
  for (const auto& [state, value] : korvohost::TakeRenderStates())
    Print("renderstate: " + std::to_string(state) + " " + std::to_string(value));
}

void CmdCommands(const Tokens& t) {
  NeedArgs(t, 0, "commands");
  for (const std::string& c : korvohost::TakeCommands()) Print("command: " + QuoteSessionString(c));
}

void CmdLog(const Tokens& t) {
  NeedArgs(t, 0, "log");
  for (const std::string& l : YProfile_TakeLines()) Print("log: " + QuoteSessionString(l));
}

// Critical-error reports since the last `critical`: the runner answers each
// with ignore, so the module goes on with its failure value.
std::vector<std::pair<std::string, std::string>>& CriticalReports() {
  static std::vector<std::pair<std::string, std::string>> reports;
  return reports;
}

tam::ReportAnswer RecordCritical(const char* caption, const char* text, const char*) {
  CriticalReports().emplace_back(caption, text);
  return tam::ReportAnswer::Ignore;
}

void CmdCritical(const Tokens& t) {
  NeedArgs(t, 0, "critical");
  for (const auto& [caption, text] : CriticalReports())
    Print("critical: " + QuoteSessionString(caption) + " " + QuoteSessionString(text));
  CriticalReports().clear();
}

// ---- The command table ------------------------------------------------------------------

const std::map<std::string, std::function<void(const Tokens&)>>& Commands() {
  static const std::map<std::string, std::function<void(const Tokens&)>> commands = {
      {"tick", [](const Tokens& t) { NeedArgs(t, 1, "tick MS"); korvohost::SetTick(uint32_t(Int(t[1]))); }},
      {"string",
       [](const Tokens& t) {
         NeedArgs(t, 2, "string N \"TEXT\"");
         korvohost::SetString(static_cast<int>(Int(t[1])), t[2].text);
       }},
      {"frame",
       [](const Tokens& t) {
         NeedArgs(t, 0, "frame");
         StartFrame();
         GUI_Update();
         GUI_Draw();
       }},
      {"click",
       [](const Tokens& t) {
         NeedArgs(t, 2, "click X Y");
         Click(float(Float(t[1])), float(Float(t[2])));
       }},
      {"clickon", CmdClickOn},
      {"key",
       [](const Tokens& t) {
         NeedArgs(t, 1, "key CODE");
         GUI_KeyDown(static_cast<int>(Int(t[1])));
         GUI_Update();
       }},
      {"type",
       [](const Tokens& t) {
         NeedArgs(t, 1, "type \"TEXT\"");
         for (char c : t[1].text) GUI_Char(c);
         GUI_Update();
       }},
      {"open", CmdOpen},
      {"stack", CmdStack},
      {"focus", [](const Tokens& t) { NeedArgs(t, 0, "focus"); Print("focus: " + WindowName(Routing().focus)); }},
      {"hover", [](const Tokens& t) { NeedArgs(t, 0, "hover"); Print("hover: " + WindowName(Routing().hover)); }},
      {"dump", CmdDump},
      {"ctrl", CmdCtrl},
      {"rows", CmdRows},
      {"sounds", CmdSounds},
      {"renderstates", CmdRenderStates},
      {"commands", CmdCommands},
      {"log", CmdLog},
      {"critical", CmdCritical},
      {"rmfile",
       [](const Tokens& t) {
         NeedArgs(t, 1, "rmfile PATH");
         korvohost::RemoveOverlayFile(t[1].text);
       }},
      {"filex",
       [](const Tokens& t) {
         NeedArgs(t, 2, "filex PATH \"TEXT\"");
         korvohost::OverlayFile(t[1].text, t[2].text);
       }},
  };
  return commands;
}

void CallExport(const SessionCall& call, const std::string& name, const Tokens& t) {
  const Tokens args(t.begin() + 1, t.end());
  if (call.arity >= 0 && static_cast<int>(args.size()) != call.arity)
    Fail(name + " takes " + std::to_string(call.arity) + " argument(s)");
  if (name == "GUI_Draw") StartFrame();
  std::string result, error;
  if (!call.invoke(args, &result, &error)) Fail(error);
  if (call.variable) Print(name + " = " + result);
  else if (call.hasResult) Print(name + " -> " + result);
}

// `file PATH TAG`: the raw lines up to the line that is exactly TAG.
size_t DefineFile(const std::vector<SessionLine>& lines, size_t index, const Tokens& t) {
  NeedArgs(t, 2, "file PATH TAG");
  std::string bytes;
  for (size_t i = index + 1; i < lines.size(); ++i) {
    if (lines[i].body == t[2].text) {
      korvohost::OverlayFile(t[1].text, bytes);
      return i;
    }
    bytes += lines[i].raw;
  }
  Fail("no line " + t[2].text + " ends the file block");
}

}  // namespace

int RunSession(const std::string& script) {
  tam::SetReportHandler(&RecordCritical);
  korvostate::SetRecording(true);
  const std::vector<SessionLine> lines = SplitSessionLines(script);
  for (size_t i = 0; i < lines.size(); ++i) {
    const SessionLine& line = lines[i];
    const size_t first = line.body.find_first_not_of(" \t");
    if (first == std::string::npos || line.body[first] == '#') continue;
    try {
      Tokens tokens;
      std::string error;
      if (!TokenizeSessionLine(line.body, &tokens, &error)) Fail(error);
      const std::string& name = tokens[0].text;
      if (name == "file") {
        i = DefineFile(lines, i, tokens);
      } else if (auto c = Commands().find(name); c != Commands().end()) {
        c->second(tokens);
      } else {
        bool handled = false;
        if (!RunStateCommand(tokens, &handled, &error)) Fail(error);
        if (!handled) {
          auto e = SessionCalls().find(name);
          if (e == SessionCalls().end()) Fail("unknown command " + name);
          CallExport(e->second, name, tokens);
        }
      }
    } catch (const Failure& f) {
      std::fflush(stdout);
      std::fprintf(stderr, "error: line %d: %s\n", line.number, f.why.c_str());
      return 2;
    }
    std::fflush(stdout);
  }
  return 0;
}
