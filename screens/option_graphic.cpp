// option_graphic.cpp: the graphics page (OPTIONGRAPHIC). Its choices show the
// graphics items and write each change at once; the video mode choices come
// from the host's display modes. OK saves, and when the resolution, colour
// depth or texture detail changed, asks for the restart they need.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/host_options.h"
#include "host/host_services.h"
#include "korvogui/messagebox.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "screens/option_pages.h"
#include "runtime/module_state.h"

namespace {

constexpr SOptionKey kResolution{&OptionGraphicsManager, "resolution"};
constexpr SOptionKey kColorDepth{&OptionGraphicsManager, "colordepth"};
constexpr SOptionKey kLightmap{&OptionGraphicsManager, "lightmap"};
constexpr SOptionKey kTextureFilter{&OptionGraphicsManager, "texture_filter"};
constexpr SOptionKey kDecals{&OptionGraphicsManager, "decals"};
constexpr SOptionKey kTextureDetail{&OptionGraphicsManager, "texture_detail"};
constexpr SOptionKey kBrightness{&OptionGraphicsManager, "brightness"};
constexpr SOptionKey kContrast{&OptionGraphicsManager, "contrast"};
constexpr SOptionKey kCameraWorking{&OptionGraphicsManager, "cameraworking"};
constexpr SOptionKey kDisableFog{&OptionGraphicsManager, "diable_fog"};

constexpr int kMinWidth = 640;
constexpr int kMinHeight = 480;
constexpr int kMaxModes = 4096;   // more than any display offers
constexpr int kTextSceneRestart = 24;
constexpr int kTextRestartQuestion = 25;

// The values that need a restart, as their controls showed them when the page
// was last created (a part of the module state).
struct SOpenedValues final : CModulePart {
  uint32_t resolution = 0;
  uint32_t colorDepth = 0;
  uint32_t textureDetail = 0;
};

uint32_t PackResolution(int width, int height) {
  return uint32_t(width) + uint32_t(height) * 65536u;
}

// The number at the start of text, as the C library reads it (0 without one),
// held to the int range.
int LeadingNumber(const char* text) {
  const long v = std::strtol(text, nullptr, 10);
  return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : int(v);
}

std::string ModeCaption(int width, int height) {
  char caption[32];
  std::snprintf(caption, sizeof caption, "%d X %d", width, height);
  return caption;
}

// ---- Video mode -------------------------------------------------------------------------------

class CGUI_VideoModeButton : public CGUI_RotateTextButton {
 public:
  // One state per display mode of at least 640 x 480, ascending; the current
  // resolution is shown, appended as the last state when no mode has it.
  bool OnCreate() override {
    if (!CGUI_RotateTextButton::OnCreate()) return false;
    const uint32_t current = OptionValue(kResolution);
    ModulePart<SOpenedValues>().resolution = current;
    const int width = int(current % 65536u);
    const int height = int(current / 65536u);

    std::vector<SDisplayMode> modes(size_t(std::clamp(GetDisplayModes(nullptr, 0), 0, kMaxModes)));
    modes.resize(size_t(std::clamp(GetDisplayModes(modes.data(), int(modes.size())), 0,
                                   int(modes.size()))));
    std::sort(modes.begin(), modes.end(), [](const SDisplayMode& a, const SDisplayMode& b) {
      return a.width != b.width ? a.width < b.width : a.height < b.height;
    });
    std::vector<std::string> captions;
    int shown = -1;
    for (size_t i = 0; i < modes.size(); ++i) {
      const SDisplayMode& m = modes[i];
      if (i > 0 && m.width == modes[i - 1].width && m.height == modes[i - 1].height) continue;
      if (m.width < kMinWidth || m.height < kMinHeight) continue;
      if (m.width == width && m.height == height) shown = int(captions.size());
      captions.push_back(ModeCaption(m.width, m.height));
    }
    if (shown < 0) {
      shown = int(captions.size());
      captions.push_back(ModeCaption(width, height));
    }
    ReplaceStates(captions);
    SelectState(shown);
    return true;
  }

