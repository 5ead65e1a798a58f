// rule_tables.h: the game rules and pilot classes of the network library, and
// the slot states of a room as the room menu's slot state button shows them.
#pragma once
#include <cstdint>

namespace netkorvo {

// Game rules, by game type (the rule index). A rule's first two letters pick
// its settings dialog and the maps that suit it.
constexpr int kRuleCount = 9;
extern const char* const kRuleNames[kRuleCount];
// The empty name for a type outside the table.
const char* RuleName(int type);
bool IsTeamRule(int type);

// Pilot classes, by class index (grade); "" outside the table.
constexpr int kClassCount = 10;
extern const char* const kClassNames[kClassCount];
const char* ClassName(int classIndex);
// The class of a pilot with this ranking and score: the top class for the ten
// best ranked, else one class per 1000 points below the top one.
int Grade(int ranking, int score);

// Slot states of a room (the frame of the slot state button).
enum ESlotState : int32_t { kSlotOpen = 0, kSlotBot = 1, kSlotClosed = 2, kSlotPlayer = 3 };

}  // namespace netkorvo
