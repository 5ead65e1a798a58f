// hot_reload.h: recompiling the UI script while `korvoui play` runs: which
// screens were open, reopening them after the compile, watching the script
// file, and keeping the old screens when the new text does not compile.
#pragma once
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

#include "tools/korvoui/diagnostics.h"

// ---- Open screens -------------------------------------------------------------------
// The open dialogs and the dialog stack of the module, by id.
struct OpenScreens {
  std::vector<std::string> open;    // the root window's children, in order
  std::vector<std::string> stack;   // bottom first; "" for a null marker
};

OpenScreens CaptureScreens();
// Reopens the screens after a compile: the stack is rebuilt bottom-up with
// GUI_NextDialog, the other dialogs are created, and the open order is put
// back. Gives the ids that the new script no longer has.
std::vector<std::string> RestoreScreens(const OpenScreens& screens);

// ---- File watch ---------------------------------------------------------------------
// Tells when a file's modification time, size or existence changed.
class FileWatch {
 public:
  explicit FileWatch(std::string path);
  // True once for each change since the last call (or since construction).
  bool Changed();
  const std::string& Path() const { return path_; }

 private:
  struct Stamp {
    bool exists = false;
    int64_t mtimeNs = 0;
    off_t size = 0;
    bool operator==(const Stamp&) const = default;
  };
  Stamp Read() const;
  std::string path_;
  Stamp last_;
};

// ---- Reload --------------------------------------------------------------------------
struct ReloadError {
  std::string error;            // "Compile Error : ..." as GUI_Compile reports it
  ScriptDiagnostic diagnostic;  // its position in the new text
};

// Recompiles the UI script (as the module reads it) and reopens the screens. A
// text that does not compile on its own leaves the module untouched: the old
// dialogs stay open and *error describes the fault. Ids that could not be
// reopened go to *lost.
bool ReloadScript(ReloadError* error, std::vector<std::string>* lost);
