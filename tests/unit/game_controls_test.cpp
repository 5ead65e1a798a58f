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

using korvohost::TakeSounds;
using Sounds = std::vector<int>;
using Strings = std::vector<std::string>;

// ---- Registration table ---------------------------------------------------------------------

// The nine game class names make the game's classes; BUTTON and CUSTOM stay standard.
TEST_F(GameControlsTest, NineClassNamesMakeTheGameClasses) {
  const std::pair<const char*, std::type_index> cases[] = {
      {"DIALOG", typeid(CGUI_Dialog)},         {"STATIC", typeid(CGUI_GameStatic)},
      {"BITMAP", typeid(CGUI_GameBitmap)},     {"EDIT", typeid(CGUI_GameEdit)},
      {"LIST", typeid(CGUI_GameList)},         {"PUSHBUTTON", typeid(CGUI_GamePushButton)},
      {"ROTATEBUTTON", typeid(CGUI_RotateButton)}, {"ROTATETEXTBUTTON", typeid(CGUI_RotateTextButton)},
      {"SLIDER", typeid(CGUI_GameSlider)},     {"BUTTON", typeid(CGUI_Button)},
      {"CUSTOM", typeid(CGUI_Custom)}};
  for (const auto& [cls, type] : cases) {
    std::unique_ptr<CGUI_Window> w(GetClassRegistry()->CreateWindow(cls, "IDC_ANY"));
    ASSERT_NE(w, nullptr) << cls;
    EXPECT_EQ(w->ClassName(), cls);
    EXPECT_EQ(std::type_index(typeid(*w)), type) << cls;
  }
}

// ---- Parameter errors -------------------------------------------------------------------------

