// game_records.h: the reference host's game state as plain records: pilot
// accounts with their achievements, missions, characters, option parts,
// option items and key bindings. The in-memory host services keep these; the
// profile store reads and writes the player's share of them on disk, and the
// game data loader fills the rest from the table files of the mounted root.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace korvohost {

struct SAchievementRecord {
  std::string key;
  std::string name;          // mission name at the start of the host's record
  int latest = 0;            // clear times, seconds
  int best = 0;
  int count = 0;             // completions; > 0: completed
};

struct SAccountRecord {
  std::string name;
  int character = 0;         // chosen character index
  int left = 0, right = 0;   // option parts: -1 none, 0 random, n option n
  bool hasLast = false;      // last mission played (absent: none)
  std::string last;
  bool hasCurrent = false;   // current mission (absent: none)
  std::string current;
  int total = 0;             // total clear time, seconds
  std::vector<SAchievementRecord> achievements;
};

struct SMissionRecord {
  std::string name;
  std::string key;           // key of the achievement new accounts get when initial
  std::string desc, briefing, objective, script;   // file paths
  bool initial = false;
};

// A line of the campaign table: what winning a story mission opens on the
// mission map, or that winning it ends the story.
struct SCampaignRule {
  std::string after;           // the mission won
  bool ending = false;         // winning it shows the ending; opens nothing
  std::string key, mission;    // the achievement it opens and that box's mission
  std::string ifKey;           // only when the pilot has this achievement ("": always)
  int within = -1, over = -1;  // only when this clear time is <= within / > over seconds
};

struct SCharacterRecord {
  int id = 0;
  std::string name;
  std::string portrait;      // picture under the mounted root (previews)
};

struct SOptionPartRecord {
  std::string name, text2, icon, text4;   // descriptor texts 0-3
  int id = 0;                              // descriptor field 4: host option id
};

enum class EOptionGroup { kGraphics, kSound, kNetwork, kMacro };

// An option item: numbers for graphics, sound and network; texts for macros.
struct SOptionItem {
  std::string key;
  uint32_t value = 0, saved = 0, defaultValue = 0;
  std::string text, savedText, defaultText;   // macro items
};

struct SBindingRecord {
  std::string action;                          // "FORWARD", ...
  std::vector<std::string> inputs, saved, defaults;
};

}  // namespace korvohost
