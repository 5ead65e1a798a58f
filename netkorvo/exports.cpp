// exports.cpp: the names the network library exports. Globals live here; each
// service records itself when it belongs to the recorded calls of a session,
// then runs on the backend in use.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "host/netkorvo.h"
#include "netkorvo/net_backend.h"
#include "netkorvo/state_values.h"
#include "refhost/session_state.h"

using netkorvo::Backend;
using netkorvo::ERequest;
using netkorvo::SLobbyRequest;

// ---- Globals ----------------------------------------------------------------------------
int NET_bInitialized = 0;
int NET_bLocalGame = 0;
int NET_bEnableGLMaker = 0;
int NET_ServerID = 0;
int my_client = 0;
KORVO_CLT Clt;
int CC_Manager::TimeLimit = 0;
int CC_Manager::ElapsedTime = 0;
int16_t CC_Manager::FragLimit = 0;
CAssocArray NET_var;
SNetProfile NET_profile;

namespace {

CC_Message g_localMessages;

// ---- Recorded call lines ------------------------------------------------------------------

std::string Text(const char* text) { return korvostate::PrintText(text); }
std::string Int(long long value) { return std::to_string(value); }

// Appends `NAME(ARG, …)`, with ` -> RESULT` when the service has a result.
void Record(const char* name, std::initializer_list<std::string> args,
            const std::string& result = std::string()) {
  if (!korvostate::Recording()) return;
  std::string line = std::string(name) + "(";
  for (const std::string& a : args) {
    if (&a != args.begin()) line += ", ";
    line += a;
  }
  line += ")";
  if (!result.empty()) line += " -> " + result;
  korvostate::RecordCall(line);
}

// Sends a lobby request and records it with its arguments and result.
int Request(const char* name, ERequest kind, std::initializer_list<const char*> texts,
            std::initializer_list<std::string> printed, int number = 0) {
  SLobbyRequest request;
  request.kind = kind;
  request.number = number;
  int i = 0;
  for (const char* t : texts) request.texts[i++] = t;
  const int result = Backend().Send(request);
  Record(name, printed, Int(result));
  return result;
}

}  // namespace

// ---- Life and the local game list --------------------------------------------------------

void NET_Init(int server, const char* address, int a, int b) {
  Record("NET_Init", {Int(server), Text(address), Int(a), Int(b)});
  Backend().Init(server, address, a, b);
}

void NET_Release() {
  Record("NET_Release", {});
  Backend().Release();
}

void NET_InitGLManager() {
  Record("NET_InitGLManager", {});
  Backend().StartGameList();
}

void NET_RefreshGLManager() {
  Record("NET_RefreshGLManager", {});
  Backend().StartGameList();
}

void NET_UpdateGLManager(NET_GLCallback callback) { Backend().UpdateGameList(callback); }

void NET_ReleaseGLManager() {
  Record("NET_ReleaseGLManager", {});
  Backend().StopGameList();
}

CGameListItem::CGameListItem() { std::memset(static_cast<void*>(this), 0, sizeof *this); }
CGameListItem::CGameListItem(const CGameListItem& other) { *this = other; }
CGameListItem& CGameListItem::operator=(const CGameListItem& other) {
  if (this != &other) std::memcpy(static_cast<void*>(this), &other, sizeof *this);
  return *this;
}

void netkorvo::HandGame(NET_GLCallback callback, uint32_t serverId, const std::string& name,
                        const uint8_t address[4], int type, int players, int maxPlayers,
                        const std::string& text) {
  if (!callback) return;
  CGameListItem item;
  item.ServerID = serverId;
  CopyCut(item.Name, sizeof item.Name, name);
  std::memcpy(item.Address, address, 4);
  item.Type = uint8_t(type);
  item.Players = uint8_t(players);
  item.MaxPlayers = uint8_t(maxPlayers);
  CopyCut(item.Text, sizeof item.Text, text);
  callback(&item);
}

// ---- Online lobby client ---------------------------------------------------------------------

int KORVO_CLT::SendConnect(int mode) {
  return Request("KORVO_CLT::SendConnect", ERequest::kConnect, {}, {Int(mode)}, mode);
}

void KORVO_CLT::Close() {
  Record("KORVO_CLT::Close", {});
  Backend().Close();
}

int KORVO_CLT::SendLogOut() { return Request("KORVO_CLT::SendLogOut", ERequest::kLogOut, {}, {}); }

int KORVO_CLT::SendIdPw(const char* id, const char* password) {
  return Request("KORVO_CLT::SendIdPw", ERequest::kIdPw, {id, password}, {Text(id), Text(password)});
}

int KORVO_CLT::SendPrivateInfo() {
  return Request("KORVO_CLT::SendPrivateInfo", ERequest::kPrivateInfo, {}, {});
}

int KORVO_CLT::SendNewIdPw(const char* id, const char* password, const char* verify,
                           const char* birthday, const char* address) {
  return Request("KORVO_CLT::SendNewIdPw", ERequest::kNewIdPw,
                 {id, password, verify, birthday, address},
                 {Text(id), Text(password), Text(verify), Text(birthday), Text(address)});
}

