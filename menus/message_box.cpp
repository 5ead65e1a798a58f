// message_box.cpp: GUI_MessageBox and GUI_CloseCurrentMessageBox, the message
// box dialog, its text list and its answer buttons.
#include "menus/message_box.h"

#include "menus/line_wrapper.h"
#include "menus/menu_state.h"
#include "menus/registration.h"
#include "runtime/window_manager.h"

namespace {

constexpr const char* kOkBox = "MBOX_OK";
constexpr const char* kYesNoBox = "MESSAGEBOX2";
constexpr unsigned long kAnswerOk = 1;
constexpr unsigned long kAnswerCancel = 2;

}  // namespace

// ---- Exported functions ---------------------------------------------------------------------

extern "C" KORVO_API bool GUI_MessageBox(const char* text, const char* /*title*/,
                                         unsigned long flags, MessageBoxCallback callback) {
  SModuleCall call;
  GUI_CloseCurrentMessageBox();
  const char* id = (flags & GUI_MB_YESNO) ? kYesNoBox : kOkBox;
  ModulePart<SMenuState>().openBox = id;
  GUI_CreateDialog(id);
  // The compiled script defines both boxes; without them nothing is shown.
  auto* box = dynamic_cast<CGUI_MessageBox*>(FindOpenDialog(id));
  if (!box) return true;
  box->SetMessage(text);
  box->SetStyle(flags);
  box->SetCallback(callback);
  return true;
}

extern "C" KORVO_API bool GUI_CloseCurrentMessageBox() {
  SMenuState& menus = ModulePart<SMenuState>();
  if (!menus.openBox) return false;
  const char* id = menus.openBox;
  menus.openBox = nullptr;
  GUI_DestroyDialog(id);
  return true;
}

// ---- The box --------------------------------------------------------------------------------

bool CGUI_MessageBox::OnCreate() {
  CGUI_Window* list = FindChild("IDC_LIST_MESSAGE1");
  if (!list) list = FindChild("IDC_LIST_MESSAGE2");
  list_ = dynamic_cast<CGUI_GameList*>(list);
  if (!CGUI_Dialog::OnCreate()) return false;
  SetForeground(1);
  return true;
}

bool CGUI_MessageBox::SetMessage(const char* text) {
  if (list_) {
    WrapIntoList(list_, nullptr, text, 0);
    if (list_->GetCount() > list_->GetVisibleRows()) return true;
  }
  for (const char* id : {"IDC_BUTTON_MESSAGEUP", "IDC_BUTTON_MESSAGEDOWN"}) {
    if (CGUI_Window* arrow = FindControl(id)) {
      arrow->SetHitTest(false);
      arrow->Show(false, true);
    }
  }
  return true;
}

void CGUI_MessageBox::SetStyle(unsigned long flags) {
  flags_ = flags;
  if (CGUI_Window* ok = FindControl("IDC_BUTTON_MESSAGEOK")) {
    if (flags & GUI_MB_OK) {
      ok->SetCaption("O K");
      ok->SetHitTest(true);
    } else if (flags & GUI_MB_CANCEL) {
      ok->SetCaption("CANCEL");
      ok->SetHitTest(true);
    } else {
      ok->SetCaption("     ");
      ok->SetHitTest(false);
    }
  }
  SetExclusive((flags & GUI_MB_EXCLUSIVE) != 0);
}

void CGUI_MessageBox::Answer(unsigned long code) {
  const uint32_t generation = TableGeneration();
  const bool accepted = !callback_ || callback_(code);
  // A callback that recompiled or released the UI took this box with it.
  if (TableGeneration() != generation) return;
  if (accepted) Destroy();
}

void CGUI_MessageBox::AnswerOk() {
  if (flags_ & GUI_MB_OK) Answer(kAnswerOk);
  else if (flags_ & GUI_MB_CANCEL) Answer(kAnswerCancel);
  else if (!callback_) Destroy();   // a blank button has no answer to report
}

// ---- Text list ----------------------------------------------------------------------------------

bool CGUI_MessageList::DrawItem(int index, float rect[4], bool /*selected*/, bool hovered) {
  return CGUI_GameList::DrawItem(index, rect, false, hovered);
}

// ---- Answer buttons ------------------------------------------------------------------------------

namespace {
CGUI_MessageBox* BoxOf(CGUI_GamePushButton* button) {
  return dynamic_cast<CGUI_MessageBox*>(button->GetParent());
}
}  // namespace

void ClickMessageOk(CGUI_GamePushButton* button) {
  if (CGUI_MessageBox* box = BoxOf(button)) box->AnswerOk();
}

void ClickMessageYes(CGUI_GamePushButton* button) {
  if (CGUI_MessageBox* box = BoxOf(button)) box->Answer(kAnswerOk);
}

void ClickMessageNo(CGUI_GamePushButton* button) {
  if (CGUI_MessageBox* box = BoxOf(button)) box->Answer(kAnswerCancel);
}

// ---- Registrations ------------------------------------------------------------------------

void RegisterMessageBox(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_MessageBox>(r, "MBOX_OK");
  RegisterIdClass<CGUI_MessageBox>(r, "MESSAGEBOX2");
  RegisterIdClass<CGUI_MessageList>(r, "IDC_LIST_MESSAGE1");
  RegisterIdClass<CGUI_MessageList>(r, "IDC_LIST_MESSAGE2");
  RegisterIdClass<CGUI_MessageOkButton>(r, "IDC_BUTTON_MESSAGEOK");
  RegisterIdClass<CGUI_MessageYesButton>(r, "IDC_BUTTON_MESSAGEYES");
  RegisterIdClass<CGUI_MessageNoButton>(r, "IDC_BUTTON_MESSAGENO");
}
