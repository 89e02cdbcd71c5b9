// Cross-fades: how many frames each change shows, what the frames are, when a change
// is not animated, and a fade reversed half-way.
#include "tests/skinpaint/FadeTestKit.h"

namespace {

int RedOf(const TBitmap& b) { return GetRValue(static_cast<COLORREF>(b.Pixel(5, 5))); }

TEST(FadeFrames, BlendByteStepsFromNearlyOldToNew) {
  EXPECT_EQ(FadeBlendByte(1, 20), 255 - 12);
  EXPECT_EQ(FadeBlendByte(10, 20), 127);
  EXPECT_EQ(FadeBlendByte(20, 20), 0);
  EXPECT_EQ(FadeBlendByte(21, 20), 0);
  EXPECT_EQ(FadeBlendByte(0, 5), 255);
  EXPECT_EQ(FadeBlendByte(3, 0), 255);

  TBitmap old(4, 4), fresh(4, 4);
  old.Fill(0xFFFFFF);
  fresh.Fill(0x000000);
  TBitmap frame = old;
  ComputeFadeFrame(frame, fresh, 20, 20);
  EXPECT_EQ(frame.Pixel(1, 1), 0);  // the last frame is the new face
  frame = old;
  ComputeFadeFrame(frame, fresh, 1, 20);
  EXPECT_EQ(frame.Pixel(1, 1), RGB(242, 242, 242));  // (255 * 243 + 127) div 256
  TBitmap small(4, 3);
  frame = old;
  ComputeFadeFrame(frame, small, 10, 20);  // sizes differ: the old face stays
  EXPECT_EQ(frame.Pixel(1, 1), 0xFFFFFF);
  // In one pass from the old face: the same bytes as copy-then-blend.
  TBitmap into;
  for (int level : {0, 1, 7, 20}) {
    TBitmap copied = old;
    ComputeFadeFrame(copied, fresh, level, 20);
    ComputeFadeFrame(into, old, fresh, level, 20);
    EXPECT_EQ(into.Pixel(2, 3), copied.Pixel(2, 3)) << level;
  }
  ComputeFadeFrame(into, old, small, 10, 20);
  EXPECT_EQ(into.Height(), 4);
  EXPECT_EQ(into.Pixel(1, 1), 0xFFFFFF);
}

TEST_F(FadeTest, HoverShowsTwentyFramesAndPressTen) {
  TFadeButton* b = Build("FADINGENABLED=TRUE\nFADINGITERATIONS=20");
  b->Enter();
  ASSERT_NE(b->Fade, nullptr);
  Tick(30);
  EXPECT_EQ(b->Frames.size(), 20u);
  EXPECT_EQ(b->Stops, 1);
  EXPECT_EQ(b->Fade, nullptr);
  // From red towards green: the first frame is nearly red, the last is green.
  EXPECT_GT(RedOf(b->Frames.front()), 230);
  EXPECT_EQ(b->Frames.back().Pixel(5, 5), RGB(0, 254, 0));  // the new face, each byte at most one lower

  b->Frames.clear();
  b->Down();
  Tick(30);
  EXPECT_EQ(b->Frames.size(), 10u);
}

TEST_F(FadeTest, FramesComeTenMillisecondsApart) {
  TFadeButton* b = Build("FADINGENABLED=TRUE\nFADINGITERATIONS=20");
  b->Enter();
  ASSERT_NE(b->Fade, nullptr);
  Backend->Advance(9);
  EXPECT_EQ(b->Frames.size(), 0u);
  Backend->Advance(1);
  EXPECT_EQ(b->Frames.size(), 1u);
  Backend->Advance(50);
  EXPECT_EQ(b->Frames.size(), 6u);
}

TEST_F(FadeTest, ReversedFadeStartsFromTheStepsLeft) {
  TFadeButton* b = Build("FADINGENABLED=TRUE\nFADINGITERATIONS=20");
  b->Enter();
  Tick(6);
  ASSERT_EQ(b->Frames.size(), 6u);
  const int shownRed = RedOf(b->Frames.back());
  b->Leave();
  ASSERT_NE(b->Fade, nullptr);
  Tick(30);
  ASSERT_EQ(b->Frames.size(), 12u);  // six back, as many as were shown
  // The first frame back continues from the face on the screen: one step further red.
  const int firstBack = RedOf(b->Frames[6]);
  EXPECT_GT(firstBack, shownRed);
  EXPECT_LE(firstBack - shownRed, 15);
  EXPECT_EQ(b->Frames.back().Pixel(5, 5), RGB(254, 0, 0));
}

TEST_F(FadeTest, WithoutFadingEnabledChangesShowAtOnce) {
  TFadeButton* b = Build("FADINGITERATIONS=20");
  b->Enter();
  EXPECT_EQ(b->Fade, nullptr);
  EXPECT_TRUE(b->Data.Dirty());
  Tick(10);
  EXPECT_TRUE(b->Frames.empty());
}

TEST_F(FadeTest, MissingIterationsMeanFiveAndIntervalsAreIgnored) {
  TFadeButton* b = Build("FADINGENABLED=true\nFADINGINTERVALIN=500\nFADINGINTERVALOUT=500");
  b->Enter();
  Tick(10);
  EXPECT_EQ(b->Frames.size(), 5u);
}

TEST_F(FadeTest, OneIterationHalvedDrawsNoFrame) {
  TFadeButton* b = Build("FADINGENABLED=TRUE\nFADINGITERATIONS=1");
  b->Down();
  Tick(5);
  EXPECT_TRUE(b->Frames.empty());
  EXPECT_EQ(b->Fade, nullptr);  // stopped by the next check
}

TEST_F(FadeTest, ADirtyCacheRepaintsWithoutAFade) {
  TFadeButton* b = Build("FADINGENABLED=TRUE\nFADINGITERATIONS=20");
  b->Data.SetDirty(true);
  b->Enter();
  EXPECT_EQ(b->Fade, nullptr);
  Tick(5);
  EXPECT_TRUE(b->Frames.empty());
}

TEST_F(FadeTest, OnlyTheWantedEventsAnimate) {
  TFadeButton* b = Build("FADINGENABLED=TRUE\nFADINGITERATIONS=4");
  b->Events = TacAnimatEvents{aeMouseDown};
  b->Enter();
  EXPECT_EQ(b->Fade, nullptr);
  b->RebuildFace();
  b->Down();
  EXPECT_NE(b->Fade, nullptr);

  EXPECT_TRUE(AnimationWanted(aeMouseLeave, TacAnimatEvents{aeGlobalDef}, Manager.get()));
  Manager->AnimEffects().Buttons.Events = TacBtnEvents{beMouseEnter, beMouseDown, beMouseUp};
  EXPECT_FALSE(AnimationWanted(aeMouseLeave, TacAnimatEvents{aeGlobalDef}, Manager.get()));
  EXPECT_TRUE(AnimationWanted(aeMouseLeave, TacAnimatEvents{aeMouseLeave}, Manager.get()));
  EXPECT_FALSE(AnimationWanted(aeMouseEnter, TacAnimatEvents{}, Manager.get()));
}

TEST_F(FadeTest, DisablingTheControlEndsTheFadeWithARepaint) {
  TFadeButton* b = Build("FADINGENABLED=TRUE\nFADINGITERATIONS=20");
  b->Enter();
  Tick(3);
  b->SetEnabled(false);
  b->Data.SetDirty(false);
  Tick(3);
  EXPECT_EQ(b->Frames.size(), 3u);
  EXPECT_TRUE(b->Data.Dirty());
}

}  // namespace
