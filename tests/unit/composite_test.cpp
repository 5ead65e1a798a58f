// Tests of CGUI_Composite, the skeleton of the composite controls: the
// PARAM-list count check, one distribution per object (tried again after a
// failure), the members' ids and their order as children.
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

class CompositeTest : public GameControlsTest {
 protected:
  TwoPart* AddComposite(int lists) {
    auto* c = new TwoPart;
    c->SetId("IDC_T");
    for (int i = 0; i < lists; ++i) AddLists(c, "1");
    AddDialog("DLG")->AddChild(c);
    return c;
  }
};

}  // namespace

// A list count outside the range fails with the label and distributes
// nothing; a failed distribution leaves the members apart and is tried again
// at the next creation; then the members take the composite's id and become
// its children in order, once however often it is created. (Members of the
// game's composites report under the control's id and draw once after a
// reopening: GameControlsTest.ParameterErrors... and PushButtonTest.LooksAnd...)
TEST_F(CompositeTest, ListCountsOneDistributionAndMembersInOrder) {
  for (int lists : {0, 3}) {
    TwoPart* c = AddComposite(lists);
    EXPECT_FALSE(Open("DLG"));
    EXPECT_EQ(LastError(), "error at TWOPART 'IDC_T' : invalid num of param lists");
    EXPECT_EQ(c->distributions, 0);
    EXPECT_TRUE(c->Children().empty());
  }
  TwoPart* c = AddComposite(1);
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
