// Skinned panels: the cached face and when it is rebuilt, background answers to
// children (with the border offset), command 6 to windowed children, captions in
// the section's font colours, and speed buttons drawn on a panel.
#include "tests/skincontrols/PanelTestKit.h"

#include "forms/CustomControl.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/runtime/acBroadcast.h"

namespace {

// A windowed child that counts the parent's "painted" notices.
class TProbeChild : public TCustomControl {
public:
  explicit TProbeChild(TComponent* owner) : TCustomControl(owner) {}
  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD && CommandOf(message.WParam) == AC_PARENTPAINTED) {
      ++Notices;
      return;
    }
    TCustomControl::WndProc(message);
  }
  int Notices = 0;
};

int CountColour(const TBitmap& b, TRect r, TColor c) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (b.Pixel(x, y) == c) ++n;
  return n;
}

using PanelTest = PanelTestBase;

TEST_F(PanelTest, GradientPanelKeepsItsFaceAndHandsItToChildren) {
  auto* panel = Add<TsPanel>(Form, 10, 10, 200, 120);
  auto* child = Add<TProbeChild>(panel, 30, 20, 40, 20);
  ShowForm();
  TsCommonData& d = *panel->SkinData();
  ASSERT_GE(d.SkinIndex(), 0);
  EXPECT_TRUE(panel->UsesCache());  // the internal PANEL has a gradient
  EXPECT_FALSE(d.Dirty());
  TacBGInfo request;
  EXPECT_TRUE(GetParentBackground(request, child, false));
  EXPECT_EQ(request.BgType, btCache);
  EXPECT_EQ(request.Bmp, d.Cache());
  EXPECT_EQ(request.OffsetX, 0);
  EXPECT_EQ(request.OffsetY, 0);
  // The window shows the cache.
  EXPECT_EQ(FormPixel(panel, 5, 5), d.Cache()->Pixel(5, 5));
  EXPECT_EQ(FormPixel(panel, 150, 100), d.Cache()->Pixel(150, 100));
  EXPECT_NE(d.Cache()->Pixel(100, 10), d.Cache()->Pixel(100, 110));  // a gradient, top to bottom
}

TEST_F(PanelTest, BorderShiftsTheAnswerToTheClientOrigin) {
  auto* panel = Add<TsPanel>(Form, 10, 10, 200, 120);
  panel->SetBorderStyle(bsSingle);
  auto* child = Add<TProbeChild>(panel, 30, 20, 40, 20);
  ShowForm();
  ASSERT_NE(panel->ClientWidth(), panel->Width());
  TacBGInfo request;
  GetParentBackground(request, child, false);
  ASSERT_EQ(request.BgType, btCache);
  EXPECT_EQ(request.OffsetX, (panel->Width() - panel->ClientWidth()) / 2);
  EXPECT_EQ(request.OffsetY, (panel->Height() - panel->ClientHeight()) / 2);
  EXPECT_GT(request.OffsetX, 0);
}

TEST_F(PanelTest, FaceIsRebuiltOnlyWhenItsLookChanged) {
  auto* panel = Add<TsPanel>(Form, 10, 10, 200, 120);
  ShowForm();
  const int built = panel->RenderCount();
  EXPECT_GE(built, 1);
  panel->Invalidate();
  UpdateAllWindows();
  EXPECT_EQ(panel->RenderCount(), built);
  panel->SetCaption("Admin");
  UpdateAllWindows();
  EXPECT_EQ(panel->RenderCount(), built + 1);
  panel->SetBounds(10, 10, 220, 120);
  UpdateAllWindows();
  EXPECT_EQ(panel->RenderCount(), built + 2);
  EXPECT_EQ(panel->SkinData()->Cache()->Width(), 220);
}

TEST_F(PanelTest, WindowedChildrenThatShowHearThePanelHasPainted) {
  auto* panel = Add<TsPanel>(Form, 10, 10, 200, 120);
  auto* shown = Add<TProbeChild>(panel, 10, 10, 30, 20);
  auto* hidden = Add<TProbeChild>(panel, 50, 10, 30, 20);
  hidden->SetVisible(false);
  ShowForm();
  shown->Notices = hidden->Notices = 0;
  RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(shown->Notices, 1);
  EXPECT_EQ(hidden->Notices, 0);
  // A paint into a context the caller hands over is no real paint: nobody is told.
  TBitmap copy(200, 120, TPixelFormat::pf24bit);
  panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(&copy.Canvas()), 0);
  EXPECT_EQ(shown->Notices, 1);
}

TEST_F(PanelTest, InnerPanelWaitsForItsSuspendedContainerAndPaintsWhenTold) {
  auto* outer = Add<TsPanel>(Form, 10, 10, 300, 200);
  auto* inner = Add<TsPanel>(outer, 20, 20, 120, 80);
  ShowForm();
  const int built = inner->RenderCount();
  outer->Perform(SM_ALPHACMD, MakeCommandWParam(AC_SETSUSPENDED, 1), 0);
  ASSERT_EQ(SendAlphaCmd(outer, AC_ISSUSPENDED), 1);
  inner->SetCaption("ivanov");  // a new look, but the container has not painted
  UpdateAllWindows();
  EXPECT_EQ(inner->RenderCount(), built);
  EXPECT_TRUE(inner->SkinData()->Suspended());
  // The container resumes and paints: the inner panel is told and paints now.
  outer->SkinData()->SetSuspended(false);
  SendMessage(inner->Handle(), SM_ALPHACMD, MakeCommandWParam(AC_PARENTPAINTED), 0);
  EXPECT_FALSE(inner->SkinData()->Suspended());
  EXPECT_EQ(inner->RenderCount(), built + 1);
}

