// accounts.cpp: the host's pilot accounts and missions.
#include <cstring>

#include "refhost/call_record.h"
#include "refhost/game_state.h"

using korvohost::AccountEntry;
using korvohost::Game;
using korvostate::PrintBool;
using korvostate::PrintText;

CMissionManager MissionManager;

namespace {

AccountEntry& Entry(void* host) { return *static_cast<AccountEntry*>(host); }

CMission* MissionNamed(bool has, const std::string& name) {
  if (!has) return nullptr;
  korvohost::MissionEntry* m = korvohost::FindMissionEntry(name);
  return m ? &m->object : nullptr;
}

}  // namespace

// ---- Missions --------------------------------------------------------------------------

CMission* CMissionManager::FindMission(const char* name) {
  return name ? MissionNamed(true, name) : nullptr;
}

// ---- CMissionAccount ----------------------------------------------------------------------

CMissionAccount::CMissionAccount(int& characterField, int& leftField, int& rightField, void* host)
    : character(characterField), left(leftField), right(rightField), host_(host) {}

const char* CMissionAccount::GetName() const { return Entry(host_).record.name.c_str(); }

CMission* CMissionAccount::GetLastMission() const {
  const auto& r = Entry(host_).record;
  return MissionNamed(r.hasLast, r.last);
}

void CMissionAccount::SetLastMission(const CMission* mission) {
  auto& r = Entry(host_).record;
  r.hasLast = mission != nullptr;
  r.last = mission ? mission->name : "";
}

CMission* CMissionAccount::GetCurrentMission() const {
  const auto& r = Entry(host_).record;
  return MissionNamed(r.hasCurrent, r.current);
}

void CMissionAccount::SetCurrentMission(const CMission* mission) {
  auto& r = Entry(host_).record;
  r.hasCurrent = mission != nullptr;
  r.current = mission ? mission->name : "";
}

int CMissionAccount::GetTotalClearTime() const { return Entry(host_).record.total; }

SMissionAchievement* CMissionAccount::GetMissionAchievement(const char* s) {
  if (!s) return nullptr;
  AccountEntry& e = Entry(host_);
  const auto& list = e.record.achievements;
  e.views.resize(list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    SMissionAchievement& v = e.views[i];
    korvohost::CopyToRoom(v.name, sizeof v.name, list[i].name);
    korvohost::CopyToRoom(v.key, sizeof v.key, list[i].key);
    v.latest = list[i].latest;
    v.best = list[i].best;
    v.count = list[i].count;
  }
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].key == s) return &e.views[i];
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].name == s) return &e.views[i];
  return nullptr;
}

void CMissionAccount::Write() {
  korvohost::RecordService("CMissionAccount::Write", {PrintText(GetName())});
  korvohost::SaveAccounts();
}

// ---- Account services ------------------------------------------------------------------------

void EnumAccount(char* buffer, int size) {
  if (!buffer || size <= 0) return;
  std::string out;
  for (const auto& a : Game().accounts) {
    const size_t need = out.size() + (out.empty() ? 0 : 1) + a->record.name.size() + 1;
    if (need > size_t(size)) break;
    if (!out.empty()) out += '|';
    out += a->record.name;
  }
  std::memcpy(buffer, out.c_str(), out.size() + 1);
}

bool CreateAccount(const char* name) {
  const bool ok = name && !korvohost::FindAccount(name) && korvohost::AccountNameAllowed(name);
  if (ok) {
    korvohost::AddAccount(name);
    korvohost::SaveAccounts();
  }
  korvohost::RecordService("CreateAccount", {PrintText(name)}, PrintBool(ok));
  return ok;
}

bool DestroyAccount(const char* name) {
  AccountEntry* a = name ? korvohost::FindAccount(name) : nullptr;
  if (a) {
    korvohost::RemoveAccount(a);
    korvohost::SaveAccounts();
  }
  korvohost::RecordService("DestroyAccount", {PrintText(name)}, PrintBool(a != nullptr));
  return a != nullptr;
}

bool SetAccount(const char* name) {
  AccountEntry* a = name ? korvohost::FindAccount(name) : nullptr;
  Game().current = a;
  const bool ok = !name || a;
  korvohost::RecordService("SetAccount", {PrintText(name)}, PrintBool(ok));
  return ok;
}

CMissionAccount* GetCurAccount() { return Game().current ? &Game().current->object : nullptr; }
