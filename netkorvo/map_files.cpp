// map_files.cpp: which of the host's maps suit a game rule.
#include "netkorvo/map_files.h"

#include <cstring>

#include "host/host_services.h"
#include "netkorvo/rule_tables.h"

namespace netkorvo {

bool MapSuitsRule(const std::string& file, const char* ruleName) {
  size_t dash = file.find('-');
  if (dash == std::string::npos) return true;
  for (; dash != std::string::npos; dash = file.find('-', dash + 1)) {
    const std::string part = file.substr(dash + 1, 2);
    if (part.size() == 2 && std::strncmp(part.c_str(), ruleName, 2) == 0) return true;
  }
  return false;
}

std::string FirstMapForRule(int type) {
  char** names = nullptr;
  const int count = FindFiles(GetGNDPath("*.*"), &names);
  std::string first;
  for (int i = 0; i < count && first.empty(); ++i)
    if (MapSuitsRule(names[i], RuleName(type))) first = names[i];
  if (names) Release2DArray(names, count);
  return first;
}

}  // namespace netkorvo
