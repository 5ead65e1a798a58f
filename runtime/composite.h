// composite.h: CGUI_Composite, the skeleton of the controls made of member
// controls (the game's push button, list, edit and slider, the rotate
// buttons): it owns the members, hands out the PARAM lists once and makes the
// members children at every creation.
#pragma once
#include <typeinfo>
#include <vector>

#include "korvogui/korvogui.h"
#include "runtime/control.h"
#include "runtime/window.h"

template <class Base>
class CGUI_Composite : public Base {
 public:
  ~CGUI_Composite() override {
    for (CGUI_Window* member : members_) {
      member->SetParent(nullptr);
      delete member;
    }
  }

 protected:
  // Takes ownership of a member control (made a child from then on at every
  // creation, in the order of taking).
  template <class Member>
  Member* Own(Member* member) {
    members_.push_back(member);
    if (typeid(*member) == typeid(Member)) NoteUpdateOf(member);
    return member;
  }

  // The creation step of the members. On the first creation only: a number of
  // PARAM lists outside least..most fails with "error at <label>'<id>' :
  // invalid num of param lists" (label is the class name as the message
  // writes it: "PUSHBUTTON " with its blank, "SLIDER" without); otherwise
  // distribute() reads the lists and hands them to the members, which then
  // take the control's id so that they report their errors under it. Until
  // that succeeds every creation tries again. Then the members become
  // children. False stops the creation.
  template <class Distribute>
  bool CreateMembers(const char* label, int least, int most, Distribute distribute) {
    if (!distributed_) {
      const int count = this->GetParamListCount();
      if (count < least || count > most) {
        GUI_ReportError("error at %s'%s' : invalid num of param lists", label, this->id_.c_str());
        return false;
      }
      if (!distribute()) return false;
      for (CGUI_Window* member : members_) member->SetId(this->id_);
      distributed_ = true;
    }
    for (CGUI_Window* member : members_) member->SetParent(this);
    return true;
  }

  // A caption member: it passes its mouse events on to the control, is
  // hit-tested as the control is, centred both ways and sized to its text.
  void SetUpCaption(CGUI_Control* caption) {
    caption->SetNotifyParent(true);
    caption->SetHitTest(this->hitTest_);
    caption->SetAlign(ALIGN_HCENTER | ALIGN_VCENTER);
    caption->SetAutoSize(true);
  }

  // Centres a member (keeping its size) on the middle of the control's
  // aligned rectangle.
  void CentreMember(CGUI_Window* member) {
    float corner[2];
    this->GetAlignedPos(corner, false);
    const float* size = member->Region();
    const float centre[4] = {corner[0] - this->region_[0] + this->region_[2] * 0.5f,
                             corner[1] - this->region_[1] + this->region_[3] * 0.5f, size[2],
                             size[3]};
    member->SetRegion(centre);
  }

 private:
  std::vector<CGUI_Window*> members_;
  bool distributed_ = false;
};
