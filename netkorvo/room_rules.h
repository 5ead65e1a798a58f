// room_rules.h: what a room's server accepts from the outside: the choices a
// slot may make (against the game data the room plays), the room's password
// (compared in constant time), and the limits on links that have not joined.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "netkorvo/rule_tables.h"
#include "netkorvo/wire.h"

namespace netkorvo {

constexpr int32_t kMaxTeams = 8;   // the team colour table

struct SChoiceRules {
  std::vector<int32_t> characters;   // the character ids of the game data; -1 (none) always
  bool anyCharacter = false;         // no game data loaded: any id from 0 up
  int32_t options = 0;               // option parts: -1 none, 0 random, 1 ... options
  int32_t teams = kMaxTeams;         // team ids 0 ... teams - 1
  int32_t classes = kClassCount;     // class indexes 0 ... classes - 1

  bool Allows(const wire::SChoice& choice) const;
};

// The rules of the host's game data (characters and option parts loaded;
// without characters loaded, a character id is only checked for its sign).
SChoiceRules GameChoiceRules();

// The room's refusal of a wrong password, as the screens show it.
constexpr const char* kWrongPasswordText = "WRONG GAME PASSWORD";

// True when `given` equals `password`; the time taken does not depend on
// where they differ.
bool SamePassword(const std::string& given, const std::string& password);

}  // namespace netkorvo