  // Reads the mode back from the shown caption ("W X H").
  bool OnStateChanged() override {
    if (!IsCreated()) return true;
    std::string caption;
    GetCaption(caption);
    const size_t split = caption.find("X ");
    const int width = LeadingNumber(caption.substr(0, split).c_str());
    const int height = split == std::string::npos ? 0 : LeadingNumber(caption.c_str() + split + 2);
    UpdateOption(kResolution, PackResolution(width, height));
    return true;
  }
};

// ---- Controls that record their value at creation ------------------------------------------

class CGUI_ColorDepthButton : public TGUI_OptionRotateButton<kColorDepth, kMapColorDepth> {
 public:
  bool OnCreate() override {
    if (!TGUI_OptionRotateButton::OnCreate()) return false;
    ModulePart<SOpenedValues>().colorDepth = ValueForState(kMapColorDepth, GetState());
    return true;
  }
};

class CGUI_TextureDetailSlider : public TGUI_OptionSlider<kTextureDetail, true> {
 public:
  bool OnCreate() override {
    if (!TGUI_OptionSlider::OnCreate()) return false;
    ModulePart<SOpenedValues>().textureDetail = ShownValue();
    return true;
  }
};

// ---- OK -----------------------------------------------------------------------------------------

// The notice during a mission: the change applies with the next scene.
bool AnswerSceneNotice(unsigned long) {
  GUI_PrevDialog(1, true);
  return true;
}

// The question in the front end: 1 restarts the engine now, 2 keeps it.
bool AnswerRestartQuestion(unsigned long code) {
  if (code == 1) Restart("option_graphic");
  else if (code == 2) GUI_PrevDialog(1, true);
  return true;
}

void ClickGraphicsOk(CGUI_GamePushButton*) {
  WriteOptionGraphics();
  const SOpenedValues& opened = ModulePart<SOpenedValues>();
  const bool needsRestart = OptionValue(kResolution) != opened.resolution ||
                            OptionValue(kColorDepth) != opened.colorDepth ||
                            OptionValue(kTextureDetail) != opened.textureDetail;
  if (!needsRestart) {
    GUI_PrevDialog(1, true);
    return;
  }
  const bool inScene = bSceneActive != 0;
  char text[256] = {};
  // Without its text the question cannot be asked: the page stays open.
  if (Res_LoadString(inScene ? kTextSceneRestart : kTextRestartQuestion, text, sizeof text) <= 0)
    return;
  if (inScene)
    GUI_MessageBox(text, "", GUI_MB_EXCLUSIVE | GUI_MB_OK, &AnswerSceneNotice);
  else
    GUI_MessageBox(text, "", GUI_MB_EXCLUSIVE | GUI_MB_YESNO, &AnswerRestartQuestion);
}

}  // namespace

// ---- Registrations ------------------------------------------------------------------------

void RegisterOptionGraphic(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "OPTIONGRAPHIC");
  RegisterIdClass<TGUI_CancelPageButton<&ReadOptionGraphics>>(r, "IDC_BUTTON_GRAPHICCANCEL");
  RegisterIdClass<TGUI_DefaultPageButton<&SetDefaultOptionGraphics>>(r, "IDC_BUTTON_GRAPHICDEFAULT");
  RegisterIdClass<TGUI_ClickButton<&ClickGraphicsOk, kActionFirst>>(r, "IDC_BUTTON_GRAPHICOK");
  // The driver choice has no option behind it: its template states only.
  RegisterIdClass<CGUI_RotateTextButton>(r, "IDC_BUTTON_GRADRIVER");
  RegisterIdClass<CGUI_VideoModeButton>(r, "IDC_BUTTON_GRAVIDEOMODE");
  RegisterIdClass<CGUI_ColorDepthButton>(r, "IDC_BUTTON_GRACOLORDEPTH");
  RegisterIdClass<TGUI_OptionRotateButton<kLightmap, kMapOnOff>>(r, "IDC_BUTTON_GRALIGHMAP");
  RegisterIdClass<TGUI_OptionRotateButton<kTextureFilter, kMapStateNumber>>(
      r, "IDC_BUTTON_GRATEXTUREFILTER");
  RegisterIdClass<TGUI_OptionRotateButton<kDecals, kMapOnOff>>(r, "IDC_BUTTON_GRADECALS");
  RegisterIdClass<CGUI_TextureDetailSlider>(r, "IDC_SLIDER_GRATEXTUREDETAIL");
  RegisterIdClass<TGUI_OptionSlider<kBrightness>>(r, "IDC_SLIDER_GRABRIGHTNESS");
  RegisterIdClass<TGUI_OptionSlider<kContrast>>(r, "IDC_SLIDER_GRACONTRAST");
  RegisterIdClass<TGUI_OptionRotateButton<kCameraWorking, kMapOnOff>>(
      r, "IDC_BUTTON_GRACAMERAWORKING");
  RegisterIdClass<TGUI_OptionRotateButton<kDisableFog, kMapOnOff>>(r, "IDC_BUTTON_GRADISABLEFOG");
}
