// wrappers_test.cpp: the exported window and edit handle classes.
#include <gtest/gtest.h>

#include <cstring>

#include "korvogui/wrappers.h"
#include "runtime/game_edit.h"
#include "runtime/game_static.h"
#include "tests/unit/game_controls_support.h"

namespace {

class WrappersTest : public GameControlsTest {
 protected:
  CGUI_GameEdit* AddEdit(CGUI_Dialog* d, const char* id, const char* font = "SYSTEM") {
    auto* e = Make<CGUI_GameEdit>(d, "EDIT", id, 0.1f, 0.1f, 0.4f, 0.1f);
    AddFont(e, font);
    AddBitmap(e, "edit.tga");
    return e;
  }
};

// An edit is editable (an id-bound one too: it keeps the class name EDIT).
TEST_F(WrappersTest, IsEditableForEveryEditAndEditOperationsReachTheEdit) {
  auto* s = Make<CGUI_GameStatic>(AddDialog("OTHER"), "STATIC", "IDC_S", 0, 0, 0.1f, 0.1f);
  CGUI_Dialog* d = AddDialog("DLG");
  CGUI_GameEdit* system = AddEdit(d, "IDC_SYS");
  CGUI_GameEdit* game = AddEdit(d, "IDC_GAME", "MENU");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_FALSE(CGUI_Wrapper_Window(s).IsEditable());
  EXPECT_TRUE(CGUI_Wrapper_Window(system).IsEditable());
  EXPECT_FALSE(CGUI_Wrapper_Window(nullptr).IsEditable());
  system->SetCaption("hello");
  CGUI_Wrapper_Edit w(system);
  EXPECT_TRUE(w.SetCursor(2));
  EXPECT_EQ(w.GetCursor(), 2);
  w.SetCursor(100);
  EXPECT_EQ(w.GetCursor(), 5);
  EXPECT_EQ(w.GetMaxNumChar(), 0);   // 65535 is no limit for the host
  system->SetMaxNumChar(1024);
  EXPECT_EQ(w.GetMaxNumChar(), 1024);
  EXPECT_TRUE(w.IsCompositionAvailable());
  EXPECT_FALSE(CGUI_Wrapper_Edit(game).IsCompositionAvailable());
  EXPECT_FALSE(CGUI_Wrapper_Edit(nullptr).SetCursor(0));

  // GetCaption copies without a terminator, at most the size given.
  char text[] = "abc";
  ASSERT_TRUE(w.SetCaption(text));
  for (const auto& [size, copied] : {std::pair<int, const char*>{8, "abczzzzz"}, {2, "abzzzzzz"}}) {
    char buffer[8];
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_TRUE(w.GetCaption(buffer, size));
    EXPECT_EQ(std::string(buffer, 8), copied);
  }
  CGUI_Wrapper_Edit copy(w), assigned(nullptr);
  assigned = copy;
  assigned.SetCursor(1);
  EXPECT_EQ(w.GetCursor(), 1);   // copies share the edit
}

}  // namespace
