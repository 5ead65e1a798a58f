// game_pushbutton.h: CGUI_GamePushButton, the game's push button (script
// class "PUSHBUTTON"). A composite: four game bitmaps (base, second, hover,
// pressed) and a caption static, shown according to the button's look, with
// the button sounds. A button can step a linked number edit (the arrows
// beside a number field).
#pragma once
#include <string>

#include "runtime/composite.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_static.h"
#include "runtime/simple_controls.h"

class CGUI_Edit;

class CGUI_GamePushButton : public CGUI_Composite<CGUI_PushButton> {
 public:
  CGUI_GamePushButton();

  // Hands the PARAM lists to the members (first creation), then sets the
  // members up as children and shows the normal look.
  bool OnCreate() override;
  bool SetCaption(const std::string& caption) override;
  bool SetRegion(const float region[4]) override;
  bool Show(bool show, bool recursive) override;
  bool SetHitTest(bool hitTest) override;
  bool OnMouseEnter() override;
  bool OnMouseLeave() override;
  bool OnLButtonDown() override;
  // Restores the look, steps the linked edit, plays the click.
  bool OnLButtonUp() override;
  bool SetAlign(int flags) override;

  // ---- Appended operation -----------------------------------------------------------
  // A disabled button shows the pressed look and does not change it with the mouse.
  virtual bool SetDisabled(bool on);

  bool IsDisabled() const { return disabled_; }
  // Forgets the hovered and disabled states and shows the normal look.
  void ClearStates();
  CGUI_GameStatic* CaptionStatic() const { return captionStatic_; }
  CGUI_Edit* LinkedEdit() const { return linked_; }

 protected:
  enum Look { kNormal, kHovered, kPressed, kDisabled };

  // The look that the button's state asks for when it is not pressed.
  Look RestingLook() const;
  // Hides the caption, switches the bitmap slots, restarts the shown bitmaps'
  // clocks and shows the caption again (nothing is shown while hidden).
  void ApplyLook(Look look);

 private:
  bool DistributeParams();

  // Members, children in this order once created.
  CGUI_GameBitmap* base_;
  CGUI_GameBitmap* second_;
  CGUI_GameBitmap* hover_;
  CGUI_GameBitmap* pressed_;
  CGUI_GameStatic* captionStatic_;
  CGUI_GameBitmap* slots_[2] = {nullptr, nullptr};   // the shown bitmaps
  bool hovered_ = false;
  bool disabled_ = false;
  CGUI_Edit* linked_ = nullptr;   // a control of the same dialog
  int step_ = 0;
};
