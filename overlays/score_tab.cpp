// score_tab.cpp: the score table PLAYTAB and the end-of-match screen
// MULTIPLAYGAMEOVER, filled from the game-rule client's score board; the
// latter cycles its winners' names.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/room.h"
#include "menus/menu_registrations.h"
#include "menus/option_icon.h"
#include "menus/registration.h"
#include "overlays/event_message.h"
#include "overlays/overlay_lookup.h"
#include "overlays/overlay_registrations.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_static.h"
#include "runtime/rotate_button.h"
#include "runtime/sound_ids.h"

namespace {

constexpr int kRows = 8;

// A NUL-terminated field of a fixed-size record.
template <size_t N>
std::string Field(const char (&text)[N]) {
  return std::string(text, strnlen(text, N));
}

void SetArgb(CGUI_GameStatic* text, uint32_t argb) {
  text->SetTextColor(int(argb >> 16 & 255), int(argb >> 8 & 255), int(argb & 255), int(argb >> 24));
}

// Fills the table of `dialog`, whose controls are prefix + dialog id + suffix.
class CScoreFiller {
 public:
  explicit CScoreFiller(CGUI_Window* dialog) : dialog_(dialog) { dialog->GetId(id_); }

  void Fill() {
    SetText("IDC_STATIC_", "GAMETYPE", NET_GetGameRuleInfo(GUI_GetServerInfo()->type)->name);
    SScoreBoard board{};
    NET_GR_client::FillScoreBoard(&board);
    SetText("IDC_STATIC_", "FRAG", board.hasFragTitle ? Field(board.fragTitle) : "");
    SetText("IDC_STATIC_", "SLOT", board.hasSlotTitle ? Field(board.slotTitle) : "");
    const int count = board.rowCount < 0 ? 0 : board.rowCount > kRows ? kRows : board.rowCount;
    for (int i = 1; i <= kRows; ++i) {
      if (i <= count) FillRow(i, board.rows[i - 1]);
      else ClearRow(i);
    }
  }

 private:
  template <class T>
  T* Find(const char* prefix, const char* suffix, int row = 0) {
    std::string id = prefix + id_ + suffix;
    if (row) id += Decimal(row);
    return FindAs<T>(dialog_, id);
  }
  void SetText(const char* prefix, const char* suffix, const std::string& text, int row = 0) {
    if (auto* w = Find<CGUI_Window>(prefix, suffix, row)) w->SetCaption(text);
  }

  void FillRow(int i, const SScoreRow& row) {
    const uint32_t color = uint32_t(GUI_GetTeamColorByID(row.team));
    if (auto* mark = Find<CGUI_GameBitmap>("IDC_BITMAP_", "MARK", i)) {
      mark->SetTexture(Field(row.mark).c_str());
      mark->SetColor(color);
    }
    if (auto* rank = Find<CGUI_GameStatic>("IDC_STATIC_", "RANK", i)) {
      SetArgb(rank, color);
      rank->SetCaption(Decimal(NET_GR_client::GetRankNumber(row.key)));
    }
    if (auto* icon = Find<CGUI_RotateButton>("IDC_BUTTON_", "CLASSICONS0", i)) {
      if (row.classIndex >= 0) {
        icon->SetState(row.classIndex);
        icon->Show(true, false);
      } else {
        icon->Show(false, false);
      }
    }
    if (auto* name = Find<CGUI_GameStatic>("IDC_STATIC_", "PLAYERNAME", i)) {
      name->SetCaption(Field(row.name));
      SetArgb(name, color);
    }
    SetText("IDC_STATIC_", "FRAG", row.hasFrag ? Field(row.frag) : "", i);
    SetText("IDC_STATIC_", "SLOT", row.hasSlot ? Field(row.slot) : "", i);
    if (auto* left = Find<CGUI_GameBitmap>("IDC_BITMAP_", "LOPTION", i)) SetOptionIconTexture(left, row.leftOption);
    if (auto* right = Find<CGUI_GameBitmap>("IDC_BITMAP_", "ROPTION", i)) SetOptionIconTexture(right, row.rightOption);
    if (auto* box = Find<CGUI_GameBitmap>("IDC_BITMAP_", "BOX", i)) {
      box->Show(row.highlight != 0, false);
      if (row.highlight) box->RestartClock();
    }
  }

