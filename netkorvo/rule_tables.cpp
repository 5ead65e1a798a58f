// rule_tables.cpp: the rule and class tables.
#include "netkorvo/rule_tables.h"

namespace netkorvo {

const char* const kRuleNames[kRuleCount] = {
    "DEATH MATCH",  "TEAM DEATH MATCH", "HEAD HUNTER",  "PUSH OUT",      "LAST STANDING",
    "ALONE KNIGHT", "SHADOW DUEL",      "HUNTING TIME", "KING OF ARENA",
};

const char* const kClassNames[kClassCount] = {
    "TRAINEE", "PRIVATE", "CORPORAL", "SERGEANT", "LIEUTENANT",
    "CAPTAIN", "MAJOR",   "COLONEL",  "GENERAL",  "MARSHAL",
};

const char* RuleName(int type) { return type >= 0 && type < kRuleCount ? kRuleNames[type] : ""; }

bool IsTeamRule(int type) { return type == 1; }

const char* ClassName(int classIndex) {
  return classIndex >= 0 && classIndex < kClassCount ? kClassNames[classIndex] : "";
}

int Grade(int ranking, int score) {
  if (ranking >= 1 && ranking <= 10) return kClassCount - 1;
  if (score <= 0) return 0;
  const int grade = score / 1000;
  return grade < kClassCount - 1 ? grade : kClassCount - 2;
}

}  // namespace netkorvo
