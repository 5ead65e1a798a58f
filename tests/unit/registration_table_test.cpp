// registration_table_test.cpp: GUI_Initialize registers the game's table of
// id-bound classes once per start. (That the shipped script declares every
// bound id with its class is checked by korvoui_check_shipped_and_copy and
// bound_ids_doc_current.)
#include <gtest/gtest.h>

#include "korvogui/korvogui.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "tests/unit/fresh_module.h"

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
