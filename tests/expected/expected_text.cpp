// expected_text.cpp: read, compare and (on request) write expected texts.
#include "expected_text.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace korvotest {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

::testing::AssertionResult MatchesExpected(const std::string& path, const std::string& actual) {
  const std::string file = path.empty() || path[0] == '/' ? path : std::string(KORVO_TESTS_DIR) + "/" + path;
  const char* update = std::getenv("KORVO_UPDATE_EXPECTED");
  if (update && std::string(update) == "1") {
    std::ofstream out(file, std::ios::binary);
    out << actual;
    return ::testing::AssertionFailure() << (out ? "wrote " : "could not write ") << file
                                         << "; review the diff and run again without KORVO_UPDATE_EXPECTED";
  }
  std::ifstream in(file, std::ios::binary);
  if (!in)
    return ::testing::AssertionFailure() << "no expected text " << file << " (KORVO_UPDATE_EXPECTED=1 writes it); got:\n"
                                         << actual;
  std::ostringstream read;
  read << in.rdbuf();
  const std::string expected = read.str();
  if (expected == actual) return ::testing::AssertionSuccess();

  const std::vector<std::string> want = Lines(expected), got = Lines(actual);
  size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << path << " differs at line " << (i + 1) << " (" << want.size() << " lines expected, " << got.size()
          << " got)\n  expected: " << (i < want.size() ? want[i] : "<end>")
          << "\n  got:      " << (i < got.size() ? got[i] : "<end>");
  if (i == want.size() && i == got.size()) failure << "\n  (the texts differ in their line ends)";
  return failure;
}

}  // namespace korvotest
