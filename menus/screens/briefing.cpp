// briefing.cpp: the mission briefing (OBJECTIVE): the character preview with
// its choice, the carousel of option parts for the two hands, the briefing
// text that the briefing script sends line by line (GUI_NextString), and the
// start of the mission.
#include <array>
#include <cstdio>
#include <string>

#include "host/host_accounts.h"
#include "host/host_characters.h"
#include "host/host_graphics.h"
#include "host/host_services.h"
#include "korvogui/briefing.h"
#include "korvogui/room.h"
#include "menus/click_handlers.h"
#include "menus/line_wrapper.h"
#include "menus/menu_dialogs.h"
#include "menus/menu_registrations.h"
#include "menus/registration.h"
#include "menus/screens/single_play_state.h"
#include "menus/typewriter_list.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_static.h"
#include "runtime/simple_controls.h"
#include "runtime/window_manager.h"

namespace {

constexpr const char* kCharacterBox = "IDC_CUSTOM_OBJECTCHARACTERBOX";
constexpr const char* kRandomPicture = "crandom.tga";
constexpr int kOptionBoxes = 7;
constexpr int kIdleMotion = 0;
constexpr int kSingleOptionPart = 1;   // server record: one part for both hands

enum EHand { kLeft, kRight };

CMission* CurrentMission() {
  CMissionAccount* account = GetCurAccount();
  return account ? account->GetCurrentMission() : nullptr;
}

// Runs a script command ("s_exe", "s_reset", "s_terminate") on a path.
void ScriptCommand(const char* verb, const char* path) {
  ExecuteCommand((std::string(verb) + " " + (path ? path : "")).c_str());
}

// The weapon of option part `part` (0-based) for a hand.
const char* WeaponOf(int part, EHand hand) {
  const SGUI_OptionInfo* info = GUI_GetOptionInfo(part);
  if (!info) return nullptr;
  return OPT_GetNameByID(hand == kLeft ? info->left : info->right);
}

// ---- Character box ------------------------------------------------------------------------

class CGUI_CharacterBox : public CGUI_Custom {
 public:
  ~CGUI_CharacterBox() override { ReleasePicture(); }

  bool OnCreate() override {
    if (!CGUI_Custom::OnCreate()) return false;
    shown_ = kNone;
    CMissionAccount* account = GetCurAccount();
    ShowCharacter(account ? account->character : 0);
    ReleasePicture();
    RegisterNewTexture(&InterfaceTexture, GUI_GetTexPath(kRandomPicture), &picture_, 0);
    LoadTexture(&InterfaceTexture, 0);
    return true;
  }

  bool OnDestroy() override {
    ReleasePreview();
    ReleasePicture();
    shown_ = kNone;
    return CGUI_Custom::OnDestroy();
  }

  bool OnDraw() override {
    float corner[2];
    GetAlignedPos(corner, true);
    const int x = int(float(SCREEN_X) * corner[0]), y = int(float(SCREEN_Y) * corner[1]);
    const int w = int(float(SCREEN_X) * region_[2]), h = int(float(SCREEN_Y) * region_[3]);
    if (preview_) {
      SetRenderViewport(x, y, w, h);
      DrawCharacter(preview_);
    } else if (picture_) {
      DrawFrameBitmap(picture_, x, y, 0.01f, w, h, Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA,
                      0xFFFFFFFF, 0, 1.0f, 1.0f);
    }
    return true;
  }

  // Shows character i of the host's table, wrapping at both ends.
  void ShowCharacter(int i) {
    const int count = GetNumCharacters();
    if (count <= 0) return;
    if (i < 0) i = count - 1;
    else if (i >= count) i = 0;
    if (i == shown_) return;
    shown_ = i;
    CMissionAccount* account = GetCurAccount();
    if (account) account->character = i;
    ReleasePreview();
    preview_ = NewCharacter();
    if (preview_) {
      LoadCharacterReference(preview_, GetCharacterID(i));
      preview_->x = preview_->y = preview_->z = 0;
      if (account && account->left > 0) Mount(account->left - 1, kLeft);
      if (account && account->right > 0) Mount(account->right - 1, kRight);
      SetCharacterMotion(preview_, kIdleMotion);
    }
    if (parent_) SetControlCaption(parent_, "IDC_STATIC_OBJECTCHARACTERNAME", GetCharacterName(i));
  }

