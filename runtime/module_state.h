// module_state.h: the module-wide state behind the exported entry points, in
// one owner: the compiled dialog table, the dialog stack, the routing state
// (mouse point, hover and focus), the text buffers of the exports, and the
// state parts of the subsystems above the runtime (menus, overlays) that
// remember windows of the table.
//
// Freeing a table has one path, ReleaseDialogTable: it destroys and detaches
// every dialog of the table, clears hover, focus and the dialog stack, tells
// every part to forget its windows, and advances the table generation. While
// an entry point is running window handlers (SModuleCall), the freed trees are
// kept until the outermost call returns, so a handler whose host callback
// recompiled or released the UI returns into memory that is still there; code
// that continues after such a callback compares the generation and stops.
#pragma once
#include <cstdint>
#include <list>
#include <vector>

#include "runtime/routing.h"

class CDialogTable;
class CGUI_Window;

// State of a subsystem that keeps pointers to windows of the compiled table.
class CModulePart {
 public:
  virtual ~CModulePart() = default;
  // The table is being freed: drop every pointer into it.
  virtual void OnTableReleased() = 0;
};

struct SModuleState {
  CDialogTable* table = nullptr;          // the last successful compile, or null
  std::list<CGUI_Window*> dialogStack;     // bottom first; null entries are markers
  SGUI_Routing routing;
  uint32_t tableGeneration = 0;            // advanced each time a table is freed
  int callDepth = 0;                       // nesting of entry points running handlers
  std::vector<CDialogTable*> retired;      // freed during a call, deleted after it
  std::vector<CModulePart*> parts;         // not owned
  char lastError[4096] = {};
  char texPath[1024] = {};
};

SModuleState& ModuleState();

// ---- The compiled table --------------------------------------------------------------
CDialogTable*& DialogTable();
// Frees the current table (if any) and installs `table` (may be null).
void InstallDialogTable(CDialogTable* table);
// The one path that frees the table; see above.
void ReleaseDialogTable();
// The generation of the current table: a change tells code that returns from a
// host callback that every window it knew is gone.
inline uint32_t TableGeneration() { return ModuleState().tableGeneration; }

std::list<CGUI_Window*>& DialogStack();

// ---- Parts -------------------------------------------------------------------------------
// Registers a subsystem's state; idempotent.
void AddModulePart(CModulePart* part);

// ---- Entry points that run window handlers ----------------------------------------------------
struct SModuleCall {
  SModuleCall() { ++ModuleState().callDepth; }
  ~SModuleCall();
  SModuleCall(const SModuleCall&) = delete;
  SModuleCall& operator=(const SModuleCall&) = delete;
};
