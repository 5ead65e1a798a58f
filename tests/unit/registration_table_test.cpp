// Tests of the game's registration table against the checked-in list of its
// registrations (tests/registration_table.txt): the registry ran exactly those
// registrations, in the list's order, and every id the shipped UI
// script binds is declared there with the class its registration requires (a
// misspelt id or a wrong class silently falls back to the plain class).
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/window_manager.h"
#include "tests/unit/fresh_module.h"

namespace {

using Registration = CGUI_ClassRegistry::SRegistration;

std::vector<Registration> ReadTable() {
  std::ifstream in(KORVO_TESTS_DIR "/registration_table.txt");
  std::vector<Registration> table;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Registration r;
    fields >> r.className >> r.id;
    table.push_back(r);
  }
  return table;
}

std::string Key(const Registration& r) { return r.className + " " + r.id; }

class RegistrationTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RestartModule();
    table_ = ReadTable();
    ASSERT_NE(GetClassRegistry(), nullptr);
  }
  void TearDown() override { GUI_Release(); }
  std::vector<Registration> table_;
};

TEST_F(RegistrationTableTest, TheListHas398RegistrationsOf390Ids) {
  std::set<std::string> ids;
  for (const Registration& r : table_) ids.insert(r.id);
  EXPECT_EQ(table_.size(), 398u);
  EXPECT_EQ(ids.size(), 390u);
}

TEST_F(RegistrationTableTest, RegistrationsRunExactlyAsTheListSays) {
  const std::vector<Registration>& made = GetClassRegistry()->IdRegistrations();
  ASSERT_EQ(made.size(), table_.size());
  for (size_t i = 0; i < made.size(); ++i) EXPECT_EQ(Key(made[i]), Key(table_[i])) << i;
}

TEST_F(RegistrationTableTest, ASecondInitializeRegistersNothingAgain) {
  const CGUI_WindowFactory* mainMenu = GetClassRegistry()->ById().at("DIALOGMAINMENU");
  GUI_Initialize();
  GUI_Initialize();
  EXPECT_EQ(GetClassRegistry()->IdRegistrations().size(), table_.size());
  EXPECT_EQ(GetClassRegistry()->ById().at("DIALOGMAINMENU"), mainMenu);
}

// A host may release the module and start it again: the new registry holds
// the whole table once more and makes windows.
TEST_F(RegistrationTableTest, InitializeAfterReleaseRegistersTheTableAgain) {
  GUI_Release();
  EXPECT_EQ(GetClassRegistry(), nullptr);
  GUI_Initialize();
  ASSERT_NE(GetClassRegistry(), nullptr);
  EXPECT_EQ(GetClassRegistry()->IdRegistrations().size(), table_.size());
  CGUI_Window* made = GetClassRegistry()->CreateWindow("PUSHBUTTON", "IDC_ANY");
  EXPECT_NE(made, nullptr);
  delete made;
}

TEST_F(RegistrationTableTest, TheRegistryHoldsOneFactoryPerKeyRegistered) {
  std::set<std::string> keys;
  for (const Registration& r : GetClassRegistry()->IdRegistrations())
    keys.insert(r.className + r.id);
  std::set<std::string> held;
  for (const auto& entry : GetClassRegistry()->ById()) {
    held.insert(entry.first);
    EXPECT_EQ(entry.second->ClassName() + entry.second->Id(), entry.first);
  }
  EXPECT_EQ(held, keys);
}

TEST_F(RegistrationTableTest, TheShippedScriptDeclaresEachBoundIdWithItsClass) {
  std::map<std::string, std::string> classOf;
  for (const Registration& r : table_) classOf[r.id] = r.className;

  korvohost::Reset();
  std::string error;
  ASSERT_TRUE(korvohost::Mount(KORVO_ASSET_ROOT, &error)) << error;
  ASSERT_TRUE(GUI_Compile()) << GUI_GetLastError();

  int checked = 0;
  std::function<void(CGUI_Window*, const std::string&)> visit = [&](CGUI_Window* w,
                                                                    const std::string& dialog) {
    auto it = classOf.find(w->Id());
    if (it != classOf.end()) {
      ++checked;
      EXPECT_EQ(w->ClassName(), it->second) << dialog << " declares " << w->Id();
    }
    for (CGUI_Window* child : w->Children()) visit(child, dialog);
  };
  for (const auto& entry : DialogTable()->Entries()) visit(entry.second, entry.first);
  EXPECT_GT(checked, 0);

  InstallDialogTable(nullptr);
  korvohost::Reset();
}

}  // namespace
