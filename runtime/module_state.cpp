// module_state.cpp: the owner of the module state, its parts, the one path
// that frees a compiled table, and the deferred deletion of tables and states
// freed during a call.
#include "runtime/module_state.h"

#include "runtime/input_queue.h"
#include "runtime/registry.h"
#include "runtime/window.h"
#include "runtime/window_manager.h"

namespace {

constexpr uint32_t kDefaultColors[16] = {
    0xFFFFFFFF, 0xFF000000, 0xFFFF0000, 0xFFBE0000, 0xFF00FF00, 0xFF00BE00,
    0xFFFFFF00, 0xFF00FFFF, 0xFFC8C8C8, 0xFF808080, 0xFFB94BB9, 0xFFFF8000,
    0xFFFFC00F, 0xFF00008C, 0xFF806040, 0xFF805514};

// The one module-wide variable. What outlives a state belongs here: the
// input queue, the nesting of running calls, the states ended during them,
// and the table generation, which must never repeat a value a caller may
// still hold.
struct SModuleOwner {
  SModuleState* current = nullptr;
  CGUI_InputQueue input;
  std::vector<SModuleState*> ended;   // ended during a call, deleted after it
  int callDepth = 0;
  uint32_t tableGeneration = 0;
};
constinit SModuleOwner g_owner;

}  // namespace

// ---- The state ------------------------------------------------------------------------------

SModuleState::SModuleState() : root(NewRootWindow()) {
  for (int i = 0; i < 16; ++i) colors[i] = kDefaultColors[i];
}

// The table is freed before (ReleaseModuleState). Parts go first, newest
// first (they may point at windows), then the tables freed during a call,
// then the runtime's members.
SModuleState::~SModuleState() {
  while (!parts.empty()) parts.pop_back();
  for (CDialogTable* t : retired) delete t;
}

SModuleState& ModuleState() {
  if (!g_owner.current) g_owner.current = new SModuleState;
  return *g_owner.current;
}

void ReleaseModuleState() {
  if (!g_owner.current) return;
  ReleaseDialogTable();
  SModuleState* ended = g_owner.current;
  g_owner.current = nullptr;
  if (g_owner.callDepth > 0) g_owner.ended.push_back(ended);
  else delete ended;
}

CGUI_InputQueue& InputQueue() { return g_owner.input; }

SGUI_Routing& Routing() { return ModuleState().routing; }

CDialogTable*& DialogTable() { return ModuleState().table; }

std::list<CGUI_Window*>& DialogStack() { return ModuleState().dialogStack; }

uint32_t TableGeneration() { return g_owner.tableGeneration; }

const uint32_t& LiveTableGeneration() { return g_owner.tableGeneration; }

// ---- Parts ------------------------------------------------------------------------------------

CModulePart* FindModulePart(const void* key) {
  for (SModuleState::SPartSlot& slot : ModuleState().parts)
    if (slot.key == key) return slot.part.get();
  return nullptr;
}

CModulePart& AddModulePart(const void* key, std::unique_ptr<CModulePart> part) {
  std::vector<SModuleState::SPartSlot>& parts = ModuleState().parts;
  parts.push_back({key, std::move(part)});
  return *parts.back().part;
}

// ---- Freeing a table ------------------------------------------------------------------------

void ReleaseDialogTable() {
  SModuleState& m = ModuleState();
  CDialogTable* table = m.table;
  if (!table) return;
  m.table = nullptr;
  ++g_owner.tableGeneration;
  DetachTable(table);
  m.dialogStack.clear();
  m.routing.hover = nullptr;
  m.routing.focus = nullptr;
  for (SModuleState::SPartSlot& slot : m.parts) slot.part->OnTableReleased();
  if (g_owner.callDepth > 0) m.retired.push_back(table);
  else delete table;
}

void InstallDialogTable(CDialogTable* table) {
  ReleaseDialogTable();
  ModuleState().table = table;
}

// ---- Calls ------------------------------------------------------------------------------------

SModuleCall::SModuleCall() { ++g_owner.callDepth; }

SModuleCall::~SModuleCall() {
  if (--g_owner.callDepth > 0) return;
  if (g_owner.current && !g_owner.current->retired.empty()) {
    std::vector<CDialogTable*> retired;
    retired.swap(g_owner.current->retired);
    for (CDialogTable* table : retired) delete table;
  }
  if (!g_owner.ended.empty()) {
    std::vector<SModuleState*> ended;
    ended.swap(g_owner.ended);
    for (SModuleState* state : ended) delete state;
  }
}
