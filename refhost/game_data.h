// game_data.h: the shipped game data of the mounted root: missions,
// characters, option parts with their weapon names, maps and the numbered
// message texts, read from the table files under data/table/ (format:
// assets/data/README.md).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "refhost/game_records.h"
#include "refhost/korvohost.h"

namespace korvohost {

// OPT_GetNameByID: the weapon name of a host option id.
struct SWeaponNameRecord {
  int id = 0;
  std::string name;
};

// A map file under data/map/ ("NAME.gnd[-RULE…]") with its title and picture.
struct SMapRecord {
  std::string file;
  std::string title;
  std::string picture;       // texture name, loaded as "menu/" + picture
};

// A numbered message text (Res_LoadString).
struct SMessageRecord {
  int id = 0;
  std::string text;
};

// The callers of Res_LoadString read into 256-byte buffers: longer texts
// would be cut, so the table refuses them.
constexpr size_t kMessageTextMax = 255;

struct SGameData {
  std::vector<SMissionRecord> missions;
  std::vector<SCampaignRule> campaign;             // file order
  std::vector<SCharacterRecord> characters;       // index order
  std::vector<SOptionPartRecord> optionParts;     // index order
  std::vector<SWeaponNameRecord> weaponNames;
  std::vector<SMapRecord> maps;
  std::vector<SMessageRecord> messages;            // file order
};

// Table files of the mounted root.
constexpr const char kMissionTable[] = "data/table/missions.txt";
constexpr const char kCharacterTable[] = "data/table/characters.txt";
constexpr const char kOptionPartTable[] = "data/table/optionparts.txt";
constexpr const char kMapTable[] = "data/table/maps.txt";
constexpr const char kMessageTable[] = "data/table/messages.txt";
constexpr const char kCampaignTable[] = "data/table/campaign.txt";

// Reads every table through the game file system (mount and overlay). Each
// problem adds "FILE:N: WHY" (or "FILE: WHY") to *errors and skips that line;
// the rest loads. A file a record names must exist. False when anything was
// reported.
KORVOHOST_API bool LoadGameData(SGameData* data, std::vector<std::string>* errors);

}  // namespace korvohost
