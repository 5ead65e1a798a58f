// simple_controls.cpp: constructors of the class-name-only standard controls.
#include "runtime/simple_controls.h"

CGUI_Custom::CGUI_Custom() : CGUI_Control("CUSTOM") { hitTest_ = false; }

CGUI_Button::CGUI_Button() : CGUI_Control("BUTTON") {}

CGUI_Bitmap::CGUI_Bitmap() : CGUI_Control("BITMAP") { hitTest_ = false; }

CGUI_PushButton::CGUI_PushButton() : CGUI_Control("PUSHBUTTON") {}