int KORVO_CLT::SendChgPw(const char* id, const char* password, const char* newPassword,
                         const char* verify) {
  return Request("KORVO_CLT::SendChgPw", ERequest::kChgPw, {id, password, newPassword, verify},
                 {Text(id), Text(password), Text(newPassword), Text(verify)});
}

int KORVO_CLT::SendChannelList() {
  return Request("KORVO_CLT::SendChannelList", ERequest::kChannelList, {}, {});
}

int KORVO_CLT::SendChgChannel(const char* name) {
  return Request("KORVO_CLT::SendChgChannel", ERequest::kChgChannel, {name}, {Text(name)});
}

int KORVO_CLT::SendPlayerList() {
  return Request("KORVO_CLT::SendPlayerList", ERequest::kPlayerList, {}, {});
}

int KORVO_CLT::SendSessionList() {
  return Request("KORVO_CLT::SendSessionList", ERequest::kSessionList, {}, {});
}

int KORVO_CLT::SendSessionInfo(const char* name) {
  return Request("KORVO_CLT::SendSessionInfo", ERequest::kSessionInfo, {name}, {Text(name)});
}

int KORVO_CLT::SendJoinGame(const char* name, const char* password, const char* address) {
  return Request("KORVO_CLT::SendJoinGame", ERequest::kJoinGame, {name, password, address},
                 {Text(name), Text(password), Text(address)});
}

int KORVO_CLT::SendCreateGame(const char* name, const char* password, int players) {
  return Request("KORVO_CLT::SendCreateGame", ERequest::kCreateGame, {name, password},
                 {Text(name), Text(password), Int(players)}, players);
}

int KORVO_CLT::SendChatMsg(const char* text) {
  return Request("KORVO_CLT::SendChatMsg", ERequest::kChatMsg, {text}, {Text(text)});
}

int KORVO_CLT::CalculateGrade(int ranking, int score) {
  return Backend().CalculateGrade(ranking, score);
}

// ---- Room and match ---------------------------------------------------------------------------

SClientInfo* CC_Manager::GetClientInfo(int slot) { return Backend().ClientInfo(slot); }

bool CS_Manager::CanStart() {
  const bool result = Backend().CanStart();
  Record("CS_Manager::CanStart", {}, korvostate::PrintBool(result));
  return result;
}

void CS_Manager::Write_Start() {
  Record("CS_Manager::Write_Start", {});
  Backend().WriteStart();
}

void CS_Manager::UpdateMenuState(int slot, int state) {
  Record("CS_Manager::UpdateMenuState", {Int(slot), Int(state)});
  Backend().UpdateMenuState(slot, state);
}

void Server_AddBot(int slot) {
  Record("Server_AddBot", {Int(slot)});
  Backend().AddBot(slot);
}

void Server_RemoveBot(int slot) {
  Record("Server_RemoveBot", {Int(slot)});
  Backend().RemoveBot(slot);
}

void NET_GR_client::FillScoreBoard(SScoreBoard* board) {
  if (board) Backend().FillScoreBoard(board);
}
int NET_GR_client::GetRankNumber(int key) { return Backend().RankNumber(key); }
bool NET_GR_client::IsWinner(int slot) { return Backend().IsWinner(slot); }
bool NET_GR_client::IsTeamGame() { return Backend().IsTeamGame(); }

SGameRuleInfo* NET_GetGameRuleInfo(int type) { return Backend().GameRuleInfo(type); }
char* NET_GetClassName(int classIndex) { return Backend().ClassName(classIndex); }
int NET_GetTotalNumLoaders() { return Backend().TotalLoaders(); }
int NET_GetNumLoaders() { return Backend().PendingLoaders(); }

// ---- Chat and screen messages ------------------------------------------------------------------

CC_Message* Client_GetClientMsg(int) { return &g_localMessages; }

void CC_Message::Write_ChatMode(bool on) {
  Record("CC_Message::Write_ChatMode", {korvostate::PrintBool(on)});
  Backend().WriteChatMode(on);
}

void Client_RequestTextMsg(const char* text) {
  Record("Client_RequestTextMsg", {Text(text)});
  Backend().RequestTextMsg(text);
}

void ScreenMsg(const char* format, ...) {
  std::string text;
  if (format) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (n > 0) {
      text.resize(size_t(n) + 1);
      std::vsnprintf(text.data(), text.size(), format, again);
      text.resize(size_t(n));
    }
    va_end(again);
  }
  Record("ScreenMsg", {Text(format ? text.c_str() : nullptr)});
  Backend().ScreenMessage(format ? text.c_str() : nullptr);
}

void SetScreenMsgColor(unsigned long argb) {
  Record("SetScreenMsgColor", {korvostate::PrintColour(static_cast<unsigned int>(argb))});
  Backend().SetScreenMessageColor(argb);
}

// ---- Stored settings ----------------------------------------------------------------------------

bool CAssocArray::GetValue(const char* key, const char** value) {
  return Backend().StoredValue(key, value);
}

void SNetProfile::WritePrevLoginID(const char* id) {
  Record("SNetProfile::WritePrevLoginID", {Text(id)});
  Backend().WritePrevLoginID(id);
}
