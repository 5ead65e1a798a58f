// key_codes.h: the host's virtual-key codes that the module and its tools
// name (GUI_KeyDown's key). Letters and digits are their upper-case ASCII
// codes and have no names here. GUI_Char delivers Enter and Escape with the
// same codes, so character handlers compare with VK_RETURN and VK_ESCAPE.
#pragma once

enum : int {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_PRIOR = 33,   // Page Up
  VK_NEXT = 34,    // Page Down
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_DELETE = 46,
};
