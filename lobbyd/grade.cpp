// grade.cpp: the grade steps.
#include "lobbyd/grade.h"

namespace lobbyd {

int CalculateGrade(int ranking, int score) {
  if (ranking >= 1 && ranking <= 10) return kTopGrade;
  static const int kSteps[] = {100, 300, 600, 1000, 1500, 2100, 2800, 3600};
  int grade = 0;
  for (int step : kSteps)
    if (score >= step) ++grade;
  return grade;
}

}  // namespace lobbyd
