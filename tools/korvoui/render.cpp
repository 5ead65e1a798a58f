// render.cpp: `korvoui render` opens dialogs of the UI script, draws one frame
// on the reference host and writes it as a PNG, with a summary of the
// textures that could not be loaded.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "tools/korvoui/host_game.h"
#include "tools/korvoui/match_flow.h"
#include "tools/korvoui/options.h"
#include "tools/korvoui/usage.h"
#include "tools/korvoui/verbs.h"

namespace {

// A dark grey-blue, so that black art and missing textures still stand out.
constexpr uint32_t kRenderClearRgb = 0x202028;

int Usage() { return UsageError("render"); }

// Fails with the module's last error, released and with status 1.
int Failed(const char* what) {
  std::printf("%s: %s\n", what, GUI_GetLastError());
  GUI_Release();
  StopHostGame();
  return 1;
}

// Plays the match from the frame clock's start to `at` milliseconds later, in
// frames of kMatchFrameMs, as the game would: the flow's exports, then the
// module's update.
constexpr uint32_t kMatchFrameMs = 50;

bool PlayMatch(const std::string& line, uint32_t start, uint32_t at) {
  std::string error;
  if (!StartMatchFromLine(line, &error)) {
    std::printf("no match: %s\n", error.c_str());
    return false;
  }
  CMatchFlow flow;
  for (uint32_t t = 0;; t += kMatchFrameMs) {
    korvohost::SetTick(start + std::min(t, at));
    flow.Update();
    GUI_Update();
    if (t >= at) break;
  }
  return true;
}

}  // namespace

int RunRender(int argc, char** argv) {
  ToolOptions options;
  if (!ParseToolOptions(argc, argv, &options,
                        {"--tick", "--profile", "--match", "--frags", "--time", "--bots", "--seed", "--at"}))
    return Usage();
  std::vector<std::string> dialogs;
  std::string out, match;
  long tick = 0, at = 0;
  for (size_t i = 0; i < options.positional.size(); ++i) {
    const std::string& a = options.positional[i];
    const bool hasValue = i + 1 < options.positional.size();
    if (a == "-o" && hasValue) {
      out = options.positional[++i];
    } else if ((a == "--tick" || a == "--at") && hasValue) {
      char* end = nullptr;
      const long n = std::strtol(options.positional[++i].c_str(), &end, 10);
      if (*end || n < 0 || n > 24L * 3600 * 1000) return Usage();
      (a == "--tick" ? tick : at) = n;
    } else if (TakeMatchOption(options.positional, &i, &match)) {
      continue;
    } else if (a[0] == '-') {
      return Usage();
    } else {
      dialogs.push_back(a);
    }
  }
  if (out.empty() || (dialogs.empty() && match.empty())) return Usage();
  if (!match.empty() && match.find(" rule=") == std::string::npos) return Usage();
  if (!PrepareHost(options)) return 2;
  // The game data always; the profile folder only when asked for, so that a
  // render never touches the player's own.
  StartHostGame(options, "render");
  korvohost::SetTick(uint32_t(tick));

  GUI_Initialize();
  if (!GUI_Compile()) return Failed("GUI_Compile");
  if (!match.empty() && !PlayMatch(match, uint32_t(tick), uint32_t(at))) {
    GUI_Release();
    StopHostGame();
    return 1;
  }
  for (const std::string& dialog : dialogs)
    if (!GUI_CreateDialog(dialog.c_str())) return Failed(("GUI_CreateDialog " + dialog).c_str());
  korvohost::BeginFrame(kRenderClearRgb);
  GUI_Update();
  GUI_Draw();

  std::string error;
  if (!korvohost::WriteFramePng(out, &error)) {
    std::fprintf(stderr, "korvoui: cannot write %s: %s\n", out.c_str(), error.c_str());
    GUI_Release();
    StopHostGame();
    return 1;
  }
  const std::vector<std::string> missing = korvohost::MissingTextures();
  std::printf("wrote %s (%dx%d), %zu missing texture%s\n", out.c_str(), korvohost::FrameWidth(),
              korvohost::FrameHeight(), missing.size(), missing.size() == 1 ? "" : "s");
  for (const std::string& path : missing) std::printf("  missing: %s\n", path.c_str());
  GUI_Release();
  ReportProfileMessages("render");
  StopHostGame();
  return 0;
}
