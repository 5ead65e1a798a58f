// crash_generation.h: the profile contents the crash test's writer saves, one
// set per generation number, so that the checker can tell from any file which
// generation it claims and rebuild the exact bytes it must then hold.
#pragma once
#include <string>
#include <vector>

#include "refhost/profile_files.h"

namespace crashtest {

// Big enough that one file takes several writes of the disk's blocks.
constexpr int kAchievements = 400;
constexpr int kOptionsPerGroup = 150;
constexpr int kBindings = 120;

inline korvohost::SAccountRecord Account(const std::string& name, int generation) {
  korvohost::SAccountRecord a;
  a.name = name;
  a.character = generation % 8;
  a.left = generation % 11 - 1;
  a.right = generation % 5;
  a.hasLast = generation % 2 == 0;
  a.last = "MISSION " + std::to_string(generation % 12 + 1);
  a.total = generation;
  for (int i = 0; i < kAchievements; ++i)
    a.achievements.push_back({"KEY " + std::to_string(i), "MISSION " + std::to_string(i), generation + i,
                              generation / 2 + i, generation % 7 + i});
  return a;
}

inline korvohost::OptionGroups Options(int generation) {
  korvohost::OptionGroups groups;
  for (int g = 0; g < 4; ++g) {
    for (int i = 0; i < kOptionsPerGroup; ++i) {
      korvohost::SOptionItem item;
      item.key = "item" + std::to_string(i);
      item.value = uint32_t(generation);
      item.saved = uint32_t(generation + i);
      item.defaultValue = uint32_t(i);
      item.text = std::to_string(generation);
      item.savedText = "macro text " + std::to_string(generation * 3 + i);
      item.defaultText = "";
      groups[g].push_back(item);
    }
  }
  return groups;
}

inline std::vector<korvohost::SBindingRecord> Bindings(int generation) {
  std::vector<korvohost::SBindingRecord> bindings;
  for (int i = 0; i < kBindings; ++i)
    bindings.push_back({"ACTION" + std::to_string(generation) + "_" + std::to_string(i),
                        {"KEY" + std::to_string(i), "KEY" + std::to_string(generation % 256)},
                        {"MOUSE" + std::to_string(i % 3)},
                        {"KEY" + std::to_string(generation)}});
  return bindings;
}

}  // namespace crashtest
