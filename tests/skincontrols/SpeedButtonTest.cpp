#include "skin/controls/sSpeedButton.h"

#include "forms/DriverProperties.h"
#include "platform/gfx/ImageFile.h"
#include "tests/skincontrols/ButtonTestKit.h"

namespace {

class SpeedButtonTest : public ButtonTestBase {};

TEST_F(SpeedButtonTest, BindsToTheSpeedButtonSectionOfTheInternalSkin) {
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  b->SetCaption("Теория");
  ShowForm();
  ASSERT_NE(b->SkinData(), nullptr);
  EXPECT_EQ(b->SkinData()->SkinSection(), "SPEEDBUTTON");
  EXPECT_GE(b->SkinData()->SkinIndex, 0);
  RegisterSkinInfoForDriver();
  EXPECT_EQ(TDriverProperties::Read(*b, "SkinSection").value_or(""), "SPEEDBUTTON");
  EXPECT_EQ(b->RenderCount(), 1);
  SavePngToFile(Backend->Desktop(), "/tmp/sb.png");
}

}  // namespace

namespace {

TEST_F(SpeedButtonTest, HoverFadesThroughIntermediateFramesToTheHotFace) {
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  b->SetCaption("Теория");
  ShowForm();
  const TBitmap normal = *b->SkinData()->CacheBmp;
  const TColor normalPixel = ScreenPixel(b, 50, 4);
  MoveTo(b, 50, 15);
  ASSERT_NE(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->FadeTimer()->Iterations, 20);
  EXPECT_EQ(b->PaintState(), 1);
  const TBitmap hot = *b->SkinData()->CacheBmp;
  const TColor hotPixel = hot.Pixel(50, 4);
  ASSERT_GT(ColourDistance(normal.Pixel(50, 4), hotPixel), 20);
  int intermediate = 0, frames = 0;  // frames seen on screen while the fade runs
  TColor last = ScreenPixel(b, 50, 4);
  while (b->FadeTimer() && frames < 40) {
    if (ColourDistance(last, normalPixel) > 2 && ColourDistance(last, hotPixel) > 2 && Between(last, normalPixel, hotPixel))
      ++intermediate;
    Tick();
    ++frames;
    last = ScreenPixel(b, 50, 4);
  }
  EXPECT_EQ(b->FadeTimer(), nullptr);
  EXPECT_GE(intermediate, 15);
  EXPECT_EQ(frames, 20);
  EXPECT_LE(ColourDistance(ScreenPixel(b, 50, 4), hotPixel), 1);
  SavePngToFile(Backend->Desktop(), "/tmp/sb-hot.png");
  Backend->MouseDown(Screen(b, 50, 15));
  Drain();
  ASSERT_NE(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->FadeTimer()->Iterations, 10);
  EXPECT_EQ(b->PaintState(), 2);
  Tick(12);
  SavePngToFile(Backend->Desktop(), "/tmp/sb-down.png");
}

}  // namespace
