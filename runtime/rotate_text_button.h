// rotate_text_button.h: CGUI_RotateTextButton (script class
// "ROTATETEXTBUTTON"): a button that steps through a cycle of captions, each
// with its own colour, one step per click. List 0 of the PARAM lines gives the
// caption's font; each further list is one state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/composite.h"
#include "runtime/game_static.h"
#include "runtime/simple_controls.h"

class CGUI_RotateTextButton : public CGUI_Composite<CGUI_Button> {
 public:
  CGUI_RotateTextButton();

  // Reads the states (first creation); every creation starts at state 0.
  bool OnCreate() override;
  // Steps to the next state.
  bool OnLButtonUp() override;
  // With auto size the button takes the caption's size; the caption is centred.
  bool SetRegion(const float region[4]) override;
  bool SetCaption(const std::string& caption) override;
  // The caption follows the button.
  bool Show(bool show, bool recursive) override;

  // ---- Appended operation -----------------------------------------------------------
  virtual bool OnStateChanged();

  int GetState() const { return state_; }
  int StateCount() const { return int(captions_.size()); }
  // Shows `state` (caption and colour) as code chose it: no OnStateChanged.
  // A state outside 0 .. StateCount() - 1 is refused and changes nothing.
  bool SelectState(int state);
  // Replaces the states by `captions`, each in the first state's colour and
  // followed by the next (the last by the first); shows state 0. Needs the
  // states read (after the first creation) and at least one caption.
  bool ReplaceStates(const std::vector<std::string>& captions);
  CGUI_GameStatic* CaptionStatic() const { return captionStatic_; }
  uint32_t StateColor(int i) const { return colors_[size_t(i)]; }

 private:
  bool ReadStates();
  // Caption and colour of `state`.
  void ShowState(int state);

  CGUI_GameStatic* captionStatic_;   // member; a child once created
  std::vector<std::string> captions_;
  std::vector<uint32_t> colors_;   // 0xAARRGGBB
  std::vector<int> transitions_;
  int state_ = 0;
};
