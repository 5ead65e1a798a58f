// process.h (platform): process exit and debugger stand-ins for ExitProcess,
// IsDebuggerPresent and DebugBreak.
#pragma once
#include <cstdint>

namespace win32 {

// Flushes the standard streams and ends the process at once with the code
// (-1 is seen by the parent as 255); no static destructors run.
[[noreturn]] void ExitProcess(uint32_t code);

// True when a tracer (a debugger) is attached to the process.
bool IsDebuggerPresent();

// Stops at a debugger breakpoint (SIGTRAP).
void DebugBreak();

}  // namespace win32
