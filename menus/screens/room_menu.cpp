// room_menu.cpp: ROOMMENU, the room in which up to eight players gather
// before a match. Each slot's controls show one client record (the network
// library fills them) and re-read it every frame; the local player edits
// the team, character and option parts of the slot being edited. The
// exports GUI_EnableRoomMenuSlot / GUI_DisableRoomMenuSlot make a slot's
// buttons usable or not.
#include <cstdio>
#include <cstring>
#include <string>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/room.h"
#include "menus/chat_box.h"
#include "menus/click_handlers.h"
#include "menus/map_picture.h"
#include "menus/menu_dialogs.h"
#include "menus/menu_registrations.h"
#include "menus/option_icon.h"
#include "menus/registration.h"
#include "menus/room_records.h"
#include "menus/screens/screen_messages.h"
#include "runtime/edit.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/game_static.h"
#include "runtime/module_state.h"
#include "runtime/rotate_button.h"
#include "runtime/simple_controls.h"

namespace {

constexpr int kSlots = room::kClientSlots;
constexpr int kOptionBoxes = 7;
constexpr int kSoundSlotState = 40040;
constexpr int kMsgMapMissing = 26;
constexpr int kMsgReady = 27;
constexpr int kMsgCannotStart = 34;
constexpr unsigned long kReadyMsgColor = 0xFFFF0000;
constexpr int kBotlessGameType = 7;
constexpr int kChatRoom = 54;
constexpr char kEnter = 13;
constexpr char kEscape = 27;
constexpr const char* kTeamNames[] = {"RED", "BLUE", "PURPLE", "GREEN"};
constexpr int kTeamNameCount = 4;

class CGUI_CharacterBox;

// The live room, the option browser and the character preview.
struct SRoomState final : CModulePart {
  CGUI_Window* room = nullptr;           // the room created last
  CGUI_CharacterBox* characterBox = nullptr;
  int optionOffset = 0;                  // first option table entry in the boxes

  void OnTableReleased() override {
    room = nullptr;
    characterBox = nullptr;
  }
};

// ---- Helpers -------------------------------------------------------------------------------

// The digit at `at` of an id as a slot or index: '1' is 0.
int DigitIndex(const std::string& id, size_t at) {
  return at < id.size() && id[at] >= '1' && id[at] <= '9' ? id[at] - '1' : 0;
}

SGUI_ClientInfo* LocalRecord() { return GUI_GetClientInfo(GUI_GetLocalClientIndex()); }

// Control `format` of slot (its digit k = slot + 1) in the live room.
template <class T>
T* SlotControl(const char* format, int slot) {
  CGUI_Window* room = ModulePart<SRoomState>().room;
  if (!room) return nullptr;
  char id[64];
  std::snprintf(id, sizeof id, format, slot + 1);
  return dynamic_cast<T*>(room->FindChild(id));
}

CGUI_RotateButton* StateButton(int slot) {
  return SlotControl<CGUI_RotateButton>("IDC_BUTTON_LIST%d1", slot);
}
CGUI_RotateButton* TeamButton(int slot) {
  return SlotControl<CGUI_RotateButton>("IDC_BUTTON_LIST%d2", slot);
}
CGUI_RotateButton* ClassIcon(int slot) {
  return SlotControl<CGUI_RotateButton>("IDC_BUTTON_ROOMCLASSICONS0%d", slot);
}

// A frame button follows a record field: a new frame only when it differs.
void FollowField(CGUI_RotateButton* button, int field) {
  if (button && button->GetState() != field) button->SetState(field);
}

void SetAlpha(CGUI_GameBitmap* bitmap, uint32_t alpha) {
  bitmap->SetColor((bitmap->Color() & 0x00FFFFFFu) | alpha << 24);
}

int OptionParts() { return GUI_GetServerInfo()->parts; }

// ---- Character preview --------------------------------------------------------------------------

// The edited slot's character as a 3-D preview with its option parts mounted.
class CGUI_CharacterBox : public CGUI_Custom {
 public:
  bool OnCreate() override {
    if (!CGUI_Custom::OnCreate()) return false;
    ModulePart<SRoomState>().characterBox = this;
    return true;
  }
  bool OnDestroy() override {
    Release();
    CGUI_CharacterBox*& box = ModulePart<SRoomState>().characterBox;
    if (box == this) box = nullptr;
    return CGUI_Custom::OnDestroy();
  }
  bool OnDraw() override {
    if (!preview_) return true;
    float corner[2];
    GetAlignedPos(corner, true);
    SetRenderViewport(int(float(SCREEN_X) * corner[0]), int(float(SCREEN_Y) * corner[1]),
                      int(float(SCREEN_X) * region_[2]), int(float(SCREEN_Y) * region_[3]));
    DrawCharacter(preview_);
    return true;
  }

