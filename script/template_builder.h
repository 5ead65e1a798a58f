// template_builder.h: turning the evaluated parts of a dialog or control
// (class, caption, id, flags, region, PARAM lines) into a window of the class
// the registry gives for the class name and id.
#pragma once
#include "runtime/params.h"

class CGUI_Window;
class CDialogTable;

// Caption, id, region and flags of a dialog or a control line. One per line
// of the script, freed again at once: a small block of the cell pool.
struct SDialogAttr {
  SParamValue* caption = nullptr;   // the STRING
  SParamValue* id = nullptr;        // the CHARS
  float* region = nullptr;          // four floats: x, y, width, height (NewRegion)
  SParamList* flags = nullptr;      // flag names, or none
  static void* operator new(size_t bytes) { return tam::AllocSmallBlock(bytes); }
  static void operator delete(void* block, size_t bytes) noexcept { tam::FreeSmallBlock(block, bytes); }
};
static_assert(sizeof(SDialogAttr) <= tam::kSmallBlockMax);

// A region of four floats in a cell of the cell pool; FreeRegion gives it back.
float* NewRegion(const float (&values)[4]);
void FreeRegion(float* region);

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
