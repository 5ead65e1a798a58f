// layout_check.h: the layout check of `korvoui render --check`. The frame is
// drawn window by window as GUI_Draw draws it, every text of the host's draw
// list is traced to the window whose draw made it, and three faults are found:
// a text that leaves the rectangle of its window (or of a window enclosing it,
// or the screen), a text that a picture of another window (not one of its own
// members) drawn after it covers, and a text that lies over another text (of
// its own window or of another).
#pragma once
#include <string>
#include <vector>

// The slack of a text's box: its line box holds room above the capitals and
// below the baseline that the glyphs of most texts leave empty, so a box may
// reach out of its window (and into a neighbour's box) by a fifth of its
// height above and below, and by one pixel (the outline) left and right.
constexpr int kLayoutSlackDivisor = 5;
constexpr int kLayoutSlackX = 1;

struct SLayoutReport {
  int texts = 0;                    // text records traced to a window
  std::vector<std::string> faults;  // one line each
};

// Draws the open dialogs into the current frame (BeginFrame first) and checks
// the texts drawn. False when a window's draw failed (the rest is not drawn,
// as in GUI_Draw); the texts drawn until then are still checked.
bool DrawAndCheckLayout(SLayoutReport* report);
