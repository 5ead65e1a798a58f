// report_recorder.h: a report handler for tests. While a CReportRecorder
// lives, every critical-error report is recorded and answered with its answer.
#pragma once
#include <string>
#include <vector>

#include "foundation/report.h"

namespace tamtest {

struct SRecordedReport {
  std::string caption;
  std::string text;
  std::string message;
};

// The message _tam_assert builds for file, line and text.
inline std::string ReportMessage(const char* file, int line, const std::string& text, bool withCaption) {
  return std::string("\nfile : ") + file + "\r\nline : " + std::to_string(line) + "\r\n" +
         (withCaption ? "" : "expression : ") + text + "\r\n";
}

class CReportRecorder {
 public:
  explicit CReportRecorder(tam::ReportAnswer answer) : m_answer(answer) {
    s_current = this;
    m_previous = tam::SetReportHandler(&Record);
  }
  ~CReportRecorder() {
    tam::SetReportHandler(m_previous);
    s_current = nullptr;
  }
  CReportRecorder(const CReportRecorder&) = delete;
  CReportRecorder& operator=(const CReportRecorder&) = delete;

  const std::vector<SRecordedReport>& Reports() const { return m_reports; }

 private:
  static tam::ReportAnswer Record(const char* caption, const char* text, const char* message) {
    s_current->m_reports.push_back({caption, text, message});
    return s_current->m_answer;
  }

  static inline CReportRecorder* s_current = nullptr;
  tam::ReportAnswer m_answer;
  tam::ReportHandler m_previous = nullptr;
  std::vector<SRecordedReport> m_reports;
};

}  // namespace tamtest
