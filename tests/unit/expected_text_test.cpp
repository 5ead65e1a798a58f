// The expected-text comparison: equal texts pass; a difference, a missing file
// or different line ends fail and name the first differing line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "expected_text.h"

TEST(ExpectedText, PassesOnlyOnTheSameText) {
  const std::string file = ::testing::TempDir() + "korvo_expected_text_test.expected";
  std::ofstream(file, std::ios::binary) << "one\ntwo\n";
  EXPECT_TRUE(korvotest::MatchesExpected(file, "one\ntwo\n"));
  const struct {
    const char* actual;
    const char* says;
  } kRows[] = {
      {"one\nthree\n", "differs at line 2 (2 lines expected, 2 got)\n  expected: two\n  got:      three"},
      {"one\n", "differs at line 2 (2 lines expected, 1 got)\n  expected: two\n  got:      <end>"},
      {"one\r\ntwo\r\n", "differs at line 1"},
      {"one\ntwo", "(the texts differ in their line ends)"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.actual);
    const ::testing::AssertionResult result = korvotest::MatchesExpected(file, row.actual);
    EXPECT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find(row.says), std::string::npos) << result.message();
  }
  std::remove(file.c_str());
  EXPECT_FALSE(korvotest::MatchesExpected(file, "one\n"));
}
