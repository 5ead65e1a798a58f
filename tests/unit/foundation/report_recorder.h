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

  // One line per report, "CAPTION | MESSAGE", with line ends and tabs
  // written as \r, \n and \t.
  std::string Printed() const {
    std::string out;
    for (const SRecordedReport& r : m_reports) {
      out += r.caption + " | ";
      for (char c : r.message) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else out += c;
      }
      out += '\n';
    }
    return out;
  }

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
