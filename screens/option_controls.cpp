// option_controls.cpp: the controls page (OPTIONCONTROLS): one button per key
// action shows the inputs bound to it and, when clicked, captures the next
// key or mouse button from the host's raw input; two buttons and a slider set
// the host's mouse settings.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "host/host_options.h"
#include "host/host_services.h"
#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "runtime/game_slider.h"
#include "runtime/module_state.h"
#include "runtime/rotate_text_button.h"
#include "runtime/window_manager.h"

namespace {

constexpr const char* kPageId = "OPTIONCONTROLS";
constexpr const char* kCaptureMessageId = "OPTIONCONTROLSMESSAGE";
constexpr uint32_t kCaptureGuardMs = 500;
constexpr int kKeyEscape = 1;
constexpr uint8_t kPressed = 0x80;
constexpr int kInputsPerAction = 2;

// The key buttons in the order of their registration, each with the control
// manager's action ("client") it binds; CONCHATWITHTEA has none.
struct SKeyAction {
  const char* buttonId;
  const char* action;
};
constexpr SKeyAction kKeyActions[] = {
    {"IDC_BUTTON_CONFORWARD", "FORWARD"},         {"IDC_BUTTON_CONBACKWARD", "BACKWARD"},
    {"IDC_BUTTON_CONLEFTSTEP", "LEFT"},           {"IDC_BUTTON_CONRIGHTSTEP", "RIGHT"},
    {"IDC_BUTTON_CONJUMP", "JUMP"},               {"IDC_BUTTON_CONDASH", "DASH"},
    {"IDC_BUTTON_CONTURNLEFT", "TURNLEFT"},       {"IDC_BUTTON_CONTURNRIGHT", "TURNRIGHT"},
    {"IDC_BUTTON_CONPITCHUP", "PITCHUP"},         {"IDC_BUTTON_CONPITCHDOWN", "PITCHDOWN"},
    {"IDC_BUTTON_CONCENTERVIEW", "CENTERVIEW"},   {"IDC_BUTTON_CONFIRE", "FIRE"},
    {"IDC_BUTTON_CONCLOSEATTACK", "CLOSEATTACK"}, {"IDC_BUTTON_CONCHANGEWEAPON", "CHANGEWEAPON"},
    {"IDC_BUTTON_CONLEFTOPTION", "LEFTOPTION"},   {"IDC_BUTTON_CONRIGHTOPTION", "RIGHTOPTION"},
    {"IDC_BUTTON_CONSHOWSCORES", "SHOWSCORE"},    {"IDC_BUTTON_CONGESTURE", "GESTURE"},
    {"IDC_BUTTON_CONCHATWITHALL", "CHATWITHALL"}, {"IDC_BUTTON_CONCHATWITHTEAM", "CHATWITHTEAM"},
    {"IDC_BUTTON_CONCHATWITHTEA", nullptr},
};

class CGUI_KeyButton;

// Module-wide state of the page: the key buttons of the table and the button
// waiting for an input. The end of the last capture is a tick, not a window,
// so it outlives the table.
struct SKeyCaptureState final : CModulePart {
  std::vector<CGUI_KeyButton*> keyButtons;   // each adds itself when created
  CGUI_KeyButton* waiting = nullptr;         // the capture's button; null: no capture
  bool captureEnded = false;                 // false: no capture has ended yet
  uint32_t lastCaptureEnd = 0;               // tick at which the last capture ended

  void OnTableReleased() override {
    keyButtons.clear();
    waiting = nullptr;
  }
};

void RefreshControlsPage();

// ---- Key buttons -----------------------------------------------------------------------------

class CGUI_KeyButton : public CGUI_GamePushButton {
 public:
  // Made with its row of the key table.
  explicit CGUI_KeyButton(int row) : action_(kKeyActions[row].action) {}

  bool OnCreate() override {
    if (!CGUI_GamePushButton::OnCreate()) return false;
    std::vector<CGUI_KeyButton*>& buttons = ModulePart<SKeyCaptureState>().keyButtons;
    if (std::find(buttons.begin(), buttons.end(), this) == buttons.end()) buttons.push_back(this);
    return true;
  }

  // Starts a capture (action first), unless the last one ended within 500 ms.
  bool OnLButtonUp() override {
    const uint32_t generation = TableGeneration();
    StartCapture();
    // A handler of the message dialog that reloaded the UI freed this button.
    if (TableGeneration() != generation) return true;
    return CGUI_GamePushButton::OnLButtonUp();
  }

  const char* Action() const { return action_; }

  // The inputs bound to the action, joined by " or ".
  void ShowBindings() {
    if (!action_) return;
    std::string caption;
    if (CCtrlClient* client = CtrlManager.FindClient(action_)) {
      for (int i = 0; i < client->GetNumItems(); ++i) {
        const char* name = client->GetItemName(i);
        if (!name) continue;
        if (!caption.empty()) caption += " or ";
        caption += name;
      }
    }
    SetCaption(caption);
  }

 private:
  void StartCapture();

