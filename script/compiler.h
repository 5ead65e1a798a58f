// compiler.h: compiling the UI script text into the dialog table.
#pragma once

class CDialogTable;

// The table of every dialog of the NUL-terminated script text, or null with
// the compiler's message in the runtime error text.
CDialogTable* CompileScript(const char* text);

// The path GUI_Compile reads the script from.
inline constexpr const char* kUIScriptPath = "data/script/ui/ui_script.txt";
