// edit.h: CGUI_Edit (script class "EDIT"), the text model of the one control
// that takes text input.
//
// The text is kept split at the caret (before | composition | after) so that
// typing only appends to `before`. Text is 8-bit in a double-byte code page:
// a byte with the high bit set starts a two-byte character; the caret and all
// lengths count bytes. The whole text is cut to max chars bytes (GetText).
// Number mode takes digits only and keeps the value within min .. max when
// the focus leaves.
#pragma once
#include <string>

#include "runtime/control.h"

class CGUI_Edit : public CGUI_Control {
 public:
  CGUI_Edit();

  // Stores the whole text as the caption before copying it out.
  bool GetCaption(std::string& out) override;
  // Replaces the text; the caret goes to the end and any composition is dropped.
  bool SetCaption(const std::string& caption) override;
  bool OnKillFocus() override;
  bool OnChar(char ch) override;
  bool OnKeyDown(int key) override;
  bool OnCompositionChar(char lead, char trail) override;

  // ---- Appended operations --------------------------------------------------------
  virtual int GetCursor();
  // -1 means the end; clamped to 0 .. length of the whole text.
  virtual bool SetCursor(int pos);
  // Re-splits the whole text at the caret after the caret moved.
  virtual bool SplitAtCaret();
  // Whether the byte left of the caret (last of before) or right of it (first
  // of after) has the high bit set.
  virtual bool IsDoubleByte(bool left);
  // Appends c left of the caret if the text has room for it.
  virtual bool InsertChar(char ch);
  // before + composition + after, cut to max chars bytes.
  virtual bool GetText(std::string& out);
  virtual bool BeginComposition();
  // Drops the composition (it never becomes text by itself).
  virtual bool EndComposition();
  virtual bool SetPassword(bool on);
  virtual bool IsPassword();
  virtual bool SetNumber(bool on);
  virtual bool IsNumber();
  virtual bool SetMinValue(int v);
  // Also limits max chars to the number of digits of v.
  virtual bool SetMaxValue(int v);
  // Number mode only: the text becomes v in decimal.
  virtual bool SetValue(int v);
  // Number mode only: reads the value, brings it into min .. max.
  virtual bool ClampValue(int& out);
  virtual bool SetMaxNumChar(int n);
  virtual int GetMaxNumChar();
  // Called after every edit with the new whole text; drops leading zeros in
  // number mode.
  virtual bool OnTextChanged(const std::string& text);

 protected:
  std::string before_;
  std::string composition_;
  std::string after_;
  bool composing_ = false;
  bool password_ = false;
  bool number_ = false;
  int caret_ = 0;
  int maxChars_ = 65535;
  int minValue_ = 0;
  int maxValue_ = 9999;
};
