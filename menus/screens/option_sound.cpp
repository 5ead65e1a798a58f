// option_sound.cpp: the sound page (OPTIONSOUND): the music and effect volumes.
#include "host/host_options.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/option_pages.h"

namespace {
constexpr SOptionKey kMusicVolume{&OptionSoundManager, "music_volume"};
constexpr SOptionKey kEffectVolume{&OptionSoundManager, "effect_volume"};
}  // namespace

// ---- Registrations ------------------------------------------------------------------------

void RegisterOptionSound(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "OPTIONSOUND");
  RegisterIdClass<TGUI_CancelPageButton<&ReadOptionSound>>(r, "IDC_BUTTON_SOUNDCANCEL");
  RegisterIdClass<TGUI_DefaultPageButton<&SetDefaultOptionSound>>(r, "IDC_BUTTON_SOUNDDEFAULT");
  RegisterIdClass<TGUI_OkPageButton<&WriteOptionSound>>(r, "IDC_BUTTON_SOUNDOK");
  RegisterIdClass<TGUI_OptionSlider<kMusicVolume>>(r, "IDC_SLIDER_SOUMUSICVOLUME");
  RegisterIdClass<TGUI_OptionSlider<kEffectVolume>>(r, "IDC_SLIDER_SOUEFFECTVOLUME");
}
