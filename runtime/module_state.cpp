// module_state.cpp: the module-wide state owner, the one path that frees a
// compiled table, and the deferred deletion of tables freed during a call.
#include "runtime/module_state.h"

#include "runtime/window.h"
#include "runtime/window_manager.h"

SModuleState& ModuleState() {
  static SModuleState state;
  return state;
}

SGUI_Routing& Routing() { return ModuleState().routing; }

CDialogTable*& DialogTable() { return ModuleState().table; }

std::list<CGUI_Window*>& DialogStack() { return ModuleState().dialogStack; }

void AddModulePart(CModulePart* part) {
  std::vector<CModulePart*>& parts = ModuleState().parts;
  for (CModulePart* p : parts)
    if (p == part) return;
  parts.push_back(part);
}

// ---- Freeing a table ------------------------------------------------------------------------

void ReleaseDialogTable() {
  SModuleState& m = ModuleState();
  CDialogTable* table = m.table;
  if (!table) return;
  m.table = nullptr;
  ++m.tableGeneration;
  DetachTable(table);
  m.dialogStack.clear();
  m.routing.hover = nullptr;
  m.routing.focus = nullptr;
  for (CModulePart* part : m.parts) part->OnTableReleased();
  if (m.callDepth > 0) m.retired.push_back(table);
  else delete table;
}

void InstallDialogTable(CDialogTable* table) {
  ReleaseDialogTable();
  ModuleState().table = table;
}

SModuleCall::~SModuleCall() {
  SModuleState& m = ModuleState();
  if (--m.callDepth > 0 || m.retired.empty()) return;
  std::vector<CDialogTable*> retired;
  retired.swap(m.retired);
  for (CDialogTable* table : retired) delete table;
}
