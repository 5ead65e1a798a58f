// simple_controls.h: the standard controls that only name their class:
// "CUSTOM", "BUTTON", "BITMAP" and "PUSHBUTTON". Id-bound and game classes
// derive from them to give them behaviour and a look.
#pragma once
#include "runtime/control.h"

// A placeholder area; never the hover window itself.
class CGUI_Custom : public CGUI_Control {
 public:
  CGUI_Custom();
};

class CGUI_Button : public CGUI_Control {
 public:
  CGUI_Button();
};

// A picture; never the hover window itself.
class CGUI_Bitmap : public CGUI_Control {
 public:
  CGUI_Bitmap();
};

class CGUI_PushButton : public CGUI_Control {
 public:
  CGUI_PushButton();
};
