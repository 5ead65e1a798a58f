// option_carousel.h: the seven option boxes that the briefing and the room
// show over a table of option parts, with an arrow for each hand beside each
// box. The window of entries, the boxes' hover and the arrows' lighting of
// their box are one body here; what a box draws and what a choice writes
// (the pilot's account, the room's client record) stay with each screen.
#pragma once
#include "menus/character_box.h"
#include "runtime/game_pushbutton.h"
#include "runtime/simple_controls.h"

inline constexpr int kOptionBoxes = 7;

// The first entry of the window: with more than seven entries any start,
// wrapped into the table; with seven or fewer always 0.
int CarouselStart(int start, int count);

// The entry that box `box` (0-6) shows from `start` over `count` entries:
// around the table when it has more than seven, else -1 past its end.
int CarouselEntry(int start, int box, int count);

// One box of the carousel, made with its number (0-6). The mouse over the
// box, or over one of its arrows, lights it.
class CGUI_OptionBoxBase : public CGUI_Custom {
 public:
  explicit CGUI_OptionBoxBase(int index) : index_(index) {}

  bool OnCreate() override;
  bool OnDestroy() override;
  bool OnMouseEnter() override;
  bool OnMouseLeave() override;

  int Index() const { return index_; }
  // Shows the box's entry, its hover and the hands' choices.
  virtual void Refresh() = 0;

 protected:
  bool hovered_ = false;

 private:
  int index_;
};

// The box with number `index` of a dialog: `format` writes its id from index + 1.
CGUI_OptionBoxBase* OptionBoxOf(CGUI_Window* dialog, const char* format, int index);

// An arrow beside box `index` that chooses the box's entry for one hand;
// the arrow's own hover lights the box.
class CGUI_OptionArrow : public CGUI_GamePushButton {
 public:
  CGUI_OptionArrow(int index, const char* boxFormat) : index_(index), boxFormat_(boxFormat) {}

  bool OnMouseEnter() override;
  bool OnMouseLeave() override;

 protected:
  CGUI_OptionBoxBase* Box() const { return OptionBoxOf(parent_, boxFormat_, index_); }
  int Index() const { return index_; }

 private:
  int index_;
  const char* boxFormat_;
};
