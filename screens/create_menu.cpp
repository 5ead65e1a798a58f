// create_menu.cpp: CREATEMENU, the settings of a new game: room name and
// password, the game type with its settings dialog, and the map browser that
// offers the maps suiting the type's game rule, four at a time.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/host_graphics.h"
#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/room.h"
#include "menus/click_handlers.h"
#include "menus/map_picture.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "runtime/edit.h"
#include "runtime/game_bitmap.h"
#include "runtime/module_state.h"
#include "runtime/rotate_text_button.h"
#include "runtime/sound_ids.h"
#include "runtime/window_manager.h"
#include "screens/screen_messages.h"

namespace {

constexpr int kMapImages = 4;
constexpr int kMsgCreatingGame = 22;
constexpr uint32_t kDimmedAlpha = 154;
constexpr const char* kCursorPicture = "mapcursor1.tga";

class CGUI_MapImage;

// The map browser: the maps suiting the current rule, the page shown and the
// chosen image with the shared cursor drawn over it.
struct SMapBrowser final : CModulePart {
  std::vector<std::string> maps;   // map file names
  int pageStart = 0;
  CGUI_MapImage* chosen = nullptr;
  TEXTURE cursor = nullptr;        // owned while an image is chosen

  void OnTableReleased() override { chosen = nullptr; }
};

// The decimal number at the start of a caption: leading blanks and a sign,
// up to the first non-digit; 0 without digits.
int ReadNumber(CGUI_Window* w) {
  if (!w) return 0;
  std::string text;
  w->GetCaption(text);
  return int(std::strtol(text.c_str(), nullptr, 10));
}

// Loads an interface texture into *texture, releasing the one it held.
void LoadInterfaceTexture(TEXTURE* texture, const char* name) {
  if (*texture) ReleaseTexture(*texture, 0);
  *texture = nullptr;
  RegisterNewTexture(&InterfaceTexture, GUI_GetTexPath(name), texture, 0);
  LoadTexture(&InterfaceTexture, 0);
}

void ReleaseInterfaceTexture(TEXTURE* texture) {
  if (*texture) ReleaseTexture(*texture, 0);
  *texture = nullptr;
}

// ---- Map images ---------------------------------------------------------------------------

// One of the four map pictures; its index (0-3) comes from the id's digit.
class CGUI_MapImage : public CGUI_GameBitmap {
 public:
  CGUI_MapImage() { hitTest_ = true; }   // unlike plain pictures, it takes the mouse
  bool OnCreate() override {
    if (!CGUI_GameBitmap::OnCreate()) return false;
    hovered_ = false;
    SetMap("");
    return true;
  }
  bool OnDestroy() override {
    SMapBrowser& browser = ModulePart<SMapBrowser>();
    if (browser.chosen == this) ReleaseChoice();
    ReleaseInterfaceTexture(&picture_);
    pictureName_.clear();
    return CGUI_GameBitmap::OnDestroy();
  }
  bool OnMouseEnter() override {
    hovered_ = true;
    return CGUI_GameBitmap::OnMouseEnter();
  }
  bool OnMouseLeave() override {
    hovered_ = false;
    return CGUI_GameBitmap::OnMouseLeave();
  }
  // Chooses the map shown (an empty page place has no picture name).
  bool OnLButtonUp() override {
    if (pictureName_.size() <= 3) return true;
    ReleaseChoice();
    SGUI_ServerInfo* server = GUI_GetServerInfo();
    std::snprintf(server->map, sizeof server->map, "%s", map_.c_str());
    PlaySoundA(kSoundChooseMap);
    SMapBrowser& browser = ModulePart<SMapBrowser>();
    browser.chosen = this;
    LoadInterfaceTexture(&browser.cursor, kCursorPicture);
    return true;
  }
  // The picture, dimmed unless the mouse is over it; the cursor over the chosen one.
  bool OnDraw() override {
    float corner[2];
    GetAlignedPos(corner, true);
    const int x = int(float(SCREEN_X) * corner[0]);
    const int y = int(float(SCREEN_Y) * corner[1]);
    const int w = int(float(SCREEN_X) * region_[2]);
    const int h = int(float(SCREEN_Y) * region_[3]);
    const uint32_t color = hovered_ ? Color() : (Color() & 0x00FFFFFFu) | kDimmedAlpha << 24;
    if (picture_)
      DrawFrameBitmap(picture_, x, y, 0.01f, w, h, Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA, color,
                      0, 1.0f, 1.0f);
    const SMapBrowser& browser = ModulePart<SMapBrowser>();
    if (browser.chosen == this && browser.cursor)
      DrawFrameBitmap(browser.cursor, x, y, 0.01f, w, h, Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA,
                      0xFFFFFFFFu, 0, 1.0f, 1.0f);
    return true;
  }

