// game_state.h: the reference host's game state in memory: accounts with
// their achievements, missions, characters, option parts and names, option
// items, key bindings, the objects of the running scene (actors, mounted
// options, items), raw input handlers and the fixed results of services. The
// host services read and write it; sessions set it up through the host's
// state provider; the profile store and the game data loader fill it outside
// sessions. For the host, its tools and tests only.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/host_accounts.h"
#include "host/host_characters.h"
#include "host/host_options.h"
#include "refhost/game_data.h"
#include "refhost/game_records.h"
#include "refhost/korvohost.h"
#include "host/session_state.h"

namespace korvohost {

// An account and the object the module sees; the object's fields alias the record.
struct AccountEntry {
  SAccountRecord record;
  CMissionAccount object;
  std::vector<SMissionAchievement> views;   // what GetMissionAchievement hands out
  AccountEntry() : object(record.character, record.left, record.right, this) {}
};

struct MissionEntry {
  SMissionRecord record;
  CMission object;
  // Points the object's texts at the record's; due after every change of the record.
  void Sync();
};

struct OptionEntry {
  SOptionItem record;
  COptionItem object;
  std::string text;   // GetString of a number item
  OptionEntry(int group) : object(group, this) {}
};

enum class ObjectKind { Actor, ActorOption, Item };

// One named object of the scene: an actor, a mounted option or an item.
struct ObjectEntry {
  std::string name;
  ObjectKind kind = ObjectKind::Actor;
  CHARACTER actor;
  CWeapon weaponStore{};   // the actor's current weapon when it has one
  bool listed = true;      // in PlayerList
  COPT_Option option{};
  COH_Item item{};
  // Outside sessions: what previews and scenes draw of an actor.
  int characterId = -1;      // LoadCharacterReference / CLoadCharacter
  std::string weapons[2];    // mounted option weapons: right, left hand
};

// Outside sessions: the demo scene or simulated mission the host shows behind
// the menus, and the rectangle of the next character preview.
struct SceneView {
  std::string ground;                    // map file of CLoadGround; "": no scene
  float camera[4] = {0, 0, 0, 0};        // x, y, z, pitch
  int viewport[4] = {0, 0, 0, 0};        // SetRenderViewport: x, y, w, h
  bool hasViewport = false;
};

struct GameState {
  std::vector<std::unique_ptr<AccountEntry>> accounts;   // in definition order
  AccountEntry* current = nullptr;
  std::vector<std::unique_ptr<MissionEntry>> missions;   // in definition order
  std::vector<SCampaignRule> campaign;                   // what winning a mission opens
  std::vector<SCharacterRecord> characters;
  std::vector<SOptionPartRecord> optionParts;
  std::vector<std::pair<int, std::string>> optionNames;  // by increasing id
  std::vector<std::unique_ptr<OptionEntry>> options[4];  // by EOptionGroup, definition order
  std::vector<SBindingRecord> bindings;                  // in definition order
  std::vector<std::unique_ptr<ObjectEntry>> objects;     // in definition order
  int nextObjectNumber = 1;
  std::vector<InputEventHandler> handlers;
  std::vector<SDisplayMode> displayModes;
  std::vector<SMapRecord> maps;          // maps of the game data, file order
  SceneView scene;
  bool inGameLoop = false;
  int playTime = 0;
  uint32_t systemTime = 0;
};

KORVOHOST_API GameState& Game();
// Empty state: no accounts, missions, characters, parts, options, bindings,
// objects or handlers; scalars at their defaults.
KORVOHOST_API void ResetGame();
// The game state and the host scalars (flags, version, mouse settings,
// cursor depth, ambient light; not the screen, which a tool sets before a
// session) back to their defaults.
KORVOHOST_API void ResetHostScalars();

// The provider through which sessions reach this state (registered first).
KORVOHOST_API korvostate::CStateProvider* HostStateProvider();

// ---- Lookups and changes that keep the state consistent ----------------------------
KORVOHOST_API AccountEntry* FindAccount(const std::string& name);
// Adds an account with default fields and the achievements of the initial missions.
KORVOHOST_API AccountEntry* AddAccount(const std::string& name);
// Removes it; a current account leaves none current.
KORVOHOST_API void RemoveAccount(AccountEntry* account);
// Adds the record as it is (a loaded account, a session's set-up line), or
// replaces the record of the same name in its place.
KORVOHOST_API AccountEntry* PutAccount(const SAccountRecord& record);
KORVOHOST_API MissionEntry* FindMissionEntry(const std::string& name);
// Adds or replaces the mission of the record's name (kept in definition order).
KORVOHOST_API MissionEntry* PutMission(const SMissionRecord& record);
KORVOHOST_API OptionEntry* FindOption(EOptionGroup group, const std::string& key);
// Creates the item with value, saved and default 0 ("") when absent.
KORVOHOST_API OptionEntry* FindOrAddOption(EOptionGroup group, const std::string& key);
KORVOHOST_API SBindingRecord* FindBinding(const std::string& action);
KORVOHOST_API SBindingRecord& FindOrAddBinding(const std::string& action);

KORVOHOST_API ObjectEntry* FindObject(const std::string& name);
KORVOHOST_API ObjectEntry* FindObjectOf(const void* actorOptionOrItem);
// A new object named by the next number ("1", "2", ...).
KORVOHOST_API ObjectEntry* AddNumberedObject(ObjectKind kind);
KORVOHOST_API ObjectEntry* AddObject(const std::string& name, ObjectKind kind);
// Removes it and every reference to it (controlled character, mounted options).
KORVOHOST_API void RemoveObject(ObjectEntry* object);
// "@NAME", or "null" for null.
KORVOHOST_API std::string ObjectLabel(const void* object);

// ---- Persistence ------------------------------------------------------------------------
// What a service asks to keep: the accounts (CMissionAccount::Write, created and
// destroyed accounts), one option group (WriteOption...), the bindings
// (WriteOptionControlINI). A profile store installs the hook; without one
// (sessions) nothing is kept.
enum class ESaveWhat { kAccounts, kGraphics, kSound, kNetwork, kMacro, kBindings };
using SaveHook = void (*)(ESaveWhat what);
KORVOHOST_API void SetSaveHook(SaveHook hook);
void Save(ESaveWhat what);
// Whether a new account's name can be kept: a profile store refuses names
// that are no valid file name, before anything touches the disk. Without a
// check (sessions) every name is taken.
using AccountNameCheck = bool (*)(const std::string& name);
KORVOHOST_API void SetAccountNameCheck(AccountNameCheck check);
bool AccountNameAllowed(const std::string& name);
inline void SaveAccounts() { Save(ESaveWhat::kAccounts); }

// Texts cut to the room of a character array (room - 1 bytes and the NUL).
KORVOHOST_API void CopyToRoom(char* room, size_t size, const std::string& text);

// Calls every input handler, in registration order, with the states; removes
// those that return false.
KORVOHOST_API void RunInputHandlers(uint8_t* keyboard, SRawMouseState* mouse, int* called,
                                    int* removed);

// File paths of the game file system (mount and overlay), sorted bytewise.
KORVOHOST_API std::vector<std::string> ListFiles();
// Pattern match: '*' any run without '/', '?' one byte, else itself.
KORVOHOST_API bool MatchPattern(const char* pattern, const char* path);

}  // namespace korvohost
