// Tests of the game's registration table as GUI_Initialize runs it: one run
// per start, and the shipped UI script
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

// A second initialize registers nothing again (a restart's fresh table is
// checked by the module restart test).
TEST_F(RegistrationTableTest, InitializeRegistersTheTableOncePerStart) {
  const size_t before = Made().size();
  const CGUI_WindowFactory* mainMenu = GetClassRegistry()->ById().at("DIALOGMAINMENU");
  GUI_Initialize();
  GUI_Initialize();
  EXPECT_EQ(Made().size(), before);
  EXPECT_EQ(GetClassRegistry()->ById().at("DIALOGMAINMENU"), mainMenu);
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