  int Shown() const { return shown_; }

  void Mount(int part, EHand hand) {
    const char* weapon = WeaponOf(part, hand);
    if (preview_ && weapon) AddOptionWeapon(preview_, weapon, hand == kLeft);
  }

  void Unmount(EHand hand) {
    if (preview_) RemoveOptionWeapon(preview_, hand == kLeft);
  }

 private:
  static constexpr int kNone = -1;

  void ReleasePreview() {
    if (preview_) DeleteCharacter(preview_);
    preview_ = nullptr;
  }

  void ReleasePicture() {
    if (picture_) ReleaseTexture(picture_, 0);
    picture_ = nullptr;
  }

  CHARACTER* preview_ = nullptr;
  TEXTURE picture_ = nullptr;
  int shown_ = kNone;
};

CGUI_CharacterBox* CharacterBoxOf(CGUI_Window* dialog) {
  return dialog ? dynamic_cast<CGUI_CharacterBox*>(dialog->FindChild(kCharacterBox)) : nullptr;
}

template <int Step>
void ClickCharacter(CGUI_GamePushButton* button) {
  if (CGUI_CharacterBox* box = CharacterBoxOf(button->GetParent())) box->ShowCharacter(box->Shown() + Step);
}

// ---- Option boxes -----------------------------------------------------------------------------

// One option part of the carousel. Parameter lists: 0 caption text, 1 its
// place (x, y), 2 description text, 3 its place (x, y), 4 icon rectangle
// (x, y, w, h), 5 highlight bitmap, 6 left-hand mark, 7 right-hand mark; the
// places are relative to the box.
class CGUI_OptionBox : public CGUI_Custom {
 public:
  static constexpr int kParamLists = 8;
  static constexpr int kEmpty = -1;

  CGUI_OptionBox()
      : caption_(new CGUI_GameStatic), desc_(new CGUI_GameStatic), icon_(new CGUI_GameBitmap),
        highlight_(new CGUI_GameBitmap), marks_{new CGUI_GameBitmap, new CGUI_GameBitmap} {}

  ~CGUI_OptionBox() override {
    for (CGUI_Window* m : Members()) {
      m->SetParent(nullptr);
      delete m;
    }
  }

  bool OnCreate() override {
    if (!distributed_) {
      if (!ReadLists()) return false;
      distributed_ = true;
    }
    for (CGUI_Window* m : Members()) {
      m->SetParent(this);
      m->SetHitTest(false);
    }
    Place();
    part_ = kEmpty;
    hovered_ = false;
    if (!CGUI_Custom::OnCreate()) return false;
    Refresh();
    return true;
  }

