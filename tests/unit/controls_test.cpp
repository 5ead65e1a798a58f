// controls_test.cpp: the control base (alignment, hit test, notify parent, tab
// stops, parameter lists), the flag words and the standard class registrations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/control.h"
#include "runtime/edit.h"
#include "runtime/flag_words.h"
#include "runtime/registry.h"
#include "runtime/simple_controls.h"
#include "runtime/standard_classes.h"
#include "runtime_support.h"
#include "tests/expected/expected_text.h"

namespace {

// Counts the mouse enters and leaves that reach it; can refuse them.
class RecordingControl : public CGUI_Control {
 public:
  bool OnMouseEnter() override { ++enters; return result; }
  bool OnMouseLeave() override { ++leaves; return result; }
  int enters = 0, leaves = 0;
  bool result = true;
};

}  // namespace

// ---- Alignment and hit test --------------------------------------------------------

TEST(ControlHitTest, AlignedSpansIncludeBothEdges) {
  CGUI_Control c;
  SetRegion(&c, 0.5f, 0.0f, 0.2f, 0.1f);
  c.SetAlign(ALIGN_RIGHT);
  const struct {
    float pt[2];
    bool hit;
  } cases[] = {{{0.3f, 0.05f}, true},  {{0.5f, 0.05f}, true},  {{0.29f, 0.05f}, false},
               {{0.51f, 0.05f}, false}, {{0.4f, 0.11f}, false}};
  for (const auto& k : cases) EXPECT_EQ(c.HitTest(k.pt), k.hit) << k.pt[0] << "," << k.pt[1];
}

// Forwarding is off by default, and a member without a parent handles the
// event alone. (A member forwarding enter, press and release is the push
// button's caption in PushButtonTest.LooksAndSoundsFollowTheMouse; the
// parent's answer coming back is ClickContractTest.ClickFormsOrder....)
TEST(ControlNotifyParent, OffByDefaultAndAloneWithoutAParent) {
  RecordingControl parent;
  auto* member = new CGUI_Control;
  parent.AddChild(member);
  parent.result = false;
  EXPECT_TRUE(member->OnMouseEnter());
  EXPECT_EQ(parent.enters, 0);
  member->SetNotifyParent(true);
  EXPECT_FALSE(member->OnMouseLeave());
  EXPECT_EQ(parent.leaves, 1);
  parent.RemoveChild(member);
  EXPECT_TRUE(member->OnLButtonUp());
  delete member;
}

TEST(ControlTabStop, RegisteredAtCreationInScriptOrder) {
  ScopedDialog dialog;
  auto* a = new CGUI_Edit;
  auto* b = new CGUI_Button;
  auto* c = new CGUI_Edit;
  // Flags are applied before the control has a parent, as the builder does.
  EXPECT_TRUE(ApplyControlFlag(c, "CF_TABSTOP"));
  EXPECT_TRUE(ApplyControlFlag(a, "CF_TABSTOP"));
  dialog->AddChild(a);
  dialog->AddChild(b);
  dialog->AddChild(c);
  EXPECT_TRUE(dialog->TabStops().empty());
  ASSERT_TRUE(dialog->Create());
  EXPECT_EQ(dialog->TabStops(), (std::vector<CGUI_Window*>{a, c}));
  // Switching it off unregisters. (Re-creation registers through the same
  // AddTabStop, which takes a window once: RoutingTest.NextTabStopRules.)
  a->SetTabStop(false);
  EXPECT_EQ(dialog->TabStops(), std::vector<CGUI_Window*>{c});
}

TEST(ControlParamLists, StoredAsOwnCopies) {
  CGUI_Control c;
  SParamList cell;
  cell.value = NewStringParam("SYSTEM");
  EXPECT_TRUE(c.AddParamList(&cell));
  EXPECT_TRUE(c.AddParamList(&cell));
  FreeParam(cell.value);
  EXPECT_EQ(c.GetParamListCount(), 2);
  EXPECT_STREQ(c.GetParamList(0)->value->s, "SYSTEM");
  EXPECT_EQ(c.GetParamList(-1), nullptr);
  EXPECT_EQ(c.GetParamList(2), nullptr);
}

// Each row applies its words in turn to a new window of its kind: a control, a
// dialog (which takes the window words only), an edit, and an edit renamed
// EDITBOX (the edit words need the class name EDIT). The expected text gives
// what each word returned and the flags after the row. Alignment words replace
// their axis; words are matched exactly.
TEST(FlagWords, EachWordSetsItsFlagOnTheClassesItIsFor) {
  const std::pair<std::string, std::vector<const char*>> rows[] = {
      {"CONTROL", {"CF_ALIGN_RIGHT", "CF_ALIGN_VCENTER"}},
      {"CONTROL", {"CF_ALIGN_HCENTER", "CF_ALIGN_BOTTOM"}},
      {"CONTROL", {"CF_ALIGN_RIGHT", "CF_ALIGN_VCENTER", "CF_ALIGN_LEFT", "CF_ALIGN_TOP"}},
      {"CONTROL", {"CF_TABSTOPS", "CF_TABSTO", "cf_tabstop", "ES_NUMBER", "CF_TABSTOP"}},
      {"CONTROL", {"CF_AUTOSIZE", "WF_HIDE", "WF_NOHITTEST", "WF_FOREGROUND"}},
      {"DIALOG", {"CF_AUTOSIZE", "CF_TABSTOP", "WF_FOREGROUND"}},
      {"EDIT", {"ES_NUMBER", "ES_PASSWORD"}},
      {"EDITBOX", {"ES_NUMBER", "ES_PASSWORD"}},
  };
  std::string out;
  for (const auto& [kind, words] : rows) {
    CGUI_Dialog dialog;
    CGUI_Control control;
    CGUI_Edit edit;
    edit.SetClassName(kind.c_str());
    CGUI_Window* w = &edit;
    if (kind == "DIALOG") w = &dialog;
    if (kind == "CONTROL") w = &control;
    out += kind;
    for (const char* word : words)
      out += std::string(" ") + word + "=" +
             std::to_string(kind == "DIALOG" ? ApplyWindowFlag(w, word) : ApplyControlFlag(w, word));
    out += " | hidden " + std::to_string(w->IsHidden()) + " hittest " +
           std::to_string(w->IsHitTest()) + " foreground " + std::to_string(w->IsForeground());
    if (auto* c = dynamic_cast<CGUI_Control*>(w))
      out += " align " + std::to_string(c->GetAlign()) + " tabstop " +
             std::to_string(c->IsTabStop()) + " autosize " + std::to_string(c->IsAutoSize());
    if (w == &edit)
      out += " number " + std::to_string(edit.IsNumber()) + " password " +
             std::to_string(edit.IsPassword());
    out += "\n";
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/flag_words.expected", out);
}

// The module's registry is these plus the game's classes
// (GameControlsTest.NineClassNamesMakeTheGameClasses): "STATIC" is the game's
// only; custom windows and bitmaps are not hit-testable.
TEST(StandardClasses, NoStaticAndWhatIsHitTestable) {
  CGUI_ClassRegistry registry;
  RegisterStandardClasses(&registry);
  EXPECT_EQ(registry.CreateWindow("STATIC", ""), nullptr);
  EXPECT_FALSE(CGUI_Custom().IsHitTest());
  EXPECT_FALSE(CGUI_Bitmap().IsHitTest());
  EXPECT_TRUE(CGUI_Button().IsHitTest());
  EXPECT_TRUE(CGUI_PushButton().IsHitTest());
}
