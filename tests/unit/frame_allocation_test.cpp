// frame_allocation_test.cpp: once a dialog of the game's controls is open, the
// frame (update and draw) allocates nothing. The test binary counts every
// operator new while a counter is armed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/game_pushbutton.h"
#include "runtime/game_slider.h"
#include "runtime/game_static.h"
#include "tests/unit/game_controls_support.h"

namespace {
bool g_counting = false;
int g_allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
  if (g_counting) ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST_F(GameControlsTest, FramesOfAnOpenDialogDoNotAllocate) {
  korvohost::SetRenderMode(korvohost::RenderMode::Off);
  CGUI_Dialog* d = AddDialog("DLG");
  auto* glow = Make<CGUI_GameStatic>(d, "STATIC", "IDC_S", 0.0f, 0.0f, 0.3f, 0.1f);
  AddFont(glow, "NORMAL");
  glow->SetCaption("#c 02 A caption longer than a short string");
  auto* bitmap = Make<CGUI_GameBitmap>(d, "BITMAP", "IDC_B", 0.0f, 0.2f, 0.3f, 0.1f);
  AddBitmap(bitmap, "b.tga");
  AddPulse(bitmap);
  auto* button = Make<CGUI_GamePushButton>(d, "PUSHBUTTON", "IDC_P", 0.4f, 0.0f, 0.2f, 0.1f);
  AddFont(button);
  for (const char* name : {"base.tga", "second.tga", "hover.tga"}) AddBitmap(button, name);
  AddPulse(button);
  AddBitmap(button, "pressed.tga");
  AddPulse(button);
  button->SetCaption("Button");
  auto* edit = Make<CGUI_GameEdit>(d, "EDIT", "IDC_E", 0.4f, 0.2f, 0.3f, 0.1f);
  AddFont(edit);
  AddBitmap(edit, "edit.tga");
  auto* list = Make<CGUI_GameList>(d, "LIST", "IDC_L", 0.0f, 0.4f, 0.5f, 0.3f);
  AddFont(list);
  AddBitmap(list, "list.tga");
  list->AddParamList(Chain().I(255).I(0).I(0).I(255).I(3).get());
  auto* slider = Make<CGUI_GameSlider>(d, "SLIDER", "IDC_SL", 0.6f, 0.4f, 0.3f, 0.1f);
  slider->AddParamList(Chain().I(1).I(0).I(10).F(0.05f).get());
  AddBitmap(slider, "thumb.tga");
  ASSERT_TRUE(Open("DLG")) << LastError();
  list->AddString("one row");   // several rows re-lay the row text per row in the host
  list->SetCurSel(0);
  Click(0.5f, 0.25f);   // the edit takes the focus; its caret is drawn
  ASSERT_EQ(Routing().focus, edit);
  GUI_MouseMove(0.01f, 0.01f);   // the static glows
  GUI_Update();
  GUI_Draw();

  g_allocations = 0;
  g_counting = true;
  for (uint32_t tick = 0; tick < 3000; tick += 100) {
    korvohost::SetTick(tick);
    GUI_Update();
    GUI_Draw();
  }
  g_counting = false;
  EXPECT_EQ(g_allocations, 0);
}

}  // namespace
