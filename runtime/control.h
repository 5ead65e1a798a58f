// control.h: CGUI_Control (script class "CONTROL"), the base of every control.
//
// A control adds to the window a tab-stop flag (registered with its dialog at
// creation), an auto-size flag, an alignment that says which point of the
// region x, y names, notify-parent forwarding of mouse events (used by
// composite controls) and the parameter lists of its script PARAM lines.
#pragma once
#include <vector>

#include "runtime/params.h"
#include "runtime/window.h"

// Alignment bits: one horizontal and one vertical anchor.
enum : int {
  ALIGN_LEFT = 1,
  ALIGN_RIGHT = 2,
  ALIGN_HCENTER = 4,
  ALIGN_TOP = 8,
  ALIGN_BOTTOM = 16,
  ALIGN_VCENTER = 32,
  ALIGN_HMASK = ALIGN_LEFT | ALIGN_RIGHT | ALIGN_HCENTER,
  ALIGN_VMASK = ALIGN_TOP | ALIGN_BOTTOM | ALIGN_VCENTER,
};

class CGUI_Control : public CGUI_Window {
 public:
  explicit CGUI_Control(const char* className = "CONTROL");
  ~CGUI_Control() override;

  bool OnCreate() override;
  bool OnMouseEnter() override;
  bool OnMouseLeave() override;
  bool OnLButtonDown() override;
  bool OnLButtonUp() override;
  // Inside the aligned rectangle, edges included.
  bool HitTest(const float pt[2]) override;

  // ---- Appended operations --------------------------------------------------------
  virtual bool IsTabStop();
  // Registers or unregisters with the parent when the parent is a dialog.
  virtual bool SetTabStop(bool on);
  virtual bool IsAutoSize();
  virtual bool SetAutoSize(bool on);
  virtual int GetAlign();
  // Replaces the horizontal and/or vertical anchor, whichever `flags` names.
  virtual bool SetAlign(int flags);
  // The top-left corner from the anchor; with `absolute` the origin is added.
  // Final and read in place: every drawing control asks it in every frame.
  virtual bool GetAlignedPos(float out[2], bool absolute) final {
    float left = region_[0];
    if (align_ & ALIGN_RIGHT) left -= region_[2];
    else if (align_ & ALIGN_HCENTER) left -= region_[2] * 0.5f;
    float top = region_[1];
    if (align_ & ALIGN_BOTTOM) top -= region_[3];
    else if (align_ & ALIGN_VCENTER) top -= region_[3] * 0.5f;
    if (absolute) {
      left += origin_[0];
      top += origin_[1];
    }
    out[0] = left;
    out[1] = top;
    return true;
  }
  virtual bool IsNotifyParent();
  virtual bool SetNotifyParent(bool on);
  virtual int GetParamListCount();
  // Appends a deep copy of the chain (in one block) as one new list.
  virtual bool AddParamList(const SParamList* list);
  // The list at `index`, or null outside 0 .. count - 1.
  virtual SParamList* GetParamList(int index);
  // Frees every list (the control then has none).
  void DropParamLists();

 protected:
  bool tabStop_ = false;
  bool autoSize_ = false;
  int align_ = ALIGN_LEFT | ALIGN_TOP;
  bool notifyParent_ = false;
  std::vector<SParamList*> paramLists_;   // owned chains, each one packed block
};
