// module_state.h: module-wide state behind the exported entry points: the
// compiled dialog table and the dialog stack.
#pragma once
#include <list>

class CDialogTable;
class CGUI_Window;

// The table of the last successful compile, or null.
CDialogTable*& DialogTable();
// Replaces the compiled table (releasing the old one first).
void InstallDialogTable(CDialogTable* table);

// Screens entered with GUI_NextDialog, bottom first; null entries are markers.
std::list<CGUI_Window*>& DialogStack();
