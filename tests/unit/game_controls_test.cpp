// game_controls_test.cpp: the game's bitmap, push button, edit, list and
// slider built through the registry: parameter errors, looks and sounds, the
// linked number edit, row drawing and thumb placement; and the class
// replacements of the registration table.
#include <gtest/gtest.h>

#include <typeindex>

#include "runtime/game_bitmap.h"
#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/game_pushbutton.h"
#include "runtime/game_slider.h"
#include "runtime/game_static.h"
#include "runtime/rotate_button.h"
#include "runtime/rotate_text_button.h"
#include "runtime/simple_controls.h"
#include "runtime/window_manager.h"
#include "tests/unit/game_controls_support.h"

namespace {

using Strings = std::vector<std::string>;

// The nine game class names make the game's classes; BUTTON, CONTROL and CUSTOM
// stay standard.
TEST_F(GameControlsTest, NineClassNamesMakeTheGameClasses) {
  const std::pair<const char*, std::type_index> cases[] = {
      {"DIALOG", typeid(CGUI_Dialog)},         {"STATIC", typeid(CGUI_GameStatic)},
      {"BITMAP", typeid(CGUI_GameBitmap)},     {"EDIT", typeid(CGUI_GameEdit)},
      {"LIST", typeid(CGUI_GameList)},         {"PUSHBUTTON", typeid(CGUI_GamePushButton)},
      {"ROTATEBUTTON", typeid(CGUI_RotateButton)}, {"ROTATETEXTBUTTON", typeid(CGUI_RotateTextButton)},
      {"SLIDER", typeid(CGUI_GameSlider)},     {"BUTTON", typeid(CGUI_Button)},
      {"CUSTOM", typeid(CGUI_Custom)},         {"CONTROL", typeid(CGUI_Control)}};
  for (const auto& [cls, type] : cases) {
    std::unique_ptr<CGUI_Window> w(GetClassRegistry()->CreateWindow(cls, "IDC_ANY"));
    ASSERT_NE(w, nullptr) << cls;
    EXPECT_EQ(w->ClassName(), cls);
    EXPECT_EQ(std::type_index(typeid(*w)), type) << cls;
  }
}

// One control of each row's class with the row's PARAM lists (see AddLists)
// fails to open; the expected text gives each row's last error and the text of
// the parameter check that failed, if one did.
TEST_F(GameControlsTest, ParameterErrorsNameTheClassTheIdAndTheList) {
  const std::string button = "font / bitmap / bitmap / bitmap / pulse / bitmap / pulse";
  const std::pair<const char*, std::string> cases[] = {
      {"BITMAP", "5"},
      {"BITMAP", "bitmap / 1 2"},
      {"PUSHBUTTON", "bitmap / bitmap / bitmap / bitmap / bitmap / bitmap"},
      {"PUSHBUTTON", button + " / 'IDC_NOPE' 1 9"},
      {"PUSHBUTTON", button + " / 'IDC_E' 1"},
      // The members report under the button's id; the bitmaps are created first,
      // so a bad hover pulse (list 4) is told before the caption's bad font.
      {"PUSHBUTTON", "3 12.0 1.0 / bitmap / bitmap / bitmap / bitmap / bitmap / pulse"},
      {"PUSHBUTTON", "3 12.0 1.0 / bitmap / bitmap / bitmap / pulse / bitmap / pulse"},
      {"EDIT", "font / bitmap / bitmap"},
      {"LIST", "font / bitmap"},
      {"LIST", "font / bitmap / 1 2.0 3 4 5"},
      {"LIST", "font / bitmap / 255 0 0 255 0"},
      {"LIST", "font / bitmap / 255 0 0 255 3 / 'first' / 7"},
      {"SLIDER", "1 0 4 0.1"},
      {"SLIDER", "1 0 4 / bitmap"},
      {"SLIDER", "1 4 4 0.1 / bitmap"},
      {"ROTATEBUTTON", ""},
      {"ROTATEBUTTON", "bitmap / 3"},
      {"ROTATEBUTTON", "bitmap / 'b.tga' 255 255 255 255 5 / bitmap"},
      {"ROTATETEXTBUTTON", "font"},
      {"ROTATETEXTBUTTON", "font / 'On' / 1"},
      {"ROTATETEXTBUTTON", "font / 'On' 1 1 1 1 2 / 'Off'"},
      {"STATIC", ""},
      {"STATIC", "'SYSTEM'"},
      {"STATIC", "3 1.0 1.0"},
      {"STATIC", "'SYSTEM' 12.0 1.0 10"},
      {"STATIC", "'system' 12.0 1.0 -1"},
      {"STATIC", "'FANCY' 12.0 1.0"},
      {"STATIC", "'NORMAL' 16.0 1.0 0 255 255 255 255 / 1.0"},
  };
  std::string out;
  for (const auto& [cls, lists] : cases) {
    DestroyAllDialogs();
    AddLists(Make(AddDialog("DLG"), cls, "IDC_X", 0.1f, 0.1f, 0.4f, 0.1f), lists);
    SetErrorText("%s", "");
    out += std::string(cls) + " [" + lists + "]" + (Open("DLG") ? " opened" : "") + "\n";
    out += "  " + LastError() + "\n";
    if (*GetErrorText()) out += "  check: " + std::string(GetErrorText()) + "\n";
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/game_control_errors.expected", out);
}

// A bitmap draws its texture in its colour over its rectangle (a bitmap
// without a name or named NULL draws nothing and holds no texture); texture
// and colour change while open, creation restores the script's look, and a
// pulse list pulses the colour with the clock.
TEST_F(GameControlsTest, BitmapDrawsItsTextureInItsColourOverItsRectangle) {
  CGUI_Dialog* d = AddDialog("DLG", 0.5f, 0.5f, 0.5f, 0.5f);
  auto* b = Make<CGUI_GameBitmap>(d, "BITMAP", "IDC_B", 0.1f, 0.1f, 0.25f, 0.25f);
  b->AddParamList(Chain().S("frame.tga").I(10).I(20).I(30).I(40).F(2).get());
  Make<CGUI_GameBitmap>(d, "BITMAP", "IDC_NONE", 0, 0, 0.5f, 0.5f);
  AddBitmap(Make<CGUI_GameBitmap>(d, "BITMAP", "IDC_NULL", 0, 0, 0.5f, 0.5f), "NULL");
  std::string log;
  const auto step = [&log](const std::string& label) {
    Step(log, label + ", live textures " + std::to_string(korvohost::LiveTextureCount()));
  };
  ASSERT_TRUE(Open("DLG")) << LastError();
  step("open");   // at (0.5 + 0.1) of 320
  b->SetTexture("second.tga");
  b->SetColor(0x33FFFFFF);
  step("second.tga in 33FFFFFF");   // the first texture was released
  EXPECT_STREQ(b->TextureName(), "second.tga");
  b->SetTexture("null");
  step("texture null");
  b->SetTexture("third.tga");
  GUI_DestroyDialog("DLG");
  step("third.tga, closed");
  ASSERT_TRUE(Open("DLG")) << LastError();
  step("open again");
  GUI_DestroyDialog("DLG");
  AddPulse(b);   // opaque red to opaque blue, 1 s
  korvohost::SetTick(1000);
  ASSERT_TRUE(Open("DLG")) << LastError();
  korvohost::SetTick(1500);
  step("pulsing, 0.5 s after the opening");   // half way back from `to`
  EXPECT_MATCHES_EXPECTED("unit/expected/game_bitmap.expected", log);
}

// ---- Push button ------------------------------------------------------------------------------------

class PushButtonTest : public GameControlsTest {
 protected:
  // A button over (x, y, 0.2, 0.1) with the seven lists; no caption.
  CGUI_GamePushButton* AddButton(CGUI_Window* d, const char* id, float x = 0.2f,
                                 float y = 0.2f) {
    auto* b = Make<CGUI_GamePushButton>(d, "PUSHBUTTON", id, x, y, 0.2f, 0.1f);
    AddLists(b, "font / base.tga / second.tga / hover.tga / pulse / pressed.tga / pulse");
    return b;
  }
};

// Looks and sounds follow the mouse; a disabled button keeps the pressed look.
// A caption is centred in the button, forwards to it and changes its sounds.
// Hidden, the button draws nothing, also when created hidden.
TEST_F(PushButtonTest, LooksAndSoundsFollowTheMouse) {
  CGUI_GamePushButton* b = AddButton(AddDialog("DLG"), "IDC_P");
  ASSERT_TRUE(Open("DLG")) << LastError();
  std::string log;
  Step(log, "open");
  const auto press = [&log](const char* down, const char* up) {
    GUI_LButtonDown();
    GUI_Update();
    Step(log, down);
    GUI_LButtonUp();
    GUI_Update();
    Step(log, up);
  };
  const auto move = [&log](float x, float y, const char* label) {
    GUI_MouseMove(x, y);
    Step(log, label);
  };
  move(0.21f, 0.21f, "hovered in a corner, away from a caption");
  ASSERT_EQ(Routing().hover, b);
  press("pressed", "released");
  move(0.9f, 0.9f, "left");
  b->SetDisabled(true);
  Step(log, "disabled");
  move(0.21f, 0.21f, "disabled, hovered");
  move(0.9f, 0.9f, "disabled, left");
  b->SetDisabled(false);
  Step(log, "enabled");

  GUI_DestroyDialog("DLG");
  b->SetCaption("OK");
  ASSERT_TRUE(Open("DLG")) << LastError();
  Step(log, "open with caption OK");
  CGUI_GameStatic* caption = b->CaptionStatic();
  float corner[2];
  caption->GetAlignedPos(corner, true);
  EXPECT_NEAR(corner[0] + caption->Region()[2] * 0.5f, 0.3f, 1e-5);
  EXPECT_NEAR(corner[1] + caption->Region()[3] * 0.5f, 0.25f, 1e-5);
  move(0.3f, 0.25f, "caption hovered");
  ASSERT_EQ(Routing().hover, caption);
  press("caption pressed", "caption released");
  GUI_MouseMove(0.9f, 0.9f);
  b->Show(false, false);
  Step(log, "hidden");
  b->Show(true, false);
  Step(log, "shown");
  GUI_DestroyDialog("DLG");
  b->Show(false, false);
  ASSERT_TRUE(Open("DLG"));
  Step(log, "created hidden");
  EXPECT_MATCHES_EXPECTED("unit/expected/game_push_button.expected", log);
}

// Arrow buttons step the linked number edit and clamp it to the up arrow's
// maximum and the down arrow's minimum, also past the int range. (A step of 1
// with its sounds is the gallery session's number field.)
TEST_F(PushButtonTest, ArrowButtonsStepAndClampTheLinkedNumberEdit) {
  CGUI_Dialog* d = AddDialog("DLG");
  auto* edit = Make<CGUI_GameEdit>(d, "EDIT", "IDC_E", 0.0f, 0.0f, 0.2f, 0.1f);
  AddLists(edit, "font / edit.tga");
  edit->SetNumber(true);
  CGUI_GamePushButton* up = AddButton(d, "IDC_UP", 0.3f, 0.0f);
  up->AddParamList(Chain().S("IDC_E").I(1000000000).I(2000000000).get());
  CGUI_GamePushButton* down = AddButton(d, "IDC_DOWN", 0.6f, 0.0f);
  down->AddParamList(Chain().S("IDC_E").I(-2000000000).I(-5).get());
  edit->SetCaption("1500000000");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(edit->GetMaxNumChar(), 10);   // the digits of the maximum
  std::string text, texts;
  for (float x : {0.31f, 0.31f, 0.61f, 0.61f, 0.61f}) {
    Click(x, 0.01f);
    edit->GetText(text);
    texts += text + " ";
  }
  EXPECT_EQ(texts, "2000000000 2000000000 0 -5 -5 ");
}

// ---- Edit ---------------------------------------------------------------------------------------------

// Typed text shows through the static; the caret is drawn only with the focus,
// right of the text at the static's top.
TEST_F(GameControlsTest, TypedTextShowsThroughTheStaticAndTheCaretOnlyWithFocus) {
  auto* e = AddControl<CGUI_GameEdit>("EDIT", 0.4f, 0.1f, "font / edit.tga");
  ASSERT_TRUE(Open("DLG")) << LastError();
  std::string log;
  Step(log, "open");
  Click(0.2f, 0.15f);
  ASSERT_EQ(Routing().focus, e);
  for (char c : std::string("abc")) GUI_Char(c);
  GUI_Update();
  Step(log, "focused, abc typed");
  EXPECT_MATCHES_EXPECTED("unit/expected/game_edit.expected", log);
  const auto frame = Frame();   // the caret, the frame, the text
  ASSERT_EQ(frame.size(), 3u);
  EXPECT_NEAR(frame[0].x, frame[2].x + frame[2].w, 2);
  EXPECT_NEAR(frame[0].y, frame[2].y, 1);
}

// A game font takes single bytes only (a system font's double bytes are
// MessageConsoleTest.ConsoleLineFiltersByFont..., through the same edit code).
TEST_F(GameControlsTest, GameFontsTakeSingleByteTextAndPasswordsShowStars) {
  const char* lists = "'MENU' 16.0 1.0 0 255 255 255 255 / edit.tga";
  auto* game = AddControl<CGUI_GameEdit>("EDIT", 0.4f, 0.1f, lists);
  ASSERT_TRUE(Open("DLG")) << LastError();
  game->OnChar(char(0xB0));
  game->OnChar(char(0xA1));
  game->OnCompositionChar(char(0xB0), char(0xA1));
  game->OnChar('x');
  std::string text;
  game->GetText(text);
  EXPECT_EQ(text, "x");
  // Password stars and markup reach the static; the edit keeps the stripped text.
  game->SetCaption("#c 02 pw");
  game->GetText(text);
  EXPECT_EQ(text, "pw");
  game->SetPassword(true);
  EXPECT_EQ(Texts(Frame()), Strings{"**"});
}

// ---- List -------------------------------------------------------------------------------------------

// Only the visible rows are drawn, one row height (24 pixels) apart whatever
// their text, each measured for its own text and coloured by the selection or
// its own markup; rows kept between frames follow scrolling and changes.
// Each creation starts from the default rows (a value after a row's text is
// not read), not from the rows added by code.
TEST_F(GameControlsTest, ListDrawsTheVisibleRowsInTheirColoursAndFollowsChanges) {
  // Three visible rows drawn in blue, the selection in red; one default row.
  const char* lists = "'SYSTEM' 16.0 1.0 0 0 0 255 255 / list.tga / 255 0 0 255 3 / 'alpha' 3";
  auto* l = AddControl<CGUI_GameList>("LIST", 0.5f, 0.3f, lists);
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(l->GetVisibleRows(), 3);
  EXPECT_FLOAT_EQ(l->GetRowHeight(), 0.1f);
  std::string log;
  for (const char* row : {"r0", "r1", "r2", "r3", "r4", "r5"}) l->AddString(row);
  Step(log, "alpha and six rows");
  l->SetTopIndex(2);
  l->SetCurSel(3);
  Step(log, "top 2, row 3 selected");
  l->DeleteString(3);
  Step(log, "row 3 deleted");
  l->ResetContent();
  for (const char* row : {"short", "#c 01 a much longer row", "short"}) l->AddString(row);
  Step(log, "rows of their own length and colour 1");
  const auto frame = Frame();   // the rows, then the list's bitmap
  ASSERT_EQ(frame.size(), 4u);
  EXPECT_GT(frame[1].w, 2 * frame[0].w);
  EXPECT_EQ(frame[2].w, frame[0].w);
  EXPECT_EQ(frame[1].y - frame[0].y, 24);
  EXPECT_EQ(frame[2].y - frame[1].y, 24);
  // A row text changed in place is drawn anew in the same place.
  l->DeleteString(1);
  l->SetCurSel(0);
  l->AddString("inserted");
  Step(log, "row 1 deleted, row 0 selected, a row inserted");
  GUI_DestroyDialog("DLG");
  ASSERT_TRUE(Open("DLG")) << LastError();
  Step(log, "reopened");
  EXPECT_MATCHES_EXPECTED("unit/expected/game_list.expected", log);
}

// Release chooses the value (clamping is Slider.ValueIsClamped...) and the
// thumb is centred on its cell; over the whole int range a new region places
// the thumb from the value again (the middle value in the middle); a vertical
// thumb spans the width and is centred vertically on its cell.
TEST_F(GameControlsTest, SliderReleaseChoosesTheValueAndTheThumbFollows) {
  CGUI_GameSlider* s = nullptr;
  std::string log;
  const auto note = [&](const std::string& label) {
    const float* r = s->Thumb()->Region();
    char line[128];
    std::snprintf(line, sizeof line, ": value %d, thumb align %d region %.6g %.6g %.6g %.6g",
                  s->GetValue(), s->Thumb()->GetAlign(), r[0], r[1], r[2], r[3]);
    Step(log, label + line);
  };
  const auto add = [this](const std::string& range) {
    return AddControl<CGUI_GameSlider>("SLIDER", 0.5f, 0.1f, range + " 0.1 / thumb.tga");
  };
  s = add("1 0 4");
  ASSERT_TRUE(Open("DLG")) << LastError();
  note("0..4, open");
  Click(0.1f + 0.26f, 0.15f);
  note("released in the middle cell");
  s = add("1 -2147483648 2147483647");
  ASSERT_TRUE(Open("DLG")) << LastError();
  s->SetValue(0);
  const float region[4] = {0.1f, 0.1f, 0.5f, 0.1f};
  s->SetRegion(region);
  note("the whole int range at 0, its region set again");
  s = add("0 1 10");
  ASSERT_TRUE(Open("DLG")) << LastError();
  note("vertical 1..10, open");
  EXPECT_MATCHES_EXPECTED("unit/expected/game_slider.expected", log);
}

}  // namespace
