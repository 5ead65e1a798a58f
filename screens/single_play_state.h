// single_play_state.h: what the single-player screens share: the windows they
// remember across screens (in a module part, so freeing the compiled table
// forgets them), the clear-time text, the option-part names and the numbered
// message texts.
#pragma once
#include <string>
#include <vector>

#include "korvogui/messagebox.h"
#include "menus/dialog_text.h"
#include "runtime/game_pushbutton.h"
#include "runtime/module_state.h"

class CGUI_List;
class CGUI_Window;
class CGUI_TypewriterList;

struct SSinglePlayState final : CModulePart {
  CGUI_List* pilotList = nullptr;               // the pilot choice's list
  CGUI_TypewriterList* missionText = nullptr;   // the mission map's description list
  CGUI_GamePushButton* heldBox = nullptr;       // the mission box chosen last
  CGUI_TypewriterList* briefingText = nullptr;  // the briefing's text list
  int optionStart = 0;                          // first option part of the carousel
  CGUI_Window* chosenLeft = nullptr;            // option boxes chosen for the hands
  CGUI_Window* chosenRight = nullptr;

  void OnTableReleased() override {
    pilotList = nullptr;
    missionText = nullptr;
    heldBox = nullptr;
    briefingText = nullptr;
    chosenLeft = nullptr;
    chosenRight = nullptr;
  }
};

// "HH:MM:SS" of a time in seconds (hours take as many digits as they need).
std::string ClearTimeText(unsigned int seconds);

// "NONE" (-1), "RANDOM" (0) or the left-hand weapon name of option part v - 1.
std::string OptionPartName(int value);

// Shows message text n of the host in a message box; a text that does not
// load shows nothing.
void ShowMessageText(int n, unsigned long flags, MessageBoxCallback callback = nullptr);

// A button that comes up with neither the hovered nor the disabled look,
// whatever it kept from its last visit.
template <class Base>
class TGUI_FreshButton : public Base {
 public:
  bool OnCreate() override {
    if (!Base::OnCreate()) return false;
    this->ClearStates();
    return true;
  }
};
