// error_text.cpp: the runtime error text, kept in the module state.
#include "runtime/error_text.h"

#include <cstdarg>
#include <cstdio>

#include "runtime/module_state.h"

void SetErrorText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char (&text)[4096] = ModuleState().errorText;
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
}

const char* GetErrorText() { return ModuleState().errorText; }
