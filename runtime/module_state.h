// module_state.h: everything the module remembers between calls, in one owner.
// The runtime's own data are members of SModuleState: the compiled dialog
// table, the dialog stack, the routing state (mouse point, hover and focus),
// the root window, the class registry, the colour table, the error texts and
// the exports' text buffers. The layers above the runtime
// (script compiler, menu framework, screens, overlays) keep theirs in parts,
// reached through the one accessor ModulePart<T>(), which creates T in a slot
// of the state on first use; the runtime never sees their types.
//
// GUI_Release ends the state (ReleaseModuleState): the table is freed, every
// part and every member is destroyed, and the next call makes a fresh state,
// so a restart (GUI_Release, GUI_Initialize) starts from nothing. The owner
// keeps only what lives from load to unload: the input queue (input queued
// before a restart is still delivered after it), the nesting of running
// calls with what they keep alive, and the table generation.
//
// Freeing a table has one path, ReleaseDialogTable: it destroys and detaches
// every dialog of the table, clears hover, focus and the dialog stack, tells
// every part to forget its windows, and advances the table generation. While
// an entry point is running window handlers (SModuleCall), freed tables and an
// ended state are kept until the outermost call returns, so a handler whose
// host callback recompiled or released the UI returns into memory that is
// still there; code that continues after such a callback compares the
// generation (which only ever grows, across restarts too) and stops.
#pragma once
#include <cstdint>
#include <list>
#include <memory>
#include <type_traits>
#include <vector>

#include "runtime/routing.h"

class CDialogTable;
class CGUI_ClassRegistry;
class CGUI_Window;

// State of a layer above the runtime. A part that keeps pointers to windows
// of the compiled table drops them in OnTableReleased.
class CModulePart {
 public:
  virtual ~CModulePart() = default;
  virtual void OnTableReleased() {}
};

struct SModuleState {
  SModuleState();
  ~SModuleState();
  SModuleState(const SModuleState&) = delete;
  SModuleState& operator=(const SModuleState&) = delete;

  // ---- Dialogs and routing ----
  CDialogTable* table = nullptr;          // the last successful compile, or null
  std::list<CGUI_Window*> dialogStack;     // bottom first; null entries are markers
  SGUI_Routing routing;
  std::vector<CDialogTable*> retired;      // freed during a call, deleted after it
  std::unique_ptr<CGUI_Window> root;       // class "ROOT"; its children are the open dialogs
  std::unique_ptr<CGUI_ClassRegistry> registry;   // made by GUI_Initialize
  uint32_t colors[16];                     // the colour table, defaults until set

  // ---- Texts ----
  char errorText[4096] = {};               // details written by compiler and controls
  char lastError[4096] = {};               // GUI_GetLastError
  char texPath[1024] = {};                 // GUI_GetTexPath

  // ---- Parts of the upper layers, in creation order ----
  struct SPartSlot {
    const void* key;
    std::unique_ptr<CModulePart> part;
  };
  std::vector<SPartSlot> parts;
};

// The current state, made on first use.
SModuleState& ModuleState();
// GUI_Release: frees the table and ends the current state (kept until the
// outermost call returns when one is running); the next use makes a fresh one.
void ReleaseModuleState();

// ---- Parts ---------------------------------------------------------------------------------
template <class T>
struct TModulePartKey {
  static constexpr char key = 0;   // its address names T's slot
};
CModulePart* FindModulePart(const void* key);
CModulePart& AddModulePart(const void* key, std::unique_ptr<CModulePart> part);

// The part T of the current state, default-constructed on first use.
template <class T>
T& ModulePart() {
  static_assert(std::is_base_of_v<CModulePart, T>, "a part derives from CModulePart");
  const void* key = &TModulePartKey<T>::key;
  CModulePart* part = FindModulePart(key);
  if (!part) part = &AddModulePart(key, std::make_unique<T>());
  return static_cast<T&>(*part);
}

// ---- The compiled table --------------------------------------------------------------
CDialogTable*& DialogTable();
// Frees the current table (if any) and installs `table` (may be null).
void InstallDialogTable(CDialogTable* table);
// The one path that frees the table; see above.
void ReleaseDialogTable();
// The generation of the current table: a change tells code that returns from a
// host callback that every window it knew is gone.
uint32_t TableGeneration();
// The counter itself, for walks that compare it at every step without a call;
// it lives in the owner, so the reference outlasts any state.
const uint32_t& LiveTableGeneration();

std::list<CGUI_Window*>& DialogStack();

// ---- Entry points that run window handlers ----------------------------------------------------
struct SModuleCall {
  SModuleCall();
  ~SModuleCall();
  SModuleCall(const SModuleCall&) = delete;
  SModuleCall& operator=(const SModuleCall&) = delete;
};