// One control of each row's class with the row's PARAM lists (see AddLists)
// fails to open with the row's error, and the error text when one is given.
TEST_F(GameControlsTest, ParameterErrorsNameTheClassTheIdAndTheList) {
  const char* const button = "font / bitmap / bitmap / bitmap / pulse / bitmap / pulse";
  const struct {
    const char* cls;
    std::string lists;
    const char* error;
    const char* text = nullptr;
  } cases[] = {
      {"BITMAP", "5", "error at BITMAP 'IDC_X' : invalid bitmap info : type mismatch : param 1"},
      {"BITMAP", "bitmap / 1 2",
       "error at BITMAP 'IDC_X' : 'invalid animation info : additional 7 param(s) needed'"},
      {"PUSHBUTTON", "bitmap / bitmap / bitmap / bitmap / bitmap / bitmap",
       "error at PUSHBUTTON 'IDC_X' : invalid num of param lists"},
      {"PUSHBUTTON", button + std::string(" / 'IDC_NOPE' 1 9"),
       "error at PUSHBUTTON 'IDC_X' : invalid idIDC_NOPE"},
      {"PUSHBUTTON", button + std::string(" / 'IDC_E' 1"),
       "error at PUSHBUTTON 'IDC_X', PARAM 7: 'additional 1 param(s) needed'"},
      // The members report under the button's id; the bitmaps are created first,
      // so a bad hover pulse (list 4) is told before the caption's bad font.
      {"PUSHBUTTON", "3 12.0 1.0 / bitmap / bitmap / bitmap / bitmap / bitmap / pulse",
       "error at BITMAP 'IDC_X' : 'invalid animation info : type mismatch : param 1'"},
      {"PUSHBUTTON", "3 12.0 1.0 / bitmap / bitmap / bitmap / pulse / bitmap / pulse",
       "error at STATIC 'IDC_X' : type mismatch : param 1"},
      {"EDIT", "font / bitmap / bitmap", "error at EDIT'IDC_X' : invalid num of param lists"},
      {"LIST", "font / bitmap", "error at LIST 'IDC_X' : invalid num of param lists"},
      {"LIST", "font / bitmap / 1 2.0 3 4 5", "error at LIST 'IDC_X' : invalid list parameters"},
      {"LIST", "font / bitmap / 255 0 0 255 0", "error at LIST 'IDC_X' : invalid num rows(out of range)"},
      {"LIST", "font / bitmap / 255 0 0 255 3 / 'first' / 7",
       "error at LIST 'IDC_X' : invalid 4th default string", "type mismatch : param 1"},
      {"SLIDER", "1 0 4 0.1", "error at SLIDER'IDC_X' : invalid num of param lists"},
      {"SLIDER", "1 0 4 / bitmap", "error at SLIDER 'IDC_X', PARAM 7: 'additional 1 param(s) needed'"},
      {"SLIDER", "1 4 4 0.1 / bitmap",
       "error at SLIDER 'IDC_X', max value must be larger than min value"},
      {"ROTATEBUTTON", "", "error at ROTATEBUTTON 'IDC_X' : invalid num of param lists"},
      {"ROTATEBUTTON", "bitmap / 3", "error at ROTATEBUTTON 'IDC_X' : invalid param at paramlist2"},
      {"ROTATEBUTTON", "bitmap / 'b.tga' 255 255 255 255 5 / bitmap",
       "error at ROTATEBUTTON 'IDC_X' : invalid trans id at paramlist2"},
      {"ROTATETEXTBUTTON", "font", "error at ROTATETEXTBUTTON 'IDC_X' : invalid num of param lists"},
      {"ROTATETEXTBUTTON", "font / 'On' / 1",
       "error at ROTATETEXTBUTTON 'IDC_X' : invalid param at paramlist2", "type mismatch : param 1"},
      {"ROTATETEXTBUTTON", "font / 'On' 1 1 1 1 2 / 'Off'",
       "error at ROTATETEXTBUTTON 'IDC_X' : invalid trans id at paramlist1"},
      {"STATIC", "", "error at STATIC 'IDC_X' : param list not found"},
      {"STATIC", "'SYSTEM'", "error at STATIC 'IDC_X' : additional 7 param(s) needed"},
      {"STATIC", "3 1.0 1.0", "error at STATIC 'IDC_X' : type mismatch : param 1"},
      {"STATIC", "'SYSTEM' 12.0 1.0 10", "error at STATIC 'IDC_X' : stroke is out of range"},
      {"STATIC", "'system' 12.0 1.0 -1", "error at STATIC 'IDC_X' : stroke is out of range"},
      {"STATIC", "'FANCY' 12.0 1.0", "error at STATIC 'IDC_X' : unknown font type 'FANCY'"},
      {"STATIC", "'NORMAL' 16.0 1.0 0 255 255 255 255 / 1.0",
       "error at STATIC 'IDC_X' : invalid animation info : type mismatch : param 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.cls) + " " + c.lists);
    DestroyAllDialogs();
    CGUI_Control* w = Make(AddDialog("DLG"), c.cls, "IDC_X", 0.1f, 0.1f, 0.4f, 0.1f);
    AddLists(w, c.lists);
    EXPECT_FALSE(Open("DLG"));
    EXPECT_EQ(LastError(), c.error);
    if (c.text) {
      EXPECT_STREQ(GetErrorText(), c.text);
    }
  }
}

// ---- Bitmap ---------------------------------------------------------------------------------------

// A bitmap without a name or named NULL draws nothing and holds no texture.
TEST_F(GameControlsTest, BitmapDrawsItsTextureInItsColourOverItsRectangle) {
  CGUI_Dialog* d = AddDialog("DLG", 0.5f, 0.5f, 0.5f, 0.5f);
  auto* b = Make<CGUI_GameBitmap>(d, "BITMAP", "IDC_B", 0.1f, 0.1f, 0.25f, 0.25f);
  b->AddParamList(Chain().S("frame.tga").I(10).I(20).I(30).I(40).F(2).get());
  Make<CGUI_GameBitmap>(d, "BITMAP", "IDC_NONE", 0, 0, 0.5f, 0.5f);
  AddBitmap(Make<CGUI_GameBitmap>(d, "BITMAP", "IDC_NULL", 0, 0, 0.5f, 0.5f), "NULL");
  ASSERT_TRUE(Open("DLG")) << LastError();
  const auto frame = Frame();
  ASSERT_EQ(frame.size(), 1u);
  EXPECT_EQ(frame[0].texture, "menu/frame.tga");
  EXPECT_EQ(frame[0].x, 192);   // (0.5 + 0.1) of 320
  EXPECT_EQ(frame[0].y, 144);
  EXPECT_EQ(frame[0].w, 80);
  EXPECT_EQ(frame[0].h, 60);
  EXPECT_EQ(frame[0].argb, 0x280A141Eu);
  EXPECT_EQ(frame[0].srcBlend, 5);
  EXPECT_EQ(frame[0].dstBlend, 6);
  EXPECT_EQ(korvohost::LiveTextureCount(), 1);
  GUI_DestroyDialog("DLG");
  EXPECT_EQ(korvohost::LiveTextureCount(), 0);
}

TEST_F(GameControlsTest, BitmapTextureAndColourChangeWhileOpenOrPulse) {
  CGUI_Dialog* d = AddDialog("DLG");
  auto* b = Make<CGUI_GameBitmap>(d, "BITMAP", "IDC_B", 0, 0, 0.5f, 0.5f);
  AddBitmap(b, "first.tga");
  ASSERT_TRUE(Open("DLG")) << LastError();
  b->SetTexture("second.tga");
  b->SetColor(0x33FFFFFF);
  auto frame = Frame();
  ASSERT_EQ(frame.size(), 1u);
  EXPECT_EQ(frame[0].texture, "menu/second.tga");
  EXPECT_EQ(frame[0].argb, 0x33FFFFFFu);
  EXPECT_STREQ(b->TextureName(), "second.tga");
  EXPECT_EQ(korvohost::LiveTextureCount(), 1);   // the first one was released
  b->SetTexture("null");
  EXPECT_TRUE(Frame().empty());
  EXPECT_EQ(korvohost::LiveTextureCount(), 0);
  b->SetTexture("third.tga");
  GUI_DestroyDialog("DLG");
  EXPECT_EQ(korvohost::LiveTextureCount(), 0);
  ASSERT_TRUE(Open("DLG")) << LastError();   // creation restores the script's look
  frame = Frame();
  ASSERT_EQ(frame.size(), 1u);
  EXPECT_EQ(frame[0].texture, "menu/first.tga");
  EXPECT_EQ(frame[0].argb, 0xFFFFFFFFu);

  // With a pulse list the colour pulses with the clock.
  GUI_DestroyDialog("DLG");
  AddPulse(b);   // opaque red to opaque blue, 1 s
  korvohost::SetTick(1000);
  ASSERT_TRUE(Open("DLG")) << LastError();
  korvohost::SetTick(1500);
  EXPECT_EQ(Frame()[0].argb, 0xFF7F007Fu);   // half way back from `to`
}

// ---- Push button ------------------------------------------------------------------------------------

class PushButtonTest : public GameControlsTest {
 protected:
  // A button over (0.2, 0.2, 0.2, 0.1) with the seven lists; no caption.
  CGUI_GamePushButton* AddButton(CGUI_Window* d, const char* id, float x = 0.2f,
                                 float y = 0.2f) {
    auto* b = Make<CGUI_GamePushButton>(d, "PUSHBUTTON", id, x, y, 0.2f, 0.1f);
    AddFont(b);
    AddBitmap(b, "base.tga");
    AddBitmap(b, "second.tga");
    AddBitmap(b, "hover.tga");
    AddPulse(b);
    AddBitmap(b, "pressed.tga");
    AddPulse(b);
    return b;
  }
};

TEST_F(PushButtonTest, LooksAndSoundsFollowTheMouse) {
  CGUI_Dialog* d = AddDialog("DLG");
  CGUI_GamePushButton* b = AddButton(d, "IDC_P");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(Textures(Frame()), Strings{"menu/base.tga"});

  GUI_MouseMove(0.21f, 0.21f);   // a corner, away from the centred caption
  ASSERT_EQ(Routing().hover, b);
  EXPECT_EQ(TakeSounds(), Sounds{40030});   // no caption
  EXPECT_EQ(Textures(Frame()), (Strings{"menu/base.tga", "menu/hover.tga"}));

  GUI_LButtonDown();
  GUI_Update();
  EXPECT_EQ(Textures(Frame()), (Strings{"menu/base.tga", "menu/pressed.tga"}));
  EXPECT_TRUE(TakeSounds().empty());   // the press sound needs a caption
  GUI_LButtonUp();
  GUI_Update();
  EXPECT_EQ(Textures(Frame()), (Strings{"menu/base.tga", "menu/hover.tga"}));
  EXPECT_EQ(TakeSounds(), Sounds{40010});   // the click of a button without caption

  GUI_MouseMove(0.9f, 0.9f);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/base.tga"});

  // A disabled button keeps the pressed look, under the mouse or not.
  b->SetDisabled(true);
  const Strings pressed{"menu/base.tga", "menu/pressed.tga"};
  EXPECT_EQ(Textures(Frame()), pressed);
  GUI_MouseMove(0.21f, 0.21f);
  EXPECT_EQ(Textures(Frame()), pressed);
  GUI_MouseMove(0.9f, 0.9f);
  EXPECT_EQ(Textures(Frame()), pressed);
  b->SetDisabled(false);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/base.tga"});
}

TEST_F(PushButtonTest, CaptionedButtonSoundsAndForwardsFromItsCaption) {
  CGUI_Dialog* d = AddDialog("DLG");
  CGUI_GamePushButton* b = AddButton(d, "IDC_P");
  b->SetCaption("OK");
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(Texts(Frame()), Strings{"OK"});
  // The caption is centred in the button and forwards to it.
  CGUI_GameStatic* caption = b->CaptionStatic();
  float corner[2];
  caption->GetAlignedPos(corner, true);
  EXPECT_NEAR(corner[0] + caption->Region()[2] * 0.5f, 0.3f, 1e-5);
  EXPECT_NEAR(corner[1] + caption->Region()[3] * 0.5f, 0.25f, 1e-5);
  GUI_MouseMove(0.3f, 0.25f);
  ASSERT_EQ(Routing().hover, caption);
  EXPECT_EQ(TakeSounds(), Sounds{40031});
  GUI_LButtonDown();
  GUI_Update();
  EXPECT_EQ(TakeSounds(), Sounds{40020});
  EXPECT_EQ(Textures(Frame()), (Strings{"menu/base.tga", "menu/pressed.tga"}));
  GUI_LButtonUp();
  GUI_Update();
  EXPECT_TRUE(TakeSounds().empty());   // a captioned click is silent

  // Hidden, it draws nothing; shown again, its look and caption come back.
  GUI_MouseMove(0.9f, 0.9f);
  b->Show(false, false);
  EXPECT_TRUE(Frame().empty());
  b->Show(true, false);
  EXPECT_EQ(Frame().size(), 2u);   // base and caption
  GUI_DestroyDialog("DLG");
  b->Show(false, false);
  ASSERT_TRUE(Open("DLG"));   // created hidden
  EXPECT_TRUE(Frame().empty());
}

// Arrow buttons step the linked number edit and clamp it to the up arrow's
// maximum and the down arrow's minimum, also past the int range.
TEST_F(PushButtonTest, ArrowButtonsStepAndClampTheLinkedNumberEdit) {
  struct Case {
    int upStep, max, downStep, min;
    const char* start;
    std::vector<std::pair<bool, const char*>> clicks;   // up?, the text after it
  };
  const Case cases[] = {
      {1, 5, -2, 1, "4", {{true, "5"}, {true, "5"}, {false, "3"}, {false, "1"}, {false, "1"}}},
      {1000000000, 2000000000, -1, 0, "1500000000", {{true, "2000000000"}, {true, "2000000000"}}},
  };
  for (const Case& c : cases) {
    CGUI_Dialog* d = AddDialog("DLG");
    auto* edit = Make<CGUI_GameEdit>(d, "EDIT", "IDC_E", 0.0f, 0.0f, 0.2f, 0.1f);
    AddFont(edit);
    AddBitmap(edit, "edit.tga");
    edit->SetNumber(true);
    CGUI_GamePushButton* up = AddButton(d, "IDC_UP", 0.3f, 0.0f);
    up->AddParamList(Chain().S("IDC_E").I(c.upStep).I(c.max).get());
    AddButton(d, "IDC_DOWN", 0.6f, 0.0f)->AddParamList(Chain().S("IDC_E").I(c.downStep).I(c.min).get());
    edit->SetCaption(c.start);
    ASSERT_TRUE(Open("DLG")) << LastError();
    EXPECT_EQ(up->LinkedEdit(), edit);
    EXPECT_EQ(edit->GetMaxNumChar(), int(std::to_string(c.max).size()));   // SetMaxValue(max)
    TakeSounds();
    std::string text;
    for (const auto& [isUp, want] : c.clicks) {
      Click(isUp ? 0.31f : 0.61f, 0.01f);
      edit->GetText(text);
      EXPECT_EQ(text, want) << "from " << c.start;
    }
  }
  EXPECT_EQ(TakeSounds(), (Sounds{40030, 40010, 40010}));   // the last case: one hover, two clicks
}

// ---- Edit ---------------------------------------------------------------------------------------------

class GameEditTest : public GameControlsTest {
 protected:
  CGUI_GameEdit* AddEdit(const char* font) {
    CGUI_Dialog* d = AddDialog("DLG");
    auto* e = Make<CGUI_GameEdit>(d, "EDIT", "IDC_E", 0.1f, 0.1f, 0.4f, 0.1f);
    AddFont(e, font);
    AddBitmap(e, "edit.tga");
    return e;
  }
};

TEST_F(GameEditTest, TypedTextShowsThroughTheStaticAndTheCaretOnlyWithFocus) {
  CGUI_GameEdit* e = AddEdit("SYSTEM");
  ASSERT_TRUE(Open("DLG")) << LastError();
  auto animations = [](const std::vector<korvohost::DrawRecord>& list) {
    int n = 0;
    for (const auto& r : list) n += r.kind == korvohost::DrawKind::Animation;
    return n;
  };
  EXPECT_EQ(animations(Frame()), 0);
  Click(0.2f, 0.15f);
  ASSERT_EQ(Routing().focus, e);
  for (char c : std::string("abc")) GUI_Char(c);
  GUI_Update();
  const auto frame = Frame();
  EXPECT_EQ(Texts(frame), Strings{"abc"});
  EXPECT_EQ(Textures(frame), Strings{"menu/edit.tga"});
  EXPECT_EQ(animations(frame), 1);
  // The caret stands right of the text, at the static's top.
  auto find = [&frame](korvohost::DrawKind kind) {
    for (const auto& r : frame)
      if (r.kind == kind) return r;
    return korvohost::DrawRecord();
  };
  const auto text = find(korvohost::DrawKind::Text);
  const auto caret = find(korvohost::DrawKind::Animation);
  EXPECT_NEAR(caret.x, text.x + text.w, 2);
  EXPECT_NEAR(caret.y, text.y, 1);
}

TEST_F(GameEditTest, GameFontsTakeSingleByteTextAndPasswordsShowStars) {
  CGUI_GameEdit* game = AddEdit("MENU");
  ASSERT_TRUE(Open("DLG")) << LastError();
  game->OnChar(char(0xB0));
  game->OnChar(char(0xA1));
  game->OnCompositionChar(char(0xB0), char(0xA1));
  game->OnChar('x');
  std::string text;
  game->GetText(text);
  EXPECT_EQ(text, "x");

  CGUI_GameEdit* system = AddEdit("SYSTEM");
  ASSERT_TRUE(Open("DLG")) << LastError();
  system->OnChar(char(0xB0));
  system->OnChar(char(0xA1));
  system->GetText(text);
  EXPECT_EQ(text, "\xB0\xA1");

  // Password stars and markup reach the static; the edit keeps the stripped text.
  system->SetCaption("#c 02 pw");
  system->GetText(text);
  EXPECT_EQ(text, "pw");
  system->SetPassword(true);
  EXPECT_EQ(Texts(Frame()), Strings{"**"});
}

// ---- List -------------------------------------------------------------------------------------------

class GameListTest : public GameControlsTest {
 protected:
  CGUI_GameList* AddList(int rows = 3) {
    CGUI_Dialog* d = AddDialog("DLG");
    auto* l = Make<CGUI_GameList>(d, "LIST", "IDC_L", 0.1f, 0.1f, 0.5f, 0.3f);
    AddFont(l, "SYSTEM", 0, 0, 255, 255);
    AddBitmap(l, "list.tga");
    l->AddParamList(Chain().I(255).I(0).I(0).I(255).I(rows).get());
    return l;
  }
};

// Only the visible rows are drawn, one row height (24 pixels) apart, each
// measured for its own text and coloured by the selection or its own markup;
// rows kept between frames follow scrolling and changes.
TEST_F(GameListTest, DrawsTheVisibleRowsInTheirColoursAndFollowsChanges) {
  CGUI_GameList* l = AddList(3);
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(l->GetVisibleRows(), 3);
  EXPECT_FLOAT_EQ(l->GetRowHeight(), 0.1f);
  const auto rows = [] {
    std::vector<korvohost::DrawRecord> out;
    for (const auto& r : Frame())
      if (r.kind == korvohost::DrawKind::Text) out.push_back(r);
    return out;
  };
  for (const char* row : {"r0", "r1", "r2", "r3", "r4", "r5"}) l->AddString(row);
  EXPECT_EQ(Texts(Frame()), (Strings{"r0", "r1", "r2"}));
  l->SetTopIndex(2);
  l->SetCurSel(3);
  EXPECT_EQ(Textures(Frame()), Strings{"menu/list.tga"});
  auto shown = rows();
  EXPECT_EQ(Texts(shown), (Strings{"r2", "r3", "r4"}));
  EXPECT_EQ(shown[0].argb, 0xFF0000FFu);
  EXPECT_EQ(shown[1].argb, 0xFFFF0000u);   // selected
  EXPECT_EQ(shown[2].argb, 0xFF0000FFu);
  EXPECT_EQ(shown[1].y - shown[0].y, 24);
  EXPECT_EQ(shown[2].y - shown[1].y, 24);
  l->DeleteString(3);
  EXPECT_EQ(Texts(Frame()), (Strings{"r2", "r4", "r5"}));

  l->ResetContent();
  l->AddString("short");
  l->AddString("#c 01 a much longer row");
  l->AddString("short");
  shown = rows();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[1].text, "a much longer row");
  EXPECT_GT(shown[1].w, 2 * shown[0].w);
  EXPECT_EQ(shown[2].w, shown[0].w);
  EXPECT_EQ(shown[0].argb, 0xFF0000FFu);
  EXPECT_EQ(shown[1].argb, GetColor(1));
  EXPECT_EQ(shown[2].argb, 0xFF0000FFu);
  EXPECT_EQ(shown[1].y - shown[0].y, 24);   // centred alike, whatever their text
  EXPECT_EQ(shown[2].y - shown[1].y, 24);

  // A row text changed in place is drawn anew in the same place.
  l->DeleteString(1);
  l->SetCurSel(0);
  l->AddString("inserted");
  EXPECT_EQ(Texts(Frame()), (Strings{"inserted", "short", "short"}));
}

