// yprofile.h: the profiling library the module reports to (process attach and
// the log lines of the script console).
#pragma once

extern "C" {
void QBN_Initialize(void* process);
void LogAddNewLine(const char* text);
}
