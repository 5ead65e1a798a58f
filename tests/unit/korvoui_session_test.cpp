// korvoui_session_test.cpp: `korvoui run` itself: integer arguments are read
// without overflow, the ones past the 64-bit range refused as lines that
// cannot be run.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "foundation/report.h"
#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "host/session_state.h"
#include "tools/korvoui/session_runner.h"
#include "tools/korvoui/session_script.h"
#include "tests/unit/fresh_module.h"

namespace {

// Each session runs against a freshly started module.
class SessionRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RestartModule();
    korvohost::ResetGraphics();
    previous_ = tam::SetReportHandler(nullptr);
  }
  void TearDown() override {
    tam::SetReportHandler(previous_);
    GUI_Release();
    korvostate::SetRecording(false);   // a session records the host's calls
    korvohost::ResetGraphics();
  }

  // The exit status of the session and what it wrote on standard error.
  static int Run(const std::string& script, std::string* errors) {
    testing::internal::CaptureStderr();
    const int status = RunSession(script);
    *errors = testing::internal::GetCapturedStderr();
    return status;
  }

 private:
  tam::ReportHandler previous_ = nullptr;
};

}  // namespace

TEST(SessionIntegers, TheWhole64BitRangeAndNothingBeyond) {
  const std::pair<const char*, long long> read[] = {
      {"-9223372036854775808", LLONG_MIN}, {"-0x8000000000000000", LLONG_MIN}, {"9223372036854775807", LLONG_MAX},
      {"+0x7FFFFFFFFFFFFFFF", LLONG_MAX},  {"-42", -42},                       {"0xFF52D8DE", 0xFF52D8DELL},
      {"bits(0.25)", 0x3E800000},          {"bits(-1.5f)", 0xBFC00000},   // a float's bit pattern
  };
  for (const auto& [text, value] : read) {
    long long v = 0;
    ASSERT_TRUE(ParseSessionInt(text, &v)) << text;
    EXPECT_EQ(v, value) << text;
  }
  for (const char* text : {"9223372036854775808", "0x8000000000000000", "-9223372036854775809",
                           "18446744073709551615", "-18446744073709551616", "--1", "bits()",
                           "bits(x)"}) {
    long long v = 7;
    EXPECT_FALSE(ParseSessionInt(text, &v)) << text;
    EXPECT_EQ(v, 7) << text;
  }
}

TEST_F(SessionRunnerTest, IntegersPastTheRangeAreLinesThatCannotBeRun) {
  std::string errors;
  EXPECT_EQ(Run("tick -9223372036854775808\nGUI_KeyDown -9223372036854775808\nGUI_FlushInput\n", &errors), 0);
  EXPECT_EQ(errors, "");
  EXPECT_EQ(Run("GUI_FlushInput\nGUI_KeyDown 9223372036854775808\n", &errors), 2);
  EXPECT_EQ(errors, "error: line 2: not an integer: 9223372036854775808\n");
  EXPECT_EQ(Run("tick -9223372036854775809\n", &errors), 2);
  EXPECT_EQ(errors, "error: line 1: not an integer: -9223372036854775809\n");
}