  bool OnDestroy() override {
    SSinglePlayState& state = ModulePart<SSinglePlayState>();
    if (state.chosenLeft == this) state.chosenLeft = nullptr;
    if (state.chosenRight == this) state.chosenRight = nullptr;
    part_ = kEmpty;
    return CGUI_Custom::OnDestroy();
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

  // A click releases a chosen box; boxes are chosen with the arrows only.
  bool OnLButtonUp() override;

  // Shows option part `part` (0-based), or nothing for kEmpty.
  void SetPart(int part) {
    part_ = part;
    const SGUI_OptionInfo* info = part >= 0 ? GUI_GetAvailableOptionInfo(part) : nullptr;
    if (!info) part_ = kEmpty;
    char caption[80] = "";
    if (info) std::snprintf(caption, sizeof caption, "%d. %s", part + 1, info->name);
    caption_->SetCaption(caption);
    desc_->SetCaption(info ? info->text2 : "");
    icon_->SetTexture(info ? info->icon : nullptr);
    SetHitTest(part_ != kEmpty);
    Refresh();
  }

  int Part() const { return part_; }

  // Highlight and marks follow the hover and the hands' choices.
  void Refresh() {
    const SSinglePlayState& state = ModulePart<SSinglePlayState>();
    const bool filled = part_ != kEmpty && created_;
    const bool left = state.chosenLeft == this, right = state.chosenRight == this;
    caption_->Show(filled, false);
    desc_->Show(filled, false);
    icon_->Show(filled, false);
    highlight_->Show(filled && hovered_ && !left && !right, false);
    marks_[kLeft]->Show(filled && left, false);
    marks_[kRight]->Show(filled && right, false);
  }

 private:
  std::array<CGUI_Window*, 6> Members() const {
    return {highlight_, marks_[kLeft], marks_[kRight], icon_, caption_, desc_};
  }

  // Reads a list of floats into out; reports it under the box's id.
  bool ReadPlace(int index, float* out, int n) {
    SParamDesc desc[4];
    for (int i = 0; i < n; ++i) desc[i] = {PARAM_FLOAT, &out[i]};
    if (ReadParams(GetParamList(index), desc, 1, n) < n) {
      GUI_ReportError("error at '%s' : '%s' at list%d", id_.c_str(), GetErrorText(), index);
      return false;
    }
    return true;
  }

  bool ReadLists() {
    if (GetParamListCount() != kParamLists) {
      GUI_ReportError("error at '%s' : invalid param num", id_.c_str());
      return false;
    }
    if (!ReadPlace(1, captionAt_, 2) || !ReadPlace(3, descAt_, 2) || !ReadPlace(4, iconAt_, 4))
      return false;
    caption_->AddParamList(GetParamList(0));
    desc_->AddParamList(GetParamList(2));
    highlight_->AddParamList(GetParamList(5));
    marks_[kLeft]->AddParamList(GetParamList(6));
    marks_[kRight]->AddParamList(GetParamList(7));
    for (CGUI_Window* m : Members()) m->SetId(id_);
    return true;
  }

  void Place() {
    const float whole[4] = {0, 0, region_[2], region_[3]};
    for (CGUI_GameBitmap* b : {highlight_, marks_[kLeft], marks_[kRight]}) b->SetRegion(whole);
    icon_->SetRegion(iconAt_);
    caption_->SetAutoSize(true);
    desc_->SetAutoSize(true);
    const float captionAt[4] = {captionAt_[0], captionAt_[1], 0, 0};
    const float descAt[4] = {descAt_[0], descAt_[1], 0, 0};
    caption_->SetRegion(captionAt);
    desc_->SetRegion(descAt);
  }

  CGUI_GameStatic* caption_;   // owned members; children once created
  CGUI_GameStatic* desc_;
  CGUI_GameBitmap* icon_;
  CGUI_GameBitmap* highlight_;
  CGUI_GameBitmap* marks_[2];
  float captionAt_[2] = {0, 0};
  float descAt_[2] = {0, 0};
  float iconAt_[4] = {0, 0, 0, 0};
  bool distributed_ = false;
  bool hovered_ = false;
  int part_ = kEmpty;
};

// The id of the control number n of a numbered family ("IDC_CUSTOM_OBJECTOPTIONBOX" 3).
std::string NumberedId(const char* family, int n) {
  char id[48];
  std::snprintf(id, sizeof id, "%s%d", family, n);
  return id;
}

CGUI_OptionBox* OptionBoxOf(CGUI_Window* dialog, int n) {
  if (!dialog) return nullptr;
  return dynamic_cast<CGUI_OptionBox*>(dialog->FindChild(NumberedId("IDC_CUSTOM_OBJECTOPTIONBOX", n)));
}

// The number a control's id ends with (1 to 7), 0 without one.
int TrailingNumber(const std::string& id) {
  return !id.empty() && id.back() >= '1' && id.back() <= '9' ? id.back() - '0' : 0;
}

CGUI_Window*& ChosenFor(EHand hand) {
  SSinglePlayState& state = ModulePart<SSinglePlayState>();
  return hand == kLeft ? state.chosenLeft : state.chosenRight;
}

void WriteHand(EHand hand, int value) {
  if (CMissionAccount* account = GetCurAccount()) (hand == kLeft ? account->left : account->right) = value;
}

// The hand's box lets go: the hand goes back to random and loses its weapon.
void Release(CGUI_Window* dialog, EHand hand) {
  auto* box = dynamic_cast<CGUI_OptionBox*>(ChosenFor(hand));
  if (!box) return;
  ChosenFor(hand) = nullptr;
  WriteHand(hand, 0);
  if (CGUI_CharacterBox* preview = CharacterBoxOf(dialog)) preview->Unmount(hand);
  box->Refresh();
}

void Choose(CGUI_OptionBox* box, EHand hand) {
  if (!box || box->Part() == CGUI_OptionBox::kEmpty) return;
  CGUI_Window* dialog = box->GetParent();
  Release(dialog, hand);
  // With one part for both hands a right-hand part replaces the left one.
  if (hand == kRight && GUI_GetServerInfo()->parts == kSingleOptionPart) {
    if (ChosenFor(kLeft)) Release(dialog, kLeft);
    else WriteHand(kRight, -1);
  }
  ChosenFor(hand) = box;
  if (box->IsCreated()) WriteHand(hand, box->Part() + 1);
  if (CGUI_CharacterBox* preview = CharacterBoxOf(dialog)) preview->Mount(box->Part(), hand);
  box->Refresh();
}

bool CGUI_OptionBox::OnLButtonUp() {
  if (ModulePart<SSinglePlayState>().chosenLeft == this) Release(parent_, kLeft);
  else if (ModulePart<SSinglePlayState>().chosenRight == this) Release(parent_, kRight);
  return CGUI_Custom::OnLButtonUp();
}

// Fills the seven boxes from option part `start` on and marks the hands' parts.
void FillCarousel(CGUI_Window* dialog, int start) {
  const int count = GUI_GetNumAvailableOptions();
  if (count > kOptionBoxes) {
    start %= count;
    if (start < 0) start += count;
  } else {
    start = 0;
  }
  SSinglePlayState& state = ModulePart<SSinglePlayState>();
  state.optionStart = start;
  state.chosenLeft = state.chosenRight = nullptr;
  CMissionAccount* account = GetCurAccount();
  for (int k = 1; k <= kOptionBoxes; ++k) {
    CGUI_OptionBox* box = OptionBoxOf(dialog, k);
    if (!box) continue;
    int part = CGUI_OptionBox::kEmpty;
    if (count > kOptionBoxes) part = (start + k - 1) % count;
    else if (k <= count) part = k - 1;
    if (account && part != CGUI_OptionBox::kEmpty) {
      if (part + 1 == account->left) state.chosenLeft = box;
      else if (part + 1 == account->right) state.chosenRight = box;
    }
    box->SetPart(part);
    // An arrow beside an empty box has nothing to choose.
    for (const char* family : {"IDC_BUTTON_OBJECTLEFTOPTIONARROW", "IDC_BUTTON_OBJECTRIGHTOPTIONARROW"})
      if (CGUI_Window* arrow = dialog->FindChild(NumberedId(family, k)))
        arrow->SetHitTest(part != CGUI_OptionBox::kEmpty);
  }
  for (int k = 1; k <= kOptionBoxes; ++k)
    if (CGUI_OptionBox* box = OptionBoxOf(dialog, k)) box->Refresh();
}

template <int Step>
void ClickCarousel(CGUI_GamePushButton* button) {
  FillCarousel(button->GetParent(), ModulePart<SSinglePlayState>().optionStart + Step);
}

// An arrow beside option box n: chooses the box for its hand and lights it
// while the mouse is over the arrow.
template <EHand Hand>
class TGUI_OptionArrow : public TGUI_FreshButton<CGUI_GamePushButton> {
 public:
  bool OnMouseEnter() override {
    if (CGUI_OptionBox* box = Box()) box->OnMouseEnter();
    return CGUI_GamePushButton::OnMouseEnter();
  }

