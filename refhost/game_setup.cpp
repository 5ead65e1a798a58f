// game_setup.cpp: the game data into the game state, the profile folder
// behind the save hook, the display modes.
#include "refhost/game_setup.h"

#include <algorithm>
#include <memory>
#include <set>

#include "refhost/game_data.h"
#include "refhost/game_state.h"
#include "refhost/profile_store.h"

namespace korvohost {

// ---- Game data ---------------------------------------------------------------------------

bool LoadGameDataIntoGame(std::vector<std::string>* errors) {
  SGameData data;
  const bool ok = LoadGameData(&data, errors);
  GameState& g = Game();
  for (const SMissionRecord& m : data.missions) PutMission(m);
  g.campaign = data.campaign;
  g.characters = data.characters;
  g.optionParts = data.optionParts;
  g.optionNames.clear();
  for (const SWeaponNameRecord& w : data.weaponNames) g.optionNames.emplace_back(w.id, w.name);
  std::sort(g.optionNames.begin(), g.optionNames.end());
  g.maps = data.maps;
  for (const SMessageRecord& m : data.messages) SetString(m.id, m.text);
  return ok;
}

// ---- Profile -----------------------------------------------------------------------------

namespace {

struct Link {
  CProfileStore store;
  std::set<std::string> onDisk;          // pilot names that have a file
  std::vector<std::string> messages;
};

Link*& TheLink() {
  static Link* link = nullptr;
  return link;
}

void Note(Link& link, const std::string& message) { link.messages.push_back(message); }

void TakeStoreMessages(Link& link) {
  for (std::string& m : link.store.TakeMessages()) link.messages.push_back(std::move(m));
}

void SaveAccounts(Link& link) {
  std::set<std::string> present;
  std::string error;
  for (const auto& a : Game().accounts) {
    present.insert(a->record.name);
    if (link.store.SaveAccount(a->record, &error)) link.onDisk.insert(a->record.name);
    else Note(link, "pilot \"" + a->record.name + "\" not saved: " + error);
  }
  for (auto it = link.onDisk.begin(); it != link.onDisk.end();) {
    if (present.count(*it)) {
      ++it;
    } else if (link.store.RemoveAccount(*it, &error)) {
      it = link.onDisk.erase(it);
    } else {
      Note(link, "pilot \"" + *it + "\" not removed: " + error);
      ++it;
    }
  }
}

OptionGroups CurrentOptions() {
  OptionGroups groups;
  for (int i = 0; i < 4; ++i)
    for (const auto& o : Game().options[i]) groups[i].push_back(o->record);
  return groups;
}

void SaveToProfile(ESaveWhat what) {
  Link* link = TheLink();
  if (!link || link->store.ReadOnly()) return;
  std::string error;
  switch (what) {
    case ESaveWhat::kAccounts:
      SaveAccounts(*link);
      break;
    case ESaveWhat::kBindings:
      if (!link->store.SaveBindings(Game().bindings, &error)) Note(*link, "key bindings not saved: " + error);
      break;
    default:   // one option group: options.ini keeps all four
      if (!link->store.SaveOptions(CurrentOptions(), &error)) Note(*link, "options not saved: " + error);
      break;
  }
  TakeStoreMessages(*link);
}

void LoadInto(Link& link) {
  for (const SAccountRecord& a : link.store.LoadAccounts()) {
    PutAccount(a);
    link.onDisk.insert(a.name);
  }
  OptionGroups groups;
  if (link.store.LoadOptions(&groups)) {
    for (int i = 0; i < 4; ++i)
      for (const SOptionItem& item : groups[i]) FindOrAddOption(EOptionGroup(i), item.key)->record = item;
  }
  std::vector<SBindingRecord> bindings;
  if (link.store.LoadBindings(&bindings)) {
    for (const SBindingRecord& b : bindings) FindOrAddBinding(b.action) = b;
  }
  TakeStoreMessages(link);
}

}  // namespace

bool AttachProfile(const std::string& dir, std::string* error) {
  DetachProfile();
  auto link = std::make_unique<Link>();
  if (!link->store.Open(dir, error)) return false;
  TakeStoreMessages(*link);
  LoadInto(*link);
  TheLink() = link.release();
  SetSaveHook(SaveToProfile);
  SetAccountNameCheck([](const std::string& name) { return ValidAccountName(name, nullptr); });
  return true;
}

void DetachProfile() {
  Link*& link = TheLink();
  if (!link) return;
  SetSaveHook(nullptr);
  SetAccountNameCheck(nullptr);
  delete link;
  link = nullptr;
}

bool ProfileAttached() { return TheLink() != nullptr; }
bool ProfileReadOnly() { return TheLink() && TheLink()->store.ReadOnly(); }

std::vector<std::string> TakeProfileMessages() {
  std::vector<std::string> out;
  if (TheLink()) out.swap(TheLink()->messages);
  return out;
}

// ---- Display modes -------------------------------------------------------------------------

void SetDisplayModes(const std::vector<std::pair<int, int>>& modes) {
  auto& list = Game().displayModes;
  list.clear();
  for (const auto& [w, h] : modes) list.push_back(SDisplayMode{w, h});
}

std::vector<std::pair<int, int>> FixedDisplayModes() {
  return {{800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}, {1920, 1080}};
}

}  // namespace korvohost
