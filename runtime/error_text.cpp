// error_text.cpp: the runtime error text buffer.
#include "runtime/error_text.h"

#include <cstdarg>
#include <cstdio>

namespace {
char g_errorText[4096];
}  // namespace

void SetErrorText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(g_errorText, sizeof g_errorText, format, args);
  va_end(args);
}

const char* GetErrorText() { return g_errorText; }
