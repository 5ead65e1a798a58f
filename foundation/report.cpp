// report.cpp: the critical-error report. Builds the message, asks the
// installed handler and carries out its answer.
#include "foundation/report.h"

#include <atomic>
#include <cstdio>

#include "platform/message_box.h"
#include "platform/process.h"

namespace tam {

namespace {
std::atomic<ReportHandler> g_handler{&DefaultReportHandler};
}  // namespace

ReportHandler SetReportHandler(ReportHandler handler) {
  return g_handler.exchange(handler ? handler : &DefaultReportHandler);
}

ReportAnswer DefaultReportHandler(const char* caption, const char*, const char* message) {
  const uint32_t type = win32::MB_ABORTRETRYIGNORE | win32::MB_ICONERROR | win32::MB_TASKMODAL |
                        win32::MB_SETFOREGROUND;
  switch (win32::MessageBoxA(nullptr, message, caption, type)) {
    case win32::IDRETRY: return ReportAnswer::Retry;
    case win32::IDIGNORE: return ReportAnswer::Ignore;
    default: return ReportAnswer::Abort;
  }
}

bool _tam_assert(const char* caption, const char* text, const char* file, int line) {
  static const char kCrLf[] = "\r\n";
  char message[1024];
  int used = std::snprintf(message, sizeof message, "\nfile : %s%s", file ? file : "", kCrLf);
  used += std::snprintf(message + used, sizeof message - used, "line : %d%s", line, kCrLf);
  if (caption)
    std::snprintf(message + used, sizeof message - used, "%s%s", text ? text : "", kCrLf);
  else
    std::snprintf(message + used, sizeof message - used, "expression : %s%s", text ? text : "", kCrLf);

  switch (g_handler.load()(caption ? caption : "tam::_tam_assert failed", text ? text : "", message)) {
    case ReportAnswer::Ignore: return false;
    case ReportAnswer::Retry: return true;
    case ReportAnswer::Abort: break;
  }
  win32::ExitProcess(static_cast<uint32_t>(-1));
}

void BreakIntoDebugger() {
  if (win32::IsDebuggerPresent()) win32::DebugBreak();
}

}  // namespace tam