  // Rebuilds the preview from the edited slot's record.
  void Refresh() {
    Release();
    const SGUI_ClientInfo* record = LocalRecord();
    if (!record || record->character < 0) return;
    preview_ = CLoadCharacter(record->character, record->name, 0);
    if (record->left > 0) Mount(true, record->left);
    if (record->right > 0) Mount(false, record->right);
  }
  // Puts option id (entry id - 1) into one hand; 0 or less only empties it.
  void Mount(bool left, int optionId) {
    if (!preview_) return;
    const SGUI_OptionInfo* option = GUI_GetOptionInfo(optionId - 1);
    if (!option) return;
    AddOptionWeapon(preview_, OPT_GetNameByID(left ? option->left : option->right), left);
  }
  void Unmount(bool left) {
    if (preview_) RemoveOptionWeapon(preview_, left);
  }

 private:
  void Release() {
    if (preview_) DeleteCharacter(preview_);
    preview_ = nullptr;
  }

  CHARACTER* preview_ = nullptr;   // owned by the host, deleted here
};

void RefreshCharacterBox() {
  if (CGUI_CharacterBox* box = ModulePart<SRoomState>().characterBox) box->Refresh();
}

// The host's index of the character with this id, or -1 when none has it.
int CharacterIndex(int id) {
  const int count = GetNumCharacters();
  for (int i = 0; i < count; ++i)
    if (GetCharacterID(i) == id) return i;
  return -1;
}

// Steps the edited slot's character through the host's characters.
template <int Step>
void ClickCharacter(CGUI_GamePushButton*) {
  SGUI_ClientInfo* record = LocalRecord();
  const int count = GetNumCharacters();
  if (!record || count <= 0) return;
  int index = CharacterIndex(record->character);
  index = index < 0 ? (Step > 0 ? 0 : count - 1) : ((index + Step) % count + count) % count;
  record->character = GetCharacterID(index);
  RefreshCharacterBox();
}

// ---- Option browser ---------------------------------------------------------------------------

// The table entry shown in box k (0-6), or -1 for an empty box.
int BoxEntry(int box) {
  const int count = GUI_GetNumOptions();
  if (count <= 0) return -1;
  const int at = ModulePart<SRoomState>().optionOffset + box;
  if (count > kOptionBoxes) return (at % count + count) % count;
  return at < count ? at : -1;
}

// Moves the window of seven entries: around the table when it has more than
// seven entries, else within 0 .. count - 7.
void ScrollOptions(int delta) {
  const int count = GUI_GetNumOptions();
  int& offset = ModulePart<SRoomState>().optionOffset;
  offset += delta;
  if (count > kOptionBoxes) {
    offset = (offset % count + count) % count;
  } else {
    if (offset > count - kOptionBoxes) offset = count - kOptionBoxes;
    if (offset < 0) offset = 0;
  }
}

// Releases one side's choice: -1 when only single parts are allowed and the
// other side holds one, else 0 (random).
void ReleaseSide(SGUI_ClientInfo* record, bool left) {
  int& side = left ? record->left : record->right;
  const int other = left ? record->right : record->left;
  CGUI_CharacterBox* box = ModulePart<SRoomState>().characterBox;
  if (side > 0 && box) box->Unmount(left);
  side = OptionParts() != 2 && other > 0 ? -1 : 0;
}

// Chooses entry for one side; with single parts the other side is emptied.
void ChooseSide(SGUI_ClientInfo* record, bool left, int entry) {
  int& side = left ? record->left : record->right;
  int& other = left ? record->right : record->left;
  CGUI_CharacterBox* box = ModulePart<SRoomState>().characterBox;
  if (side > 0 && box) box->Unmount(left);
  side = entry + 1;
  if (box) box->Mount(left, side);
  if (OptionParts() == 1) {
    if (other > 0 && box) box->Unmount(!left);
    other = -1;
  }
}

// Chooses box k for a side, or releases it when it already holds that side.
void ToggleBox(int box, bool left) {
  SGUI_ClientInfo* record = LocalRecord();
  const int entry = BoxEntry(box);
  if (!record || entry < 0 || OptionParts() <= 0) return;
  if ((left ? record->left : record->right) == entry + 1) ReleaseSide(record, left);
  else ChooseSide(record, left, entry);
}

void RefreshOptionBoxes();

// One of the seven option boxes: the icon of its entry, tinted by the side
// that holds it (amber left, blue right), brighter under the mouse.
class CGUI_OptionBox : public CGUI_Custom {
 public:
  CGUI_OptionBox() {
    hitTest_ = true;   // unlike plain custom areas, it takes the mouse
    icon_ = new CGUI_GameBitmap;
    SParamList* list = new SParamList;
    list->value = NewStringParam("null");
    icon_->AddParamList(list);
    FreeParamList(list);
  }
  ~CGUI_OptionBox() override {
    icon_->SetParent(nullptr);
    delete icon_;
  }