  const char* action_;
};

// The end of a capture: no button waits, the guard counts from now, the
// message closes; false removes the handler.
bool EndCapture() {
  SKeyCaptureState& state = ModulePart<SKeyCaptureState>();
  state.waiting = nullptr;
  state.captureEnded = true;
  state.lastCaptureEnd = dwY3DCurrentFrameTick;
  GUI_DestroyDialog(kCaptureMessageId);
  return false;
}

// Raw input of the host while a capture runs: Escape cancels it, the first
// pressed key or else mouse button is bound to the waiting button's action.
bool CaptureInput(uint8_t* keyboard, SRawMouseState* mouse) {
  SKeyCaptureState& state = ModulePart<SKeyCaptureState>();
  // The capture ended already (a second handler of one capture, or a reload).
  if (!state.waiting) return false;
  if (keyboard && (keyboard[kKeyEscape] & kPressed)) {
    keyboard[kKeyEscape] = 0;   // the press goes no further
    return EndCapture();
  }
  const char* input = keyboard ? CtrlManager.GetFirstItem(keyboard) : nullptr;
  if (!input && mouse) input = CtrlManager.GetFirstItem(mouse);
  if (!input) return true;   // go on waiting
  const std::string name = input;
  CtrlManager.AssignItemToClient(state.waiting->Action(), name.c_str(), kInputsPerAction);
  RefreshControlsPage();
  return EndCapture();
}

void CGUI_KeyButton::StartCapture() {
  SKeyCaptureState& state = ModulePart<SKeyCaptureState>();
  if (!action_) return;
  // Guards against the click that ended a capture by a mouse button.
  if (state.captureEnded && dwY3DCurrentFrameTick - state.lastCaptureEnd <= kCaptureGuardMs)
    return;
  state.waiting = this;
  AddInputEventHandler(&CaptureInput);
  GUI_CreateDialog(kCaptureMessageId);
  if (CGUI_Window* message = FindOpenDialog(kCaptureMessageId)) message->SetExclusive(true);
}

// ---- Mouse settings ----------------------------------------------------------------------------

// Writes only while the page is created: its creation shows the settings
// without writing them back.
bool PageCreated(CGUI_Window* control) {
  CGUI_Window* page = control->GetParent();
  return page && page->IsCreated();
}

template <int* Setting>
class TGUI_InvertMouseButton : public CGUI_RotateTextButton {
 public:
  bool OnStateChanged() override {
    if (PageCreated(this)) *Setting = GetState();
    return true;
  }
};

class CGUI_MouseSpeedSlider : public CGUI_GameSlider {
 public:
  bool OnValueChanged() override {
    const bool moved = CGUI_GameSlider::OnValueChanged();
    if (PageCreated(this)) iMouseSensitivity = GetValue();
    return moved;
  }
};

// ---- The page ------------------------------------------------------------------------------------

// Every key button shows its bindings; the open page shows the mouse settings.
void RefreshControlsPage() {
  for (CGUI_KeyButton* button : ModulePart<SKeyCaptureState>().keyButtons) button->ShowBindings();
  CGUI_Window* page = FindOpenDialog(kPageId);
  if (!page) return;
  if (auto* h = dynamic_cast<CGUI_RotateTextButton*>(page->FindChild("IDC_BUTTON_CONINVERTMOUSEH")))
    h->SelectState(bInvertMouseH);
  if (auto* v = dynamic_cast<CGUI_RotateTextButton*>(page->FindChild("IDC_BUTTON_CONINVERTMOUSEV")))
    v->SelectState(bInvertMouseV);
  if (auto* speed = dynamic_cast<CGUI_Slider*>(page->FindChild("IDC_SLIDER_CONMOUSESPEED")))
    speed->SetValue(iMouseSensitivity);
}

class CGUI_OptionControlsPage : public CGUI_ExclusiveMenuDialog {
 public:
  bool OnCreate() override {
    if (!CGUI_ExclusiveMenuDialog::OnCreate()) return false;
    ReadOptionControlINI();
    RefreshControlsPage();
    return true;
  }
  // Unsaved bindings are dropped however the page closes.
  bool OnDestroy() override {
    ReadOptionControlINI();
    return CGUI_ExclusiveMenuDialog::OnDestroy();
  }
};

void ClickControlsDefault(CGUI_GamePushButton*) {
  AssignDefaultOptionControls();
  RefreshControlsPage();
}

void ClickControlsOk(CGUI_GamePushButton*) {
  WriteOptionControlINI();
  GUI_PrevDialog(1, true);
}

}  // namespace

// ---- Registrations ------------------------------------------------------------------------

void RegisterOptionControls(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_OptionControlsPage>(r, kPageId);
  RegisterIdClass<CGUI_BackActionFirstButton>(r, "IDC_BUTTON_CONTROLCANCEL");
  RegisterIdClass<TGUI_ClickButton<&ClickControlsDefault, kBaseFirst>>(r, "IDC_BUTTON_CONTROLDEFAULT");
  RegisterIdClass<TGUI_ClickButton<&ClickControlsOk, kBaseFirst>>(r, "IDC_BUTTON_CONTROLOK");
  for (int row = 0; row < int(std::size(kKeyActions)); ++row)
    RegisterIdClass<CGUI_KeyButton>(r, kKeyActions[row].buttonId, row);
  RegisterIdClass<TGUI_InvertMouseButton<&bInvertMouseH>>(r, "IDC_BUTTON_CONINVERTMOUSEH");
  RegisterIdClass<TGUI_InvertMouseButton<&bInvertMouseV>>(r, "IDC_BUTTON_CONINVERTMOUSEV");
  RegisterIdClass<CGUI_MouseSpeedSlider>(r, "IDC_SLIDER_CONMOUSESPEED");
}
