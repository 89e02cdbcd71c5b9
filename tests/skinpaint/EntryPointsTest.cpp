// The painter's other entry points: into a device context, by section name, section
// texts, fills and border bands, and requests to a parent without a window.
#include <gtest/gtest.h>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"
#include "tests/skinpaint/FadeTestKit.h"
#include "tests/skinpaint/PaintTestSkin.h"

namespace {

TEST(EntryPoints, PaintSectionToDCCopiesTheFaceToTheRectangle) {
  TPaintSkin skin;
  const int s = skin.AddSection("BAR", 0x0000FF);
  TBitmap screen = Filled(50, 40, 0);
  TDeviceContext dc(screen);
  PaintSectionToDC(s, "BAR", BackgroundInfo::FromColor(kKey), &skin.Model, &dc, {}, {10, 5, 30, 25}, TacPaintState::Normal, true);
  EXPECT_EQ(screen.Pixel(10, 5), 0x0000FF);
  EXPECT_EQ(screen.Pixel(29, 24), 0x0000FF);
  EXPECT_EQ(screen.Pixel(30, 25), 0);
  EXPECT_EQ(screen.Pixel(9, 5), 0);
}

TEST(EntryPoints, PaintSectionByNameFallsBackToTheAlternativeName) {
  TPaintSkin skin;
  skin.AddSection("PANEL", 0x00FF00);
  const int bar = skin.AddSection("BAR", 0x0000FF);
  skin.Section(bar).Transparency = 100;
  TBitmap b = Filled(8, 8, 0);
  EXPECT_EQ(PaintSectionByName(b, "NOSUCH", "PANEL", nullptr, 0, {0, 0, 8, 8}, &skin.Model, TacPaintState::Normal), 0);
  EXPECT_EQ(b.Pixel(4, 4), 0x00FF00);
  EXPECT_EQ(PaintSectionByName(b, "NOSUCH", "NEITHER", nullptr, 0, {0, 0, 8, 8}, &skin.Model, TacPaintState::Normal), -1);
  // The background comes from the source context: a see-through section shows it.
  TBitmap screen = PatternedParent(30, 30);
  TDeviceContext dc(screen);
  EXPECT_EQ(PaintSectionByName(b, "BAR", "", &dc, 0, {5, 6, 13, 14}, &skin.Model, TacPaintState::Normal), bar);
  EXPECT_EQ(b.Pixel(0, 0), screen.Pixel(5, 6));
  EXPECT_EQ(b.Pixel(7, 7), screen.Pixel(12, 13));
}

TEST(EntryPoints, SectionTextDrawsOutlinesAndDisabledMix) {
  TPaintSkin skin;
  const int s = skin.AddSection("LABEL", 0xFFFFFF);
  skin.Section(s).FontColor[0] = 0x0000FF;
  skin.Section(s).FontColor[3] = 0x00FF00;  // right outline only
  TBitmap b = Filled(80, 30, 0xFFFFFF);
  TDeviceContext& dc = b.Canvas();
  DrawSectionText(dc, "WWW", true, &skin.Model, TacPaintState::Normal, s, 0, {2, 2, 78, 28});
  bool red = false, green = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) {
      red |= b.Pixel(x, y) == 0x0000FF;
      const TColor c = b.Pixel(x, y);  // the outline shows only at glyph edges, smoothed
      green |= GetGValue(static_cast<COLORREF>(c)) > 160 && GetRValue(static_cast<COLORREF>(c)) < 60;
    }
  EXPECT_TRUE(red);
  EXPECT_TRUE(green);
  // Disabled: one colour, round(0.4 * font + 0.6 * COLOR) = (102, 153, 153) in RGB order.
  b.Fill(0xFFFFFF);
  skin.Section(s).Color = 0x000000;
  DrawSectionText(dc, "WWW", false, &skin.Model, TacPaintState::Normal, s, 0, {2, 2, 78, 28});
  bool mixed = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) mixed |= b.Pixel(x, y) == RGB(102, 0, 0);
  EXPECT_TRUE(mixed);
  // Nothing for an invalid section.
  b.Fill(0xFFFFFF);
  DrawSectionText(dc, "WWW", true, &skin.Model, TacPaintState::Normal, 99, 0, {2, 2, 78, 28});
  EXPECT_EQ(b.Pixel(10, 10), 0xFFFFFF);
}

TEST(EntryPoints, BorderBandFillsFourBandsAndSystemColoursResolve) {
  TBitmap b = Filled(20, 20, 0);
  TDeviceContext dc(b);
  FillBorderBand(&dc, {0, 0, 20, 20}, 1, 2, 3, 4, 0x0000FF);
  EXPECT_EQ(b.Pixel(10, 1), 0x0000FF);   // top, 2 rows
  EXPECT_EQ(b.Pixel(10, 2), 0);
  EXPECT_EQ(b.Pixel(0, 10), 0x0000FF);   // left, 1 column
  EXPECT_EQ(b.Pixel(17, 10), 0x0000FF);  // right, 3 columns
  EXPECT_EQ(b.Pixel(16, 10), 0);
  EXPECT_EQ(b.Pixel(10, 16), 0x0000FF);  // bottom, 4 rows
  EXPECT_EQ(b.Pixel(10, 15), 0);
  FillRectColor(&dc, {5, 5, 6, 6}, clBtnFace);
  EXPECT_EQ(b.Pixel(5, 5), ColorToRGB(clBtnFace));
}

// A parent without a window answers through a direct call.
class TNoWindowParent : public TCustomControl {
public:
  explicit TNoWindowParent(TComponent* owner) : TCustomControl(owner) { ControlStyle_.Include(csAcceptsControls); }
  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD && CommandOf(message.WParam) == AC_GETCACHE) {
      auto* request = reinterpret_cast<TacBGInfo*>(message.LParam);
      request->BgType = btFill;
      request->Color = 0x445566;
      ++Requests;
      return;
    }
    TCustomControl::WndProc(message);
  }
  int Requests = 0;
};

TEST_F(FadeTest, ParentsWithoutAWindowAreAskedDirectly) {
  TFadeButton* b = Build("");
  auto* parent = new TNoWindowParent(Form);
  parent->SetBounds(0, 0, 100, 100);
  b->SetParent(parent);
  ASSERT_FALSE(parent->HandleAllocated());
  TacBGInfo request;
  EXPECT_TRUE(GetParentBackground(request, b, false));
  EXPECT_EQ(parent->Requests, 1);
  EXPECT_EQ(request.Color, 0x445566);
  EXPECT_FALSE(parent->HandleAllocated());
}

TEST_F(FadeTest, NoManagerMeansTheDefaultManager) {
  Build("");
  ASSERT_EQ(TsSkinManager::DefaultManager(), Manager.get());
  TBitmap b = Filled(10, 10, 0);
  const int index = Manager->SectionIndexOf("BUTTON");
  PaintSectionByIndex(index, "BUTTON", BackgroundInfo::FromColor(kKey), -1, -1, nullptr, &b, {}, {0, 0, 10, 10}, TacPaintState::Normal, true);
  EXPECT_EQ(b.Pixel(5, 5), 0x0000FF);
  TBitmap c = Filled(10, 10, 0);
  EXPECT_EQ(PaintSectionByName(c, "BUTTON", "", nullptr, 0, {0, 0, 10, 10}, nullptr, TacPaintState::Hot), index);
  EXPECT_EQ(c.Pixel(5, 5), 0x00FF00);
}

}  // namespace
