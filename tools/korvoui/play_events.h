// play_events.h: `korvoui play --events FILE`, a script of input and checks
// run inside the play window, one step per frame, for tests. Input goes in
// through SDL_PushEvent, so it takes the same path as a user's.
//
//   frames N              let N frames pass
//   move X Y              mouse motion to window pixel (X, Y)
//   click X Y             motion there, left button down and up
//   clickon DIALOG ID     click at the centre of a control of an open dialog
//   clickrow DIALOG ID N  click at the middle of row N (from 0) of a list
//   press                 left button down and up where the last move or
//                         click left the cursor, without motion
//   key NAME              a key press by SDL key name (Return, Escape, F12, A)
//   keydown NAME, keyup NAME
//                         the key only goes down (is held) or comes up
//   text "TEXT"           text input (UTF-8)
//   compose "TEXT"        IME pre-edit text (UTF-8); "" ends the composition
//   replace-script FILE   replaces the UI script file of the root with FILE
//                         (relative to the events file)
//   wait-reload           frames pass until the next reload (10 s at most)
//   wait-open DIALOG S [DIALOG2 ID2]
//                         frames pass until DIALOG is open (S seconds at
//                         most); ID2 of DIALOG2 is clicked every 2.5 s
//                         meanwhile, when it is there
//   wait-caption DIALOG ID "TEXT" S
//                         frames pass until that control's caption is TEXT
//                         (S seconds at most)
//   wait-match DIALOG ID "PATTERN" S
//                         the same with a shell pattern ("00:0?:*", "[0-9]*")
//   wait-closed DIALOG S  frames pass until DIALOG is not open (S seconds at most)
//   wait-ctrl DIALOG ID "TEXT" S
//                         frames pass until that control's `ctrl` line (as
//                         print ctrl shows it), or a row of a list, contains
//                         TEXT (S seconds at most)
//   wait-row DIALOG ID "TEXT" S [REFRESH]
//   wait-no-row DIALOG ID "TEXT" S [REFRESH]
//                         frames pass until a row of that list begins with
//                         TEXT (or, the dialog open, none does); REFRESH, a control of the
//                         same dialog, is clicked every 2.5 s meanwhile
//   call NAME ARGS...     calls an exported function as a session script does
//                         and prints "NAME -> RESULT" when it has a result
//   print WHAT            open, stack, focus, hover or reload, on stdout
//   print ctrl DIALOG ID  the `ctrl` line of a session script
//   print file PATH       "file PATH:" and each line of the file indented, or
//                         "file PATH: none" when it cannot be read
//   print rows DIALOG ID  the rows of a list, one line each
//   screenshot PATH       the last frame as a PNG
//   quit                  closes the window
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/korvoui/session_script.h"

// What the events script reads from the play loop.
struct PlayStatus {
  int windowWidth = 0, windowHeight = 0;
  int reloads = 0;             // reload attempts so far
  std::string reloadText;      // "ok", "ok (lost: ...)" or "error ..."; "" before any
  std::string scriptPath;      // the UI script file on disk; "" when not watched
};

class PlayEvents {
 public:
  // Reads the file; false with a reason.
  bool Load(const std::string& path, std::string* error);

  enum class Step { Continue, Quit, Fail };
  // Runs the commands of this frame: up to the first that sends input or
  // waits. On Fail the reason went to stderr.
  Step Run(const PlayStatus& status, uint32_t nowMs);

 private:
  struct Command {
    int line;
    std::vector<std::string> args;
    std::vector<SessionToken> tokens;
  };
  // True when the command ends this frame's step.
  bool Execute(const Command& command, const PlayStatus& status, uint32_t nowMs);

  std::vector<Command> commands_;
  std::string directory_;
  size_t next_ = 0;
  int framesLeft_ = 0;
  bool waitingReload_ = false;
  int reloadsAtWait_ = 0;
  uint32_t waitDeadline_ = 0;
  std::string waitingOpen_;    // wait-open: the dialog waited for
  std::vector<std::string> waitingCaption_;   // wait-caption, wait-match, wait-ctrl: dialog, id, text
  bool captionPattern_ = false;                // wait-match: the caption is a pattern
  bool waitingClosed_ = false;                 // wait-closed: waitingOpen_ is to close
  bool waitingCtrl_ = false;                  // wait-ctrl: the ctrl line contains the text
  struct RowWait {
    std::string dialog, id, text;
    bool present = true;       // wait-row; false: wait-no-row
  };
  std::optional<RowWait> waitingRow_;   // wait-row, wait-no-row
  // The control clicked again and again while a wait lasts: dialog, id.
  std::vector<std::string> retryClick_;
  uint32_t nextRetryMs_ = 0;
  // Clicks the retry control when its time has come.
  void Retry(const PlayStatus& status, uint32_t nowMs);
  bool quit_ = false;
  int lastMouse_[2] = {0, 0};  // where move, click and clickon left the cursor
};
