// error_text.h: the runtime error text, a 4096-byte buffer into which the
// compiler, the registry and the controls' parameter readers write details
// that the entry points then wrap into the last-error text.
#pragma once

// Replaces the text with the formatted one (printf rules).
void SetErrorText(const char* format, ...) __attribute__((format(printf, 1, 2)));
const char* GetErrorText();
