// number_text_test.cpp: the number tokens' values equal the C library's
// conversions (strtol cut to 32 bits, strtod rounded to float) over many
// forms, long digit runs, halfway cases and overflow.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "script/number_text.h"

namespace {

int32_t LibraryInteger(const std::string& text) {
  return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}
float LibraryFloat(const std::string& text) { return static_cast<float>(std::strtod(text.c_str(), nullptr)); }

// Bit equality, so that -0.0 and 0.0 differ.
::testing::AssertionResult SameFloat(const std::string& text) {
  const float ours = FloatTokenValue(text.data(), static_cast<uint32_t>(text.size()));
  const float theirs = LibraryFloat(text);
  uint32_t a, b;
  std::memcpy(&a, &ours, 4);
  std::memcpy(&b, &theirs, 4);
  if (a == b) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << text << ": " << ours << " (0x" << std::hex << a << ") vs "
                                       << theirs << " (0x" << b << ")";
}

::testing::AssertionResult SameInteger(const std::string& text) {
  const int32_t ours = IntegerTokenValue(text.data(), static_cast<uint32_t>(text.size()));
  const int32_t theirs = LibraryInteger(text);
  if (ours == theirs) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << text << ": " << ours << " vs " << theirs;
}

}  // namespace

// Integers of every length and sign (18 digits, the last of the fast path,
// and beyond 32 and 64 bits), the script's float forms and the ways out of the
// exact path (more than 19 digits, a mantissa past 2^53, more than 22 places);
// only the token's prefix of a longer text is read.
TEST(NumberText, IntegersAndFloatsOfTheScriptsForms) {
  for (const char* text : {"0", "+3", "-3", "007", "2147483647", "-2147483648", "2147483648", "-2147483649",
                           "999999999999999999", "9223372036854775808", "-00000000000000000000000000000042"})
    EXPECT_TRUE(SameInteger(text));
  EXPECT_TRUE(std::signbit(FloatTokenValue("-0.0", 4)));
  for (const char* text :
       {"0.0", "0.25", "-2.5", "+1.0", "0.1", "00000.00000", "1.000000000000000000000000000000",
        "12345678901234567890.0", "9007199254740993.0", "0.00000000000000000000000007038531",
        "16777217.0", "1.00000005960464477539062500"})
    EXPECT_TRUE(SameFloat(text));
  const char text[] = "12.50, 7";
  EXPECT_EQ(FloatTokenValue(text, 5), 12.5f);
  EXPECT_EQ(IntegerTokenValue(text + 7, 1), 7);
  EXPECT_EQ(IntegerTokenValue("123456789012345678901, 5", 21), LibraryInteger("123456789012345678901"));
  EXPECT_EQ(FloatTokenValue("1.00000000000000000000000000001,", 31), LibraryFloat("1.00000000000000000000000000001"));
}

// Random floats printed with enough digits, and the decimal halfway points
// between neighbouring floats (the double rounding of strtod to float).
TEST(NumberText, RandomFloatsAndHalfwayPointsMatchTheLibrary) {
  std::mt19937_64 random(11);
  char buffer[64];
  for (int i = 0; i < 50000; ++i) {
    uint32_t bits = static_cast<uint32_t>(random()) & 0x7FFFFFFFu;
    if ((bits >> 23) >= 0xFF) continue;
    float f;
    std::memcpy(&f, &bits, 4);
    std::snprintf(buffer, sizeof buffer, "%.9f", static_cast<double>(f));
    ASSERT_TRUE(SameFloat(buffer));
    ++bits;
    float g;
    std::memcpy(&g, &bits, 4);
    std::snprintf(buffer, sizeof buffer, "%.17f", (static_cast<double>(f) + static_cast<double>(g)) / 2);
    ASSERT_TRUE(SameFloat(buffer));
  }
}
