// option_macro_menu.cpp: the chat macro page (OPTIONMACROMENU): twelve edits,
// one per macro item; OK stores their texts.
#include <cstdio>

#include "host/host_options.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/option_pages.h"
#include "runtime/edit.h"

namespace {

constexpr int kMacroCount = 12;
constexpr int kMacroMaxChars = 34;

// Macro item i ("macro0" .. "macro11").
COptionItem* MacroItem(int i) {
  char key[32];
  std::snprintf(key, sizeof key, "%s%d", "macro", i);
  return OptionMacroManager.FindItem(key);
}

// The edit of macro item i: IDC_EDIT_OPTIONMACROF1 .. F12; null when the page
// has none.
CGUI_Edit* MacroEdit(CGUI_Window* page, int i) {
  char id[48];
  std::snprintf(id, sizeof id, "IDC_EDIT_OPTIONMACROF%d", i + 1);
  return dynamic_cast<CGUI_Edit*>(page->FindChild(id));
}

class CGUI_OptionMacroPage : public CGUI_ExclusiveMenuDialog {
 public:
  // Each edit shows its macro, at most 34 bytes of it.
  bool OnCreate() override {
    if (!CGUI_ExclusiveMenuDialog::OnCreate()) return false;
    for (int i = 0; i < kMacroCount; ++i) {
      CGUI_Edit* edit = MacroEdit(this, i);
      if (!edit) continue;
      const COptionItem* item = MacroItem(i);
      const char* text = item ? item->GetString() : nullptr;
      edit->SetCaption(text ? text : "");
      edit->SetMaxNumChar(kMacroMaxChars);
      edit->SetCursor(-1);   // the caret after the text as cut
    }
    return true;
  }
};

// OK: each edit's text becomes its macro, then the macros are saved.
void ClickMacroOk(CGUI_GamePushButton* button) {
  if (CGUI_Window* page = button->GetParent()) {
    for (int i = 0; i < kMacroCount; ++i) {
      CGUI_Edit* edit = MacroEdit(page, i);
      COptionItem* item = MacroItem(i);
      if (!edit || !item) continue;
      std::string text;
      edit->GetCaption(text);
      item->SetValue(text.c_str());
    }
  }
  WriteOptionMacro();
  GUI_PrevDialog(1, true);
}

}  // namespace

// ---- Registrations ------------------------------------------------------------------------

void RegisterOptionMacroMenu(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_OptionMacroPage>(r, "OPTIONMACROMENU");
  RegisterIdClass<TGUI_CancelPageButton<&ReadOptionMacro>>(r, "IDC_BUTTON_OPTIONMECROCANCEL");
  RegisterIdClass<TGUI_DefaultPageButton<&SetDefaultOptionMacro>>(r, "IDC_BUTTON_OPTIONMECRODEFAULT");
  RegisterIdClass<TGUI_ClickButton<&ClickMacroOk, kActionFirst>>(r, "IDC_BUTTON_OPTIONMECROOK");
}
