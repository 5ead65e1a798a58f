// report_test.cpp: the critical-error report: its message, its three answers
// and the default console handler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "foundation/report.h"
#include "tests/unit/foundation/report_recorder.h"

namespace {

using tam::ReportAnswer;

// A handler answers while it is set (ignore gives false; retry is the
// default handler's, below); setting one gives the previous one, and null sets
// the default. (The message, with a caption and in the expression form, is in
// the expected reports of the allocator, heap and string tests.)
TEST(Report, HandlersAnswerAndGiveThePreviousOne) {
  tamtest::CReportRecorder recorder(ReportAnswer::Ignore);
  EXPECT_FALSE(tam::_tam_assert(nullptr, "a != b", "tamAllocator", 365));
  EXPECT_EQ(recorder.Count(), 1u);
  const tam::ReportHandler recording = tam::SetReportHandler(nullptr);
  EXPECT_NE(recording, &tam::DefaultReportHandler);
  EXPECT_EQ(tam::SetReportHandler(recording), &tam::DefaultReportHandler);
}

// The default handler prints the report and takes its answer from the
// environment; without one it answers abort, which ends the process with -1.
TEST(ReportDeathTest, DefaultAnswersAndAbort) {
  ::testing::internal::CaptureStderr();
  setenv("KORVO_ASSERT_ANSWER", "ignore", 1);
  EXPECT_FALSE(tam::_tam_assert("CStringAlloc::Alloc()", "out of memory", "tamString", 169));
  setenv("KORVO_ASSERT_ANSWER", "retry", 1);
  EXPECT_TRUE(tam::_tam_assert(nullptr, "x", "tamString", 1));
  unsetenv("KORVO_ASSERT_ANSWER");
  const std::string printed = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(printed.find("CStringAlloc::Alloc()"), std::string::npos);
  EXPECT_NE(printed.find("\nfile : tamString\r\nline : 169\r\nout of memory\r\n"), std::string::npos);

  EXPECT_EXIT(
      {
        tam::_tam_assert("Caption", "text", "tamString", 43);
        std::exit(0);
      },
      ::testing::ExitedWithCode(255), "Caption");
}

}  // namespace
