// fuzz_compile.cpp: script text in; compile it, create and destroy every
// dialog of the table, release. Every failure must be a message, never a
// crash or a leak.
#include <cstdint>
#include <cstring>
#include <string>

#include "korvogui/korvogui.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool initialized = false;
  if (!initialized) {
    GUI_Initialize();
    initialized = true;
  }
  const std::string text(reinterpret_cast<const char*>(data), size);   // NUL ends the text early
  CDialogTable* table = CompileScript(text.c_str());
  if (!table) {
    if (std::strlen(GetErrorText()) == 0) __builtin_trap();   // a failure without a message
    return 0;
  }
  for (const auto& entry : table->Entries()) {
    entry.second->Create();
    GUI_Update();
    GUI_Draw();
    entry.second->Destroy();
  }
  ReleaseTable(table);
  return 0;
}
