// play_chat.cpp: the in-game chat PLAYCHAT: a chat box that scrolls itself
// empty when the talk stops, the input line the host opens and closes, and
// the chat exports.
#include <string>

#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/overlays.h"
#include "menus/chat_box.h"
#include "menus/line_wrapper.h"
#include "menus/registration.h"
#include "overlays/event_message.h"
#include "overlays/overlay_lookup.h"
#include "overlays/overlay_registrations.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/key_codes.h"
#include "runtime/routing.h"
#include "runtime/sound_ids.h"

namespace {

void WriteChatMode(bool on) {
  if (CC_Message* message = Client_GetClientMsg(-1)) message->Write_ChatMode(on);
}

class CGUI_PlayChat : public CGUI_Dialog {
 public:
  bool OnCreate() override {
    if (!CGUI_Dialog::OnCreate()) return false;
    frame_ = dynamic_cast<CGUI_GameBitmap*>(FindControl("IDC_BITMAP_PLAYSINGLEMESSAGEBOX"));
    box = dynamic_cast<CGUI_GameList*>(FindControl("IDC_LIST_PLAYCHATBOX"));
    input = dynamic_cast<CGUI_GameEdit*>(FindControl("IDC_EDIT_PLAYCHATINPUT"));
    lastMessage_ = dwY3DCurrentFrameTick;
    scrolled_ = 0;
    return true;
  }

  bool OnUpdate() override {
    const uint32_t elapsed = dwY3DCurrentFrameTick - lastMessage_;
    if (box && box->GetCount() > 0 && elapsed > 5000) {
      const int k = int((elapsed - 5000) / 1000);
      if (k > box->GetVisibleRows()) {
        box->ResetContent();
        if (frame_) frame_->Show(false, false);
      } else if (k > scrolled_) {
        box->AddString("");
        box->SetCurSel(-1);
        scrolled_ = k;
      }
    }
    return CGUI_Dialog::OnUpdate();
  }

  void Message(uint32_t argb, const char* name, const char* text) {
    if (box) WrapIntoList(box, name, text, argb);
    lastMessage_ = dwY3DCurrentFrameTick;
    scrolled_ = 0;
    PlaySoundA(kSoundChatLine);
    if (!NET_bInitialized && frame_) {
      frame_->Show(true, false);
      frame_->RestartClock();
    }
  }

  CGUI_GameList* box = nullptr;
  CGUI_GameEdit* input = nullptr;

 private:
  CGUI_GameBitmap* frame_ = nullptr;
  uint32_t lastMessage_ = 0;
  int scrolled_ = 0;
};

CGUI_PlayChat* LiveChat() { return dynamic_cast<CGUI_PlayChat*>(FindOpenDialog("PLAYCHAT")); }

// Shows the input mark while the line has the focus.
class CGUI_PlayChatInput : public CGUI_GameEdit {
 public:
  bool OnSetFocus() override {
    Mark(true);
    return CGUI_GameEdit::OnSetFocus();
  }
  bool OnKillFocus() override {
    Mark(false);
    return CGUI_GameEdit::OnKillFocus();
  }
  bool OnChar(char ch) override {
    if (ch == VK_RETURN || ch == VK_ESCAPE) {
      if (ch == VK_ESCAPE) SetCaption("");
      GUI_LeaveChatMode();
      return true;
    }
    return CGUI_GameEdit::OnChar(ch);
  }

 private:
  void Mark(bool show) {
    if (CGUI_Window* mark = FindAs<CGUI_Window>(GetParent(), "IDC_STATIC_PLAYCHATINPUTMARK"))
      mark->Show(show, false);
  }
};

}  // namespace

extern "C" KORVO_API void GUI_EnterChatMode() {
  bChatInputMode = 1;
  CGUI_PlayChat* chat = LiveChat();
  if (!chat) return;
  if (chat->input) SetFocusWindow(chat->input);
  WriteChatMode(true);
}

extern "C" KORVO_API void GUI_LeaveChatMode() {
  bChatInputMode = 0;
  CGUI_PlayChat* chat = LiveChat();
  if (!chat) return;
  if (chat->input) {
    std::string text;
    chat->input->GetText(text);
    if (!text.empty() && NET_bInitialized) Client_RequestTextMsg(text.c_str());
    chat->input->SetCaption("");
  }
  SetFocusWindow(nullptr);
  WriteChatMode(false);
}

extern "C" KORVO_API void GUI_ChatMessage(uint32_t argb, char* name, char* text) {
  if (CGUI_PlayChat* chat = LiveChat()) chat->Message(argb, name, text);
  if (auto* room = FindOpenAs<CGUI_GameList>("ROOMMENU", "IDC_LIST_ROOMCHATBOX"))
    WrapIntoList(room, name, text, argb);
}

void RegisterPlayChat(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_PlayChat>(r, "PLAYCHAT");
  RegisterIdClass<CGUI_ChatBox>(r, "IDC_LIST_PLAYCHATBOX");
  RegisterIdClass<CGUI_PlayChatInput>(r, "IDC_EDIT_PLAYCHATINPUT");
  for (const char* id : {"IDC_STATIC_PLAYMESSAGE1", "IDC_STATIC_PLAYMESSAGE2", "IDC_STATIC_PLAYMESSAGE3",
                         "IDC_STATIC_PLAYMESSAGE4", "IDC_STATIC_MULTIPLAYGAMEOVERMESSAGE"})
    RegisterIdClass<CGUI_EventMessage>(r, id);
}
