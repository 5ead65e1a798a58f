// lobby_tables.cpp: the online lobby's KN_* exports. The network library
// pushes chat lines, pilots, channels and games in through them; each row of
// a list carries the index of its record in the online client's tables.
#include "menus/lobby_tables.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/host_graphics.h"
#include "host/host_services.h"
#include "host/netkorvo.h"
#include "korvogui/lobby.h"
#include "menus/chat_lines.h"
#include "menus/lobby_state.h"
#include "runtime/game_list.h"
#include "runtime/rotate_button.h"

KORVO_API int32_t TotalChannelNum = 0;
KORVO_API int32_t TotalPlayerNum = 0;
KORVO_API int32_t TotalSessionNum = 0;

SLobbyState::~SLobbyState() { TotalChannelNum = TotalPlayerNum = TotalSessionNum = 0; }

namespace {

constexpr int kChatBlankRows = 14;
constexpr int kPlayerArea = KORVO_CLT::kPlayerRecords;

std::string Text(const char* s) { return s ? s : ""; }

// Copies text into a fixed field, cut to leave room for its NUL.
template <size_t N>
void CopyField(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  if (text) std::strncpy(field, text, N - 1);
}

template <size_t N>
std::string FieldText(const char (&field)[N]) { return std::string(field, strnlen(field, N)); }

template <class Record>
int FirstFree(const Record* table) {
  for (int i = 0; i < lobby::kTableRecords; ++i)
    if (reinterpret_cast<const char*>(&table[i])[0] == 0) return i;
  return -1;
}

// The record index attached to a row, or -1.
int RowRecord(CGUI_List* list, int row) {
  uint32_t data;
  if (!list || row < 0 || !list->GetItemData(row, data) || data >= uint32_t(lobby::kTableRecords)) return -1;
  return int(data);
}

int RowOf(CGUI_List* list, const char* text) {
  if (!list || list->GetCount() == 0 || !text) return -1;
  std::string row;
  for (int i = 0; i < list->GetCount(); ++i)
    if (list->GetText(i, row) && row == text) return i;
  return -1;
}

// Copies the row's text into buffer; false without such a row.
bool CopyRow(CGUI_List* list, int row, char* buffer) {
  std::string text;
  if (!list || row < 0 || !list->GetText(row, text)) return false;
  if (buffer) std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

bool Scroll(CGUI_List* list, int delta) {
  if (list) list->SetTopIndex(int(std::clamp<long long>(
                  static_cast<long long>(list->GetTopIndex()) + delta, -2147483647LL, 2147483647LL)));
  return true;
}

void SetStatic(CGUI_Window* dialog, const char* id, const std::string& text) {
  if (!dialog) return;
  if (CGUI_Window* w = dialog->FindChild(id)) w->SetCaption(text);
}

std::string Decimal(long long n) {
  char text[24];
  std::snprintf(text, sizeof text, "%lld", n);
  return text;
}

std::string WinLose(long long wins, long long losses) {
  char text[48];
  std::snprintf(text, sizeof text, "%lld / %lld", wins, losses);
  return text;
}

CGUI_Window* JoinLine(int slot, const char* part) {
  char id[48];
  std::snprintf(id, sizeof id, "IDC_STATIC_JOIN%dPLAYER%s", slot, part);
  CGUI_Window* join = ModulePart<SLobbyState>().join;
  return join ? join->FindChild(id) : nullptr;
}

void SetJoinLine(int slot, const std::string& name, const std::string& wl,
                 const std::string& ranking) {
  if (CGUI_Window* w = JoinLine(slot, "NAME")) w->SetCaption(name);
  if (CGUI_Window* w = JoinLine(slot, "WL")) w->SetCaption(wl);
  if (CGUI_Window* w = JoinLine(slot, "RANKING")) w->SetCaption(ranking);
}

}  // namespace

// ---- Shared with the lobby screens ---------------------------------------------------------

namespace lobby {

PLAYER_INFO* PilotRecord(int row) {
  const int index = RowRecord(ModulePart<SLobbyState>().pilotList, row);
  return index < 0 ? nullptr : &Clt.PlayerInfo[index];
}

void RefreshClassIcons() {
  SLobbyState& s = ModulePart<SLobbyState>();
  CGUI_List* list = s.pilotList;
  const bool allInView = !list || list->GetCount() <= list->GetVisibleRows();
  for (int i = 0; i < kClassIcons; ++i) {
    CGUI_RotateButton* icon = s.classIcons[i];
    if (!icon) continue;
    // Icon i stands beside visible position i; a row below the view shows none.
    const bool beside = !allInView && i < list->GetVisibleRows();
    const PLAYER_INFO* pilot = beside ? PilotRecord(list->GetTopIndex() + i) : nullptr;
    if (pilot) icon->SetState(pilot->grade);
    icon->Show(pilot != nullptr, true);
  }
}

void ShowPilotRecord(const PLAYER_INFO& pilot) {
  CGUI_Window* dialog = ModulePart<SLobbyState>().lobby;
  SetStatic(dialog, "IDC_STATIC_NETCLASS", Text(NET_GetClassName(pilot.grade)));
  SetStatic(dialog, "IDC_STATIC_NETRANKING", Decimal(pilot.ranking));
  SetStatic(dialog, "IDC_STATIC_NETWINLOSE", WinLose(pilot.wins, pilot.losses));
  SetStatic(dialog, "IDC_STATIC_NETSCORE", Decimal(pilot.score));
}

}  // namespace lobby

// ---- Chat box --------------------------------------------------------------------------------

extern "C" KORVO_API bool KN_AddChatListLine(char* name, char* text, int size,
                                             unsigned long colour) {
  CGUI_List* box = ModulePart<SLobbyState>().chatBox;
  if (!box) return true;
  std::string line = (name && *name) ? Text(name) + " : " + Text(text) : "     " + Text(text);
  line.resize(std::min(line.size(), size_t(std::max(size, 1) - 1)));
  box->SetCurSel(-1);
  // The oldest lines go: a busy channel does not grow the box for ever.
  while (box->GetCount() >= lobby::kChatBoxLines) box->DeleteString(0);
  box->SetItemData(box->AddString(line), uint32_t(colour));
  box->SetCurSel(-1);   // no selection shows the last row
  return true;
}

extern "C" KORVO_API void KN_ChatMsgCutting(char* name, char* text, unsigned long colour) {
  CGUI_GameList* box = ModulePart<SLobbyState>().chatBox;
  if (!box) return;
  CY3DText* font = box->RowStatic()->Text();
  const TextMeasure measure = [font](const char* s, int len) {
    if (!font || SCREEN_X <= 0) return 0.0f;
    float w = 0;
    font->GetTextMetric(s, len, &w, nullptr);
    return w / float(SCREEN_X);
  };
  float region[4];
  box->GetRegion(region);
  for (std::string& piece : lobby::CutChatMessage(name, text, region[2], measure))
    KN_AddChatListLine(name, piece.data(), lobby::kChatPieceRoom, colour);
}

extern "C" KORVO_API bool KN_ChatLineControl(int delta) {
  return Scroll(ModulePart<SLobbyState>().chatBox, delta);
}

extern "C" KORVO_API bool KN_RemoveAllChatList() {
  if (CGUI_List* box = ModulePart<SLobbyState>().chatBox) box->ResetContent();
  return true;
}

extern "C" KORVO_API void InitChatListLine() {
  CGUI_List* box = ModulePart<SLobbyState>().chatBox;
  for (int i = 0; box && i < kChatBlankRows; ++i) box->SetItemData(box->AddString(""), 0);
}

// ---- Pilot list ------------------------------------------------------------------------------

extern "C" KORVO_API bool KN_AddPlayerList(char* id, unsigned short wins, unsigned short losses,
                                           int ranking, int score) {
  CGUI_List* list = ModulePart<SLobbyState>().pilotList;
  if (!list) return true;
  const int row = list->AddString(Text(id));
  const int index = KN_GetEmptyPlayerListIndex();
  if (index >= 0) {
    PLAYER_INFO& pilot = Clt.PlayerInfo[index];
    std::memset(&pilot, 0, sizeof pilot);
    CopyField(pilot.id, id);
    pilot.wins = wins;
    pilot.losses = losses;
    pilot.ranking = uint16_t(ranking);
    pilot.score = uint32_t(score);
    pilot.grade = uint8_t(Clt.CalculateGrade(ranking, score));
  }
  list->SetItemData(row, index >= 0 ? uint32_t(index) : lobby::kNoRecord);
  ++TotalPlayerNum;
  lobby::RefreshClassIcons();
  return true;
}

// The player area is cleared; the records of the remaining rows are written back.
extern "C" KORVO_API bool KN_RemovePlayerList(int row) {
  CGUI_List* list = ModulePart<SLobbyState>().pilotList;
  if (!list || !list->DeleteString(row)) return true;
  std::vector<std::pair<int, PLAYER_INFO>> kept;
  for (int i = 0; i < list->GetCount(); ++i)
    if (const int index = RowRecord(list, i); index >= 0) kept.emplace_back(index, Clt.PlayerInfo[index]);
  std::memset(Clt.PlayerInfo, 0, sizeof(PLAYER_INFO) * kPlayerArea);
  for (const auto& [index, record] : kept) Clt.PlayerInfo[index] = record;
  --TotalPlayerNum;
  lobby::RefreshClassIcons();
  return true;
}

// The rows' records go with them.
extern "C" KORVO_API bool KN_RemoveAllPlayerList() {
  if (CGUI_List* list = ModulePart<SLobbyState>().pilotList) list->ResetContent();
  std::memset(Clt.PlayerInfo, 0, sizeof(PLAYER_INFO) * kPlayerArea);
  TotalPlayerNum = 0;
  lobby::RefreshClassIcons();
  return true;
}

extern "C" KORVO_API int KN_GetEmptyPlayerListIndex() { return FirstFree(Clt.PlayerInfo); }

extern "C" KORVO_API bool KN_GetPlayerString(int row, char* buffer) {
  CopyRow(ModulePart<SLobbyState>().pilotList, row, buffer);
  return true;
}

extern "C" KORVO_API int KN_GetPlayerIndex(char* id) {
  return RowOf(ModulePart<SLobbyState>().pilotList, id);
}

extern "C" KORVO_API PLAYER_INFO* KN_GetPlayerInfo() {
  CGUI_List* list = ModulePart<SLobbyState>().pilotList;
  return list ? lobby::PilotRecord(list->GetCurSel()) : nullptr;
}

extern "C" KORVO_API bool KN_PlayerLineControl(int delta) {
  Scroll(ModulePart<SLobbyState>().pilotList, delta);
  lobby::RefreshClassIcons();
  return true;
}

extern "C" KORVO_API bool KN_SetPlayerInfo(char* const, unsigned int, unsigned int, unsigned short,
                                           unsigned short, unsigned int) {
  CGUI_Window* dialog = ModulePart<SLobbyState>().lobby;
  if (!dialog) return true;
  SetStatic(dialog, "IDC_STATIC_NETID", FieldText(Clt.LoginID));
  SetStatic(dialog, "IDC_STATIC_NETCLASS", Text(NET_GetClassName(int(Clt.Class))));
  SetStatic(dialog, "IDC_STATIC_NETRANKING", Decimal(Clt.Ranking));
  SetStatic(dialog, "IDC_STATIC_NETWINLOSE", WinLose(Clt.Wins, Clt.Losses));
  SetStatic(dialog, "IDC_STATIC_NETSCORE", Decimal(Clt.Score));
  if (auto* icon = dynamic_cast<CGUI_RotateButton*>(dialog->FindChild("IDC_BUTTON_NETCLASSICONL")))
    icon->SetState(int(Clt.Class));
  return true;
}

// ---- Channel list ----------------------------------------------------------------------------

extern "C" KORVO_API bool KN_AddChannelList(char* name) {
  CGUI_List* list = ModulePart<SLobbyState>().channelList;
  if (!list) return true;
  const int row = list->AddString(Text(name));
  const int index = KN_GetEmptyChannelListIndex();
  if (index >= 0) CopyField(Clt.ChannelInfo[index].name, name);
  list->SetItemData(row, index >= 0 ? uint32_t(index) : lobby::kNoRecord);
  ++TotalChannelNum;
  return true;
}

// The row's record goes with it.
extern "C" KORVO_API bool KN_RemoveChannelList(int row) {
  CGUI_List* list = ModulePart<SLobbyState>().channelList;
  const int index = RowRecord(list, row);
  if (!list || !list->DeleteString(row)) return true;
  if (index >= 0) std::memset(&Clt.ChannelInfo[index], 0, sizeof(CHANNEL_INFO));
  --TotalChannelNum;
  return true;
}

extern "C" KORVO_API bool KN_RemoveAllChannelList() {
  if (CGUI_List* list = ModulePart<SLobbyState>().channelList) list->ResetContent();
  std::memset(Clt.ChannelInfo, 0, sizeof Clt.ChannelInfo);
  TotalChannelNum = 0;
  return true;
}

extern "C" KORVO_API int KN_GetEmptyChannelListIndex() { return FirstFree(Clt.ChannelInfo); }

extern "C" KORVO_API bool KN_IsExistChannel(char* name) {
  if (!name) return false;
  for (const CHANNEL_INFO& channel : Clt.ChannelInfo)
    if (channel.name[0] && FieldText(channel.name) == name) return true;
  return false;
}

extern "C" KORVO_API bool KN_GetChannelString(int row, char* buffer) {
  return CopyRow(ModulePart<SLobbyState>().channelList, row, buffer);
}

extern "C" KORVO_API int KN_GetChannelIndex(char* name) {
  return RowOf(ModulePart<SLobbyState>().channelList, name);
}

extern "C" KORVO_API CHANNEL_INFO* KN_GetChannelInfo() {
  CGUI_List* list = ModulePart<SLobbyState>().channelList;
  const int index = list ? RowRecord(list, list->GetCurSel()) : -1;
  return index < 0 ? nullptr : &Clt.ChannelInfo[index];
}

// Selecting for the network library asks for nothing.
extern "C" KORVO_API bool KN_ChannelListSetCurSel(int row) {
  SLobbyState& s = ModulePart<SLobbyState>();
  if (!s.channelList) return true;
  s.selectingChannel = true;
  s.channelList->SetCurSel(row);
  s.selectingChannel = false;
  return true;
}

extern "C" KORVO_API bool KN_ChannelLineControl(int delta) {
  return Scroll(ModulePart<SLobbyState>().channelList, delta);
}

extern "C" KORVO_API bool KN_SelChangeChannelList() {
  CGUI_List* list = ModulePart<SLobbyState>().channelList;
  std::string name;
  if (!list || list->GetCurSel() < 0 || !list->GetText(list->GetCurSel(), name)) return false;
  Clt.SendChgChannel(name.c_str());
  return true;
}

// ---- Game list --------------------------------------------------------------------------------

extern "C" KORVO_API bool KN_AddSessionList(SESSION_INFO session) {
  CGUI_List* list = ModulePart<SLobbyState>().joinList;
  if (!list) return true;
  const int row = list->AddString(FieldText(session.name));
  const int index = KN_GetEmptySessionListIndex();
  if (index >= 0) Clt.SessionInfo[index] = session;
  list->SetItemData(row, index >= 0 ? uint32_t(index) : lobby::kNoRecord);
  ++TotalSessionNum;
  return true;
}

// The row's record goes with it.
extern "C" KORVO_API bool KN_RemoveSessionList(int row) {
  CGUI_List* list = ModulePart<SLobbyState>().joinList;
  const int index = RowRecord(list, row);
  if (!list || !list->DeleteString(row)) return true;
  if (index >= 0) std::memset(&Clt.SessionInfo[index], 0, sizeof(SESSION_INFO));
  --TotalSessionNum;
  return true;
}

// The rows' records go with them.
extern "C" KORVO_API bool KN_RemoveAllSessionList() {
  if (CGUI_List* list = ModulePart<SLobbyState>().joinList) list->ResetContent();
  std::memset(Clt.SessionInfo, 0, sizeof Clt.SessionInfo);
  TotalSessionNum = 0;
  return true;
}

extern "C" KORVO_API int KN_GetEmptySessionListIndex() { return FirstFree(Clt.SessionInfo); }

extern "C" KORVO_API bool KN_GetSessionString(int row, char* buffer) {
  CopyRow(ModulePart<SLobbyState>().joinList, row, buffer);
  return true;
}

extern "C" KORVO_API int KN_GetSessionIndex(char* name) {
  return RowOf(ModulePart<SLobbyState>().joinList, name);
}

extern "C" KORVO_API SESSION_INFO* KN_GetSessionInfo() {
  CGUI_List* list = ModulePart<SLobbyState>().joinList;
  const int index = list ? RowRecord(list, list->GetCurSel()) : -1;
  return index < 0 ? nullptr : &Clt.SessionInfo[index];
}

// ---- Join dialog's player lines ---------------------------------------------------------------

extern "C" KORVO_API bool KN_AddSessionInPlayerList(char* id, int wins, int losses, int ranking,
                                                    int slot) {
  if (slot < 1 || slot > lobby::kJoinSlots) return true;
  char wl[48];
  std::snprintf(wl, sizeof wl, "  %d  /  %d", wins, losses);
  SetJoinLine(slot, Text(id), wl, Decimal(ranking));
  return true;
}

extern "C" KORVO_API bool KN_RemoveSessionInPlayerList(int slot) {
  if (slot >= 1 && slot <= lobby::kJoinSlots) SetJoinLine(slot, "", "", "");
  return true;
}

extern "C" KORVO_API bool KN_RemoveAllSessionInPlayerList() {
  for (int slot = 1; slot <= lobby::kJoinSlots; ++slot) SetJoinLine(slot, "", "", "");
  return true;
}

extern "C" KORVO_API bool KN_GoInGame(char* const address) {
  NET_ServerID = 0;
  NET_Init(0, address, 0, 0);
  return true;
}
