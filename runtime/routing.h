// routing.h: the module-wide routing state (mouse point, hover window, focus
// window) and the tree walks run every frame: hit-test search, hover update,
// Tab navigation, the draw pass and the update pass.
#pragma once

class CGUI_Window;

struct SGUI_Routing {
  float mouse[2] = {0, 0};        // last point given to GUI_MouseMove
  CGUI_Window* hover = nullptr;   // window under the mouse
  CGUI_Window* focus = nullptr;   // window that receives keys and characters
};

SGUI_Routing& Routing();

// Focus change: kill-focus to the old window, set-focus to the new one.
void SetFocusWindow(CGUI_Window* w);
// First step of Destroy: forget w as hover (no leave event) and as focus
// (with a kill-focus event).
void DropFromRouting(CGUI_Window* w);

// The deepest hit-testable window of layer `layer` under pt, or null.
CGUI_Window* SearchWindow(CGUI_Window* w, const float pt[2], int layer);
// GUI_MouseMove: search the foreground layer, then the background; send leave,
// enter and move events.
void UpdateHover(CGUI_Window* root, const float pt[2]);
// Tab (key 9): move the focus to the next tab stop of the nearest dialog.
void TabNavigate();

// Draws w's subtree windows of one layer; the number of windows visited, or -1
// when a draw failed.
int DrawTree(CGUI_Window* w, int layer);
// Both layers, background first; false when a draw failed.
bool DrawWindowTree(CGUI_Window* w);
// Update pass; false at the first failed OnUpdate (the rest is skipped).
bool UpdateTree(CGUI_Window* w);
