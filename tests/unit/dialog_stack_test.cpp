// Dialogs and the dialog stack through the exported functions.
#include <cstdlib>
#include <sstream>

#include "tests/unit/runtime_fixture.h"

using Ids = std::vector<std::string>;

class DialogStackTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    for (const char* id : {"A", "B", "C", "D"}) AddDialog(id);
  }
  static Ids Open() {
    Ids ids;
    for (CGUI_Window* w : GetRootWindow()->Children()) ids.push_back(w->Id());
    return ids;
  }
  static Ids Stack() {
    Ids ids;
    for (CGUI_Window* w : DialogStack()) ids.push_back(w ? w->Id() : "-");
    return ids;
  }
};

// Steps, blank-separated: "N<id>" GUI_NextDialog ("N-" a null marker),
// "P<n>" GUI_PrevDialog(n, false) and "P<n>+" with create, "U" GUI_PumpDialog,
// "C<id>" GUI_CreateDialog, "D<id>" GUI_DestroyDialog, "X" GUI_DestroyAllDialog.
// Each call must succeed, "!" before a step must fail; then the stack and the
// open dialogs are as given.
TEST_F(DialogStackTest, StepsLeaveTheStackAndTheOpenDialogs) {
  struct Case {
    const char* steps;
    Ids stack, open;
  };
  const Case cases[] = {
      {"NA NB", {"A", "B"}, {"B"}},                        // the next screen replaces the top
      {"NA NB N- NC U", {"A", "B", "-"}, {}},              // pump stops at the marker ...
      {"NA NB N- NC U U", {"A", "B", "-"}, {}},            // ... however often
      {"NA NB NC P2+", {"A"}, {"A"}},
      {"NA NB P1", {"A"}, {}},
      {"P3+ N- NA P1+", {"-"}, {}},                        // an empty stack, then a marker on top
      {"CA CB CA", {}, {"B", "A"}},                        // an open dialog is recreated on top
      {"DC CA CB CC DB", {}, {"A", "C"}},                  // destroying what is not open does nothing
      {"CA CB X", {}, {}},
      {"NA !NNOSUCH", {"A"}, {}},                          // the top was closed before the failure
  };
  for (const Case& c : cases) {
    GUI_PumpDialog();
    DialogStack().clear();
    GUI_DestroyAllDialog();
    std::istringstream steps(c.steps);
    for (std::string step; steps >> step;) {
      const bool fails = step[0] == '!';
      if (fails) step.erase(0, 1);
      const std::string id = step.substr(1);
      bool ok = false;
      switch (step[0]) {
        case 'N': ok = GUI_NextDialog(id == "-" ? nullptr : id.c_str()); break;
        case 'P': ok = GUI_PrevDialog(std::atoi(id.c_str()), id.back() == '+'); break;
        case 'U': ok = GUI_PumpDialog(); break;
        case 'C': ok = GUI_CreateDialog(id.c_str()); break;
        case 'D': ok = GUI_DestroyDialog(id.c_str()); break;
        case 'X': ok = GUI_DestroyAllDialog(); break;
      }
      EXPECT_EQ(ok, !fails) << c.steps << ": " << step;
    }
    EXPECT_EQ(Stack(), c.stack) << c.steps;
    EXPECT_EQ(Open(), c.open) << c.steps;
  }
  EXPECT_STREQ(GUI_GetLastError(), "Error : dlg_id'NOSUCH' not found");
}

// A later dialog of the same id replaces the earlier; null names and a
// missing table open nothing.
TEST_F(DialogStackTest, LaterDialogsReplaceAndNullNamesOrTablesOpenNothing) {
  CGUI_Dialog* later = AddDialog("A");
  EXPECT_EQ(FindDialog(table_, "A"), later);
  EXPECT_EQ(table_->Entries().size(), 4u);

  EXPECT_FALSE(GUI_CreateDialog(nullptr));
  EXPECT_FALSE(GUI_DestroyDialog(nullptr));
  EXPECT_FALSE(GUI_IsDialogCreated(nullptr));
  InstallDialogTable(nullptr);
  EXPECT_FALSE(GUI_CreateDialog("A"));
  table_ = nullptr;
}
