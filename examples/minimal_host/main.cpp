// main.cpp: the smallest host of the module. It mounts a game folder on the
// reference host, compiles the folder's UI script, opens a dialog, runs one
// frame (GUI_Update, GUI_Draw) and prints what the frame drew.
//
//   minimal_host [ROOT [DIALOG [OUT.png]]]
#include <cstdio>
#include <string>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"

int main(int argc, char** argv) {
  const std::string root = argc > 1 ? argv[1] : MINIMAL_HOST_ROOT;
  const std::string dialog = argc > 2 ? argv[2] : "HELLOMENU";

  // The host side: the game file system and the screen.
  std::string error;
  if (!korvohost::Mount(root, &error)) {
    std::fprintf(stderr, "minimal_host: cannot mount %s: %s\n", root.c_str(), error.c_str());
    return 1;
  }
  korvohost::SetScreen(640, 480);

  // The module: classes, the compiled script, the first screen.
  GUI_Initialize();
  if (!GUI_Compile() || !GUI_CreateDialog(dialog.c_str())) {
    std::fprintf(stderr, "minimal_host: %s\n", GUI_GetLastError());
    GUI_Release();
    return 1;
  }

  // One frame.
  korvohost::BeginFrame(0x202028);
  GUI_Update();
  GUI_Draw();

  std::printf("minimal_host: %s open, %zu draws in a %dx%d frame\n", dialog.c_str(),
              korvohost::DrawList().size(), korvohost::FrameWidth(), korvohost::FrameHeight());
  for (const korvohost::DrawRecord& draw : korvohost::DrawList())
    if (draw.kind == korvohost::DrawKind::Text && !draw.text.empty())
      std::printf("text \"%s\" at %d,%d\n", draw.text.c_str(), draw.x, draw.y);
  if (argc > 3 && !korvohost::WriteFramePng(argv[3], &error)) {
    std::fprintf(stderr, "minimal_host: cannot write %s: %s\n", argv[3], error.c_str());
    GUI_Release();
    return 1;
  }
  GUI_Release();
  return 0;
}
