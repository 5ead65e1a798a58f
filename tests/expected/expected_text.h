// expected_text.h: compare a test's printed result with a checked-in text.
//
// A table test prints one line per case (its input and what came out) and
// compares the whole text with tests/<path>. A missing file or any difference
// fails and shows the first differing line. With KORVO_UPDATE_EXPECTED=1 the
// file is written instead, and the test still fails, so that an update is
// always a deliberate second run and a review of the diff.
#pragma once
#include <gtest/gtest.h>

#include <string>

namespace korvotest {

// `path` is relative to the tests folder, e.g. "unit/expected/sim_match.expected",
// or absolute.
::testing::AssertionResult MatchesExpected(const std::string& path, const std::string& actual);

}  // namespace korvotest

#define EXPECT_MATCHES_EXPECTED(path, text) EXPECT_TRUE(::korvotest::MatchesExpected((path), (text)))
