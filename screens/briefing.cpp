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
#include "menus/character_box.h"
#include "menus/click_handlers.h"
#include "menus/line_wrapper.h"
#include "menus/menu_dialogs.h"
#include "menus/option_carousel.h"
#include "menus/registration.h"
#include "menus/typewriter_list.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_static.h"
#include "runtime/simple_controls.h"
#include "runtime/window_manager.h"
#include "screens/single_play_state.h"

namespace {

constexpr const char* kCharacterBox = "IDC_CUSTOM_OBJECTCHARACTERBOX";
constexpr const char* kRandomPicture = "crandom.tga";
constexpr int kIdleMotion = 0;
constexpr int kSingleOptionPart = 1;   // server record: one part for both hands

CMission* CurrentMission() {
  CMissionAccount* account = GetCurAccount();
  return account ? account->GetCurrentMission() : nullptr;
}

// Runs a script command ("s_exe", "s_reset", "s_terminate") on a path.
void ScriptCommand(const char* verb, const char* path) {
  ExecuteCommand((std::string(verb) + " " + (path ? path : "")).c_str());
}

// ---- Character box ------------------------------------------------------------------------

// The pilot's character, chosen here and kept in the account; the random
// picture where the host has no preview.
class CGUI_BriefingCharacterBox : public CGUI_CharacterBox {
 public:
  ~CGUI_BriefingCharacterBox() override { ReleasePicture(); }

  bool OnCreate() override {
    if (!CGUI_CharacterBox::OnCreate()) return false;
    shown_ = kNone;
    CMissionAccount* account = GetCurAccount();
    ShowCharacter(account ? account->character : 0);
    ReleasePicture();
    RegisterNewTexture(&InterfaceTexture, GUI_GetTexPath(kRandomPicture), &picture_, 0);
    LoadTexture(&InterfaceTexture, 0);
    return true;
  }

  bool OnDestroy() override {
    SetPreview(nullptr);
    ReleasePicture();
    shown_ = kNone;
    return CGUI_CharacterBox::OnDestroy();
  }

  // Shows character i of the host's table, wrapping at both ends.
  void ShowCharacter(int i) {
    const int count = GetNumCharacters();
    if (count <= 0) return;
    i = WrapIndex(i, count);
    if (i == shown_) return;
    shown_ = i;
    CMissionAccount* account = GetCurAccount();
    if (account) account->character = i;
    SetPreview(nullptr);
    SetPreview(NewCharacter());
    if (CHARACTER* preview = Preview()) {
      LoadCharacterReference(preview, GetCharacterID(i));
      preview->x = preview->y = preview->z = 0;
      if (account) MountChoices(account->left, account->right);
      SetCharacterMotion(preview, kIdleMotion);
    }
    if (parent_) SetControlCaption(parent_, "IDC_STATIC_OBJECTCHARACTERNAME", GetCharacterName(i));
  }

  int Shown() const { return shown_; }

 private:
  static constexpr int kNone = -1;

  void DrawEmpty(int x, int y, int w, int h) override {
    if (picture_)
      DrawFrameBitmap(picture_, x, y, 0.01f, w, h, Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA,
                      0xFFFFFFFF, 0, 1.0f, 1.0f);
  }

  void ReleasePicture() {
    if (picture_) ReleaseTexture(picture_, 0);
    picture_ = nullptr;
  }

  TEXTURE picture_ = nullptr;
  int shown_ = kNone;
};

CGUI_BriefingCharacterBox* CharacterBoxOf(CGUI_Window* dialog) {
  return dialog ? dynamic_cast<CGUI_BriefingCharacterBox*>(dialog->FindChild(kCharacterBox)) : nullptr;
}

template <int Step>
void ClickCharacter(CGUI_GamePushButton* button) {
  if (CGUI_BriefingCharacterBox* box = CharacterBoxOf(button->GetParent())) box->ShowCharacter(box->Shown() + Step);
}

// ---- Option boxes -----------------------------------------------------------------------------

// One option part of the carousel. Parameter lists: 0 caption text, 1 its
// place (x, y), 2 description text, 3 its place (x, y), 4 icon rectangle
// (x, y, w, h), 5 highlight bitmap, 6 left-hand mark, 7 right-hand mark; the
// places are relative to the box.
class CGUI_BriefingOptionBox : public CGUI_OptionBoxBase {
 public:
  static constexpr int kParamLists = 8;
  static constexpr int kEmpty = -1;

  explicit CGUI_BriefingOptionBox(int index)
      : CGUI_OptionBoxBase(index), caption_(new CGUI_GameStatic), desc_(new CGUI_GameStatic), icon_(new CGUI_GameBitmap),
        highlight_(new CGUI_GameBitmap), marks_{new CGUI_GameBitmap, new CGUI_GameBitmap} {}

  ~CGUI_BriefingOptionBox() override {
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
    if (!CGUI_OptionBoxBase::OnCreate()) return false;
    Refresh();
    return true;
  }

