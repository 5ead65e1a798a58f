// grade.h: a pilot's class (grade) from its ranking and score, as the lobby
// lists show it.
#pragma once

namespace lobbyd {

constexpr int kTopGrade = 9;
// Score steps make grades 0-8; a pilot ranked 1-10 (ranking 0: unranked) is
// of the top grade whatever the score.
int CalculateGrade(int ranking, int score);

}  // namespace lobbyd