  bool OnCreate() override {
    icon_->SetId(id_);
    icon_->SetParent(this);
    icon_->SetHitTest(false);
    hovered_ = false;
    return CGUI_Custom::OnCreate();
  }
  bool OnDestroy() override {
    hovered_ = false;
    return CGUI_Custom::OnDestroy();
  }
  bool SetRegion(const float region[4]) override {
    const float frame[4] = {0, 0, region[2], region[3]};
    icon_->SetRegion(frame);
    return CGUI_Custom::SetRegion(region);
  }
  bool OnMouseEnter() override {
    hovered_ = true;
    Refresh();
    return CGUI_Custom::OnMouseEnter();
  }
  bool OnMouseLeave() override {
    hovered_ = false;
    Refresh();
    return CGUI_Custom::OnMouseLeave();
  }
  // A click releases the side the box holds, else chooses the free side.
  bool OnLButtonUp() override {
    const SGUI_ClientInfo* record = LocalRecord();
    const int entry = BoxEntry(Index());
    if (record && entry >= 0) {
      const bool holdsRight = record->right == entry + 1;
      ToggleBox(Index(), !holdsRight && (record->left == entry + 1 || record->left <= 0));
      RefreshOptionBoxes();
    }
    return CGUI_Custom::OnLButtonUp();
  }

  int Index() const { return DigitIndex(id_, id_.size() - 1); }

  void Refresh() {
    const int entry = BoxEntry(Index());
    SetOptionIconTexture(icon_, entry < 0 ? -1 : entry + 1);
    const SGUI_ClientInfo* record = LocalRecord();
    uint32_t color = 0x00FFFFFF;
    if (record && entry >= 0 && record->left == entry + 1) color = 0x00FFB050;
    else if (record && entry >= 0 && record->right == entry + 1) color = 0x0060C0FF;
    const uint32_t alpha = hovered_ || color != 0x00FFFFFF ? 255 : 150;
    icon_->SetColor(color | alpha << 24);
  }

 private:
  CGUI_GameBitmap* icon_;   // owned member; a child once created
  bool hovered_ = false;
};

void RefreshOptionBoxes() {
  CGUI_Window* room = ModulePart<SRoomState>().room;
  if (!room) return;
  for (int k = 0; k < kOptionBoxes; ++k) {
    char id[32];
    std::snprintf(id, sizeof id, "IDC_CUSTOM_OPTIONBOX%d", k + 1);
    if (auto* box = dynamic_cast<CGUI_OptionBox*>(room->FindChild(id))) box->Refresh();
  }
}

template <int Delta>
void ClickScrollOptions(CGUI_GamePushButton*) {
  ScrollOptions(Delta);
  RefreshOptionBoxes();
}

// The arrows beside box k choose its entry for the left or the right hand;
// they are usable only when the game allows option parts.
template <bool Left>
class TGUI_OptionArrow : public CGUI_GamePushButton {
 public:
  bool OnCreate() override {
    if (!CGUI_GamePushButton::OnCreate()) return false;
    SetHitTest(OptionParts() > 0);
    return true;
  }
  bool OnMouseEnter() override { return Highlight(true) && CGUI_GamePushButton::OnMouseEnter(); }
  bool OnMouseLeave() override { return Highlight(false) && CGUI_GamePushButton::OnMouseLeave(); }
  bool OnLButtonUp() override {
    if (!CGUI_GamePushButton::OnLButtonUp()) return false;
    ToggleBox(Index(), Left);
    RefreshOptionBoxes();
    return true;
  }

