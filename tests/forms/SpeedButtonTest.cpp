#include "FormsTestUtil.h"
#include "forms/SpeedButton.h"

namespace {

class TGroupForm : public TForm {
public:
  explicit TGroupForm(TComponent* owner) : TForm(owner) {
    SetBounds(10, 10, 400, 200);
    for (int i = 0; i < 3; ++i) {
      Buttons[i] = new TSpeedButton(this);
      Buttons[i]->SetParent(this);
      Buttons[i]->SetBounds(10 + i * 60, 10, 50, 30);
      Buttons[i]->SetGroupIndex(1);
      Buttons[i]->OnClick = [this, i](TObject*) {
        ++Clicks[i];
        DownInClick[i] = Buttons[i]->Down();
      };
    }
  }
  TSpeedButton* Buttons[3];
  int Clicks[3] = {0, 0, 0};
  bool DownInClick[3] = {false, false, false};
};

}  // namespace

TEST_F(FormsTest, PressingOneGroupButtonReleasesTheOthers) {
  auto* form = App->CreateForm<TGroupForm>();
  form->Show();
  Click(form->Buttons[0]);
  EXPECT_TRUE(form->Buttons[0]->Down());
  Click(form->Buttons[2]);
  EXPECT_FALSE(form->Buttons[0]->Down());
  EXPECT_FALSE(form->Buttons[1]->Down());
  EXPECT_TRUE(form->Buttons[2]->Down());
  EXPECT_EQ(form->Buttons[0]->State(), bsUp);
  EXPECT_EQ(form->Buttons[2]->State(), bsExclusive);
}

TEST_F(FormsTest, PressingThePressedButtonKeepsItDownAndStillClicks) {
  auto* form = App->CreateForm<TGroupForm>();
  form->Show();
  Click(form->Buttons[1]);
  Click(form->Buttons[1]);
  EXPECT_TRUE(form->Buttons[1]->Down());
  EXPECT_EQ(form->Clicks[1], 2);
}

TEST_F(FormsTest, DownIsAlreadySetInsideOnClick) {
  auto* form = App->CreateForm<TGroupForm>();
  form->Show();
  Click(form->Buttons[2]);
  EXPECT_TRUE(form->DownInClick[2]);
  EXPECT_EQ(form->Clicks[2], 1);
}

TEST_F(FormsTest, AllowAllUpLetsThePressedButtonRelease) {
  auto* form = App->CreateForm<TGroupForm>();
  form->Buttons[0]->SetAllowAllUp(true);  // spreads to the group
  form->Show();
  Click(form->Buttons[1]);
  EXPECT_TRUE(form->Buttons[2]->AllowAllUp());
  Click(form->Buttons[1]);
  EXPECT_FALSE(form->Buttons[1]->Down());
  EXPECT_FALSE(form->DownInClick[1]);
}

TEST_F(FormsTest, ReleaseOutsideTheButtonDoesNotClick) {
  auto* form = App->CreateForm<TGroupForm>();
  form->Show();
  TSpeedButton* b = form->Buttons[0];
  Backend->MouseDown(CenterOf(b));
  EXPECT_EQ(b->State(), bsDown);
  Backend->MouseMove(b->ClientToScreen({200, 150}));
  EXPECT_EQ(b->State(), bsUp);
  Backend->MouseUp(b->ClientToScreen({200, 150}));
  EXPECT_EQ(form->Clicks[0], 0);
  EXPECT_FALSE(b->Down());
}

TEST_F(FormsTest, ButtonPressedNoticeReachesEachSiblingOnce) {
  auto* form = App->CreateForm<TGroupForm>();
  int deliveries = 0;
  auto* spy = new TSpeedButton(form);
  spy->SetParent(form);
  spy->WindowProc = [&, spy](TMessage& m) {
    if (m.Msg == CM_BUTTONPRESSED) ++deliveries;
    spy->WndProc(m);
  };
  form->Show();
  Click(form->Buttons[0]);
  EXPECT_EQ(deliveries, 1);
}

TEST_F(FormsTest, WindowlessControlsGetMouseEnterAndLeaveWithThemselvesInLParam) {
  auto* form = App->CreateForm<TGroupForm>();
  std::vector<std::pair<UINT, LPARAM>> seen;
  TSpeedButton* b = form->Buttons[1];
  b->WindowProc = [&, b](TMessage& m) {
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) seen.push_back({m.Msg, m.LParam});
    b->WndProc(m);
  };
  int enters = 0, leaves = 0;
  b->OnMouseEnter = [&](TObject*) { ++enters; };
  b->OnMouseLeave = [&](TObject*) { ++leaves; };
  form->Show();
  Backend->MouseMove(CenterOf(b));
  EXPECT_TRUE(b->MouseInControl());
  Backend->MouseMove(b->ClientToScreen({200, 120}));
  EXPECT_FALSE(b->MouseInControl());
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, CM_MOUSEENTER);
  EXPECT_EQ(seen[0].second, reinterpret_cast<LPARAM>(b));
  EXPECT_EQ(seen[1].first, CM_MOUSELEAVE);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
}