TEST_F(PanelTest, CaptionIsWrittenInTheSectionFontColourNotTheFonts) {
  auto* panel = Add<TsPanel>(Form, 10, 10, 200, 60);
  panel->Font().SetName("Arial");
  panel->Font().SetHeight(-21);
  panel->Font().SetStyle({fsBold});
  panel->Font().SetColor(clRed);
  panel->SetCaption("WWW");
  ShowForm();
  const TBitmap& face = *panel->SkinData()->Cache();
  const TColor expected = Section("PANEL").FontColor[0];
  EXPECT_GT(CountColour(face, {0, 0, 200, 60}, ColorToRGB(expected)), 20);
  EXPECT_EQ(CountColour(face, {0, 0, 200, 60}, ColorToRGB(clRed)), 0);
  // A disabled panel writes it once in 40 % font colour over 60 % GLOBALINFO colour.
  panel->SetEnabled(false);
  UpdateAllWindows();
  EXPECT_EQ(CountColour(face, {0, 0, 200, 60}, ColorToRGB(expected)), 0);
  const TColor global = DisabledMix(expected, Manager->GlobalColor());
  const TColor own = DisabledMix(expected, Section("PANEL").Color);
  ASSERT_NE(global, own);
  EXPECT_GT(CountColour(face, {0, 0, 200, 60}, global), 20);
  EXPECT_EQ(CountColour(face, {0, 0, 200, 60}, own), 0);
}

// The current user's panel: 64 pixels for a login in Arial 21 bold. A longer login
// is drawn in smaller sizes of the font until it fits, centred, nothing cut off.
TEST_F(PanelTest, AShrinkingCaptionFitsItsRoomWithoutChangingTheFont) {
  auto makeUserPanel = [this](int left, bool shrink) {
    auto* panel = Add<TsPanel>(Form, left, 10, 64, 48);
    panel->Font().SetName("Arial");
    panel->Font().SetHeight(-21);
    panel->Font().SetStyle({fsBold});
    panel->SetShrinkCaption(shrink);
    return panel;
  };
  auto* blank = makeUserPanel(10, true);
  auto* shrunk = makeUserPanel(90, true);
  auto* clipped = makeUserPanel(170, false);
  blank->SetCaption("");
  shrunk->SetCaption("Смирнов");
  clipped->SetCaption("Смирнов");
  ShowForm();
  EXPECT_EQ(shrunk->Font().Height(), -21);
  EXPECT_EQ(shrunk->Width(), 64);
  EXPECT_EQ(shrunk->Height(), 48);
  const int drawn = shrunk->CaptionFontHeight(64 - 2);
  EXPECT_GT(drawn, -21);
  EXPECT_LE(drawn, -6);
  // Columns holding ink: where the face differs from the blank panel's.
  auto inkColumns = [&](TsPanel* panel, int& first, int& last) {
    first = 64;
    last = -1;
    for (int x = 0; x < 64; ++x)
      for (int y = 0; y < 48; ++y)
        if (panel->SkinData()->Cache()->Pixel(x, y) != blank->SkinData()->Cache()->Pixel(x, y)) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
  };
  int first = 0, last = 0;
  inkColumns(clipped, first, last);
  EXPECT_LE(first, 1) << "unshrunk, the login runs over both edges";
  EXPECT_GE(last, 62);
  inkColumns(shrunk, first, last);
  EXPECT_GE(first, 2);
  EXPECT_LE(last, 61);
  EXPECT_LE(std::abs((first + last) / 2 - 32), 2) << "centred";
  // A login that fits keeps the full size.
  EXPECT_EQ(shrunk->CaptionFontHeight(400), -21);
}

TEST_F(PanelTest, AnswerRowCaptionsUseTheSectionsFontColours) {
  // The tester's answer row: speed buttons made at run time on a plain panel, with
  // red and black fonts that only an unskinned look would show.
  auto* row = Add<TsPanel>(Form, 0, 0, 400, 56);
  TsSpeedButton* buttons[2];
  for (int j = 0; j < 2; ++j) {
    buttons[j] = Add<TsSpeedButton>(row, 10 + 80 * j, 2, 70, 50);
    buttons[j]->SetGroupIndex(1);
    buttons[j]->SetCaption(j == 0 ? "A" : "B");
    buttons[j]->Font().SetHeight(-27);
    buttons[j]->Font().SetStyle({fsBold});
    buttons[j]->Font().SetColor(j == 0 ? clRed : clBlack);
  }
  buttons[0]->SetDown(true);
  ShowForm();
  const TsGeneralData& section = Section("SPEEDBUTTON");
  const TRect face{0, 0, 70, 50};
  const TBitmap& pressed = *buttons[0]->SkinData()->Cache();
  const TBitmap& normal = *buttons[1]->SkinData()->Cache();
  EXPECT_GT(CountColour(pressed, face, ColorToRGB(section.HotFontColor[0])), 10);
  EXPECT_EQ(CountColour(pressed, face, ColorToRGB(clRed)), 0);
  EXPECT_GT(CountColour(normal, face, ColorToRGB(section.FontColor[0])), 10);
}

}  // namespace
