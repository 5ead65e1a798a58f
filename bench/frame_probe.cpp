// frame_probe.cpp: the team-match frame of frame_bench.cpp a given number of
// times, for instruction counts under callgrind (toggle collection on
// GUI_Update and GUI_Draw; the difference of two frame counts divided by
// their difference is the cost of one steady frame, the first frame's glyph
// work excluded). Usage: korvo_frame_probe [FRAMES]; prints the frames and
// the draws of the last one.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "refhost/korvohost_graphics.h"
#include "tests/unit/match_scene.h"

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 100;
  std::string error;
  if (!matchscene::Open(&error)) {
    std::fprintf(stderr, "korvo_frame_probe: %s\n", error.c_str());
    return 1;
  }
  for (int i = 0; i < frames; ++i) matchscene::Frame();
  std::printf("%d frames, %zu draws, %d windows\n", frames, korvohost::DrawList().size(),
              matchscene::OpenWindows());
  matchscene::Close();
  return 0;
}
