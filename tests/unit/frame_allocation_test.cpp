// frame_allocation_test.cpp: once a dialog of the game's controls is open, the
// frame (update and draw) allocates nothing, in the module and in the reference
// host, whether the host rasterises, only records or does neither. The test
// binary counts every operator new while its counter is armed.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/game_pushbutton.h"
#include "runtime/game_static.h"
#include "tests/unit/allocation_counter.h"
#include "tests/unit/game_controls_support.h"

namespace {

using korvohost::RenderMode;

class FrameAllocationTest : public GameControlsTest, public ::testing::WithParamInterface<RenderMode> {
 protected:
  // A dialog with every control kind that draws; the list shows several rows
  // of different texts, longer than a short string, one of them coloured.
  void OpenEveryKind() {
    CGUI_Dialog* d = AddDialog("DLG");
    auto* glow = Make<CGUI_GameStatic>(d, "STATIC", "IDC_S", 0.0f, 0.0f, 0.3f, 0.1f);
    AddLists(glow, "'NORMAL' 16.0 1.0 0 255 255 255 255");
    glow->SetCaption("#c 02 A caption longer than a short string");
    auto* digits = Make<CGUI_GameStatic>(d, "STATIC", "IDC_D", 0.0f, 0.1f, 0.3f, 0.1f);
    AddLists(digits, "'DIGIT' 16.0 1.0 0 255 255 255 255");
    digits->SetCaption("0123456789 0123456789");
    auto* bitmap = Make(d, "BITMAP", "IDC_B", 0.0f, 0.2f, 0.3f, 0.1f);
    AddLists(bitmap, "'a_bitmap_with_a_long_file_name.tga' 255 255 255 255 / pulse");
    auto* button = Make<CGUI_GamePushButton>(d, "PUSHBUTTON", "IDC_P", 0.4f, 0.0f, 0.2f, 0.1f);
    AddLists(button, "font / 'base.tga' 255 255 255 255 / 'second.tga' 255 255 255 255 / "
                     "'hover.tga' 255 255 255 255 / pulse / 'pressed.tga' 255 255 255 255 / pulse");
    button->SetCaption("A button caption of some length");
    edit_ = Make<CGUI_GameEdit>(d, "EDIT", "IDC_E", 0.4f, 0.2f, 0.3f, 0.1f);
    AddLists(edit_, "font / 'edit.tga' 255 255 255 255");
    list_ = Make<CGUI_GameList>(d, "LIST", "IDC_L", 0.0f, 0.4f, 0.5f, 0.3f);
    AddLists(list_, "font / 'list.tga' 255 255 255 255 / 255 0 0 255 4");
    AddLists(Make(d, "SLIDER", "IDC_SL", 0.6f, 0.4f, 0.3f, 0.1f),
             "1 0 10 0.05 / 'thumb.tga' 255 255 255 255");
    AddLists(Make(d, "ROTATEBUTTON", "IDC_R", 0.6f, 0.6f, 0.1f, 0.1f),
             "'state0.tga' 255 255 255 255 / 'state1.tga' 255 255 255 255");
    // AddLists parts words at blanks: state names with blanks go in as chains.
    auto* rotateText = Make(d, "ROTATETEXTBUTTON", "IDC_T", 0.6f, 0.8f, 0.3f, 0.1f);
    AddLists(rotateText, "font");
    rotateText->AddParamList(Chain().S("A first state with a long name").get());
    rotateText->AddParamList(Chain().S("Second").get());
    ASSERT_TRUE(Open("DLG")) << LastError();
    for (const char* row : {"The first row of the list", "#c 03 A coloured second row",
                            "Third row, a little longer still", "4"})
      list_->AddString(row);
    list_->SetCurSel(1);
    Click(0.5f, 0.25f);   // the edit takes the focus; its caret is drawn
    ASSERT_EQ(Routing().focus, edit_);
    GUI_Char('x');
    GUI_MouseMove(0.01f, 0.01f);   // the static glows
  }

  // Allocations of frames after the first, ticking through the animations.
  static int AllocationsOfLaterFrames() {
    korvohost::BeginFrame(0);
    GUI_Update();
    GUI_Draw();
    alloccount::Start();
    for (uint32_t tick = 0; tick < 3000; tick += 100) {
      korvohost::SetTick(tick);
      korvohost::BeginFrame(0);
      GUI_Update();
      GUI_Draw();
    }
    return alloccount::Stop();
  }

  CGUI_GameEdit* edit_ = nullptr;
  CGUI_GameList* list_ = nullptr;
};

// Frames of the open dialog allocate nothing; scrolling the list back and
// forth settles to no allocation once each row has been drawn at each place.
TEST_P(FrameAllocationTest, FramesOfAnOpenDialogDoNotAllocate) {
  korvohost::SetRenderMode(GetParam());
  OpenEveryKind();
  EXPECT_EQ(AllocationsOfLaterFrames(), 0);
  if (GetParam() != RenderMode::Off) {
    // Every row was drawn, each with its own text (markup stripped).
    std::vector<std::string> texts;
    for (const korvohost::DrawRecord& r : korvohost::DrawList())
      if (r.kind == korvohost::DrawKind::Text) texts.push_back(r.text);
    for (const char* row : {"The first row of the list", "A coloured second row",
                            "Third row, a little longer still", "4"})
      EXPECT_NE(std::find(texts.begin(), texts.end(), row), texts.end()) << row;
  }
  for (int i = 0; i < 6; ++i) list_->AddString("Row " + std::to_string(i) + " of the longer list");
  // The first 8 scroll positions draw each row at each place; the next 8 again.
  for (int step = 0; step < 16; ++step) {
    list_->SetTopIndex(step % 8);
    const int allocations = AllocationsOfLaterFrames();
    if (step >= 8) {
      EXPECT_EQ(allocations, 0) << "top " << step % 8;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, FrameAllocationTest,
                         ::testing::Values(RenderMode::Off, RenderMode::RecordOnly, RenderMode::Raster),
                         [](const ::testing::TestParamInfo<RenderMode>& info) {
                           return info.param == RenderMode::Off          ? std::string("Off")
                                  : info.param == RenderMode::RecordOnly ? std::string("RecordOnly")
                                                                         : std::string("Raster");
                         });

}  // namespace