  void ClearRow(int i) {
    if (auto* mark = Find<CGUI_GameBitmap>("IDC_BITMAP_", "MARK", i)) mark->SetTexture("");
    if (auto* rank = Find<CGUI_GameStatic>("IDC_STATIC_", "RANK", i)) {
      rank->SetTextColor(0, 0, 0, 0);
      rank->SetCaption("");
    }
    if (auto* icon = Find<CGUI_Window>("IDC_BUTTON_", "CLASSICONS0", i)) icon->Show(false, false);
    SetText("IDC_STATIC_", "PLAYERNAME", "", i);
    SetText("IDC_STATIC_", "FRAG", "", i);
    SetText("IDC_STATIC_", "SLOT", "", i);
    if (auto* left = Find<CGUI_GameBitmap>("IDC_BITMAP_", "LOPTION", i)) SetOptionIconTexture(left, -1);
    if (auto* right = Find<CGUI_GameBitmap>("IDC_BITMAP_", "ROPTION", i)) SetOptionIconTexture(right, -1);
    if (auto* box = Find<CGUI_Window>("IDC_BITMAP_", "BOX", i)) box->Show(false, false);
  }

  CGUI_Window* dialog_;
  std::string id_;
};

class CGUI_ScoreTab : public CGUI_Dialog {
 public:
  bool OnCreate() override {
    if (!CGUI_Dialog::OnCreate()) return false;
    CScoreFiller(this).Fill();
    PlaySoundA(kSoundMatchOver);
    return true;
  }
};

class CGUI_MultiPlayGameOver : public CGUI_Dialog {
 public:
  bool OnCreate() override {
    if (!CGUI_Dialog::OnCreate()) return false;
    CScoreFiller(this).Fill();
    winners_ = 0;
    int team = 0;
    for (int slot = 0; slot < kRows; ++slot) {
      const SClientInfo* info = CC_Manager::GetClientInfo(slot);
      if (!info || !NET_GR_client::IsWinner(slot)) continue;
      std::snprintf(names_[winners_], sizeof names_[winners_], "%.*s", int(strnlen(info->name, sizeof info->name)),
                    info->name);
      ++winners_;
      team = info->team;
    }
    winnerId_ = dynamic_cast<CGUI_GameStatic*>(FindControl("IDC_STATIC_MULTIPLAYGAMEOVERWINNERID"));
    teamGame_ = NET_GR_client::IsTeamGame();
    if (winnerId_) SetArgb(winnerId_, uint32_t(GUI_GetTeamColorByID(team)));
    if (teamGame_) {
      if (winnerId_) winnerId_->SetCaption(std::string("TEAM ") + GUI_GetTeamColorNameByID(team));
    } else if (winners_ > 0) {
      shown_ = winners_ - 1;
      cycleStart_ = dwY3DCurrentFrameTick - 2001;   // the first update shows the next name
    }
    PlaySoundA(kSoundMatchOver);
    return true;
  }

  bool OnUpdate() override {
    if (!teamGame_ && winners_ > 0 && winnerId_) {
      const uint32_t now = dwY3DCurrentFrameTick;
      const uint32_t d = now - cycleStart_;
      const int* c = winnerId_->TextColor();
      if (d > 2000) {
        shown_ = (shown_ + 1) % winners_;
        cycleStart_ = now;
        winnerId_->SetCaption(names_[shown_]);
        winnerId_->SetTextColor(c[0], c[1], c[2], 255);
      } else if (d > 1000) {
        winnerId_->SetTextColor(c[0], c[1], c[2], 255 - int(255 * (d - 1000) / 1000));
      }
    }
    return CGUI_Dialog::OnUpdate();
  }

 private:
  bool teamGame_ = false;
  int winners_ = 0;
  char names_[kRows][64] = {};
  int shown_ = 0;
  uint32_t cycleStart_ = 0;
  CGUI_GameStatic* winnerId_ = nullptr;
};

}  // namespace

void RegisterScoreTab(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_ScoreTab>(r, "PLAYTAB");
  RegisterRoomPlayerName(r, "IDC_STATIC_1PLAYERNAME", 0);
  RegisterIdClass<CGUI_MultiPlayGameOver>(r, "MULTIPLAYGAMEOVER");
  RegisterIdClass<CGUI_EventMessage>(r, "IDC_STATIC_MULTIPLAYGAMEOVERMESSAGE");
}
