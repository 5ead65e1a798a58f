// Tests of the game's registration table as GUI_Initialize runs it: one run
// per registry, one factory per key, and the shipped UI script
// agreeing with it both ways: every id the table binds is declared there with
// the class its registration requires, and every declaration of a bound id
// uses that class (a misspelt id or a wrong class silently falls back to the
// plain class). The table itself, in order, is docs/bound-ids.md, generated
// from the registry (bound_ids_doc_current).
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/window_manager.h"
#include "tests/unit/fresh_module.h"

namespace {

using Registration = CGUI_ClassRegistry::SRegistration;

class RegistrationTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RestartModule();
    ASSERT_NE(GetClassRegistry(), nullptr);
  }
  void TearDown() override { GUI_Release(); }
  static const std::vector<Registration>& Made() { return GetClassRegistry()->IdRegistrations(); }
};

// A second initialize registers nothing again; a host may release the module
// and start it again: the new registry holds the whole table once more and
// makes windows.
TEST_F(RegistrationTableTest, InitializeRegistersTheTableOncePerStart) {
  const std::vector<Registration> before = Made();
  const CGUI_WindowFactory* mainMenu = GetClassRegistry()->ById().at("DIALOGMAINMENU");
  GUI_Initialize();
  GUI_Initialize();
  EXPECT_EQ(Made().size(), before.size());
  EXPECT_EQ(GetClassRegistry()->ById().at("DIALOGMAINMENU"), mainMenu);
  GUI_Release();
  EXPECT_EQ(GetClassRegistry(), nullptr);
  GUI_Initialize();
  ASSERT_NE(GetClassRegistry(), nullptr);
  ASSERT_EQ(Made().size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(Made()[i].id, before[i].id) << i;
  CGUI_Window* made = GetClassRegistry()->CreateWindow("PUSHBUTTON", "IDC_ANY");
  EXPECT_NE(made, nullptr);
  delete made;
}

TEST_F(RegistrationTableTest, TheRegistryHoldsOneFactoryPerKeyRegistered) {
  std::set<std::string> keys;
  for (const Registration& r : Made()) keys.insert(r.className + r.id);
  std::set<std::string> held;
  for (const auto& entry : GetClassRegistry()->ById()) {
    held.insert(entry.first);
    EXPECT_EQ(entry.second->ClassName() + entry.second->Id(), entry.first);
  }
  EXPECT_EQ(held, keys);
}

TEST_F(RegistrationTableTest, TheShippedScriptDeclaresEveryBoundIdWithItsClass) {
  std::map<std::string, std::string> classOf;
  for (const Registration& r : Made()) classOf[r.id] = r.className;

  korvohost::Reset();
  std::string error;
  ASSERT_TRUE(korvohost::Mount(KORVO_ASSET_ROOT, &error)) << error;
  ASSERT_TRUE(GUI_Compile()) << GUI_GetLastError();

  std::set<std::string> declared;
  std::function<void(CGUI_Window*, const std::string&)> visit = [&](CGUI_Window* w,
                                                                    const std::string& dialog) {
    auto it = classOf.find(w->Id());
    if (it != classOf.end()) {
      declared.insert(w->Id());
      EXPECT_EQ(w->ClassName(), it->second) << dialog << " declares " << w->Id();
    }
    for (CGUI_Window* child : w->Children()) visit(child, dialog);
  };
  for (const auto& entry : DialogTable()->Entries()) visit(entry.second, entry.first);
  // The table binds the misspelt CONCHATWITHTEA as the game does; the shipped
  // controls page has no such button.
  const std::set<std::string> undeclared = {"IDC_BUTTON_CONCHATWITHTEA"};
  for (const auto& [id, className] : classOf)
    EXPECT_NE(declared.count(id), undeclared.count(id)) << className << " " << id;

  InstallDialogTable(nullptr);
  korvohost::Reset();
}

}  // namespace
