// Window basics, the dump text below the root (the compile session dumps
// detached dialogs), error texts, colours, texture paths, attach.
#include <cstring>

#include "platform/yprofile.h"
#include "runtime/registry.h"
#include "tests/expected/expected_text.h"
#include "tests/unit/runtime_fixture.h"

// Below the root a dialog's dump is indented once and its children twice;
// detached from the root again, not at all.
TEST_F(RuntimeTest, DumpBelowTheRootIsIndented) {
  CGUI_Dialog* d = AddDialog("MAINMENU", 0, 0, 1, 1);
  d->SetCaption("Main");
  AddWindow(d, "IDC_A", 0.25f, 0.5f, 0.125f, 0.0625f)->SetCaption("first");
  AddWindow(d, "IDC_B", 0.1f, 0.2f, 0.3f, 0.4f);
  ASSERT_TRUE(GUI_CreateDialog("MAINMENU"));
  std::string out;
  d->Dump(out);
  GUI_DestroyDialog("MAINMENU");
  out += "---- closed\n";
  d->Dump(out);
  EXPECT_MATCHES_EXPECTED("unit/expected/window_dump.expected", out);
}

// Show reaches the children on request only; creation re-applies the stored
// state and destruction keeps it.
TEST_F(RuntimeTest, CreationReappliesStoredStateAndDestructionKeepsIt) {
  CGUI_Dialog* d = AddDialog("D");
  RecordingWindow* w = AddWindow(d, "W", 0.1f, 0.1f, 0.2f, 0.2f);
  d->Show(false, false);
  EXPECT_FALSE(w->IsHidden());
  d->Show(false, true);
  d->Show(true, false);
  w->SetHitTest(false);
  ASSERT_TRUE(GUI_CreateDialog("D"));
  EXPECT_TRUE(w->IsCreated());
  EXPECT_EQ(d->GetParent(), GetRootWindow());
  EXPECT_FALSE(GetRootWindow()->IsHitTest());
  ASSERT_TRUE(GUI_DestroyDialog("D"));
  EXPECT_FALSE(w->IsCreated());
  EXPECT_EQ(d->GetParent(), nullptr);
  EXPECT_TRUE(w->IsHidden());
  EXPECT_FALSE(w->IsHitTest());
  EXPECT_TRUE(w->Destroy());   // destroying twice is harmless
}

TEST_F(RuntimeTest, DeletingAWindowDetachesAndDeletesItsSubtree) {
  CGUI_Dialog* d = AddDialog("D");
  auto* c = new RecordingWindow(&log_, "C");
  d->AddChild(c);
  c->AddChild(new RecordingWindow(&log_, "G"));
  delete c;
  EXPECT_EQ(d->ChildCount(), 0);   // ASan checks the grandchild was freed once
}

TEST_F(RuntimeTest, ColourTableDefaultsAndBounds) {
  EXPECT_EQ(GetColor(15), 0xFF805514u);
  EXPECT_EQ(GetColor(16), 0xFFFFFFFFu);
  EXPECT_EQ(GetColor(-1), 0xFFFFFFFFu);
  SetColor(16, 0x12345678);   // ignored
  SetColor(5, 0xFF010203);
  EXPECT_EQ(GetColor(5), 0xFF010203u);
  SetColor(5, 0xFF00BE00);
}

// Formatting and replacing: every row of GameControlsTest's error table.
TEST(ErrorTexts, ALongReportIsCutAndStillTerminated) {
  const std::string huge(10000, 'x');
  GUI_ReportError("%s", huge.c_str());
  EXPECT_EQ(std::strlen(GUI_GetLastError()), 4095u);
}

// The path buffer holds 1024 bytes: a longer path is cut to 1023.
TEST(TexturePaths, NameGoesBehindTheMenuFolder) {
  char* first = GUI_GetTexPath("a.tga");
  GUI_GetTexPath("b.tga");
  EXPECT_STREQ(first, "menu/b.tga");   // one buffer, valid until the next call
  const std::string name(2000, 'n');
  EXPECT_EQ(std::string(GUI_GetTexPath(name.c_str())), "menu/" + name.substr(0, 1023 - 5));
  EXPECT_STREQ(GUI_GetTexPath(""), "menu/");
  EXPECT_STREQ(GUI_GetTexPath(nullptr), "menu/");
}

TEST(LibraryAttach, InitialisesTheProfilerOnce) {
  EXPECT_EQ(YProfile_InitCount(), 1);
  EXPECT_NE(YProfile_Process(), nullptr);
}
