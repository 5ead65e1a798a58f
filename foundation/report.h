// report.h (foundation): the critical-error and assertion report. Every
// foundation component raises it on an impossible state or exhausted memory,
// with a fixed caption, text, source name and line, and then either goes on
// with its failure value (ignore), stops at a debugger (retry), or the process
// ends with exit code -1 (abort).
#pragma once

namespace tam {

// The three buttons of the report.
enum class ReportAnswer { Abort, Retry, Ignore };

// Shows a report and chooses its answer. caption is never null; text is the
// text given to _tam_assert and message the full text it built from it.
using ReportHandler = ReportAnswer (*)(const char* caption, const char* text, const char* message);

// Installs the handler that answers reports and gives the previous one; null
// installs the default handler (the console message box: stderr, and the
// answer from KORVO_ASSERT_ANSWER, abort by default).
ReportHandler SetReportHandler(ReportHandler handler);
// The default handler.
ReportAnswer DefaultReportHandler(const char* caption, const char* text, const char* message);

// Builds the message ("\nfile : F\r\nline : L\r\n" then the text, or
// "expression : " and the text when there is no caption), asks the handler
// with the caption or "tam::_tam_assert failed", and gives true for retry,
// false for ignore; abort ends the process with exit code -1.
bool _tam_assert(const char* caption, const char* text, const char* file, int line);

// Stops at a breakpoint when a debugger is attached; without one it returns,
// so a retried report in an unattended run behaves like an ignored one.
void BreakIntoDebugger();

}  // namespace tam

// Reports, and breaks into the debugger when the answer was retry.
#define TAM_REPORT(caption, text, source, line)                              \
  do {                                                                       \
    if (::tam::_tam_assert((caption), (text), (source), (line))) ::tam::BreakIntoDebugger(); \
  } while (0)