 private:
  int Index() const { return DigitIndex(id_, id_.size() - 1); }
  // The arrow's box shows itself hovered while the arrow is.
  bool Highlight(bool on) {
    char id[32];
    std::snprintf(id, sizeof id, "IDC_CUSTOM_OPTIONBOX%d", Index() + 1);
    CGUI_Window* parent = GetParent();
    if (auto* box = parent ? dynamic_cast<CGUI_OptionBox*>(parent->FindChild(id)) : nullptr)
      on ? box->OnMouseEnter() : box->OnMouseLeave();
    return true;
  }
};

// ---- Slot controls -------------------------------------------------------------------------------

// Player name and character of slot k, from the id's digit after "IDC_STATIC_".
template <bool Character>
class TGUI_SlotText : public CGUI_GameStatic {
 public:
  bool OnCreate() override {
    slot_ = DigitIndex(id_, 11);
    return CGUI_GameStatic::OnCreate();
  }
  bool OnDraw() override {
    if (const SGUI_ClientInfo* record = GUI_GetClientInfo(slot_)) {
      std::string text;
      if (Character) {
        // The record holds the character's id; the host names characters by index.
        if (record->character != -1) {
          if (const int index = CharacterIndex(record->character); index >= 0)
            text = GetCharacterName(index);
        }
      } else {
        text.assign(record->name, strnlen(record->name, sizeof record->name));
      }
      if (text != caption_) SetCaption(text);
    }
    return CGUI_GameStatic::OnDraw();
  }

 private:
  int slot_ = 0;
};

// The slot state button (frame = slot state); only the server acts on a click.
class CGUI_SlotStateButton : public CGUI_RotateButton {
 public:
  bool OnCreate() override {
    slot_ = DigitIndex(id_, 15);
    if (!CGUI_RotateButton::OnCreate()) return false;
    CGUI_Window* parent = GetParent();
    char id[32];
    std::snprintf(id, sizeof id, "IDC_BUTTON_LIST%d2", slot_ + 1);
    team_ = parent ? parent->FindChild(id) : nullptr;
    return true;
  }
  bool OnUpdate() override {
    if (const SGUI_ClientInfo* record = GUI_GetClientInfo(slot_)) FollowField(this, record->state);
    return CGUI_RotateButton::OnUpdate();
  }
  bool OnLButtonUp() override {
    PlaySoundA(kSoundSlotState);
    if (bServerSystem) Act();
    return CGUI_PushButton::OnLButtonUp();
  }

 private:
  void Act() {
    const bool bots = GUI_GetServerInfo()->type != kBotlessGameType;
    switch (GetState()) {
      case 0:
        if (bots) Server_AddBot(slot_);
        else StepOwnFrame();
        if (team_) team_->SetHitTest(true);
        break;
      case 1:
        if (bots) Server_RemoveBot(slot_);
        else StepOwnFrame();
        CS_Manager::UpdateMenuState(slot_, 1);
        if (slot_ == GUI_GetLocalClientIndex()) RefreshCharacterBox();
        if (team_) team_->SetHitTest(false);
        break;
      case 2:
        CS_Manager::UpdateMenuState(slot_, 0);
        if (team_) team_->SetHitTest(false);
        break;
      default:
        break;
    }
  }

  // Without bots the button takes its next frame itself; the record keeps it
  // until the network library writes the slot again.
  void StepOwnFrame() {
    SetState(-1);
    if (SGUI_ClientInfo* record = GUI_GetClientInfo(slot_)) record->state = GetState();
  }

