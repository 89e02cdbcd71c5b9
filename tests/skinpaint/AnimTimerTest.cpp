// The window-less fade: the timer makes each frame in its own bitmap and asks the
// button to show it (commands 8 and 18); past the last step it asks to stop (16).
#include "tests/skinpaint/FadeTestKit.h"

#include "forms/GraphicControl.h"

namespace {

class TAnimButton : public TGraphicControl {
public:
  explicit TAnimButton(TComponent* owner) : TGraphicControl(owner), Data(this, true) {}
  ~TAnimButton() override { delete Anim; }

  void Start(int state) {
    delete Anim;
    Anim = new TsAnimTimer();
    Anim->Setup(&Data);
    Anim->StartImage->Assign(*Data.Cache());
    State = state;
    RebuildFace();
    Anim->Level = 1;
    Anim->Step();  // the first frame at once, then every 10 ms
    Anim->SetEnabled(true);
  }
  void RebuildFace() {
    Data.EnsureCache();
    PaintSectionForControl(Data, Parent(), true, static_cast<TacPaintState>(State), {0, 0, Width(), Height()}, {Left(), Top()},
                           Data.Cache(), false);
    Data.SetDirty(false);
  }
  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD) {
      const unsigned command = CommandOf(message.WParam);
      if (command == AC_SETSUSPENDED) ++Suspends;
      if (command == AC_REPAINT) Shown.push_back(Anim->FrameImage->Pixel(3, 3));
      if (command == AC_STOPFADING) {
        ++Stops;
        delete Anim;  // the button frees the timer
        Anim = nullptr;
      }
      return;
    }
    TGraphicControl::WndProc(message);
  }

  TsCommonData Data;
  TsAnimTimer* Anim = nullptr;
  int State = 0;
  int Suspends = 0;
  int Stops = 0;
  std::vector<TColor> Shown;
};

TEST_F(FadeTest, WindowlessFadeShowsEveryStepThenStops) {
  TFadeButton* windowed = Build("FADINGENABLED=TRUE\nFADINGITERATIONS=8");
  auto* b = new TAnimButton(Form);
  b->SetBounds(100, 50, 30, 20);
  b->SetParent(Form);
  b->Data.SetSkinSection("BUTTON");
  b->RebuildFace();
  (void)windowed;
  b->Start(1);
  Tick(20);
  EXPECT_EQ(b->Shown.size(), 8u);
  EXPECT_EQ(b->Suspends, 8);
  EXPECT_EQ(b->Stops, 1);
  EXPECT_EQ(b->Anim, nullptr);
  // Red fades to green: red falls, green rises, frame after frame.
  for (std::size_t i = 1; i < b->Shown.size(); ++i) {
    EXPECT_LT(GetRValue(static_cast<COLORREF>(b->Shown[i])), GetRValue(static_cast<COLORREF>(b->Shown[i - 1])));
    EXPECT_GT(GetGValue(static_cast<COLORREF>(b->Shown[i])), GetGValue(static_cast<COLORREF>(b->Shown[i - 1])));
  }
  EXPECT_EQ(b->Shown.back(), RGB(0, 254, 0));
}

TEST_F(FadeTest, ABusyWindowlessTimerOnlyCountsTheTick) {
  Build("FADINGENABLED=TRUE\nFADINGITERATIONS=8");
  auto* b = new TAnimButton(Form);
  b->SetBounds(100, 50, 30, 20);
  b->SetParent(Form);
  b->Data.SetSkinSection("BUTTON");
  b->RebuildFace();
  TsAnimTimer timer;
  timer.Setup(&b->Data);
  EXPECT_EQ(timer.Iterations, 8);
  EXPECT_FALSE(timer.Enabled());
  timer.Busy = true;
  timer.Level = 3;
  timer.Step();
  EXPECT_EQ(timer.Level, 4);
  EXPECT_EQ(b->Suspends, 0);
}

}  // namespace
