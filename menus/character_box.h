// character_box.h: the character preview that the briefing and the room
// share: a 3-D preview of one host character drawn into the box's rectangle,
// with option parts mounted in its hands. Each screen says which character
// it shows and where the choice is kept (the pilot's account, the room's
// client record); the preview, its drawing and its weapons are one body here.
#pragma once
#include "runtime/simple_controls.h"

struct CHARACTER;

enum EHand { kLeftHand, kRightHand };

// Index i of a table of `count` stepped by one and wrapped: below 0 gives
// the last, at or beyond the count the first.
int WrapIndex(int i, int count);

// The host's index of the character with this id, or -1 when none has it.
int CharacterIndex(int id);

class CGUI_CharacterBox : public CGUI_Custom {
 public:
  ~CGUI_CharacterBox() override;

  bool OnDestroy() override;
  bool OnDraw() override;

  // Puts the weapon of option part `part` (0-based) for a hand into that hand.
  void Mount(int part, EHand hand);
  void Unmount(EHand hand);

 protected:
  // Takes a new preview (owned, deleted here); null shows none.
  void SetPreview(CHARACTER* preview);
  CHARACTER* Preview() const { return preview_; }
  // The account's or record's choices: option part values (n > 0: part n - 1).
  void MountChoices(int left, int right);
  // Drawn where no preview is (nothing by default).
  virtual void DrawEmpty(int x, int y, int w, int h);

 private:
  CHARACTER* preview_ = nullptr;   // owned by the host, deleted here
};
