// hot_reload.cpp: capture and restore of the open screens, the file watch
// and the checked recompile.
#include "tools/korvoui/hot_reload.h"

#include <sys/stat.h>

#include <algorithm>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"

// ---- Open screens -------------------------------------------------------------------

namespace {

std::vector<std::string> OpenIds() {
  std::vector<std::string> ids;
  for (CGUI_Window* w : GetRootWindow()->Children()) ids.push_back(w->Id());
  return ids;
}

bool InTable(const std::string& id) {
  return DialogTable() && DialogTable()->Entries().count(id) != 0;
}

}  // namespace

OpenScreens CaptureScreens() {
  OpenScreens screens;
  screens.open = OpenIds();
  for (CGUI_Window* w : DialogStack()) screens.stack.push_back(w ? w->Id() : "");
  return screens;
}

std::vector<std::string> RestoreScreens(const OpenScreens& screens) {
  std::vector<std::string> lost;
  auto noteLost = [&lost](const std::string& id) {
    if (std::find(lost.begin(), lost.end(), id) == lost.end()) lost.push_back(id);
  };
  for (const std::string& id : screens.stack) {
    if (id.empty()) {
      GUI_NextDialog(nullptr);
    } else if (!InTable(id)) {
      noteLost(id);
    } else {
      GUI_NextDialog(id.c_str());
    }
  }
  // The dialogs wanted open, in their old order, that the new script has.
  std::vector<std::string> wanted;
  for (const std::string& id : screens.open) {
    if (InTable(id)) wanted.push_back(id);
    else noteLost(id);
  }
  for (const std::string& id : wanted)
    if (!GUI_IsDialogCreated(id.c_str())) GUI_CreateDialog(id.c_str());
  // The stack top was created first; reopen from the first place the order
  // differs so that the dialogs lie over each other as before.
  const std::vector<std::string> now = OpenIds();
  size_t same = 0;
  while (same < now.size() && same < wanted.size() && now[same] == wanted[same]) ++same;
  if (same < now.size()) {
    for (size_t i = same; i < now.size(); ++i) GUI_DestroyDialog(now[i].c_str());
    for (size_t i = same; i < wanted.size(); ++i) GUI_CreateDialog(wanted[i].c_str());
  }
  return lost;
}

// ---- File watch ---------------------------------------------------------------------

FileWatch::FileWatch(std::string path) : path_(std::move(path)), last_(Read()) {}

FileWatch::Stamp FileWatch::Read() const {
  Stamp stamp;
  struct stat st;
  if (stat(path_.c_str(), &st) != 0) return stamp;
  stamp.exists = true;
  stamp.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  stamp.size = st.st_size;
  return stamp;
}

bool FileWatch::Changed() {
  const Stamp now = Read();
  if (now == last_) return false;
  last_ = now;
  return true;
}

// ---- Reload --------------------------------------------------------------------------

bool ReloadScript(ReloadError* error, std::vector<std::string>* lost) {
  std::string text;
  if (!korvohost::ReadFile(kUIScriptPath, &text)) {
    error->error = std::string("Compile Error : ") + kUIScriptPath + " not found";
    error->diagnostic = ScriptDiagnostic();
    return false;
  }
  // Compile the new text on its own first: GUI_Compile drops the old table
  // before it knows whether the new one builds.
  CDialogTable* trial = CompileScript(text.c_str());
  if (!trial) {
    error->error = std::string("Compile Error : ") + GetErrorText();
    error->diagnostic = DiagnoseCompileError(error->error, text);
    return false;
  }
  delete trial;
  const OpenScreens screens = CaptureScreens();
  if (!GUI_Compile()) {
    error->error = GUI_GetLastError();
    error->diagnostic = DiagnoseCompileError(error->error, text);
    return false;
  }
  *lost = RestoreScreens(screens);
  return true;
}
