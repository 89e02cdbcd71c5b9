#include "FormsTestUtil.h"
#include "forms/CustomPanel.h"

class AlignTest : public FormsTest {
protected:
  TPanel* Add(TWinControl* parent, TAlign align, TRect bounds) {
    auto* p = new TPanel(Form);
    p->SetParent(parent);
    p->SetBoundsRect(bounds);
    p->SetAlign(align);
    return p;
  }
  void SetUp() override {
    FormsTest::SetUp();
    Form = App->CreateForm<TForm>();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 400, 300);
  }
  TForm* Form = nullptr;
};

TEST_F(AlignTest, EdgesAreTakenTopBottomLeftRightThenClientFillsTheRest) {
  TPanel* client = Add(Form, alClient, {0, 0, 10, 10});
  TPanel* right = Add(Form, alRight, {0, 0, 50, 10});
  TPanel* left = Add(Form, alLeft, {0, 0, 60, 10});
  TPanel* bottom = Add(Form, alBottom, {0, 0, 10, 30});
  TPanel* top = Add(Form, alTop, {0, 0, 10, 40});
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 400, 40));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 270, 400, 300));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 40, 60, 270));
  EXPECT_EQ(right->BoundsRect(), Rect(350, 40, 400, 270));
  EXPECT_EQ(client->BoundsRect(), Rect(60, 40, 350, 270));
  // Resizing the parent lays everything out again.
  Form->SetBounds(0, 0, 500, 400);
  EXPECT_EQ(client->BoundsRect(), Rect(60, 40, 450, 370));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 370, 500, 400));
  // Hidden controls give their room back.
  top->SetVisible(false);
  EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 60, 370));
}

TEST_F(AlignTest, TwoTopControlsStackInTheirOrderOfPosition) {
  TPanel* second = Add(Form, alTop, {0, 100, 10, 20});
  TPanel* first = Add(Form, alTop, {0, 0, 10, 30});
  EXPECT_EQ(first->Top(), 0);
  EXPECT_EQ(second->Top(), 30);
}

TEST_F(AlignTest, BevelsAndBorderShrinkTheAreaChildrenAlignIn) {
  TPanel* outer = Add(Form, alClient, {0, 0, 10, 10});
  outer->SetBevelOuter(bvRaised);
  outer->SetBevelInner(bvLowered);
  outer->SetBevelWidth(2);
  outer->SetBorderWidth(3);
  TPanel* inner = Add(outer, alClient, {0, 0, 10, 10});
  EXPECT_EQ(inner->BoundsRect(), Rect(7, 7, 393, 293));
}

TEST_F(AlignTest, AnchorsKeepDistancesToTheRightAndBottomEdges) {
  TPanel* stretch = Add(Form, alNone, {10, 10, 390, 50});
  stretch->SetAnchors({akLeft, akTop, akRight});
  TPanel* corner = Add(Form, alNone, {300, 250, 380, 290});
  corner->SetAnchors({akRight, akBottom});
  TPanel* fixed = Add(Form, alNone, {20, 100, 60, 120});
  Form->SetBounds(0, 0, 600, 500);
  EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 590, 50));
  EXPECT_EQ(corner->BoundsRect(), Rect(500, 450, 580, 490));
  EXPECT_EQ(fixed->BoundsRect(), Rect(20, 100, 60, 120));
}

TEST_F(AlignTest, ParentFontAndColourFollowUntilSetOnTheChild) {
  TPanel* child = Add(Form, alNone, {0, 0, 50, 50});
  Form->Font().SetName("Arial");
  Form->SetColor(clNavy);
  EXPECT_EQ(child->Font().Name(), "Arial");
  EXPECT_EQ(child->Color(), clNavy);
  child->Font().SetHeight(-20);
  EXPECT_FALSE(child->ParentFont());
  Form->Font().SetName("Courier New");
  EXPECT_EQ(child->Font().Name(), "Arial");
}