  bool OnMouseLeave() override {
    if (CGUI_OptionBox* box = Box()) box->OnMouseLeave();
    return CGUI_GamePushButton::OnMouseLeave();
  }

  bool OnLButtonUp() override {
    const uint32_t generation = TableGeneration();
    Choose(Box(), Hand);
    if (TableGeneration() != generation) return true;
    return CGUI_GamePushButton::OnLButtonUp();
  }

 private:
  CGUI_OptionBox* Box() { return OptionBoxOf(parent_, TrailingNumber(id_)); }
};

// ---- The briefing dialog ----------------------------------------------------------------------

class CGUI_Briefing : public CGUI_MenuDialog {
 public:
  bool Create() override {
    if (IsCreated()) return true;
    SSinglePlayState& state = ModulePart<SSinglePlayState>();
    state.chosenLeft = state.chosenRight = nullptr;
    if (!CGUI_MenuDialog::Create()) return false;
    CGUI_CharacterBox* preview = CharacterBoxOf(this);
    FillCarousel(this, state.optionStart);
    CMissionAccount* account = GetCurAccount();
    if (preview && account) {
      preview->ShowCharacter(account->character);
      if (account->left > 0) preview->Mount(account->left - 1, kLeft);
      if (account->right > 0) preview->Mount(account->right - 1, kRight);
    }
    if (const CMission* mission = CurrentMission()) ScriptCommand("s_exe", mission->briefing);
    return true;
  }

