// export.h: marks the module's exported symbols (the library is built with
// hidden visibility, so only what carries KORVO_API is visible to the host).
#pragma once

#if defined(_WIN32)
#  define KORVO_API __declspec(dllexport)
#else
#  define KORVO_API __attribute__((visibility("default")))
#endif
