// report_recorder.h: a report handler for tests. While a CReportRecorder
// lives, every critical-error report is recorded and answered with its answer.
#pragma once
#include <string>

#include "foundation/report.h"

namespace tamtest {

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

  size_t Count() const { return m_count; }
  // One line per report, "CAPTION | MESSAGE", with line ends and tabs
  // written as \r, \n and \t.
  const std::string& Printed() const { return m_printed; }

 private:
  static tam::ReportAnswer Record(const char* caption, const char*, const char* message) {
    std::string& out = s_current->m_printed;
    out += std::string(caption) + " | ";
    for (const char* c = message; *c; ++c) {
      if (*c == '\n') out += "\\n";
      else if (*c == '\r') out += "\\r";
      else if (*c == '\t') out += "\\t";
      else out += *c;
    }
    out += '\n';
    ++s_current->m_count;
    return s_current->m_answer;
  }

  static inline CReportRecorder* s_current = nullptr;
  tam::ReportAnswer m_answer;
  tam::ReportHandler m_previous = nullptr;
  size_t m_count = 0;
  std::string m_printed;
};

}  // namespace tamtest
