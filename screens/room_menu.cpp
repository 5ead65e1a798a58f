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
#include "menus/character_box.h"
#include "menus/chat_box.h"
#include "menus/click_handlers.h"
#include "menus/map_picture.h"
#include "menus/menu_dialogs.h"
#include "menus/option_carousel.h"
#include "menus/option_icon.h"
#include "menus/registration.h"
#include "menus/room_records.h"
#include "runtime/edit.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/game_static.h"
#include "runtime/key_codes.h"
#include "runtime/module_state.h"
#include "runtime/rotate_button.h"
#include "runtime/simple_controls.h"
#include "runtime/sound_ids.h"
#include "screens/screen_messages.h"

namespace {

constexpr int kSlots = room::kClientSlots;
constexpr int kMsgMapMissing = 26;
constexpr int kMsgReady = 27;
constexpr int kMsgCannotStart = 34;
constexpr unsigned long kReadyMsgColor = 0xFFFF0000;
constexpr int kBotlessGameType = 7;
constexpr int kChatRoom = 54;
constexpr const char* kTeamNames[] = {"RED", "BLUE", "PURPLE", "GREEN"};
constexpr int kTeamNameCount = 4;

class CGUI_RoomCharacterBox;

// The live room, the option browser and the character preview.
struct SRoomState final : CModulePart {
  CGUI_Window* room = nullptr;           // the room created last
  CGUI_RoomCharacterBox* characterBox = nullptr;
  int optionOffset = 0;                  // first option table entry in the boxes

  void OnTableReleased() override {
    room = nullptr;
    characterBox = nullptr;
  }
};

// ---- Helpers -------------------------------------------------------------------------------

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

// The edited slot's character, kept in its client record.
class CGUI_RoomCharacterBox : public CGUI_CharacterBox {
 public:
  bool OnCreate() override {
    if (!CGUI_CharacterBox::OnCreate()) return false;
    ModulePart<SRoomState>().characterBox = this;
    return true;
  }
  bool OnDestroy() override {
    CGUI_RoomCharacterBox*& box = ModulePart<SRoomState>().characterBox;
    if (box == this) box = nullptr;
    return CGUI_CharacterBox::OnDestroy();
  }

  // Rebuilds the preview from the edited slot's record.
  void Refresh() {
    SetPreview(nullptr);
    const SGUI_ClientInfo* record = LocalRecord();
    if (!record || record->character < 0) return;
    SetPreview(CLoadCharacter(record->character, record->name, 0));
    MountChoices(record->left, record->right);
  }
};

void RefreshCharacterBox() {
  if (CGUI_RoomCharacterBox* box = ModulePart<SRoomState>().characterBox) box->Refresh();
}

// Steps the edited slot's character through the host's characters.
template <int Step>
void ClickCharacter(CGUI_GamePushButton*) {
  SGUI_ClientInfo* record = LocalRecord();
  const int count = GetNumCharacters();
  if (!record || count <= 0) return;
  // A character the host does not know counts as the one before the first.
  record->character = GetCharacterID(WrapIndex(CharacterIndex(record->character) + Step, count));
  RefreshCharacterBox();
}

// ---- Option browser ---------------------------------------------------------------------------

// The table entry shown in box k (0-6), or -1 for an empty box.
int BoxEntry(int box) {
  return CarouselEntry(ModulePart<SRoomState>().optionOffset, box, GUI_GetNumOptions());
}

// Moves the window of seven entries over the option table.
void ScrollOptions(int delta) {
  int& offset = ModulePart<SRoomState>().optionOffset;
  offset = CarouselStart(offset + delta, GUI_GetNumOptions());
}

// Releases one side's choice: -1 when only single parts are allowed and the
// other side holds one, else 0 (random).
void ReleaseSide(SGUI_ClientInfo* record, EHand hand) {
  const bool left = hand == kLeftHand;
  int& side = left ? record->left : record->right;
  const int other = left ? record->right : record->left;
  CGUI_RoomCharacterBox* box = ModulePart<SRoomState>().characterBox;
  if (side > 0 && box) box->Unmount(hand);
  side = OptionParts() != 2 && other > 0 ? -1 : 0;
}

// Chooses entry for one side; with single parts the other side is emptied.
void ChooseSide(SGUI_ClientInfo* record, EHand hand, int entry) {
  const bool left = hand == kLeftHand;
  int& side = left ? record->left : record->right;
  int& other = left ? record->right : record->left;
  CGUI_RoomCharacterBox* box = ModulePart<SRoomState>().characterBox;
  if (side > 0 && box) box->Unmount(hand);
  side = entry + 1;
  if (box) box->Mount(entry, hand);
  if (OptionParts() == 1) {
    if (other > 0 && box) box->Unmount(left ? kRightHand : kLeftHand);
    other = -1;
  }
}

// Chooses box k for a side, or releases it when it already holds that side.
void ToggleBox(int box, EHand hand) {
  SGUI_ClientInfo* record = LocalRecord();
  const int entry = BoxEntry(box);
  if (!record || entry < 0 || OptionParts() <= 0) return;
  if ((hand == kLeftHand ? record->left : record->right) == entry + 1) ReleaseSide(record, hand);
  else ChooseSide(record, hand, entry);
}

void RefreshOptionBoxes();

// One of the seven option boxes: the icon of its entry, tinted by the side
// that holds it (amber left, blue right), brighter under the mouse.
class CGUI_RoomOptionBox : public CGUI_OptionBoxBase {
 public:
  explicit CGUI_RoomOptionBox(int index) : CGUI_OptionBoxBase(index) {
    hitTest_ = true;   // unlike plain custom areas, it takes the mouse
    icon_ = new CGUI_GameBitmap;
    SParamList* list = new SParamList;
    list->value = NewStringParam("null");
    icon_->AddParamList(list);
    FreeParamList(list);
  }
  ~CGUI_RoomOptionBox() override {
    icon_->SetParent(nullptr);
    delete icon_;
  }

