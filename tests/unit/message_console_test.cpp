// Tests of the message box's and the console's controls that the session
// scripts do not reach: the message text list's colours, the message box
// without a compiled box, and the console line's filters by font.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvogui/messagebox.h"
#include "menus/message_box.h"
#include "menus/script_console.h"
#include "tests/unit/game_controls_support.h"

namespace {

class MessageConsoleTest : public GameControlsTest {
 protected:
  CGUI_ConsoleEdit* AddConsoleEdit(const char* font) {
    CGUI_Dialog* d = AddDialog("DLG");
    auto* e = Make<CGUI_ConsoleEdit>(d, "EDIT", "IDC_EDIT_COMMAND", 0.1f, 0.1f, 0.6f, 0.1f);
    AddFont(e, font);
    AddBitmap(e, "edit.tga");
    return e;
  }
  static std::string Text(CGUI_Edit* e) {
    std::string text;
    e->GetText(text);
    return text;
  }
};

}  // namespace

TEST_F(MessageConsoleTest, MessageTextNeverShowsTheSelectedLook) {
  CGUI_Dialog* d = AddDialog("DLG");
  auto* l = Make<CGUI_MessageList>(d, "LIST", "IDC_LIST_MESSAGE1", 0.1f, 0.1f, 0.5f, 0.3f);
  AddFont(l, "SYSTEM", 0, 0, 255, 255);
  AddBitmap(l, "list.tga");
  l->AddParamList(Chain().I(255).I(0).I(0).I(255).I(3).get());
  ASSERT_TRUE(Open("DLG")) << LastError();
  for (const char* row : {"r0", "r1"}) l->AddString(row);
  l->SetCurSel(1);
  std::vector<uint32_t> colours;
  for (const auto& r : Frame())
    if (r.kind == korvohost::DrawKind::Text) colours.push_back(r.argb);
  EXPECT_EQ(colours, (std::vector<uint32_t>{0xFF0000FF, 0xFF0000FF}));
}

TEST_F(MessageConsoleTest, MessageBoxWithoutItsDialogStillAnswersTrue) {
  EXPECT_TRUE(GUI_MessageBox("text", "title", GUI_MB_OK, nullptr));
  EXPECT_TRUE(GetRootWindow()->Children().empty());
  EXPECT_TRUE(GUI_CloseCurrentMessageBox());
  EXPECT_FALSE(GUI_CloseCurrentMessageBox());
}

// The console line drops the backquote, and lead bytes in a game font; it
// forgets its last command when created again.
TEST_F(MessageConsoleTest, ConsoleLineFiltersByFontAndForgetsItsLastCommand) {
  CGUI_ConsoleEdit* game = AddConsoleEdit("MENU");
  ASSERT_TRUE(Open("DLG")) << LastError();
  for (char c : std::string("a`\xB0\xA1" "b")) EXPECT_TRUE(game->OnChar(c));
  EXPECT_EQ(Text(game), "ab");

  CGUI_ConsoleEdit* e = AddConsoleEdit("SYSTEM");
  ASSERT_TRUE(Open("DLG")) << LastError();
  for (char c : std::string("a`\xB0\xA1" "b\r")) EXPECT_TRUE(e->OnChar(c));
  EXPECT_EQ(korvohost::TakeCommands(), std::vector<std::string>{"a\xB0\xA1" "b"});
  EXPECT_EQ(e->LastCommand(), "a\xB0\xA1" "b");
  ASSERT_TRUE(GUI_DestroyDialog("DLG"));
  ASSERT_TRUE(GUI_CreateDialog("DLG"));
  EXPECT_EQ(e->LastCommand(), "");
  e->OnKeyDown(38);
  EXPECT_EQ(Text(e), "");
}
