// map_files.h: the host's map files as the game rules see them. A file name
// is split at "-": a name without further parts suits every rule, else a
// further part must begin with the rule's first two letters.
#pragma once
#include <string>

namespace netkorvo {

bool MapSuitsRule(const std::string& file, const char* ruleName);
// The first of the host's map files (in the host's order) that suits the
// rule of this game type; empty when none does.
std::string FirstMapForRule(int type);

}  // namespace netkorvo
