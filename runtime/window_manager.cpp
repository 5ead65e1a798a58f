// window_manager.cpp: root window, dialog table, colour table and the
// once-per-process runtime initialisation.
#include "runtime/window_manager.h"

#include <vector>

#include "runtime/registry.h"
#include "runtime/routing.h"
#include "runtime/standard_classes.h"

namespace {

// The root never owns its children (the open dialogs belong to the dialog
// table), so it lets go of them instead of deleting them.
class CGUI_RootWindow : public CGUI_Window {
 public:
  CGUI_RootWindow() : CGUI_Window("ROOT") {}
  ~CGUI_RootWindow() override {
    while (!children_.empty()) RemoveChild(children_.back());
  }
};

CGUI_RootWindow g_root;
CGUI_ClassRegistry* g_registry = nullptr;
bool g_runtimeInitialized = false;

constexpr uint32_t kDefaultColors[16] = {
    0xFFFFFFFF, 0xFF000000, 0xFFFF0000, 0xFFBE0000, 0xFF00FF00, 0xFF00BE00,
    0xFFFFFF00, 0xFF00FFFF, 0xFFC8C8C8, 0xFF808080, 0xFFB94BB9, 0xFFFF8000,
    0xFFFFC00F, 0xFF00008C, 0xFF806040, 0xFF805514};
uint32_t g_colors[16];

}  // namespace

// ---- Root window and open dialogs ----------------------------------------------------

CGUI_Window* GetRootWindow() { return &g_root; }

CGUI_Window* FindOpenDialog(const std::string& id) { return g_root.FindChild(id); }

bool DestroyAllDialogs() {
  const std::vector<CGUI_Window*> open = g_root.Children();
  for (CGUI_Window* dialog : open)
    if (dialog->IsCreated() && !dialog->Destroy()) return false;
  return true;
}

CGUI_ClassRegistry* GetClassRegistry() { return g_registry; }

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
  if (index >= 0 && index < 16) g_colors[index] = argb;
}

uint32_t GetColor(int index) { return index >= 0 && index < 16 ? g_colors[index] : 0xFFFFFFFF; }

// ---- Initialisation ----------------------------------------------------------------------------------

void InitializeRuntime() {
  if (g_runtimeInitialized) return;
  g_runtimeInitialized = true;
  g_registry = new CGUI_ClassRegistry;
  RegisterStandardClasses(g_registry);
  g_root.SetHitTest(false);
  Routing().mouse[0] = Routing().mouse[1] = 0;
  for (int i = 0; i < 16; ++i) g_colors[i] = kDefaultColors[i];
}

// GUI_Initialize may follow: it makes a new registry.
void ReleaseRuntime() {
  delete g_registry;
  g_registry = nullptr;
  g_runtimeInitialized = false;
}
