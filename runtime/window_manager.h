// window_manager.h: the root window and the open dialogs, the compiled dialog
// table, the colour table and runtime initialisation; what they keep lives
// in the module state (runtime/module_state.h).
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "runtime/error_text.h"   // FindDialog reports through it
#include "runtime/window.h"

// ---- Root window ------------------------------------------------------------------
// Class "ROOT"; its children are the open dialogs, which it does not own.
CGUI_Window* GetRootWindow();
// A new root, for a new module state.
std::unique_ptr<CGUI_Window> NewRootWindow();
CGUI_Window* FindOpenDialog(const std::string& id);
// Destroys every open dialog; false when one refused.
bool DestroyAllDialogs();

// ---- Dialog table -------------------------------------------------------------------
// Every dialog of the compiled script by id, owned; built but not created.
class CDialogTable {
 public:
  CDialogTable() = default;
  ~CDialogTable();
  CDialogTable(const CDialogTable&) = delete;
  CDialogTable& operator=(const CDialogTable&) = delete;

  // Takes the dialog; a dialog already stored under the same id is deleted.
  void Insert(const std::string& id, CGUI_Window* dialog);
  const std::map<std::string, CGUI_Window*>& Entries() const { return dialogs_; }

 private:
  std::map<std::string, CGUI_Window*> dialogs_;
};

// The dialog of that id; null with "dlg_id'%s' not found" in the error text.
CGUI_Window* FindDialog(CDialogTable* table, const std::string& id);
// Destroys each created dialog and detaches every dialog from the root.
void DetachTable(CDialogTable* table);
// DetachTable, then deletes the table with every tree.
bool ReleaseTable(CDialogTable* table);

// ---- Colour table --------------------------------------------------------------------------
void SetColor(int index, uint32_t argb);
uint32_t GetColor(int index);   // 0xFFFFFFFF outside 0..15

// ---- Runtime initialisation ----------------------------------------------------------------
// Once per module state: the registry with the standard classes.
void InitializeRuntime();