TEST_F(GameListTest, DefaultRowsComeBackAtEveryCreation) {
  CGUI_GameList* l = AddList();
  l->AddParamList(Chain().S("alpha").get());
  l->AddParamList(Chain().S("beta").I(3).get());
  ASSERT_TRUE(Open("DLG")) << LastError();
  l->AddString("extra");
  EXPECT_EQ(l->GetCount(), 3);
  GUI_DestroyDialog("DLG");
  ASSERT_TRUE(Open("DLG")) << LastError();
  ASSERT_EQ(l->GetCount(), 2);
  std::string row;
  l->GetText(1, row);
  EXPECT_EQ(row, "beta");
}

// ---- Slider ---------------------------------------------------------------------------------------------

class GameSliderTest : public GameControlsTest {
 protected:
  CGUI_GameSlider* AddSlider(int horizontal, int min, int max) {
    CGUI_Dialog* d = AddDialog("DLG");
    auto* s = Make<CGUI_GameSlider>(d, "SLIDER", "IDC_SL", 0.1f, 0.1f, 0.5f, 0.1f);
    s->AddParamList(Chain().I(horizontal).I(min).I(max).F(0.1f).get());
    AddBitmap(s, "thumb.tga");
    return s;
  }
};

TEST_F(GameSliderTest, ReleaseChoosesTheValueAndTheThumbFollows) {
  CGUI_GameSlider* s = AddSlider(1, 0, 4);
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(s->GetValue(), 0);
  EXPECT_EQ(s->Thumb()->GetAlign(), ALIGN_HCENTER | ALIGN_TOP);
  Click(0.1f + 0.26f, 0.15f);
  EXPECT_EQ(s->GetValue(), 2);
  float thumb[2];
  s->Thumb()->GetAlignedPos(thumb, true);
  EXPECT_NEAR(thumb[0], 0.1f + 0.25f - 0.05f, 1e-5);   // centred on the value's cell
  EXPECT_NEAR(thumb[1], 0.1f, 1e-5);
  const auto frame = Frame();
  ASSERT_EQ(frame.size(), 1u);
  EXPECT_EQ(frame[0].x, 96);   // 0.3 of 320
  EXPECT_EQ(frame[0].w, 32);
  s->SetValue(99);
  EXPECT_EQ(s->GetValue(), 4);

  // Over the whole int range a new region places the thumb from the value again.
  s = AddSlider(1, INT32_MIN, INT32_MAX);
  ASSERT_TRUE(Open("DLG")) << LastError();
  s->SetValue(0);
  const float region[4] = {0.1f, 0.1f, 0.5f, 0.1f};
  s->SetRegion(region);
  s->Thumb()->GetAlignedPos(thumb, true);
  EXPECT_NEAR(thumb[0], 0.1f + 0.25f - 0.05f, 1e-4);   // the middle value in the middle

  // A vertical thumb is centred vertically.
  s = AddSlider(0, 1, 10);
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(s->Thumb()->GetAlign(), ALIGN_LEFT | ALIGN_VCENTER);
  EXPECT_FLOAT_EQ(s->Thumb()->Region()[2], 0.5f);    // the slider's width
  EXPECT_FLOAT_EQ(s->Thumb()->Region()[3], 0.1f);    // the thumb size
  EXPECT_NEAR(s->Thumb()->Region()[1], 0.005f, 1e-6);   // 0.1 * 0.5 / 10
}

}  // namespace
