// Tests of CGUI_Composite, the skeleton of the composite controls: one
// distribution per object (tried again after a failure), the members' ids and
// their order as children.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/composite.h"
#include "tests/unit/game_controls_support.h"

namespace {

// Two members; 1 to 2 PARAM lists; distribution can be told to fail.
class TwoPart : public CGUI_Composite<CGUI_Control> {
 public:
  TwoPart() : first_(Own(new CGUI_Control)), second_(Own(new CGUI_Control)) {}

  bool OnCreate() override {
    const bool done = CreateMembers("TWOPART ", 1, 2, [this] {
      ++distributions;
      return !failDistribution;
    });
    return done && CGUI_Control::OnCreate();
  }

  CGUI_Control* first_;
  CGUI_Control* second_;
  int distributions = 0;
  bool failDistribution = false;
};

using CompositeTest = GameControlsTest;

}  // namespace

// A failed distribution leaves the members apart and is tried again at the
// next creation; then the members take the composite's id and become its
// children in order, once however often it is created. (The list count's
// error, members reporting under the control's id and drawing once after a
// reopening: GameControlsTest.ParameterErrors... and PushButtonTest.LooksAnd...)
TEST_F(CompositeTest, OneDistributionAndMembersInOrder) {
  auto* c = new TwoPart;
  c->SetId("IDC_T");
  AddLists(c, "1");
  AddDialog("DLG")->AddChild(c);
  c->failDistribution = true;
  EXPECT_FALSE(Open("DLG"));
  EXPECT_EQ(c->first_->Id(), "");
  EXPECT_TRUE(c->Children().empty());
  c->failDistribution = false;
  ASSERT_TRUE(Open("DLG")) << LastError();
  ASSERT_TRUE(GUI_DestroyDialog("DLG"));
  ASSERT_TRUE(Open("DLG"));
  EXPECT_EQ(c->distributions, 2);
  EXPECT_EQ(c->Children(), (std::vector<CGUI_Window*>{c->first_, c->second_}));
  EXPECT_EQ(c->first_->Id(), "IDC_T");
  EXPECT_EQ(c->second_->Id(), "IDC_T");
}
