// observe.h: how tools describe windows: names, the one-line `ctrl` record,
// list rows and the absolute rectangle a click aims at.
#pragma once
#include <string>

class CGUI_Window;

// The window's id, or "(CLASS)" when its id is empty; "none" for null.
std::string WindowName(CGUI_Window* w);
// "ctrl ID class=... caption=... created=B hidden=B hittest=B fg=N" and the
// fields of the window's kind.
std::string CtrlLine(CGUI_Window* w, bool isDialog);
// The absolute rectangle (x, y, w, h) of the window's aligned region.
void AbsoluteRect(CGUI_Window* w, float out[4]);
// "rows ID count=N sel=S top=T" and a line per row; false when w is no list.
bool RowsText(CGUI_Window* w, std::string* out);
