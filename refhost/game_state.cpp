// game_state.cpp: the reference host's game state: storage, lookups, the
// scene's objects and the raw input handlers.
#include "refhost/game_state.h"

#include <algorithm>
#include <cstring>

#include "host/host_services.h"
#include "refhost/sim_match.h"
#include "refhost/sim_mission.h"

CHARACTER* pControlCharacter = nullptr;

namespace korvohost {

GameState& Game() {
  static GameState state;
  return state;
}

void ResetGame() {
  ForgetSimMission();
  ForgetSimMatch();
  Game() = GameState();
  pControlCharacter = nullptr;
}

namespace {
SaveHook g_saveHook = nullptr;
AccountNameCheck g_nameCheck = nullptr;
}  // namespace

void SetAccountNameCheck(AccountNameCheck check) { g_nameCheck = check; }
bool AccountNameAllowed(const std::string& name) { return !g_nameCheck || g_nameCheck(name); }

void SetSaveHook(SaveHook hook) { g_saveHook = hook; }
void Save(ESaveWhat what) {
  if (g_saveHook) g_saveHook(what);
}

void MissionEntry::Sync() {
  object.name = record.name.c_str();
  object.key = record.key.c_str();
  object.desc = record.desc.c_str();
  object.briefing = record.briefing.c_str();
  object.objective = record.objective.c_str();
  object.script = record.script.c_str();
}

void CopyToRoom(char* room, size_t size, const std::string& text) {
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(room, text.data(), n);
  room[n] = 0;
}

// ---- Accounts and missions ------------------------------------------------------------

AccountEntry* FindAccount(const std::string& name) {
  for (auto& a : Game().accounts)
    if (a->record.name == name) return a.get();
  return nullptr;
}

AccountEntry* AddAccount(const std::string& name) {
  auto entry = std::make_unique<AccountEntry>();
  entry->record.name = name;
  for (const auto& m : Game().missions) {
    if (!m->record.initial) continue;
    SAchievementRecord a;
    a.key = m->record.key.substr(0, sizeof(SMissionAchievement::key) - 1);
    a.name = m->record.name.substr(0, sizeof(SMissionAchievement::name) - 1);
    entry->record.achievements.push_back(a);
  }
  Game().accounts.push_back(std::move(entry));
  return Game().accounts.back().get();
}

AccountEntry* PutAccount(const SAccountRecord& record) {
  AccountEntry* entry = FindAccount(record.name);
  if (!entry) {
    Game().accounts.push_back(std::make_unique<AccountEntry>());
    entry = Game().accounts.back().get();
  }
  entry->record = record;
  entry->views.clear();
  return entry;
}

void RemoveAccount(AccountEntry* account) {
  GameState& g = Game();
  if (g.current == account) g.current = nullptr;
  std::erase_if(g.accounts, [account](const auto& a) { return a.get() == account; });
}

MissionEntry* FindMissionEntry(const std::string& name) {
  for (auto& m : Game().missions)
    if (m->record.name == name) return m.get();
  return nullptr;
}

MissionEntry* PutMission(const SMissionRecord& record) {
  MissionEntry* entry = FindMissionEntry(record.name);
  if (!entry) {
    Game().missions.push_back(std::make_unique<MissionEntry>());
    entry = Game().missions.back().get();
  }
  entry->record = record;
  entry->Sync();
  return entry;
}

// ---- Options and bindings ----------------------------------------------------------------

OptionEntry* FindOption(EOptionGroup group, const std::string& key) {
  for (auto& o : Game().options[int(group)])
    if (o->record.key == key) return o.get();
  return nullptr;
}

OptionEntry* FindOrAddOption(EOptionGroup group, const std::string& key) {
  if (OptionEntry* o = FindOption(group, key)) return o;
  auto& list = Game().options[int(group)];
  list.push_back(std::make_unique<OptionEntry>(int(group)));
  list.back()->record.key = key;
  return list.back().get();
}

SBindingRecord* FindBinding(const std::string& action) {
  for (auto& b : Game().bindings)
    if (b.action == action) return &b;
  return nullptr;
}

SBindingRecord& FindOrAddBinding(const std::string& action) {
  if (SBindingRecord* b = FindBinding(action)) return *b;
  Game().bindings.push_back(SBindingRecord{action, {}, {}, {}});
  return Game().bindings.back();
}

// ---- Objects -----------------------------------------------------------------------------

ObjectEntry* FindObject(const std::string& name) {
  for (auto& o : Game().objects)
    if (o->name == name) return o.get();
  return nullptr;
}

ObjectEntry* FindObjectOf(const void* object) {
  if (!object) return nullptr;
  for (auto& o : Game().objects)
    if (&o->actor == object || &o->option == object || &o->item == object) return o.get();
  return nullptr;
}

ObjectEntry* AddObject(const std::string& name, ObjectKind kind) {
  auto entry = std::make_unique<ObjectEntry>();
  entry->name = name;
  entry->kind = kind;
  entry->option.color[0] = entry->option.color[1] = entry->option.color[2] = entry->option.color[3] = 0xFF;
  std::memcpy(entry->option.textColor, entry->option.color, 4);
  Game().objects.push_back(std::move(entry));
  return Game().objects.back().get();
}

ObjectEntry* AddNumberedObject(ObjectKind kind) {
  return AddObject(std::to_string(Game().nextObjectNumber++), kind);
}

void RemoveObject(ObjectEntry* object) {
  if (pControlCharacter == &object->actor) pControlCharacter = nullptr;
  for (auto& o : Game().objects) {
    if (o->actor.leftOption == &object->option) o->actor.leftOption = nullptr;
    if (o->actor.rightOption == &object->option) o->actor.rightOption = nullptr;
  }
  std::erase_if(Game().objects, [object](const auto& o) { return o.get() == object; });
}

std::string ObjectLabel(const void* object) {
  if (!object) return "null";
  const ObjectEntry* entry = FindObjectOf(object);
  return entry ? "@" + entry->name : "@?";
}

// ---- Raw input and file patterns ------------------------------------------------------------

void RunInputHandlers(uint8_t* keyboard, SRawMouseState* mouse, int* called, int* removed) {
  // Handlers registered while these run wait for the next input frame.
  const std::vector<InputEventHandler> handlers = Game().handlers;
  *called = *removed = 0;
  for (InputEventHandler h : handlers) {
    ++*called;
    if (h(keyboard, mouse)) continue;
    ++*removed;
    auto& live = Game().handlers;
    auto it = std::find(live.begin(), live.end(), h);
    if (it != live.end()) live.erase(it);
  }
}

bool MatchPattern(const char* pattern, const char* path) {
  if (!*pattern) return !*path;
  if (*pattern == '*') {
    for (const char* p = path;; ++p) {
      if (MatchPattern(pattern + 1, p)) return true;
      if (!*p || *p == '/') return false;
    }
  }
  if (!*path) return false;
  if (*pattern == '?' || *pattern == *path) return MatchPattern(pattern + 1, path + 1);
  return false;
}

}  // namespace korvohost

// ---- Host services: the scene's lists -------------------------------------------------------

int CPlayerList::Count() const {
  int n = 0;
  for (const auto& o : korvohost::Game().objects)
    if (o->kind == korvohost::ObjectKind::Actor && o->listed) ++n;
  return n;
}

CHARACTER* CPlayerList::At(int index) const {
  if (index < 0) return nullptr;
  for (const auto& o : korvohost::Game().objects)
    if (o->kind == korvohost::ObjectKind::Actor && o->listed && index-- == 0) return &o->actor;
  return nullptr;
}

CPlayerList PlayerList;