  int slot_ = 0;
  CGUI_Window* team_ = nullptr;   // the team button of the same slot
};

// The team button (frame = team id); its frames' colours are the team colours.
class CGUI_TeamButton : public CGUI_RotateButton {
 public:
  bool OnCreate() override {
    slot_ = DigitIndex(id_, 15);
    following_ = true;
    const bool created = CGUI_RotateButton::OnCreate();
    following_ = false;
    if (!created) return false;
    const int count = StateCount() < kTeamNameCount ? StateCount() : kTeamNameCount;
    unsigned long colors[kTeamNameCount] = {};
    char* names[kTeamNameCount] = {};
    for (int i = 0; i < count; ++i) {
      colors[i] = StateBitmap(i)->Color();
      names[i] = const_cast<char*>(kTeamNames[i]);
    }
    GUI_InitTeamColor(count, colors, names);
    SetHitTest(slot_ == GUI_GetLocalClientIndex());
    return true;
  }
  bool OnDraw() override {
    if (const SGUI_ClientInfo* record = GUI_GetClientInfo(slot_)) {
      following_ = true;
      FollowField(this, record->team);
      following_ = false;
    }
    return CGUI_RotateButton::OnDraw();
  }
  // A click on the local slot's button stores the new frame as its team.
  bool OnStateChanged() override {
    if (following_) return true;
    if (SGUI_ClientInfo* record = GUI_GetClientInfo(slot_)) record->team = GetState();
    return true;
  }

 private:
  int slot_ = 0;
  bool following_ = false;
};

// The class icon (frame = class index when it is not negative).
class CGUI_RoomClassIcon : public CGUI_RotateButton {
 public:
  bool OnCreate() override {
    slot_ = DigitIndex(id_, id_.size() - 1);
    return CGUI_RotateButton::OnCreate();
  }
  bool OnUpdate() override {
    const SGUI_ClientInfo* record = GUI_GetClientInfo(slot_);
    if (record && record->classIndex >= 0) FollowField(this, record->classIndex);
    return CGUI_RotateButton::OnUpdate();
  }

 private:
  int slot_ = 0;
};

// The ready mark: bright when the slot's player is ready.
class CGUI_ReadyMark : public CGUI_GameBitmap {
 public:
  bool OnCreate() override {
    slot_ = DigitIndex(id_, id_.size() - 1);
    return CGUI_GameBitmap::OnCreate();
  }
  bool OnDraw() override {
    const SGUI_ClientInfo* record = GUI_GetClientInfo(slot_);
    SetAlpha(this, record && record->ready ? 200 : 51);
    return CGUI_GameBitmap::OnDraw();
  }

 private:
  int slot_ = 0;
};

// The icon of the slot's left (IDC_BITMAP_LOPTIONk) or right option part.
class CGUI_SlotOptionIcon : public CGUI_GameBitmap {
 public:
  bool OnCreate() override {
    slot_ = DigitIndex(id_, id_.size() - 1);
    left_ = id_.size() > 11 && id_[11] == 'L';
    if (!CGUI_GameBitmap::OnCreate()) return false;
    shown_ = -2;
    return true;
  }
  bool OnDraw() override {
    if (const SGUI_ClientInfo* record = GUI_GetClientInfo(slot_)) {
      const int id = left_ ? record->left : record->right;
      if (id != shown_) SetOptionIconTexture(this, shown_ = id);
    }
    return CGUI_GameBitmap::OnDraw();
  }

 private:
  int slot_ = 0;
  bool left_ = true;
  int shown_ = -2;   // the option id whose icon is loaded; -2 none yet
};

void RefreshSlotFrames();

// The frame behind a slot's row; on the server a click on slot 0 or a slot
// of state 1 makes that slot the one being edited.
class CGUI_SlotFrame : public CGUI_GameBitmap {
 public:
  CGUI_SlotFrame() { hitTest_ = true; }   // unlike plain pictures, it takes the mouse
  bool OnCreate() override {
    slot_ = DigitIndex(id_, 11);
    hovered_ = false;
    if (!CGUI_GameBitmap::OnCreate()) return false;
    Refresh();
    return true;
  }
  bool OnMouseEnter() override {
    hovered_ = true;
    Refresh();
    return CGUI_GameBitmap::OnMouseEnter();
  }
  bool OnMouseLeave() override {
    hovered_ = false;
    Refresh();
    return CGUI_GameBitmap::OnMouseLeave();
  }
  bool OnLButtonUp() override {
    const SGUI_ClientInfo* record = GUI_GetClientInfo(slot_);
    if (bServerSystem && record && (slot_ == 0 || record->state == 1)) {
      GUI_SetLocalClientIndex(slot_);
      RefreshSlotFrames();
      RefreshCharacterBox();
      RefreshOptionBoxes();
    }
    return CGUI_GameBitmap::OnLButtonUp();
  }

