// message_box.h: the message box dialog (MBOX_OK, MESSAGEBOX2), its text list
// and its answer buttons.
#pragma once
#include "korvogui/messagebox.h"
#include "menus/click_handlers.h"
#include "runtime/dialog.h"
#include "runtime/game_list.h"

class CGUI_MessageBox : public CGUI_Dialog {
 public:
  bool OnCreate() override;

  // ---- Appended operation ------------------------------------------------------------
  // Wraps the text into the message list; hides the scroll arrows when it fits.
  virtual bool SetMessage(const char* text);

  // Button caption and hit test of "O K" / "CANCEL" / none, and exclusivity.
  void SetStyle(unsigned long flags);
  void SetCallback(MessageBoxCallback callback) { callback_ = callback; }
  // Reports code to the callback; closes the box unless the callback refuses.
  void Answer(unsigned long code);
  // The OK button's answer: 1 with style "O K", 2 with "CANCEL"; a blank
  // button only closes a box that has no callback.
  void AnswerOk();

  unsigned long Flags() const { return flags_; }

 private:
  CGUI_GameList* list_ = nullptr;   // IDC_LIST_MESSAGE1 or IDC_LIST_MESSAGE2
  MessageBoxCallback callback_ = nullptr;
  unsigned long flags_ = 0;
};

// The message text: rows in the list's own colour, never in the selected look
// (the text is read, not chosen).
class CGUI_MessageList : public CGUI_GameList {
 public:
  bool DrawItem(int index, float rect[4], bool selected, bool hovered) override;
};

// ---- Answer buttons (base first) -----------------------------------------------------------
void ClickMessageOk(CGUI_GamePushButton* button);
void ClickMessageYes(CGUI_GamePushButton* button);
void ClickMessageNo(CGUI_GamePushButton* button);

using CGUI_MessageOkButton = TGUI_ClickButton<&ClickMessageOk, kBaseFirst>;
using CGUI_MessageYesButton = TGUI_ClickButton<&ClickMessageYes, kBaseFirst>;
using CGUI_MessageNoButton = TGUI_ClickButton<&ClickMessageNo, kBaseFirst>;
