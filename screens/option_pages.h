// option_pages.h: what the option pages share: rotate text buttons and sliders
// that show an option item when they are created and write every change into
// it at once, and the CANCEL / DEFAULT / OK buttons that decide what happens
// to the edited values.
#pragma once
#include <cstdint>

#include "host/host_options.h"
#include "menus/click_handlers.h"
#include "runtime/game_slider.h"
#include "runtime/rotate_text_button.h"

// ---- Option items ----------------------------------------------------------------------------

// An item of one of the host's option managers.
struct SOptionKey {
  COptionManager* manager;
  const char* key;
};

// The item's number; 0 when the manager has no item to give.
uint32_t OptionValue(const SOptionKey& option);
void UpdateOption(const SOptionKey& option, uint32_t value);

// How the states of a rotate text button stand for an option value.
enum EStateMapping {
  kMapOnOff,         // state 0 is on (1), any other state off (0)
  kMapColorDepth,    // state 0 is 16, any other state 32
  kMapStateNumber,   // the value is the state number
};

// The state that shows `value` (it may lie outside the button's states).
int StateForValue(EStateMapping mapping, uint32_t value);
uint32_t ValueForState(EStateMapping mapping, int state);

// ---- Controls bound to an item -------------------------------------------------------------

// Shows the state mapped from the item's value when created (a value that maps
// to no state keeps the first); once created, each new state is written.
template <const SOptionKey& Option, EStateMapping Mapping>
class TGUI_OptionRotateButton : public CGUI_RotateTextButton {
 public:
  bool OnCreate() override {
    if (!CGUI_RotateTextButton::OnCreate()) return false;
    SelectState(StateForValue(Mapping, OptionValue(Option)));
    return true;
  }
  bool OnStateChanged() override {
    if (IsCreated()) UpdateOption(Option, ValueForState(Mapping, GetState()));
    return true;
  }
};

// A slider whose value is the item's value, or with Inverted its maximum less
// the item's value (higher on the slider is less of the item).
template <const SOptionKey& Option, bool Inverted = false>
class TGUI_OptionSlider : public CGUI_GameSlider {
 public:
  bool OnCreate() override {
    if (!CGUI_GameSlider::OnCreate()) return false;
    const int64_t value = OptionValue(Option);
    SetValue(ClampToInt(Inverted ? int64_t(GetMax()) - value : value));
    return true;
  }
  // Moves the thumb; once created, writes the value.
  bool OnValueChanged() override {
    const bool moved = CGUI_GameSlider::OnValueChanged();
    if (IsCreated()) UpdateOption(Option, ShownValue());
    return moved;
  }
  // The item value the slider stands for now.
  uint32_t ShownValue() {
    return uint32_t(Inverted ? int64_t(GetMax()) - GetValue() : int64_t(GetValue()));
  }

 private:
  static int ClampToInt(int64_t v) {
    return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : int(v);
  }
};

// ---- Page buttons (action first) -------------------------------------------------------------

using OptionGroupCall = void (*)();

// Destroys and creates again the dialog the button belongs to, so that its
// controls show the values anew.
void RebuildPage(CGUI_GamePushButton* button);

template <OptionGroupCall Read>
void ClickCancelPage(CGUI_GamePushButton*) {
  Read();   // drops the edits
  GUI_PrevDialog(1, true);
}

template <OptionGroupCall SetDefault>
void ClickDefaultPage(CGUI_GamePushButton* button) {
  SetDefault();
  RebuildPage(button);
}

template <OptionGroupCall Write>
void ClickOkPage(CGUI_GamePushButton*) {
  Write();
  GUI_PrevDialog(1, true);
}

template <OptionGroupCall Read>
using TGUI_CancelPageButton = TGUI_ClickButton<&ClickCancelPage<Read>, kActionFirst>;
template <OptionGroupCall SetDefault>
using TGUI_DefaultPageButton = TGUI_ClickButton<&ClickDefaultPage<SetDefault>, kActionFirst>;
template <OptionGroupCall Write>
using TGUI_OkPageButton = TGUI_ClickButton<&ClickOkPage<Write>, kActionFirst>;
