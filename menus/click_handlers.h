// click_handlers.h: the click contract of the id-bound push buttons and the
// click actions that many screens share.
//
// Every id-bound button runs the game push button's own release handling
// (look, linked edit, click sound, notify parent) and its action, in one of
// two orders:
//   base first    the release handling; when it fails, that result at once;
//                 otherwise the action, and true;
//   action first  the action, then the release handling's result.
// A screen's button is then one alias, for example
//   using CGUI_MainExitButton = CGUI_QuitButton;
//   TGUI_GoToButton<"SELECTIDMENU", kBaseFirst>
#pragma once
#include <algorithm>
#include <cstddef>

#include "korvogui/korvogui.h"
#include "runtime/game_pushbutton.h"
#include "runtime/module_state.h"

enum EClickForm { kBaseFirst, kActionFirst };

// What a click does; receives the clicked button.
using ClickAction = void (*)(CGUI_GamePushButton* button);

template <ClickAction Action, EClickForm Form>
class TGUI_ClickButton : public CGUI_GamePushButton {
 public:
  bool OnLButtonUp() override {
    if constexpr (Form == kActionFirst) {
      const uint32_t generation = TableGeneration();
      Action(this);
      // An action that recompiled or released the UI freed this button.
      if (TableGeneration() != generation) return true;
      return CGUI_GamePushButton::OnLButtonUp();
    } else {
      if (!CGUI_GamePushButton::OnLButtonUp()) return false;
      Action(this);
      return true;
    }
  }
};

// A dialog id as a template argument: TGUI_GoToButton<"OPTIONMENU">.
template <size_t N>
struct SDialogId {
  constexpr SDialogId(const char (&id)[N]) { std::copy_n(id, N, text); }
  char text[N];
};

// ---- Shared actions ------------------------------------------------------------------------

// Closes the top screen and opens again the one below it.
void ClickBack(CGUI_GamePushButton* button);
// Closes the top screen (an overlay menu) and opens nothing.
void ClickResume(CGUI_GamePushButton* button);
// Destroys the dialog the button belongs to.
void ClickCloseParent(CGUI_GamePushButton* button);
// Asks the host to leave the game loop.
void ClickQuit(CGUI_GamePushButton* button);

template <SDialogId X>
void ClickGoTo(CGUI_GamePushButton*) { GUI_NextDialog(X.text); }

template <SDialogId X>
void ClickOpenOver(CGUI_GamePushButton*) { GUI_CreateDialog(X.text); }

// ---- Shared buttons --------------------------------------------------------------------------

using CGUI_BackButton = TGUI_ClickButton<&ClickBack, kBaseFirst>;
using CGUI_BackActionFirstButton = TGUI_ClickButton<&ClickBack, kActionFirst>;
using CGUI_ResumeButton = TGUI_ClickButton<&ClickResume, kActionFirst>;
using CGUI_CloseParentButton = TGUI_ClickButton<&ClickCloseParent, kBaseFirst>;
using CGUI_QuitButton = TGUI_ClickButton<&ClickQuit, kBaseFirst>;

template <SDialogId X, EClickForm Form = kActionFirst>
using TGUI_GoToButton = TGUI_ClickButton<&ClickGoTo<X>, Form>;

template <SDialogId X>
using TGUI_OpenOverButton = TGUI_ClickButton<&ClickOpenOver<X>, kActionFirst>;