  // Shows the map file (empty: none) with its picture.
  void SetMap(const std::string& file) {
    if (ModulePart<SMapBrowser>().chosen == this) ReleaseChoice();
    map_ = file;
    ReleaseInterfaceTexture(&picture_);
    pictureName_ = MapPictureName(file);
    if (!pictureName_.empty()) LoadInterfaceTexture(&picture_, pictureName_.c_str());
  }

 private:
  static void ReleaseChoice() {
    SMapBrowser& browser = ModulePart<SMapBrowser>();
    browser.chosen = nullptr;
    ReleaseInterfaceTexture(&browser.cursor);
  }

  std::string map_;
  std::string pictureName_;
  TEXTURE picture_ = nullptr;   // owned
  bool hovered_ = false;
};

// Shows the page from the browser's page start in the dialog's four images.
void ShowMapPage(CGUI_Window* dialog) {
  if (!dialog) return;
  const SMapBrowser& browser = ModulePart<SMapBrowser>();
  for (int i = 0; i < kMapImages; ++i) {
    char id[32];
    std::snprintf(id, sizeof id, "IDC_BITMAP_MAPIMAGE%d", i + 1);
    auto* image = dynamic_cast<CGUI_MapImage*>(dialog->FindChild(id));
    if (!image) continue;
    const size_t at = size_t(browser.pageStart + i);
    image->SetMap(at < browser.maps.size() ? browser.maps[at] : std::string());
  }
}

// Whether a map file suits the rule: a name without further parts suits
// every rule; otherwise one further part must begin as the rule's name does.
bool SuitsRule(const std::string& file, const char* rule) {
  size_t dash = file.find('-');
  if (dash == std::string::npos) return true;
  while (dash != std::string::npos) {
    const std::string part = file.substr(dash + 1, 2);
    if (part.size() == 2 && std::strncmp(part.c_str(), rule, 2) == 0) return true;
    dash = file.find('-', dash + 1);
  }
  return false;
}

// Rebuilds the map list for a game rule and shows its first page.
void BuildMapList(CGUI_Window* dialog, int rule) {
  SMapBrowser& browser = ModulePart<SMapBrowser>();
  browser.maps.clear();
  browser.pageStart = 0;
  const char* ruleName = NET_GetGameRuleInfo(rule)->name;
  char** names = nullptr;
  const int count = FindFiles(GetGNDPath("*.*"), &names);
  for (int i = 0; i < count; ++i)
    if (SuitsRule(names[i], ruleName)) browser.maps.emplace_back(names[i]);
  if (names) Release2DArray(names, count);
  ShowMapPage(dialog);
}

void ClickMapLeft(CGUI_GamePushButton* button) {
  SMapBrowser& browser = ModulePart<SMapBrowser>();
  if (browser.pageStart < kMapImages) return;
  browser.pageStart -= kMapImages;
  ShowMapPage(button->GetParent());
}

void ClickMapRight(CGUI_GamePushButton* button) {
  SMapBrowser& browser = ModulePart<SMapBrowser>();
  if (size_t(browser.pageStart + kMapImages) >= browser.maps.size()) return;
  browser.pageStart += kMapImages;
  ShowMapPage(button->GetParent());
}

// ---- Game type and its settings dialog ------------------------------------------------------

// The type's current text names its settings dialog, open while the button is.
class CGUI_GameTypeButton : public CGUI_RotateTextButton {
 public:
  bool OnCreate() override {
    creating_ = true;
    const bool created = CGUI_RotateTextButton::OnCreate();
    creating_ = false;
    if (!created) return false;
    OpenSettings();
    return true;
  }
  bool OnDestroy() override {
    CloseSettings();
    return CGUI_RotateTextButton::OnDestroy();
  }
  bool OnStateChanged() override {
    if (creating_) return true;
    CloseSettings();
    OpenSettings();
    BuildMapList(GetParent(), GetState());
    return true;
  }

  // The settings dialog of the current type, when open.
  CGUI_Window* Settings() const { return settings_.empty() ? nullptr : FindOpenDialog(settings_); }

 private:
  void OpenSettings() {
    GetCaption(settings_);
    if (!settings_.empty()) GUI_CreateDialog(settings_.c_str());
  }
  void CloseSettings() {
    if (!settings_.empty()) GUI_DestroyDialog(settings_.c_str());
    settings_.clear();
  }

