// game_data.h: the shipped game data of the mounted root: missions,
// characters, option parts with their weapon names, and maps, read from the
// table files under data/table/ (format: assets/data/README.md).
#pragma once
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

// A map file under data/map/ ("NAME[-RULE…].gnd") with its title and picture.
struct SMapRecord {
  std::string file;
  std::string title;
  std::string picture;       // texture name, loaded as "menu/" + picture
};

struct SGameData {
  std::vector<SMissionRecord> missions;
  std::vector<SCharacterRecord> characters;       // index order
  std::vector<SOptionPartRecord> optionParts;     // index order
  std::vector<SWeaponNameRecord> weaponNames;
  std::vector<SMapRecord> maps;
};

// Table files of the mounted root.
constexpr const char kMissionTable[] = "data/table/missions.txt";
constexpr const char kCharacterTable[] = "data/table/characters.txt";
constexpr const char kOptionPartTable[] = "data/table/optionparts.txt";
constexpr const char kMapTable[] = "data/table/maps.txt";

// Reads every table through the game file system (mount and overlay). Each
// problem adds "FILE:N: WHY" (or "FILE: WHY") to *errors and skips that line;
// the rest loads. A file a record names must exist. False when anything was
// reported.
KORVOHOST_API bool LoadGameData(SGameData* data, std::vector<std::string>* errors);

}  // namespace korvohost