  bool OnDestroy() override {
    SSinglePlayState& state = ModulePart<SSinglePlayState>();
    if (state.chosenLeft == this) state.chosenLeft = nullptr;
    if (state.chosenRight == this) state.chosenRight = nullptr;
    part_ = kEmpty;
    return CGUI_OptionBoxBase::OnDestroy();
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
  void Refresh() override {
    const SSinglePlayState& state = ModulePart<SSinglePlayState>();
    const bool filled = part_ != kEmpty && created_;
    const bool left = state.chosenLeft == this, right = state.chosenRight == this;
    caption_->Show(filled, false);
    desc_->Show(filled, false);
    icon_->Show(filled, false);
    highlight_->Show(filled && hovered_ && !left && !right, false);
    marks_[kLeftHand]->Show(filled && left, false);
    marks_[kRightHand]->Show(filled && right, false);
  }

 private:
  std::array<CGUI_Window*, 6> Members() const {
    return {highlight_, marks_[kLeftHand], marks_[kRightHand], icon_, caption_, desc_};
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
    marks_[kLeftHand]->AddParamList(GetParamList(6));
    marks_[kRightHand]->AddParamList(GetParamList(7));
    for (CGUI_Window* m : Members()) m->SetId(id_);
    return true;
  }

  void Place() {
    const float whole[4] = {0, 0, region_[2], region_[3]};
    for (CGUI_GameBitmap* b : {highlight_, marks_[kLeftHand], marks_[kRightHand]}) b->SetRegion(whole);
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
  int part_ = kEmpty;
};

constexpr const char* kBoxFormat = "IDC_CUSTOM_OBJECTOPTIONBOX%d";
constexpr const char* kArrowFormats[] = {"IDC_BUTTON_OBJECTLEFTOPTIONARROW%d",
                                         "IDC_BUTTON_OBJECTRIGHTOPTIONARROW%d"};

CGUI_BriefingOptionBox* BriefingBoxOf(CGUI_Window* dialog, int index) {
  return dynamic_cast<CGUI_BriefingOptionBox*>(OptionBoxOf(dialog, kBoxFormat, index));
}

CGUI_Window*& ChosenFor(EHand hand) {
  SSinglePlayState& state = ModulePart<SSinglePlayState>();
  return hand == kLeftHand ? state.chosenLeft : state.chosenRight;
}

void WriteHand(EHand hand, int value) {
  if (CMissionAccount* account = GetCurAccount()) (hand == kLeftHand ? account->left : account->right) = value;
}

// The hand's box lets go: the hand goes back to random and loses its weapon.
void Release(CGUI_Window* dialog, EHand hand) {
  auto* box = dynamic_cast<CGUI_BriefingOptionBox*>(ChosenFor(hand));
  if (!box) return;
  ChosenFor(hand) = nullptr;
  WriteHand(hand, 0);
  if (CGUI_BriefingCharacterBox* preview = CharacterBoxOf(dialog)) preview->Unmount(hand);
  box->Refresh();
}

void Choose(CGUI_BriefingOptionBox* box, EHand hand) {
  if (!box || box->Part() == CGUI_BriefingOptionBox::kEmpty) return;
  CGUI_Window* dialog = box->GetParent();
  Release(dialog, hand);
  // With one part for both hands a right-hand part replaces the left one.
  if (hand == kRightHand && GUI_GetServerInfo()->parts == kSingleOptionPart) {
    if (ChosenFor(kLeftHand)) Release(dialog, kLeftHand);
    else WriteHand(kRightHand, -1);
  }
  ChosenFor(hand) = box;
  if (box->IsCreated()) WriteHand(hand, box->Part() + 1);
  if (CGUI_BriefingCharacterBox* preview = CharacterBoxOf(dialog)) preview->Mount(box->Part(), hand);
  box->Refresh();
}

bool CGUI_BriefingOptionBox::OnLButtonUp() {
  if (ModulePart<SSinglePlayState>().chosenLeft == this) Release(parent_, kLeftHand);
  else if (ModulePart<SSinglePlayState>().chosenRight == this) Release(parent_, kRightHand);
  return CGUI_OptionBoxBase::OnLButtonUp();
}

// Fills the seven boxes from option part `start` on and marks the hands' parts.
void FillCarousel(CGUI_Window* dialog, int start) {
  const int count = GUI_GetNumAvailableOptions();
  start = CarouselStart(start, count);
  SSinglePlayState& state = ModulePart<SSinglePlayState>();
  state.optionStart = start;
  state.chosenLeft = state.chosenRight = nullptr;
  CMissionAccount* account = GetCurAccount();
  for (int k = 0; k < kOptionBoxes; ++k) {
    CGUI_BriefingOptionBox* box = BriefingBoxOf(dialog, k);
    if (!box) continue;
    const int part = CarouselEntry(start, k, count);
    if (account && part != CGUI_BriefingOptionBox::kEmpty) {
      if (part + 1 == account->left) state.chosenLeft = box;
      else if (part + 1 == account->right) state.chosenRight = box;
    }
    box->SetPart(part);
    // An arrow beside an empty box has nothing to choose.
    for (const char* format : kArrowFormats) {
      char id[48];
      std::snprintf(id, sizeof id, format, k + 1);
      if (CGUI_Window* arrow = dialog->FindChild(id)) arrow->SetHitTest(part != CGUI_BriefingOptionBox::kEmpty);
    }
  }
  for (int k = 0; k < kOptionBoxes; ++k)
    if (CGUI_BriefingOptionBox* box = BriefingBoxOf(dialog, k)) box->Refresh();
}

template <int Step>
void ClickCarousel(CGUI_GamePushButton* button) {
  FillCarousel(button->GetParent(), ModulePart<SSinglePlayState>().optionStart + Step);
}

// An arrow beside option box n (action first): chooses the box for its hand.
template <EHand Hand>
class TGUI_BriefingArrow : public CGUI_OptionArrow {
 public:
  explicit TGUI_BriefingArrow(int index) : CGUI_OptionArrow(index, kBoxFormat) {}

  // Comes up with neither the hovered nor the disabled look.
  bool OnCreate() override {
    if (!CGUI_OptionArrow::OnCreate()) return false;
    ClearStates();
    return true;
  }

  bool OnLButtonUp() override {
    const uint32_t generation = TableGeneration();
    Choose(dynamic_cast<CGUI_BriefingOptionBox*>(Box()), Hand);
    if (TableGeneration() != generation) return true;
    return CGUI_OptionArrow::OnLButtonUp();
  }
};

// ---- Briefing text --------------------------------------------------------------------------------

// The briefing's text list: GUI_NextString writes into it; it reveals faster
// than the other typewriter lists and does not wait between rows.
class CGUI_BriefingText : public CGUI_TypewriterList {
 public:
  bool OnCreate() override {
    static constexpr SReveal kBriefingReveal = {50, 0, kSoundTypeChar, 0, kSoundTypeLineEnd};
    ModulePart<SSinglePlayState>().briefingText = this;
    Start(kBriefingReveal);
    return CGUI_TypewriterList::OnCreate();
  }
  bool OnDestroy() override {
    CGUI_TypewriterList*& text = ModulePart<SSinglePlayState>().briefingText;
    if (text == this) text = nullptr;
    return CGUI_TypewriterList::OnDestroy();
  }
};

// ---- The briefing dialog ----------------------------------------------------------------------

class CGUI_Briefing : public CGUI_MenuDialog {
 public:
  bool Create() override {
    if (IsCreated()) return true;
    SSinglePlayState& state = ModulePart<SSinglePlayState>();
    state.chosenLeft = state.chosenRight = nullptr;
    if (!CGUI_MenuDialog::Create()) return false;
    CGUI_BriefingCharacterBox* preview = CharacterBoxOf(this);
    FillCarousel(this, state.optionStart);
    CMissionAccount* account = GetCurAccount();
    if (preview && account) {
      preview->ShowCharacter(account->character);
      if (account->left > 0) preview->Mount(account->left - 1, kLeftHand);
      if (account->right > 0) preview->Mount(account->right - 1, kRightHand);
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
  static constexpr SRegistrationRow kRows[] = {
      Row<CGUI_Briefing>("OBJECTIVE"),
      Row<TGUI_FreshButton<TGUI_ClickButton<&ClickStartMission, kBaseFirst>>>("IDC_BUTTON_OBJECTIVESTART"),
      Row<CGUI_BackButton>("IDC_BUTTON_OBJECTIVECANCEL"),
      Row<CGUI_BriefingCharacterBox>(kCharacterBox),
      Row<TGUI_ClickButton<&ClickCharacter<-1>, kActionFirst>>("IDC_BUTTON_OBJECTCHARACTERUP"),
      Row<TGUI_ClickButton<&ClickCharacter<1>, kActionFirst>>("IDC_BUTTON_OBJECTCHARACTERDOWN"),
      Row<TGUI_ClickButton<&ClickReplayBriefing, kBaseFirst>>("IDC_BUTTON_OBJECTIVEREPLAY"),
      Row<TGUI_ClickButton<&ClickCarousel<-1>, kActionFirst>>("IDC_BUTTON_OBJECTOPTIONUP"),
      Row<TGUI_ClickButton<&ClickCarousel<1>, kActionFirst>>("IDC_BUTTON_OBJECTOPTIONDOWN"),
      Family<CGUI_BriefingOptionBox>(kBoxFormat, kOptionBoxes),
      Family<TGUI_BriefingArrow<kLeftHand>>(kArrowFormats[kLeftHand], kOptionBoxes),
      Family<TGUI_BriefingArrow<kRightHand>>(kArrowFormats[kRightHand], kOptionBoxes),
      Row<CGUI_BriefingText>("IDC_LIST_OBJECTIVETEXTE"),
  };
  RegisterRows(r, kRows);
}
