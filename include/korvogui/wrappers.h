// wrappers.h: handle classes through which the host reaches a window of the
// module (usually the focus window from GUI_GetFocusWindow) and, when it is an
// edit control, its caret and limits.
#pragma once
#include "korvogui/export.h"

class KORVO_API CGUI_Wrapper_Window {
 public:
  explicit CGUI_Wrapper_Window(void* handle);
  CGUI_Wrapper_Window(const CGUI_Wrapper_Window& other);
  CGUI_Wrapper_Window& operator=(const CGUI_Wrapper_Window& other);

  virtual ~CGUI_Wrapper_Window();
  // Copies the first min(size, length) bytes of the caption; writes no NUL.
  virtual bool GetCaption(char* buffer, int size);
  virtual bool SetCaption(char* text);
  // True when the window's class name is "EDIT".
  virtual bool IsEditable();

 protected:
  void* handle_;
};

class KORVO_API CGUI_Wrapper_Edit : public CGUI_Wrapper_Window {
 public:
  explicit CGUI_Wrapper_Edit(void* handle);
  CGUI_Wrapper_Edit(const CGUI_Wrapper_Edit& other);
  CGUI_Wrapper_Edit& operator=(const CGUI_Wrapper_Edit& other);

  ~CGUI_Wrapper_Edit() override;
  // True when the edit's text uses the system font, the one that can show an
  // IME composition.
  virtual bool IsCompositionAvailable();
  virtual bool SetCursor(int pos);
  virtual int GetCursor();
  // The edit's character limit when it is at most 1024, else 0.
  virtual int GetMaxNumChar();
};
