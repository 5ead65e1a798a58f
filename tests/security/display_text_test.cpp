// display_text_test.cpp: names and chat lines in the double-byte code page
// never carry a control byte, not even as the second byte of a pair.
#include <gtest/gtest.h>

#include <functional>

#include "lobbyd/validation.h"

namespace lobbyd {
namespace {

struct SCheck {
  const char* what;
  std::function<ECode(std::string_view)> check;
};

TEST(DisplayTextProbe, EveryPairIsCheckedInEveryNameAndChat) {
  const std::vector<SCheck> checks = {
      {"chat", CheckChat},
      {"channel", CheckChannelName},
      {"game", CheckGameName},
      {"map", CheckMapName},
  };
  struct SCase {
    std::string text;
    bool ok;
  };
  const std::vector<SCase> cases = {
      {"ab\xb0\xa1", true},        // a whole pair
      {"ab\x81\x41", true},        // lowest lead and trail bytes
      {"ab\xfe\xfe", true},        // highest
      {"ab\xb0\n", false},         // a line feed behind a lead byte
      {"ab\xb0\x1b", false},       // an escape
      {"ab\xb0\r", false},
      {"ab\xb0\x7f", false},
      {"ab\xb0\x20", false},       // a blank is no trail byte
      {"ab\xb0\x40", false},
      {"ab\xb0\xff", false},
      {"ab\x80\xa1", false},       // no lead byte
      {"ab\xff\xa1", false},
      {"ab\xb0", false},           // half a pair
  };
  int passedBadBytes = 0;
  for (const SCheck& check : checks) {
    for (const SCase& c : cases) {
      const bool ok = check.check(c.text) == ECode::kOk;
      EXPECT_EQ(ok, c.ok) << check.what << " " << ::testing::PrintToString(c.text);
      passedBadBytes += ok && !c.ok;
    }
  }
  std::printf("control or stray bytes let through: %d\n", passedBadBytes);
}

}  // namespace
}  // namespace lobbyd
