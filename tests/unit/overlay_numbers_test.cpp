// overlay_numbers_test.cpp: the decimal writing of the HUD's numbers (frags,
// heat, armor, the match clock), against the formatter's "%d" and "%0Nd".
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "overlays/overlay_lookup.h"

TEST(OverlayNumbers, WriteDecimalMatchesTheFormatter) {
  const int values[] = {0, 7, 9, 10, 42, 99, 100, 12345, -1, -5, -42, INT_MAX, INT_MIN};
  for (int digits : {1, 2}) {
    for (int v : values) {
      char expected[32];
      // Zeros in front only for a non-negative number, as the clock wants them.
      if (v >= 0) std::snprintf(expected, sizeof expected, "%0*d", digits, v);
      else std::snprintf(expected, sizeof expected, "%d", v);
      char text[16];
      EXPECT_EQ(std::string(text, WriteDecimal(text, v, digits)), expected) << v << " in " << digits;
    }
  }
  EXPECT_EQ(Decimal(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(Decimal(3), "3");
}
