// Tests of the menu-dialog bases' exclusivity and focus, and of the click
// contract of id-bound push buttons with the shared click actions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menus/click_handlers.h"
#include "menus/menu_dialogs.h"
#include "tests/unit/game_controls_support.h"

namespace {

class MenuFrameworkTest : public GameControlsTest {
 protected:
  template <class D>
  D* AddMenuDialog(const char* id) {
    auto* d = new D;
    d->SetId(id);
    ::SetRegion(d, 0, 0, 1, 1);
    table_->Insert(id, d);
    return d;
  }
};

}  // namespace

TEST_F(MenuFrameworkTest, AnExclusiveMenuDialogIsExclusiveWhileOpen) {
  CGUI_ExclusiveMenuDialog* exclusive = AddMenuDialog<CGUI_ExclusiveMenuDialog>("EXCL");
  ASSERT_TRUE(GUI_CreateDialog("EXCL"));
  EXPECT_TRUE(exclusive->IsExclusive());
  ASSERT_TRUE(GUI_DestroyDialog("EXCL"));
  EXPECT_FALSE(exclusive->IsExclusive());
}

// Without tab stops a menu dialog leaves the focus; it fails to open, focusing
// nothing, when a control fails.
TEST_F(MenuFrameworkTest, MenuDialogWithoutTabStopsOrFailingLeavesTheFocus) {
  CGUI_Dialog* other = AddDialog("OTHER");
  RecordingWindow* focused = AddWindow(other, "IDC_FOCUSED", 0, 0, 0.1f, 0.1f);
  ASSERT_TRUE(GUI_CreateDialog("OTHER"));
  SetFocusWindow(focused);
  AddMenuDialog<CGUI_MenuDialog>("EMPTY");
  ASSERT_TRUE(GUI_CreateDialog("EMPTY"));
  EXPECT_EQ(Routing().focus, focused);

  SetFocusWindow(nullptr);
  CGUI_MenuDialog* bad = AddMenuDialog<CGUI_MenuDialog>("BAD");
  AddWindow(bad, "IDC_BAD", 0, 0, 0.1f, 0.1f)->failCreate = true;
  auto* tabStop = new CGUI_Control;
  tabStop->SetId("IDC_FIRST");
  tabStop->SetTabStop(true);
  bad->AddChild(tabStop);
  EXPECT_FALSE(GUI_CreateDialog("BAD"));
  EXPECT_EQ(Routing().focus, nullptr);
}

namespace {

std::vector<std::string> g_events;

// A dialog whose release handler (reached through notify parent) logs and
// answers as told.
class AnsweringDialog : public CGUI_Dialog {
 public:
  bool answer = true;
  bool OnLButtonUp() override {
    g_events.push_back("base");
    return answer;
  }
};

void LogAction(CGUI_GamePushButton*) { g_events.push_back("action"); }

template <EClickForm Form>
using LoggingButton = TGUI_ClickButton<&LogAction, Form>;

class ClickContractTest : public MenuFrameworkTest {
 protected:
  void SetUp() override {
    MenuFrameworkTest::SetUp();
    g_events.clear();
  }
  // An opened dialog with the button as its only control, forwarding its
  // release to the dialog.
  template <class Button>
  Button* OpenWith(AnsweringDialog** dialog = nullptr, const char* id = "DLG") {
    auto* d = AddMenuDialog<AnsweringDialog>(id);
    auto* b = new Button;
    b->SetId("IDC_BUTTON");
    AddLists(b, "font / bitmap / bitmap / bitmap / pulse / bitmap / pulse");
    b->SetNotifyParent(true);
    d->AddChild(b);
    EXPECT_TRUE(GUI_CreateDialog(id)) << GUI_GetLastError();
    if (dialog) *dialog = d;
    return b;
  }
};

}  // namespace

// Base first acts only after a successful release; action first acts, then
// returns the release's result.
TEST_F(ClickContractTest, ClickFormsOrderTheActionAndTheRelease) {
  AnsweringDialog* d;
  auto* b = OpenWith<LoggingButton<kBaseFirst>>(&d);
  EXPECT_TRUE(b->OnLButtonUp());
  EXPECT_EQ(g_events, (std::vector<std::string>{"base", "action"}));
  g_events.clear();
  d->answer = false;
  EXPECT_FALSE(b->OnLButtonUp());
  EXPECT_EQ(g_events, std::vector<std::string>{"base"});

  g_events.clear();
  auto* a = OpenWith<LoggingButton<kActionFirst>>(&d, "DLG2");
  d->answer = false;
  EXPECT_FALSE(a->OnLButtonUp());
  EXPECT_EQ(g_events, (std::vector<std::string>{"action", "base"}));
}

TEST_F(ClickContractTest, GoToBackAndResumeMoveAlongTheDialogStack) {
  AddMenuDialog<AnsweringDialog>("FIRST");
  AddMenuDialog<AnsweringDialog>("SECOND");
  auto* go = OpenWith<TGUI_GoToButton<"SECOND">>(nullptr, "GO");
  auto* back = OpenWith<CGUI_BackButton>(nullptr, "BACK");
  auto* resume = OpenWith<CGUI_ResumeButton>(nullptr, "RESUME");
  GUI_DestroyAllDialog();
  DialogStack().clear();

  ASSERT_TRUE(GUI_NextDialog("FIRST"));
  go->OnLButtonUp();
  EXPECT_TRUE(GUI_IsDialogCreated("SECOND"));
  EXPECT_FALSE(GUI_IsDialogCreated("FIRST"));
  ASSERT_EQ(DialogStack().size(), 2u);

  back->OnLButtonUp();   // closes SECOND and opens FIRST again
  EXPECT_FALSE(GUI_IsDialogCreated("SECOND"));
  EXPECT_TRUE(GUI_IsDialogCreated("FIRST"));
  ASSERT_EQ(DialogStack().size(), 1u);

  resume->OnLButtonUp();   // closes FIRST, opens nothing
  EXPECT_FALSE(GUI_IsDialogCreated("FIRST"));
  EXPECT_TRUE(DialogStack().empty());
}