  bool OnCreate() override {
    icon_->SetId(id_);
    icon_->SetParent(this);
    icon_->SetHitTest(false);
    return CGUI_OptionBoxBase::OnCreate();
  }
  bool SetRegion(const float region[4]) override {
    const float frame[4] = {0, 0, region[2], region[3]};
    icon_->SetRegion(frame);
    return CGUI_Custom::SetRegion(region);
  }
  // A click releases the side the box holds, else chooses the free side.
  bool OnLButtonUp() override {
    const SGUI_ClientInfo* record = LocalRecord();
    const int entry = BoxEntry(Index());
    if (record && entry >= 0) {
      const bool holdsRight = record->right == entry + 1;
      const bool left = !holdsRight && (record->left == entry + 1 || record->left <= 0);
      ToggleBox(Index(), left ? kLeftHand : kRightHand);
      RefreshOptionBoxes();
    }
    return CGUI_OptionBoxBase::OnLButtonUp();
  }

  void Refresh() override {
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
};

constexpr const char* kBoxFormat = "IDC_CUSTOM_OPTIONBOX%d";

void RefreshOptionBoxes() {
  CGUI_Window* room = ModulePart<SRoomState>().room;
  if (!room) return;
  for (int k = 0; k < kOptionBoxes; ++k)
    if (CGUI_OptionBoxBase* box = OptionBoxOf(room, kBoxFormat, k)) box->Refresh();
}

template <int Delta>
void ClickScrollOptions(CGUI_GamePushButton*) {
  ScrollOptions(Delta);
  RefreshOptionBoxes();
}

// The arrows beside box k choose its entry for the left or the right hand;
// they are usable only when the game allows option parts.
template <EHand Hand>
class TGUI_RoomArrow : public CGUI_OptionArrow {
 public:
  explicit TGUI_RoomArrow(int index) : CGUI_OptionArrow(index, kBoxFormat) {}

  bool OnCreate() override {
    if (!CGUI_OptionArrow::OnCreate()) return false;
    SetHitTest(OptionParts() > 0);
    return true;
  }
  bool OnLButtonUp() override {
    if (!CGUI_OptionArrow::OnLButtonUp()) return false;
    ToggleBox(Index(), Hand);
    RefreshOptionBoxes();
    return true;
  }
};

// ---- Slot controls -------------------------------------------------------------------------------

// Player name and character of a slot.
template <bool Character>
class TGUI_SlotText : public CGUI_GameStatic {
 public:
  explicit TGUI_SlotText(int slot) : slot_(slot) {}
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
  int slot_;
};

// The slot state button (frame = slot state); only the server acts on a click.
class CGUI_SlotStateButton : public CGUI_RotateButton {
 public:
  explicit CGUI_SlotStateButton(int slot) : slot_(slot) {}
  bool OnCreate() override {
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
    PlaySoundA(kSoundRotate);
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

  int slot_;
  CGUI_Window* team_ = nullptr;   // the team button of the same slot
};

// The team button (frame = team id); its frames' colours are the team colours.
class CGUI_TeamButton : public CGUI_RotateButton {
 public:
  explicit CGUI_TeamButton(int slot) : slot_(slot) {}
  bool OnCreate() override {
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
  int slot_;
  bool following_ = false;
};

// The class icon (frame = class index when it is not negative).
class CGUI_RoomClassIcon : public CGUI_RotateButton {
 public:
  explicit CGUI_RoomClassIcon(int slot) : slot_(slot) {}
  bool OnUpdate() override {
    const SGUI_ClientInfo* record = GUI_GetClientInfo(slot_);
    if (record && record->classIndex >= 0) FollowField(this, record->classIndex);
    return CGUI_RotateButton::OnUpdate();
  }

 private:
  int slot_;
};

// The ready mark: bright when the slot's player is ready.
class CGUI_ReadyMark : public CGUI_GameBitmap {
 public:
  explicit CGUI_ReadyMark(int slot) : slot_(slot) {}
  bool OnDraw() override {
    const SGUI_ClientInfo* record = GUI_GetClientInfo(slot_);
    SetAlpha(this, record && record->ready ? 200 : 51);
    return CGUI_GameBitmap::OnDraw();
  }

