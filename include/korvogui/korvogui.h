// korvogui.h: the module's exported functions, as the host executable calls them.
// Strings are 8-bit and NUL-terminated in the host's double-byte code page.
#pragma once
#include "korvogui/export.h"

extern "C" {

// ---- Lifecycle -------------------------------------------------------------
KORVO_API void GUI_Initialize();
KORVO_API void GUI_Release();
// (Re)builds every dialog from "data/script/ui/ui_script.txt".
KORVO_API bool GUI_Compile();

// ---- Dialogs and the dialog stack -------------------------------------------
KORVO_API bool GUI_CreateDialog(const char* name);
KORVO_API bool GUI_DestroyDialog(const char* name);
KORVO_API bool GUI_DestroyAllDialog();
KORVO_API bool GUI_IsDialogCreated(const char* name);
KORVO_API bool GUI_NextDialog(const char* name);
KORVO_API bool GUI_PrevDialog(int count, bool create);
KORVO_API bool GUI_PumpDialog();

// ---- Frame and input -----------------------------------------------------------
KORVO_API void GUI_Update();
KORVO_API void GUI_Draw();
KORVO_API void GUI_MouseMove(float x, float y);
KORVO_API void GUI_LButtonDown();
KORVO_API void GUI_LButtonUp();
KORVO_API void GUI_KeyDown(int key);
KORVO_API void GUI_Char(char ch);
KORVO_API void GUI_CompositionChar(char lead, char trail);
KORVO_API void GUI_FlushInput();
KORVO_API void* GUI_GetFocusWindow();

// ---- Errors and texture paths --------------------------------------------------
KORVO_API void GUI_ReportError(const char* format, ...) __attribute__((format(printf, 1, 2)));
KORVO_API char* GUI_GetLastError();
KORVO_API char* GUI_GetTexPath(const char* name);

}  // extern "C"
