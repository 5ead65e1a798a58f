// message_box.h (platform): the console stand-in for MessageBoxA. There is no
// desktop to show a box on, so the text goes to stderr and the button comes
// from the environment variable KORVO_ASSERT_ANSWER.
#pragma once
#include <cstdint>

namespace win32 {

// Box types and answers, with the Win32 values.
constexpr uint32_t MB_ABORTRETRYIGNORE = 0x00000002u;
constexpr uint32_t MB_ICONERROR = 0x00000010u;
constexpr uint32_t MB_TASKMODAL = 0x00002000u;
constexpr uint32_t MB_SETFOREGROUND = 0x00010000u;

constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;

// Prints caption and text on stderr and answers for the abort/retry/ignore
// box: KORVO_ASSERT_ANSWER = "abort" | "retry" | "ignore" (unset or anything
// else: abort). owner and type are accepted for the Win32 signature only.
int MessageBoxA(void* owner, const char* text, const char* caption, uint32_t type);

}  // namespace win32
