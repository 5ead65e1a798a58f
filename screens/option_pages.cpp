// option_pages.cpp: option items by key, the state mappings of the option
// buttons, and the rebuild of a page.
#include "screens/option_pages.h"

// ---- Option items ----------------------------------------------------------------------------

uint32_t OptionValue(const SOptionKey& option) {
  const COptionItem* item = option.manager->FindItem(option.key);
  return item ? item->GetValue() : 0;
}

void UpdateOption(const SOptionKey& option, uint32_t value) {
  option.manager->UpdateItem(option.key, value);
}

int StateForValue(EStateMapping mapping, uint32_t value) {
  switch (mapping) {
    case kMapOnOff:
      return value != 0 ? 0 : 1;
    case kMapColorDepth:
      return value == 16 ? 0 : 1;
    case kMapStateNumber:
      // Values past the int range map to no state.
      return value > uint32_t(INT32_MAX) ? -1 : int(value);
  }
  return -1;
}

uint32_t ValueForState(EStateMapping mapping, int state) {
  switch (mapping) {
    case kMapOnOff:
      return state == 0 ? 1 : 0;
    case kMapColorDepth:
      return state == 0 ? 16 : 32;
    case kMapStateNumber:
      return uint32_t(state);
  }
  return 0;
}

// ---- Pages -------------------------------------------------------------------------------------

void RebuildPage(CGUI_GamePushButton* button) {
  CGUI_Window* page = button->GetParent();
  if (!page) return;
  page->Destroy();
  page->Create();
}
