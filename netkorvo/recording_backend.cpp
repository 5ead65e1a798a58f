// recording_backend.cpp: the services of the recording mode. Requests have no
// effect beyond their scripted result (the exports record them); reads come
// from the scripted records.
#include "netkorvo/recording_backend.h"

#include <cstring>

#include "netkorvo/state_values.h"

namespace netkorvo {

namespace {
CNetBackend* g_backend = nullptr;
}  // namespace

CRecordingBackend& RecordingBackend() {
  static CRecordingBackend backend;
  return backend;
}

CNetBackend& Backend() { return g_backend ? *g_backend : RecordingBackend(); }
void SetBackend(CNetBackend* backend) { g_backend = backend; }

void CRecordingBackend::Reset() {
  script_ = SNetScript();
  ForgetNames();
}

// ---- Local game list ---------------------------------------------------------------------------

void CRecordingBackend::StartGameList() {
  for (SGameRecord& game : script_.games) game.delivered = false;
}

void CRecordingBackend::UpdateGameList(NET_GLCallback callback) {
  // Indices, not iterators: the callback may reach the script (a session line
  // cannot run meanwhile, but the module may call other services).
  for (size_t i = 0; i < script_.games.size(); ++i) {
    if (script_.games[i].delivered) continue;
    script_.games[i].delivered = true;
    const SGameRecord& game = script_.games[i];
    HandGame(callback, game.id, game.name, game.address, game.type, game.players, game.max, game.text);
  }
}

// ---- Online lobby ------------------------------------------------------------------------------

int CRecordingBackend::Send(const SLobbyRequest& request) {
  return script_.requestResults[static_cast<size_t>(request.kind)];
}

int CRecordingBackend::CalculateGrade(int, int) { return script_.grade; }

// ---- Room and match ------------------------------------------------------------------------------

SClientInfo* CRecordingBackend::ClientInfo(int slot) {
  if (slot < 0 || slot >= int(script_.clients.size()) || !script_.clients[slot]) return nullptr;
  SClientInfo& info = script_.clients[slot]->info;
  info.inUse = 1;
  return &info;
}

bool CRecordingBackend::CanStart() { return script_.canStart; }

void CRecordingBackend::FillScoreBoard(SScoreBoard* board) {
  std::memset(static_cast<void*>(board), 0, sizeof *board);
  if (script_.board) {
    const SScoreBoardRecord& header = *script_.board;
    board->rowCount = header.rows;
    board->hasFragTitle = header.fragTitle.has_value();
    board->hasSlotTitle = header.slotTitle.has_value();
    if (header.fragTitle) CopyCut(board->fragTitle, sizeof board->fragTitle, *header.fragTitle);
    if (header.slotTitle) CopyCut(board->slotTitle, sizeof board->slotTitle, *header.slotTitle);
  }
  for (const auto& [number, row] : script_.rows) {
    SScoreRow& out = board->rows[number - 1];
    CopyCut(out.name, sizeof out.name, row.name);
    out.key = row.key;
    CopyCut(out.mark, sizeof out.mark, row.mark);
    out.highlight = row.highlight;
    out.team = row.team;
    out.classIndex = row.classIndex;
    out.leftOption = row.left;
    out.rightOption = row.right;
    out.hasFrag = row.frag.has_value();
    out.hasSlot = row.slot.has_value();
    if (row.frag) CopyCut(out.frag, sizeof out.frag, *row.frag);
    if (row.slot) CopyCut(out.slot, sizeof out.slot, *row.slot);
  }
}

int CRecordingBackend::RankNumber(int key) {
  for (const auto& [number, row] : script_.rows)
    if (row.key == key) return row.rank;
  return 0;
}

bool CRecordingBackend::IsWinner(int slot) {
  if (slot < 0 || slot >= int(script_.clients.size()) || !script_.clients[slot]) return false;
  return script_.clients[slot]->winner;
}

bool CRecordingBackend::IsTeamGame() { return script_.teamGame; }

SGameRuleInfo* CRecordingBackend::GameRuleInfo(int type) {
  auto it = script_.gameRules.find(type);
  return RuleInfoRecord(type, it != script_.gameRules.end() ? it->second : std::string());
}

char* CRecordingBackend::ClassName(int classIndex) {
  auto it = script_.classNames.find(classIndex);
  return ClassNameRecord(classIndex, it != script_.classNames.end() ? it->second : std::string());
}

int CRecordingBackend::TotalLoaders() { return script_.totalLoaders; }
int CRecordingBackend::PendingLoaders() { return script_.pendingLoaders; }

// ---- Chat, messages, stored settings ---------------------------------------------------------------

bool CRecordingBackend::StoredValue(const char* key, const char** value) {
  if (!key || std::strcmp(key, "kn_prev_login_id") != 0 || !script_.prevLoginId) return false;
  if (value) *value = script_.prevLoginId->c_str();
  return true;
}

void CRecordingBackend::WritePrevLoginID(const char* id) {
  if (id) script_.prevLoginId = id;
  else script_.prevLoginId.reset();
}

}  // namespace netkorvo
