// game_edit.h: CGUI_GameEdit, the game's edit control (script class "EDIT").
// The text model is the runtime's; the visible text is a member game static,
// the frame a member game bitmap, and the caret a blinking host animation
// drawn while the edit has the focus.
#pragma once
#include <string>

#include "host/host_graphics.h"
#include "runtime/composite.h"
#include "runtime/edit.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_static.h"

class CGUI_GameEdit : public CGUI_Composite<CGUI_Edit> {
 public:
  CGUI_GameEdit();

  // Hands list 0 to the static and list 1 to the frame (first creation), then
  // sets the members up and starts the caret.
  bool OnCreate() override;
  // The static strips the markup; the edit keeps the stripped text.
  bool SetCaption(const std::string& caption) override;
  bool SetRegion(const float region[4]) override;
  bool OnSetFocus() override;
  bool OnKillFocus() override;
  // Game fonts show single-byte text only: lead bytes and compositions are
  // ignored with them.
  bool OnChar(char ch) override;
  bool OnCompositionChar(char lead, char trail) override;
  // Draws the caret (the members draw the text and the frame).
  bool OnDraw() override;
  bool SetAlign(int flags) override;
  bool SetPassword(bool on) override;
  bool OnTextChanged(const std::string& text) override;

  // ---- Appended operations ---------------------------------------------------------
  // Width of the first len bytes of text in the static's font, as a screen fraction.
  virtual float TextWidth(const char* text, int len);
  virtual CGUI_GameStatic* GetTextStatic();

  bool IsFocused() const { return focused_; }

 private:
  bool GameFont() const { return textStatic_->FontType() == Y3DFONT_GAME; }

  // Members, children in this order once created.
  CGUI_GameBitmap* frame_;
  CGUI_GameStatic* textStatic_;
  _ANIMATEEX caretAnim_;
  // The caret's offset and height in pixels, measured once per text and caret.
  uint32_t caretGeneration_ = ~0u;
  int caretMeasuredAt_ = -1;
  float caretSize_[2] = {0, 0};
  bool focused_ = false;
};
