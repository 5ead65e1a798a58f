// message_box.cpp: the console stand-in for MessageBoxA.
#include "platform/message_box.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace win32 {

int MessageBoxA(void* /*owner*/, const char* text, const char* caption, uint32_t /*type*/) {
  std::fprintf(stderr, "[%s]%s\n", caption ? caption : "", text ? text : "");
  std::fflush(stderr);
  const char* answer = std::getenv("KORVO_ASSERT_ANSWER");
  if (answer && std::strcmp(answer, "retry") == 0) return IDRETRY;
  if (answer && std::strcmp(answer, "ignore") == 0) return IDIGNORE;
  return IDABORT;
}

}  // namespace win32