  bool OnDestroy() override {
    if (const CMission* mission = CurrentMission()) ScriptCommand("s_terminate", mission->briefing);
    return CGUI_MenuDialog::OnDestroy();
  }
};

void ClickStartMission(CGUI_GamePushButton*) {
  CMissionAccount* account = GetCurAccount();
  CMission* mission = CurrentMission();
  if (!account || !mission) return;
  account->SetLastMission(mission);
  account->Write();
  ScriptCommand("s_exe", mission->script);
}

void ClickReplayBriefing(CGUI_GamePushButton*) {
  if (CGUI_TypewriterList* text = ModulePart<SSinglePlayState>().briefingText) {
    text->ResetContent();
    text->Restart();
  }
  if (const CMission* mission = CurrentMission()) ScriptCommand("s_reset", mission->briefing);
}

}  // namespace

// ---- Briefing lines from the host -----------------------------------------------------------------

extern "C" KORVO_API void GUI_NextString(const char* text, unsigned long color) {
  CGUI_TypewriterList* list = ModulePart<SSinglePlayState>().briefingText;
  if (list && list->IsCreated()) WrapIntoList(list, nullptr, text, uint32_t(color));
}

// ---- Registrations ------------------------------------------------------------------------------

void RegisterBriefing(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_Briefing>(r, "OBJECTIVE");
  RegisterIdClass<TGUI_FreshButton<TGUI_ClickButton<&ClickStartMission, kBaseFirst>>>(
      r, "IDC_BUTTON_OBJECTIVESTART");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_OBJECTIVECANCEL");
  RegisterIdClass<CGUI_CharacterBox>(r, kCharacterBox);
  RegisterIdClass<TGUI_ClickButton<&ClickCharacter<-1>, kActionFirst>>(r, "IDC_BUTTON_OBJECTCHARACTERUP");
  RegisterIdClass<TGUI_ClickButton<&ClickCharacter<1>, kActionFirst>>(r, "IDC_BUTTON_OBJECTCHARACTERDOWN");
  RegisterIdClass<TGUI_ClickButton<&ClickReplayBriefing, kBaseFirst>>(r, "IDC_BUTTON_OBJECTIVEREPLAY");
  RegisterIdClass<TGUI_ClickButton<&ClickCarousel<-1>, kActionFirst>>(r, "IDC_BUTTON_OBJECTOPTIONUP");
  RegisterIdClass<TGUI_ClickButton<&ClickCarousel<1>, kActionFirst>>(r, "IDC_BUTTON_OBJECTOPTIONDOWN");
  for (int n = 1; n <= kOptionBoxes; ++n)
    RegisterIdClass<CGUI_OptionBox>(r, NumberedId("IDC_CUSTOM_OBJECTOPTIONBOX", n).c_str());
  for (int n = 1; n <= kOptionBoxes; ++n)
    RegisterIdClass<TGUI_OptionArrow<kLeft>>(r, NumberedId("IDC_BUTTON_OBJECTLEFTOPTIONARROW", n).c_str());
  for (int n = 1; n <= kOptionBoxes; ++n)
    RegisterIdClass<TGUI_OptionArrow<kRight>>(r, NumberedId("IDC_BUTTON_OBJECTRIGHTOPTIONARROW", n).c_str());
  RegisterIdClass<CGUI_TypewriterList>(r, "IDC_LIST_OBJECTIVETEXTE");
}
