// window_manager.cpp: root window, dialog table, colour table and the
// runtime's initialisation, all kept in the module state.
#include "runtime/window_manager.h"

#include <vector>

#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/standard_classes.h"

namespace {

// The root never owns its children (the open dialogs belong to the dialog
// table), so it lets go of them instead of deleting them.
class CGUI_RootWindow : public CGUI_Window {
 public:
  CGUI_RootWindow() : CGUI_Window("ROOT") { SetHitTest(false); }
  ~CGUI_RootWindow() override {
    while (!children_.empty()) RemoveChild(children_.back());
  }
};

}  // namespace

// ---- Root window and open dialogs ----------------------------------------------------

std::unique_ptr<CGUI_Window> NewRootWindow() { return std::make_unique<CGUI_RootWindow>(); }

CGUI_Window* GetRootWindow() { return ModuleState().root.get(); }

CGUI_Window* FindOpenDialog(const std::string& id) { return GetRootWindow()->FindChild(id); }

bool DestroyAllDialogs() {
  const std::vector<CGUI_Window*> open = GetRootWindow()->Children();
  for (CGUI_Window* dialog : open)
    if (dialog->IsCreated() && !dialog->Destroy()) return false;
  return true;
}

CGUI_ClassRegistry* GetClassRegistry() { return ModuleState().registry.get(); }

// ---- Dialog table --------------------------------------------------------------------------

CDialogTable::~CDialogTable() {
  for (auto& entry : dialogs_) delete entry.second;
}

void CDialogTable::Insert(const std::string& id, CGUI_Window* dialog) {
  auto [it, inserted] = dialogs_.emplace(id, dialog);
  if (!inserted) {
    // A later dialog of the same id wins; the earlier one is unreachable now.
    if (it->second != dialog) delete it->second;
    it->second = dialog;
  }
}

CGUI_Window* FindDialog(CDialogTable* table, const std::string& id) {
  auto it = table->Entries().find(id);
  if (it == table->Entries().end()) {
    SetErrorText("dlg_id'%s' not found", id.c_str());
    return nullptr;
  }
  return it->second;
}

void DetachTable(CDialogTable* table) {
  for (auto& entry : table->Entries()) {
    CGUI_Window* dialog = entry.second;
    if (dialog->IsCreated()) dialog->Destroy();
    // A dialog whose creation failed (or whose destruction refused) is still
    // attached to the root: detach it so the root never lists a freed dialog.
    if (dialog->GetParent()) dialog->SetParent(nullptr);
  }
}

bool ReleaseTable(CDialogTable* table) {
  DetachTable(table);
  delete table;
  return true;
}

// ---- Colour table -------------------------------------------------------------------------------

void SetColor(int index, uint32_t argb) {
  if (index >= 0 && index < 16) ModuleState().colors[index] = argb;
}

uint32_t GetColor(int index) {
  return index >= 0 && index < 16 ? ModuleState().colors[index] : 0xFFFFFFFF;
}

// ---- Initialisation ----------------------------------------------------------------------------------

void InitializeRuntime() {
  SModuleState& m = ModuleState();
  if (m.registry) return;
  m.registry = std::make_unique<CGUI_ClassRegistry>();
  RegisterStandardClasses(m.registry.get());
}
