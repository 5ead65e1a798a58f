// template_builder.h: turning the evaluated parts of a dialog or control
// (class, caption, id, flags, region, PARAM lines) into a window of the class
// the registry gives for the class name and id.
#pragma once
#include "runtime/params.h"

class CGUI_Window;
class CDialogTable;

// Caption, id, region and flags of a dialog or a control line.
struct SDialogAttr {
  SParamValue* caption = nullptr;   // the STRING
  SParamValue* id = nullptr;        // the CHARS
  float* region = nullptr;          // four floats: x, y, width, height
  SParamList* flags = nullptr;      // flag names, or none
};

void FreeDialogAttr(SDialogAttr* attr);
// Frees a chain of cells whose values are windows (deleting the windows).
void FreeWindowList(SValueList* list);
// Frees a chain of cells whose values are PARAM lines.
void FreeParamLines(SValueList* lines);

// A control of class `className` (line, column of its class name for the
// message); null with the runtime error text set when no class serves it.
// Takes nothing: the caller frees its inputs.
CGUI_Window* BuildControl(const char* className, uint32_t line, uint32_t column,
                          const SDialogAttr& attr, const SValueList* paramLines);
// A dialog with its controls. On success it takes the windows of `controls`
// (their cells are left empty, still the caller's); null with the runtime
// error text set on failure, taking nothing.
CGUI_Window* BuildDialog(uint32_t line, uint32_t column, const SDialogAttr& attr,
                         SValueList* controls);
// The table of the dialogs in written order (later duplicates win); takes the
// windows of `dialogs`, leaving their cells empty.
CDialogTable* BuildTable(SValueList* dialogs);
