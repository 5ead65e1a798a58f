// render.cpp: `korvoui render` opens dialogs of the UI script, draws one frame
// on the reference host and writes it as a PNG, with a summary of the
// textures that could not be loaded.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "tools/korvoui/host_game.h"
#include "tools/korvoui/options.h"
#include "tools/korvoui/verbs.h"

namespace {

// A dark grey-blue, so that black art and missing textures still stand out.
constexpr uint32_t kRenderClearRgb = 0x202028;

int Usage() {
  std::fprintf(stderr,
               "usage: korvoui render [--root DIR] [--screen WxH] [--profile DIR] [--tick MS] DIALOG... "
               "-o OUT.png\n");
  return 2;
}

// Fails with the module's last error, released and with status 1.
int Failed(const char* what) {
  std::printf("%s: %s\n", what, GUI_GetLastError());
  GUI_Release();
  StopHostGame();
  return 1;
}

}  // namespace

int RunRender(int argc, char** argv) {
  ToolOptions options;
  if (!ParseToolOptions(argc, argv, &options, {"--tick", "--profile"})) return Usage();
  std::vector<std::string> dialogs;
  std::string out;
  long tick = 0;
  for (size_t i = 0; i < options.positional.size(); ++i) {
    const std::string& a = options.positional[i];
    const bool hasValue = i + 1 < options.positional.size();
    if (a == "-o" && hasValue) {
      out = options.positional[++i];
    } else if (a == "--tick" && hasValue) {
      char* end = nullptr;
      tick = std::strtol(options.positional[++i].c_str(), &end, 10);
      if (*end || tick < 0) return Usage();
    } else if (a[0] == '-') {
      return Usage();
    } else {
      dialogs.push_back(a);
    }
  }
  if (dialogs.empty() || out.empty()) return Usage();
  if (!PrepareHost(options)) return 2;
  // The game data always; the profile folder only when asked for, so that a
  // render never touches the player's own.
  StartHostGame(options, "render");
  korvohost::SetTick(uint32_t(tick));

  GUI_Initialize();
  if (!GUI_Compile()) return Failed("GUI_Compile");
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
