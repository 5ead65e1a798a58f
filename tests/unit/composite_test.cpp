// Tests of CGUI_Composite, the skeleton of the composite controls: member
// ownership, the PARAM-list count check, one distribution per object (tried
// again after a failure), the members' ids and their order as children.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/composite.h"
#include "tests/unit/game_controls_support.h"

namespace {

// A member that notes its deletion.
class Member : public CGUI_Control {
 public:
  explicit Member(std::vector<std::string>* deleted) : deleted_(deleted) {}
  ~Member() override { deleted_->push_back(Id()); }

 private:
  std::vector<std::string>* deleted_;
};

// Two members; 1 to 2 PARAM lists; distribution can be told to fail.
class TwoPart : public CGUI_Composite<CGUI_Control> {
 public:
  explicit TwoPart(std::vector<std::string>* deleted)
      : first_(Own(new Member(deleted))), second_(Own(new Member(deleted))) {}

  bool OnCreate() override {
    const bool done = CreateMembers("TWOPART ", 1, 2, [this] {
      ++distributions;
      return !failDistribution;
    });
    return done && CGUI_Control::OnCreate();
  }

  Member* first_;
  Member* second_;
  int distributions = 0;
  bool failDistribution = false;
};

class CompositeTest : public GameControlsTest {
 protected:
  TwoPart* AddComposite(int lists) {
    auto* c = new TwoPart(&deleted_);
    c->SetId("IDC_T");
    for (int i = 0; i < lists; ++i) AddLists(c, "1");
    AddDialog("DLG")->AddChild(c);
    return c;
  }
  std::vector<std::string> deleted_;
};

}  // namespace

// Members take the composite's id and become its children in order, once
// however often it is created; they are deleted with it.
TEST_F(CompositeTest, MembersTakeTheIdAndBecomeChildrenInOrderOnce) {
  TwoPart* c = AddComposite(2);
  EXPECT_TRUE(c->Children().empty());
  ASSERT_TRUE(Open("DLG")) << LastError();
  EXPECT_EQ(c->Children(), (std::vector<CGUI_Window*>{c->first_, c->second_}));
  EXPECT_EQ(c->first_->Id(), "IDC_T");
  EXPECT_EQ(c->second_->Id(), "IDC_T");
  ASSERT_TRUE(GUI_DestroyDialog("DLG"));
  ASSERT_TRUE(Open("DLG"));
  EXPECT_EQ(c->distributions, 1);
  EXPECT_EQ(c->Children(), (std::vector<CGUI_Window*>{c->first_, c->second_}));
  InstallDialogTable(new CDialogTable);
  EXPECT_EQ(deleted_, (std::vector<std::string>{"IDC_T", "IDC_T"}));
}

// A list count outside the range fails with the label and distributes
// nothing; a failed distribution is tried again at the next creation.
TEST_F(CompositeTest, BadListCountsAndFailedDistributions) {
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
  ASSERT_TRUE(Open("DLG"));
  EXPECT_EQ(c->distributions, 2);
  EXPECT_EQ(c->first_->Id(), "IDC_T");
  EXPECT_EQ(c->ChildCount(), 2);
}