  // Highlighted for the slot being edited (and under the mouse), else dim.
  void Refresh() { SetAlpha(this, slot_ == GUI_GetLocalClientIndex() || hovered_ ? 102 : 51); }

 private:
  int slot_ = 0;
  bool hovered_ = false;
};

void RefreshSlotFrames() {
  for (int slot = 0; slot < kSlots; ++slot)
    if (auto* frame = SlotControl<CGUI_SlotFrame>("IDC_BITMAP_%dPLAYERNAME", slot))
      frame->Refresh();
}

// ---- Start, cancel and chat --------------------------------------------------------------------

// "START" on the server, "O  K" on a client; unusable when the map is missing.
class CGUI_RoomStartButton : public CGUI_GamePushButton {
 public:
  bool OnCreate() override {
    if (!CGUI_GamePushButton::OnCreate()) return false;
    char path[512];
    std::snprintf(path, sizeof path, "data/%s", GetGNDPath(GUI_GetServerInfo()->map));
    if (FindFilesInCFS(path) <= 0) {
      ShowMessage(kMsgMapMissing, GUI_MB_OK);
      SetHitTest(false);
      return true;
    }
    // A visit with the map present takes the mouse again after one without.
    SetHitTest(true);
    SetCaption(bServerSystem ? "START" : "O  K");
    return true;
  }
  bool OnLButtonUp() override {
    if (!CGUI_GamePushButton::OnLButtonUp()) return false;
    if (bServerSystem) {
      if (CS_Manager::CanStart()) CS_Manager::Write_Start();
      else ShowMessage(kMsgCannotStart, GUI_MB_OK);   // never a silent refusal
      return true;
    }
    if (SGUI_ClientInfo* record = LocalRecord()) record->ready = 1;
    SetScreenMsgColor(kReadyMsgColor);
    ScreenMsg("%s", MessageText(kMsgReady).c_str());
    return true;
  }
};

void ClickRoomCancel(CGUI_GamePushButton*) { NET_Release(); }

CGUI_List* ChatBox(CGUI_Window* button) {
  CGUI_Window* parent = button->GetParent();
  return parent ? dynamic_cast<CGUI_List*>(parent->FindChild("IDC_LIST_ROOMCHATBOX")) : nullptr;
}

template <int Delta>
void ClickScrollChat(CGUI_GamePushButton* button) {
  if (CGUI_List* list = ChatBox(button)) list->SetTopIndex(list->GetTopIndex() + Delta);
}

// Enter sends the line to the room and empties it; Escape empties it.
class CGUI_RoomChatInput : public CGUI_GameEdit {
 public:
  bool OnChar(char ch) override {
    if (ch == kEscape) return SetCaption("");
    if (ch != kEnter) return CGUI_GameEdit::OnChar(ch);
    std::string text;
    GetText(text);
    Client_RequestTextMsg(text.c_str());
    return SetCaption("");
  }
};

// ---- Dialog -----------------------------------------------------------------------------------

// The picture of the room's map.
class CGUI_RoomMapImage : public CGUI_GameBitmap {
 public:
  bool OnCreate() override {
    if (!CGUI_GameBitmap::OnCreate()) return false;
    const SGUI_ServerInfo* server = GUI_GetServerInfo();
    const std::string picture = MapPictureName(std::string(server->map, strnlen(server->map, sizeof server->map)));
    if (!picture.empty()) SetTexture(picture.c_str());
    return true;
  }
};

void SetStatic(CGUI_Window* room, const char* id, const std::string& text) {
  if (CGUI_Window* w = room->FindChild(id)) w->SetCaption(text);
}

// Decimal text (std::to_string would export a library template from the module).
std::string Decimal(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", n);
  return text;
}

std::string NumberOrUnlimited(int n) { return n ? Decimal(n) : "UNLIMITED"; }

class CGUI_RoomMenu : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    SRoomState& state = ModulePart<SRoomState>();
    state.room = this;
    for (int slot = 0; slot < kSlots; ++slot) GUI_InitClientInfo(slot, 0);
    state.optionOffset = 0;
    if (!CGUI_MenuDialog::OnCreate()) return false;