  std::string settings_;
  bool creating_ = false;
};

// The controls of each settings dialog, told apart by their id's suffix and
// found by the first two characters of the dialog's caption.
struct SSettingsKind {
  const char* caption;
  const char* suffix;
  bool points;   // has armor and shield points
};
constexpr SSettingsKind kSettingsKinds[] = {
    {"DE", "DM", true},  {"TE", "TDM", true}, {"HE", "HH", true},
    {"PU", "PO", false}, {"LA", "LS", true},  {"AL", "AK", true},
    {"SH", "SD", true},  {"HU", "HT", true},  {"KI", "KA", true},
};

// Game type and the settings of its dialog into the server record.
void ReadSettings(CGUI_Window* dialog, SGUI_ServerInfo* server) {
  auto* type = dialog ? dynamic_cast<CGUI_GameTypeButton*>(
                            dialog->FindChild("IDC_BUTTON_CREATEGAMETYPE"))
                      : nullptr;
  if (!type) return;
  server->type = type->GetState();
  CGUI_Window* settings = type->Settings();
  if (!settings) return;
  const std::string caption = settings->Caption().substr(0, 2);
  for (const SSettingsKind& kind : kSettingsKinds) {
    if (caption != kind.caption) continue;
    const std::string suffix = kind.suffix;
    server->frag = ReadNumber(settings->FindChild("IDC_EDIT_FRAGLIMIT" + suffix));
    server->time = ReadNumber(settings->FindChild("IDC_EDIT_TIMELIMIT" + suffix));
    if (auto* parts = dynamic_cast<CGUI_RotateTextButton*>(
            settings->FindChild("IDC_BUTTON_OPTIONPARTS" + suffix)))
      server->parts = 2 - parts->GetState();
    if (kind.points) {
      server->armor = ReadNumber(settings->FindChild("IDC_EDIT_ARMORPOINT" + suffix));
      server->shield = ReadNumber(settings->FindChild("IDC_EDIT_SHIELDPOINT" + suffix));
    }
    return;
  }
}

void CopyCaption(CGUI_Window* dialog, const char* id, char* out, size_t room) {
  CGUI_Window* w = dialog ? dialog->FindChild(id) : nullptr;
  std::string text;
  if (w) w->GetCaption(text);
  std::snprintf(out, room, "%s", text.c_str());
}

void ClickCreate(CGUI_GamePushButton* button) {
  CGUI_Window* dialog = button->GetParent();
  SGUI_ServerInfo* server = GUI_GetServerInfo();
  ReadSettings(dialog, server);
  CopyCaption(dialog, "IDC_EDIT_CREATEROOMNAME", server->room, sizeof server->room);
  CopyCaption(dialog, "IDC_EDIT_CREATEROOMPASS", server->password, sizeof server->password);
  if (NET_bLocalGame) {
    NET_Init(1, nullptr, 1, NET_bEnableGLMaker);
  } else if (Clt.SendCreateGame(server->room, server->password, 8)) {
    ShowMessage(kMsgCreatingGame, GUI_MB_CANCEL);
  }
}

// ---- Dialog ---------------------------------------------------------------------------------

class CGUI_CreateMenu : public CGUI_MenuDialog {
 public:
  bool OnCreate() override {
    if (!CGUI_MenuDialog::OnCreate()) return false;
    BuildMapList(this, 0);
    auto* name = dynamic_cast<CGUI_Edit*>(FindControl("IDC_EDIT_CREATEROOMNAME"));
    auto* password = dynamic_cast<CGUI_Edit*>(FindControl("IDC_EDIT_CREATEROOMPASS"));
    if (name) name->SetMaxNumChar(20);
    if (password) password->SetMaxNumChar(9);
    char room[64] = "KORVO ARENA";
    if (NET_bLocalGame) {
      const char* id = nullptr;
      if (NET_var.GetValue("kn_prev_login_id", &id) && id && id[0])
        std::snprintf(room, sizeof room, "%s's ARENA", id);
    } else {
      std::snprintf(room, sizeof room, "%.*s's ARENA", int(sizeof Clt.LoginID), Clt.LoginID);
      Clt.CreatingGame = 1;
    }
    if (name) name->SetCaption(room);
    if (password) password->SetCaption("");
    return true;
  }
};

using CGUI_CreateButton = TGUI_ClickButton<&ClickCreate, kBaseFirst>;
using CGUI_MapLeftButton = TGUI_ClickButton<&ClickMapLeft, kBaseFirst>;
using CGUI_MapRightButton = TGUI_ClickButton<&ClickMapRight, kBaseFirst>;

}  // namespace

void RegisterCreateMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_CreateMenu>(r, "CREATEMENU");
  RegisterIdClass<CGUI_BackButton>(r, "IDC_BUTTON_CREATECANCEL");
  RegisterIdClass<CGUI_CreateButton>(r, "IDC_BUTTON_CREATECREATE");
  RegisterIdClass<CGUI_GameTypeButton>(r, "IDC_BUTTON_CREATEGAMETYPE");
  RegisterIdClass<CGUI_MapLeftButton>(r, "IDC_BUTTON_MAPLEFT");
  RegisterIdClass<CGUI_MapRightButton>(r, "IDC_BUTTON_MAPRIGHT");
  static constexpr SRegistrationRow kImages[] = {Family<CGUI_MapImage>("IDC_BITMAP_MAPIMAGE%d", kMapImages)};
  RegisterRows(r, kImages);
}
