// Dialogs and the dialog stack through the exported functions.
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

TEST_F(DialogStackTest, NextDialogReplacesTheTopScreen) {
  EXPECT_TRUE(GUI_NextDialog("A"));
  EXPECT_TRUE(GUI_NextDialog("B"));
  EXPECT_EQ(Open(), Ids({"B"}));
  EXPECT_EQ(Stack(), Ids({"A", "B"}));
}

TEST_F(DialogStackTest, NextDialogToAnUnknownIdPushesNothing) {
  EXPECT_TRUE(GUI_NextDialog("A"));
  EXPECT_FALSE(GUI_NextDialog("NOSUCH"));
  EXPECT_STREQ(GUI_GetLastError(), "Error : dlg_id'NOSUCH' not found");
  EXPECT_EQ(Stack(), Ids({"A"}));
  EXPECT_EQ(Open(), Ids());   // the top was closed before the failure
}

TEST_F(DialogStackTest, PumpStopsAtANullMarker) {
  GUI_NextDialog("A");
  GUI_NextDialog("B");
  EXPECT_TRUE(GUI_NextDialog(nullptr));
  GUI_NextDialog("C");
  EXPECT_EQ(Stack(), Ids({"A", "B", "-", "C"}));
  EXPECT_TRUE(GUI_PumpDialog());
  EXPECT_EQ(Stack(), Ids({"A", "B", "-"}));
  EXPECT_EQ(Open(), Ids());   // the dialogs below the marker stay closed
  EXPECT_TRUE(GUI_PumpDialog());
  EXPECT_EQ(Stack(), Ids({"A", "B", "-"}));
}

TEST_F(DialogStackTest, PrevDialogTwoWithCreateReopensTheFirst) {
  GUI_NextDialog("A");
  GUI_NextDialog("B");
  GUI_NextDialog("C");
  EXPECT_TRUE(GUI_PrevDialog(2, true));
  EXPECT_EQ(Stack(), Ids({"A"}));
  EXPECT_EQ(Open(), Ids({"A"}));
}

TEST_F(DialogStackTest, PrevDialogWithoutCreateOpensNothing) {
  GUI_NextDialog("A");
  GUI_NextDialog("B");
  EXPECT_TRUE(GUI_PrevDialog(1, false));
  EXPECT_EQ(Stack(), Ids({"A"}));
  EXPECT_EQ(Open(), Ids());
}

TEST_F(DialogStackTest, PrevDialogOnAnEmptyStackOrAMarkerIsHarmless) {
  EXPECT_TRUE(GUI_PrevDialog(3, true));
  GUI_NextDialog(nullptr);
  GUI_NextDialog("A");
  EXPECT_TRUE(GUI_PrevDialog(1, true));   // the new top is a marker
  EXPECT_EQ(Stack(), Ids({"-"}));
  EXPECT_EQ(Open(), Ids());
}

TEST_F(DialogStackTest, CreatingAnOpenDialogRecreatesItOnTop) {
  EXPECT_TRUE(GUI_CreateDialog("A"));
  EXPECT_TRUE(GUI_CreateDialog("B"));
  EXPECT_TRUE(GUI_CreateDialog("A"));
  EXPECT_EQ(Open(), Ids({"B", "A"}));
  EXPECT_TRUE(GUI_IsDialogCreated("A"));
  EXPECT_FALSE(GUI_IsDialogCreated("C"));
}

TEST_F(DialogStackTest, DestroyingWorksOnOpenDialogsOnly) {
  EXPECT_TRUE(GUI_DestroyDialog("C"));   // not open: nothing to do
  GUI_CreateDialog("A");
  GUI_CreateDialog("B");
  GUI_CreateDialog("C");
  EXPECT_TRUE(GUI_DestroyDialog("B"));
  EXPECT_EQ(Open(), Ids({"A", "C"}));
  EXPECT_TRUE(GUI_DestroyAllDialog());
  EXPECT_EQ(Open(), Ids());
}

TEST_F(DialogStackTest, NullNamesAndMissingTables) {
  EXPECT_FALSE(GUI_CreateDialog(nullptr));
  EXPECT_FALSE(GUI_DestroyDialog(nullptr));
  EXPECT_FALSE(GUI_IsDialogCreated(nullptr));
  InstallDialogTable(nullptr);
  EXPECT_FALSE(GUI_CreateDialog("A"));
  table_ = nullptr;
}

TEST_F(DialogStackTest, FindDialogIsExactAndReportsMisses) {
  AddDialog("MAINMENU");
  EXPECT_NE(FindDialog(table_, "MAINMENU"), nullptr);
  EXPECT_EQ(FindDialog(table_, "MAINMENU2"), nullptr);
  EXPECT_STREQ(GetErrorText(), "dlg_id'MAINMENU2' not found");
  EXPECT_EQ(FindDialog(table_, "mainmenu"), nullptr);
  EXPECT_EQ(FindDialog(table_, "MAIN"), nullptr);
}

TEST_F(DialogStackTest, ALaterDialogOfTheSameIdReplacesTheEarlier) {
  CGUI_Dialog* later = AddDialog("A");
  EXPECT_EQ(FindDialog(table_, "A"), later);
  EXPECT_EQ(table_->Entries().size(), 4u);
}
