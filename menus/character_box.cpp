// character_box.cpp: the shared character preview.
#include "menus/character_box.h"

#include "host/host_characters.h"
#include "host/host_services.h"
#include "korvogui/room.h"

int WrapIndex(int i, int count) {
  if (i < 0) return count - 1;
  return i >= count ? 0 : i;
}

int CharacterIndex(int id) {
  const int count = GetNumCharacters();
  for (int i = 0; i < count; ++i)
    if (GetCharacterID(i) == id) return i;
  return -1;
}

CGUI_CharacterBox::~CGUI_CharacterBox() { SetPreview(nullptr); }

bool CGUI_CharacterBox::OnDestroy() {
  SetPreview(nullptr);
  return CGUI_Custom::OnDestroy();
}

bool CGUI_CharacterBox::OnDraw() {
  float corner[2];
  GetAlignedPos(corner, true);
  const int x = int(float(SCREEN_X) * corner[0]), y = int(float(SCREEN_Y) * corner[1]);
  const int w = int(float(SCREEN_X) * region_[2]), h = int(float(SCREEN_Y) * region_[3]);
  if (!preview_) {
    DrawEmpty(x, y, w, h);
    return true;
  }
  SetRenderViewport(x, y, w, h);
  DrawCharacter(preview_);
  return true;
}

void CGUI_CharacterBox::DrawEmpty(int, int, int, int) {}

void CGUI_CharacterBox::Mount(int part, EHand hand) {
  const SGUI_OptionInfo* info = GUI_GetOptionInfo(part);
  if (!preview_ || !info) return;
  if (const char* weapon = OPT_GetNameByID(hand == kLeftHand ? info->left : info->right))
    AddOptionWeapon(preview_, weapon, hand == kLeftHand);
}

void CGUI_CharacterBox::Unmount(EHand hand) {
  if (preview_) RemoveOptionWeapon(preview_, hand == kLeftHand);
}

void CGUI_CharacterBox::SetPreview(CHARACTER* preview) {
  if (preview_) DeleteCharacter(preview_);
  preview_ = preview;
}

void CGUI_CharacterBox::MountChoices(int left, int right) {
  if (left > 0) Mount(left - 1, kLeftHand);
  if (right > 0) Mount(right - 1, kRightHand);
}
