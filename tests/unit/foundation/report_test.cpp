// report_test.cpp: the critical-error report: its message, its three answers
// and the default console handler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "foundation/report.h"
#include "tests/unit/foundation/report_recorder.h"

namespace {

using tam::ReportAnswer;

// Ignore gives false, retry true (without a debugger the break returns and
// the caller goes on). Setting a handler gives the previous one; null
// restores the default. (The message, with a caption and in the expression
// form, is in the expected reports of the allocator, heap and string tests.)
TEST(Report, AnswersAndHandlers) {
  EXPECT_EQ(tam::SetReportHandler(nullptr), &tam::DefaultReportHandler);
  {
    tamtest::CReportRecorder recorder(ReportAnswer::Ignore);
    const tam::ReportHandler recording = tam::SetReportHandler(nullptr);
    EXPECT_NE(recording, &tam::DefaultReportHandler);
    tam::SetReportHandler(recording);
    EXPECT_FALSE(tam::_tam_assert(nullptr, "a != b", "tamAllocator", 365));
    EXPECT_EQ(recorder.Count(), 1u);
  }
  EXPECT_EQ(tam::SetReportHandler(nullptr), &tam::DefaultReportHandler);
  tamtest::CReportRecorder recorder(ReportAnswer::Retry);
  EXPECT_TRUE(tam::_tam_assert("c", "t", "f", 1));
  TAM_REPORT("c", "t", "f", 2);
  EXPECT_EQ(recorder.Count(), 2u);
}

// The default handler prints the report and takes its answer from the
// environment; abort, whether answered by a handler or by default, ends the
// process with -1.
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
        tamtest::CReportRecorder recorder(ReportAnswer::Abort);
        tam::_tam_assert("c", "t", "f", 1);
        std::exit(0);
      },
      ::testing::ExitedWithCode(255), "");
  EXPECT_EXIT(
      {
        tam::_tam_assert("Caption", "text", "tamString", 43);
        std::exit(0);
      },
      ::testing::ExitedWithCode(255), "Caption");
}

}  // namespace
