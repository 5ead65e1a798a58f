// registry_test.cpp: the class registry (keys, replacement, id-bound
// preference, factories) and the game's registration table, which
// GUI_Initialize registers once per start. (That the shipped script declares
// every bound id with its class is checked by korvoui_check_shipped_and_copy
// and bound_ids_doc_current.)
#include <gtest/gtest.h>

#include <string>

#include "korvogui/korvogui.h"
#include "runtime/dialog.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "tests/unit/fresh_module.h"

namespace {

template <const char* Name>
class NamedWindow : public CGUI_Window {
 public:
  NamedWindow() : CGUI_Window(Name) {}
};

constexpr char kAB[] = "AB";
constexpr char kA[] = "A";
constexpr char kButton[] = "BUTTON";
constexpr char kPushButton[] = "PUSHBUTTON";

// A dialog that shows which factory made it.
class TaggedDialog : public CGUI_Dialog {
 public:
  TaggedDialog() { SetCaption("tagged"); }
};

// "CLASS caption" of the window the registry makes for the pair, or "none".
std::string Made(CGUI_ClassRegistry& r, const std::string& className, const std::string& id) {
  CGUI_Window* w = r.CreateWindow(className, id);
  if (!w) return "none";
  std::string caption;
  w->GetCaption(caption);
  const std::string made = w->ClassName() + (caption.empty() ? "" : " " + caption);
  delete w;
  return made;
}

}  // namespace

// Without replace an existing key is refused (the factory stays the
// caller's); with replace the later registration wins (classes and ids share
// the one registration code). Keys are plain
// concatenations of the class name a factory takes from its prototype and
// the id.
TEST(Registry, RegistrationsReplaceOnlyWhenAsked) {
  CGUI_ClassRegistry r;
  EXPECT_TRUE(r.RegisterClass(new TGUI_WindowFactory<CGUI_Dialog>, false));
  TGUI_WindowFactory<TaggedDialog> refusedClass;
  EXPECT_FALSE(r.RegisterClass(&refusedClass, false));
  EXPECT_EQ(Made(r, "DIALOG", ""), "DIALOG");
  EXPECT_TRUE(r.RegisterClass(new TGUI_WindowFactory<TaggedDialog>, true));
  EXPECT_EQ(r.ByClass().size(), 1u);
  EXPECT_EQ(Made(r, "DIALOG", "ANY"), "DIALOG tagged");

  EXPECT_TRUE(r.RegisterId(new TGUI_WindowFactory<NamedWindow<kAB>>("C"), true));
  EXPECT_TRUE(r.RegisterId(new TGUI_WindowFactory<NamedWindow<kA>>("BC"), true));
  EXPECT_EQ(r.ById().size(), 1u);
  EXPECT_EQ(Made(r, "AB", "C"), "A");   // the later registration won
}

// An id-bound class is preferred for its pair only (keys of any length); a
// BUTTON binding is not used for PUSHBUTTON.
TEST(Registry, IdBoundClassesArePreferredForTheirPairOnly) {
  CGUI_ClassRegistry r;
  r.RegisterClass(new TGUI_WindowFactory<CGUI_Dialog>, true);
  r.RegisterId(new TGUI_WindowFactory<TaggedDialog>("MAINMENU"), true);
  EXPECT_EQ(Made(r, "DIALOG", "MAINMENU"), "DIALOG tagged");
  EXPECT_EQ(Made(r, "DIALOG", "OTHER"), "DIALOG");
  EXPECT_EQ(Made(r, "STATIC", "MAINMENU"), "none");
  const std::string longId(300, 'L');
  r.RegisterId(new TGUI_WindowFactory<TaggedDialog>(longId.c_str()), true);
  EXPECT_EQ(Made(r, "DIALOG", longId), "DIALOG tagged");
  EXPECT_EQ(Made(r, "DIALOG", longId + "L"), "DIALOG");
  r.RegisterClass(new TGUI_WindowFactory<NamedWindow<kPushButton>>, true);
  r.RegisterId(new TGUI_WindowFactory<NamedWindow<kButton>>("X"), true);
  EXPECT_EQ(Made(r, "PUSHBUTTON", "X"), "PUSHBUTTON");
  EXPECT_EQ(Made(r, "BUTTON", "X"), "BUTTON");
  EXPECT_EQ(Made(r, "BUTTON", "Y"), "none");   // no class registration
}

// A second initialize registers nothing again (a restart's fresh table is
// checked by the module restart test).
TEST(RegistrationTable, InitializeRegistersTheTableOncePerStart) {
  RestartModule();
  CGUI_ClassRegistry* registry = GetClassRegistry();
  ASSERT_NE(registry, nullptr);
  const size_t before = registry->IdRegistrations().size();
  const CGUI_WindowFactory* mainMenu = registry->ById().at("DIALOGMAINMENU");
  GUI_Initialize();
  GUI_Initialize();
  EXPECT_EQ(registry->IdRegistrations().size(), before);
  EXPECT_EQ(registry->ById().at("DIALOGMAINMENU"), mainMenu);
  GUI_Release();
}