    if (auto* chat = dynamic_cast<CGUI_Edit*>(FindControl("IDC_EDIT_ROOMCHATINPUT")))
      chat->SetMaxNumChar(kChatRoom);
    for (int slot = 0; slot < kSlots; ++slot) GUI_DisableRoomMenuSlot(slot);

    const SGUI_ServerInfo* server = GUI_GetServerInfo();
    static const char* const kParts[] = {"NONE", "SINGLE", "DOUBLE"};
    const std::string map(server->map, strnlen(server->map, sizeof server->map));
    SetStatic(this, "IDC_STATIC_ROOMNAME", server->room);
    SetStatic(this, "IDC_STATIC_PASSWORD", server->password);
    SetStatic(this, "IDC_STATIC_MAPNAME", map.substr(0, map.find('.')));
    SetStatic(this, "IDC_STATIC_GAMETYPE", NET_GetGameRuleInfo(server->type)->name);
    SetStatic(this, "IDC_STATIC_FRAGLIMIT", NumberOrUnlimited(server->frag));
    SetStatic(this, "IDC_STATIC_TIMELIMIT", NumberOrUnlimited(server->time));
    if (server->parts >= 0 && server->parts <= 2)
      SetStatic(this, "IDC_STATIC_OPTION", kParts[server->parts]);
    SetStatic(this, "IDC_STATIC_ARMOR", Decimal(server->armor));
    SetStatic(this, "IDC_STATIC_SHIELD", Decimal(server->shield));

    RefreshCharacterBox();
    RefreshOptionBoxes();
    return true;
  }
};

using CGUI_RoomCancelButton = TGUI_ClickButton<&ClickRoomCancel, kBaseFirst>;

}  // namespace

// ---- Exported slot switches ---------------------------------------------------------------------

extern "C" KORVO_API void GUI_EnableRoomMenuSlot(int slot, bool enable) {
  if (slot < 0 || slot >= kSlots) return;
  if (CGUI_RotateButton* state = StateButton(slot); state && slot > 0 && bServerSystem)
    state->SetHitTest(enable);
  if (CGUI_RotateButton* team = TeamButton(slot)) {
    const bool teamGame = NET_GR_client::IsTeamGame();
    team->Show(teamGame, true);
    team->SetHitTest(teamGame && enable);
  }
  if (CGUI_RotateButton* icon = ClassIcon(slot)) {
    const SClientInfo* client = CC_Manager::GetClientInfo(slot);
    icon->Show(client && client->inUse == 1, true);
  }
}

extern "C" KORVO_API void GUI_DisableRoomMenuSlot(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  if (CGUI_RotateButton* state = StateButton(slot); state && slot > 0)
    state->SetHitTest(bServerSystem != 0);
  if (CGUI_RotateButton* team = TeamButton(slot)) {
    team->SetHitTest(false);
    team->Show(false, true);
  }
  if (CGUI_RotateButton* icon = ClassIcon(slot)) icon->Show(false, true);
}

void RegisterRoomPlayerName(CGUI_ClassRegistry* r, const char* id) {
  RegisterIdClass<TGUI_SlotText<false>>(r, id);
}

void RegisterRoomMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_RoomMenu>(r, "ROOMMENU");
  RegisterIdClass<CGUI_RoomStartButton>(r, "IDC_BUTTON_ROOMSTART");
  RegisterIdClass<CGUI_RoomCancelButton>(r, "IDC_BUTTON_ROOMCANCEL");
  RegisterIdClass<CGUI_CharacterBox>(r, "IDC_CUSTOM_CHARACTERBOX");
  RegisterIdClass<TGUI_ClickButton<&ClickCharacter<-1>, kBaseFirst>>(r, "IDC_BUTTON_CHARACTERUP");
  RegisterIdClass<TGUI_ClickButton<&ClickCharacter<1>, kBaseFirst>>(r, "IDC_BUTTON_CHARACTERDOWN");
  char id[64];
  for (int k = 1; k <= kSlots; ++k) {
    std::snprintf(id, sizeof id, "IDC_BUTTON_LIST%d1", k);
    RegisterIdClass<CGUI_SlotStateButton>(r, id);
  }
  for (int k = 1; k <= kSlots; ++k) {
    std::snprintf(id, sizeof id, "IDC_BUTTON_LIST%d2", k);
    RegisterIdClass<CGUI_TeamButton>(r, id);
  }
  RegisterIdClass<CGUI_RoomMapImage>(r, "IDC_BITMAP_MAPIMAGE");
  for (int k = 1; k <= kSlots; ++k) {
    std::snprintf(id, sizeof id, "IDC_STATIC_%dPLAYERNAME", k);
    RegisterIdClass<TGUI_SlotText<false>>(r, id);
  }
  for (int k = 1; k <= kSlots; ++k) {
    std::snprintf(id, sizeof id, "IDC_STATIC_%dPLAYERCHARACTER", k);
    RegisterIdClass<TGUI_SlotText<true>>(r, id);
  }
  for (int k = 1; k <= kSlots; ++k) {
    std::snprintf(id, sizeof id, "IDC_BUTTON_ROOMCLASSICONS0%d", k);
    RegisterIdClass<CGUI_RoomClassIcon>(r, id);
  }
  RegisterIdClass<TGUI_ClickButton<&ClickScrollOptions<-1>, kBaseFirst>>(r, "IDC_BUTTON_OPTIONUP");
  RegisterIdClass<TGUI_ClickButton<&ClickScrollOptions<1>, kBaseFirst>>(r, "IDC_BUTTON_OPTIONDOWN");
  for (int k = 1; k <= kOptionBoxes; ++k) {
    std::snprintf(id, sizeof id, "IDC_CUSTOM_OPTIONBOX%d", k);
    RegisterIdClass<CGUI_OptionBox>(r, id);
  }
  for (int k = 1; k <= kOptionBoxes; ++k) {
    std::snprintf(id, sizeof id, "IDC_BUTTON_LEFTOPTIONARROW%d", k);
    RegisterIdClass<TGUI_OptionArrow<true>>(r, id);
  }
  for (int k = 1; k <= kOptionBoxes; ++k) {
    std::snprintf(id, sizeof id, "IDC_BUTTON_RIGHTOPTIONARROW%d", k);
    RegisterIdClass<TGUI_OptionArrow<false>>(r, id);
  }
  for (const char* side : {"L", "R"}) {
    for (int k = 1; k <= kSlots; ++k) {
      std::snprintf(id, sizeof id, "IDC_BITMAP_%sOPTION%d", side, k);
      RegisterIdClass<CGUI_SlotOptionIcon>(r, id);
    }
  }
  for (int k = 1; k <= kSlots; ++k) {
    std::snprintf(id, sizeof id, "IDC_BITMAP_%dPLAYERNAME", k);
    RegisterIdClass<CGUI_SlotFrame>(r, id);
  }
  for (int k = 1; k <= kSlots; ++k) {
    std::snprintf(id, sizeof id, "IDC_BITMAP_OK%d", k);
    RegisterIdClass<CGUI_ReadyMark>(r, id);
  }
  RegisterIdClass<TGUI_ClickButton<&ClickScrollChat<-1>, kBaseFirst>>(r, "IDC_BUTTON_ROOMCHATUP");
  RegisterIdClass<TGUI_ClickButton<&ClickScrollChat<1>, kBaseFirst>>(r, "IDC_BUTTON_ROOMCHATDOWN");
  RegisterIdClass<CGUI_RoomChatInput>(r, "IDC_EDIT_ROOMCHATINPUT");
  RegisterIdClass<CGUI_ChatBox>(r, "IDC_LIST_ROOMCHATBOX");
}
