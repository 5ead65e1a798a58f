// rotate_button.h: CGUI_RotateButton (script class "ROTATEBUTTON"): a button
// that steps through a cycle of states, one game bitmap per state, one step
// per click. The PARAM lists give the states and which state follows which.
#pragma once
#include <vector>

#include "runtime/composite.h"
#include "runtime/game_bitmap.h"
#include "runtime/simple_controls.h"

class CGUI_RotateButton : public CGUI_Composite<CGUI_PushButton> {
 public:
  CGUI_RotateButton();

  // Builds the state bitmaps (first creation); every creation starts at state 0.
  bool OnCreate() override;
  // Steps to the next state.
  bool OnLButtonUp() override;
  bool SetRegion(const float region[4]) override;
  bool Show(bool show, bool recursive) override;
  bool SetAlign(int flags) override;

  // ---- Appended operation -----------------------------------------------------------
  // Called whenever the shown state changed.
  virtual bool OnStateChanged();

  // Shows `state` without a click: -1 follows the next-state table from the
  // current state (state 0 from an unknown one). OnStateChanged is not called.
  bool SetState(int state);

  int GetState() const { return state_; }
  int StateCount() const { return int(stateBitmaps_.size()); }
  // The bitmap of state i (its colour is the state's colour); null outside.
  CGUI_GameBitmap* StateBitmap(int i) const {
    return i >= 0 && i < StateCount() ? stateBitmaps_[size_t(i)] : nullptr;
  }

 private:
  bool BuildStates();
  // Hides the shown bitmap and shows the one of `state` (unless hidden).
  void ShowState(int state);

  std::vector<CGUI_GameBitmap*> stateBitmaps_;   // members, one per state
  std::vector<int> transitions_;
  int state_ = 0;
  CGUI_GameBitmap* current_ = nullptr;
};
