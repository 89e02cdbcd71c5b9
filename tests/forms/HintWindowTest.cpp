#include "FormsTestUtil.h"
#include "forms/HintWindow.h"
#include "forms/SpeedButton.h"
#include "platform/win/Window.h"

namespace {

class THintForm : public TForm {
public:
  explicit THintForm(TComponent* owner) : TForm(owner) {
    SetName("Form8");
    SetBounds(100, 100, 300, 200);
    First = new TSpeedButton(this);
    First->SetName("First");
    First->SetParent(this);
    First->SetBounds(10, 10, 40, 30);
    First->SetHint("First record");
    First->SetShowHint(true);
    Second = new TSpeedButton(this);
    Second->SetName("Second");
    Second->SetParent(this);
    Second->SetBounds(60, 10, 40, 30);
    Second->SetHint("Prior record");
    Second->SetShowHint(true);
    Plain = new TSpeedButton(this);
    Plain->SetName("Plain");
    Plain->SetParent(this);
    Plain->SetBounds(110, 10, 40, 30);
    Plain->SetHint("never shown");  // ShowHint off
  }
  TSpeedButton* First;
  TSpeedButton* Second;
  TSpeedButton* Plain;
};

}  // namespace

class HintWindowTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    HintManager().CancelHint();
    Form = App->CreateForm<THintForm>();
    Form->Show();
    Pump();
  }
  void TearDown() override {
    HintManager().CancelHint();
    HintManager().SetShowHint(true);
    FormsTest::TearDown();
  }
  THintForm* Form = nullptr;
};

TEST_F(HintWindowTest, AppearsAfterThePauseBelowThePointerAndGoesOnLeave) {
  Backend->MouseMove(CenterOf(Form->First));
  Backend->Advance(499);
  EXPECT_FALSE(HintManager().HintShowing());
  Backend->Advance(1);
  ASSERT_TRUE(HintManager().HintShowing());
  EXPECT_EQ(HintManager().HintText(), "First record");
  THintWindow* window = HintManager().HintWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  TRect r;
  GetWindowRect(window->Handle(), &r);
  EXPECT_GT(r.Top, CenterOf(Form->First).Y);
  EXPECT_GT(r.Width(), 20);
  // Leaving the control takes it away.
  Backend->MouseMove(Form->ClientToScreen({250, 150}));
  EXPECT_FALSE(HintManager().HintShowing());
  EXPECT_FALSE(IsWindowVisible(window->Handle()));
  Backend->Advance(1000);
  EXPECT_FALSE(HintManager().HintShowing());
}

TEST_F(HintWindowTest, NoHintWithoutShowHintOrWhenSwitchedOff) {
  Backend->MouseMove(CenterOf(Form->Plain));
  Backend->Advance(600);
  EXPECT_FALSE(HintManager().HintShowing());
  HintManager().SetShowHint(false);
  Backend->MouseMove(CenterOf(Form->First));
  Backend->Advance(600);
  EXPECT_FALSE(HintManager().HintShowing());
}

TEST_F(HintWindowTest, ClickAndKeyHideItAndItWaitsForTheNextEntry) {
  Backend->MouseMove(CenterOf(Form->First));
  Backend->Advance(500);
  ASSERT_TRUE(HintManager().HintShowing());
  Backend->MouseDown(CenterOf(Form->First));
  EXPECT_FALSE(HintManager().HintShowing());
  Backend->MouseUp(CenterOf(Form->First));
  Backend->Advance(1000);
  EXPECT_FALSE(HintManager().HintShowing());
}

TEST_F(HintWindowTest, NextHintComesQuicklyAndAShownHintExpires) {
  Backend->MouseMove(CenterOf(Form->First));
  Backend->Advance(500);
  ASSERT_TRUE(HintManager().HintShowing());
  Backend->MouseMove(CenterOf(Form->Second));
  EXPECT_FALSE(HintManager().HintShowing());
  Backend->Advance(HintManager().HintShortPause());
  ASSERT_TRUE(HintManager().HintShowing());
  EXPECT_EQ(HintManager().HintText(), "Prior record");
  Backend->Advance(HintManager().HintHidePause());
  EXPECT_FALSE(HintManager().HintShowing());
}

TEST_F(HintWindowTest, ADestroyedControlTakesItsHintAlong) {
  Backend->MouseMove(CenterOf(Form->First));
  Backend->Advance(200);
  delete Form->First;
  Backend->Advance(600);
  EXPECT_FALSE(HintManager().HintShowing());
  EXPECT_EQ(HintManager().HintControl(), nullptr);
}