 private:
  int slot_;
};

// The icon of the slot's left or right option part.
template <EHand Hand>
class TGUI_SlotOptionIcon : public CGUI_GameBitmap {
 public:
  explicit TGUI_SlotOptionIcon(int slot) : slot_(slot) {}
  bool OnCreate() override {
    if (!CGUI_GameBitmap::OnCreate()) return false;
    shown_ = -2;
    return true;
  }
  bool OnDraw() override {
    if (const SGUI_ClientInfo* record = GUI_GetClientInfo(slot_)) {
      const int id = Hand == kLeftHand ? record->left : record->right;
      if (id != shown_) SetOptionIconTexture(this, shown_ = id);
    }
    return CGUI_GameBitmap::OnDraw();
  }

 private:
  int slot_;
  int shown_ = -2;   // the option id whose icon is loaded; -2 none yet
};

void RefreshSlotFrames();

// The frame behind a slot's row; on the server a click on slot 0 or a slot
// of state 1 makes that slot the one being edited.
class CGUI_SlotFrame : public CGUI_GameBitmap {
 public:
  explicit CGUI_SlotFrame(int slot) : slot_(slot) { hitTest_ = true; }   // unlike plain pictures, it takes the mouse
  bool OnCreate() override {
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
  int slot_;
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
    if (ch == VK_ESCAPE) return SetCaption("");
    if (ch != VK_RETURN) return CGUI_GameEdit::OnChar(ch);
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

void RegisterRoomPlayerName(CGUI_ClassRegistry* r, const char* id, int slot) {
  RegisterIdClass<TGUI_SlotText<false>>(r, id, slot);
}

void RegisterRoomMenu(CGUI_ClassRegistry* r) {
  static constexpr SRegistrationRow kRows[] = {
      Row<CGUI_RoomMenu>("ROOMMENU"),
      Row<CGUI_RoomStartButton>("IDC_BUTTON_ROOMSTART"),
      Row<CGUI_RoomCancelButton>("IDC_BUTTON_ROOMCANCEL"),
      Row<CGUI_RoomCharacterBox>("IDC_CUSTOM_CHARACTERBOX"),
      Row<TGUI_ClickButton<&ClickCharacter<-1>, kBaseFirst>>("IDC_BUTTON_CHARACTERUP"),
      Row<TGUI_ClickButton<&ClickCharacter<1>, kBaseFirst>>("IDC_BUTTON_CHARACTERDOWN"),
      Family<CGUI_SlotStateButton>("IDC_BUTTON_LIST%d1", kSlots),
      Family<CGUI_TeamButton>("IDC_BUTTON_LIST%d2", kSlots),
      Row<CGUI_RoomMapImage>("IDC_BITMAP_MAPIMAGE"),
      Family<TGUI_SlotText<false>>("IDC_STATIC_%dPLAYERNAME", kSlots),
      Family<TGUI_SlotText<true>>("IDC_STATIC_%dPLAYERCHARACTER", kSlots),
      Family<CGUI_RoomClassIcon>("IDC_BUTTON_ROOMCLASSICONS0%d", kSlots),
      Row<TGUI_ClickButton<&ClickScrollOptions<-1>, kBaseFirst>>("IDC_BUTTON_OPTIONUP"),
      Row<TGUI_ClickButton<&ClickScrollOptions<1>, kBaseFirst>>("IDC_BUTTON_OPTIONDOWN"),
      Family<CGUI_RoomOptionBox>(kBoxFormat, kOptionBoxes),
      Family<TGUI_RoomArrow<kLeftHand>>("IDC_BUTTON_LEFTOPTIONARROW%d", kOptionBoxes),
      Family<TGUI_RoomArrow<kRightHand>>("IDC_BUTTON_RIGHTOPTIONARROW%d", kOptionBoxes),
      Family<TGUI_SlotOptionIcon<kLeftHand>>("IDC_BITMAP_LOPTION%d", kSlots),
      Family<TGUI_SlotOptionIcon<kRightHand>>("IDC_BITMAP_ROPTION%d", kSlots),
      Family<CGUI_SlotFrame>("IDC_BITMAP_%dPLAYERNAME", kSlots),
      Family<CGUI_ReadyMark>("IDC_BITMAP_OK%d", kSlots),
      Row<TGUI_ClickButton<&ClickScrollChat<-1>, kBaseFirst>>("IDC_BUTTON_ROOMCHATUP"),
      Row<TGUI_ClickButton<&ClickScrollChat<1>, kBaseFirst>>("IDC_BUTTON_ROOMCHATDOWN"),
      Row<CGUI_RoomChatInput>("IDC_EDIT_ROOMCHATINPUT"),
      Row<CGUI_ChatBox>("IDC_LIST_ROOMCHATBOX"),
  };
  RegisterRows(r, kRows);
}
