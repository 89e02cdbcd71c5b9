// Skinned scroll bars: geometry and hit test by the documented formulas, and the
// mouse interaction of a memo's bar on the virtual clock.
#include <algorithm>
#include <vector>

#include "AdapterTestKit.h"
#include "platform/win/HitTest.h"
#include "platform/win/ScrollInfo.h"
#include "forms/CustomPanel.h"
#include "skin/controls/acSBUtils.h"
#include "skin/runtime/sBackground.h"

namespace {

TacScrollBar VerticalBar(int min, int max, int page, int pos) {
  TacScrollBar bar(nullptr, SB_VERT);
  bar.Info.nMin = min;
  bar.Info.nMax = max;
  bar.Info.nPage = static_cast<UINT>(page);
  bar.Info.nPos = pos;
  return bar;
}

}  // namespace

TEST(ScrollBarGeometry, MulDivRoundsAndTreatsAFailedDivisionAsZero) {
  EXPECT_EQ(acMulDiv(20, 86, 100), 17);
  EXPECT_EQ(acMulDiv(1, 3, 2), 2);
  EXPECT_EQ(acMulDiv(-1, 3, 2), -2);
  EXPECT_EQ(acMulDiv(5, 7, 0), 0);
}

TEST(ScrollBarGeometry, ThumbSizeAndOffsetFollowRangePageAndPosition) {
  const TRect r{0, 0, 17, 120};
  TacScrollBar bar = VerticalBar(0, 99, 20, 0);
  TacThumb t = ThumbGeometry(bar, r, 17);
  EXPECT_EQ(t.Size, 17) << "MulDiv(20, 86, 100)";
  EXPECT_EQ(t.Start, 17);
  bar.Info.nPos = 80;  // the last position: the thumb touches the second arrow
  t = ThumbGeometry(bar, r, 17);
  EXPECT_EQ(t.Start + t.Size, 120 - 17);
  bar.Info.nPos = 500;  // out of range: clamped to the track
  EXPECT_EQ(ThumbGeometry(bar, r, 17).Start, t.Start);
  bar.Info.nPage = 2;  // small page: the minimum thumb size
  EXPECT_EQ(ThumbGeometry(bar, r, 17).Size, 10);
  bar.Info.nPage = 0;  // no page: a square thumb
  EXPECT_EQ(ThumbGeometry(bar, r, 17).Size, 17);
  TacScrollBar empty = VerticalBar(5, 4, 3, 5);  // range 0
  EXPECT_EQ(ThumbGeometry(empty, r, 17).Size, 0);
  EXPECT_EQ(ThumbGeometry(empty, r, 17).Start, 17);
}

// A memo whose text fits (one line, the page clamped to the range) has nothing to
// scroll: no thumb to draw or to grab, however the page compares with the range.
TEST(ScrollBarGeometry, NothingToScrollHasNoThumb) {
  const TRect r{0, 0, 17, 120};
  for (TacScrollBar bar : {VerticalBar(0, 0, 1, 0), VerticalBar(0, 4, 5, 0), VerticalBar(0, 4, 9, 0)}) {
    const TacThumb t = ThumbGeometry(bar, r, 17);
    EXPECT_EQ(t.Size, 0) << bar.Info.nMax << "/" << bar.Info.nPage;
    EXPECT_EQ(ScrollBarHitTest(bar, r, {8, 60}, 17), kSBNone);
  }
  EXPECT_GT(ThumbGeometry(VerticalBar(0, 5, 5, 0), r, 17).Size, 0) << "six lines, five shown";
}

// Without a page the thumb is as long as an arrow, also over a range of one position.
TEST(ScrollBarGeometry, NoPageGivesAnArrowLongThumbWhateverTheRange) {
  const TRect r{0, 0, 17, 120};
  for (TacScrollBar bar : {VerticalBar(3, 3, 0, 3), VerticalBar(0, 0, 0, 0), VerticalBar(0, 1, 0, 1)}) {
    const TacThumb t = ThumbGeometry(bar, r, 17);
    EXPECT_EQ(t.Size, 17) << bar.Info.nMin << ".." << bar.Info.nMax;
    EXPECT_EQ(ScrollBarHitTest(bar, r, {8, t.Start + 8}, 17), kSBThumb) << bar.Info.nMin << ".." << bar.Info.nMax;
  }
  // One position: the thumb stands at the start of the track.
  EXPECT_EQ(ThumbGeometry(VerticalBar(3, 3, 0, 3), r, 17).Start, 17);
  EXPECT_EQ(ThumbGeometry(VerticalBar(0, 1, 0, 1), r, 17).Start, 120 - 17 - 17);
}

TEST(ScrollBarGeometry, HitTestFindsArrowsTrackAndThumb) {
  const TRect r{100, 50, 117, 170};
  const TacScrollBar bar = VerticalBar(0, 99, 20, 40);
  const TacThumb t = ThumbGeometry(bar, r, 17);
  EXPECT_EQ(ScrollBarHitTest(bar, r, {108, 50}, 17), kSBFirstArrow);
  EXPECT_EQ(ScrollBarHitTest(bar, r, {108, 169}, 17), kSBSecondArrow);
  EXPECT_EQ(ScrollBarHitTest(bar, r, {108, t.Start}, 17), kSBThumb);
  EXPECT_EQ(ScrollBarHitTest(bar, r, {108, t.Start - 1}, 17), kSBTrackBefore);
  EXPECT_EQ(ScrollBarHitTest(bar, r, {108, t.Start + t.Size}, 17), kSBTrackAfter);
  EXPECT_EQ(ScrollBarHitTest(bar, r, {117, 60}, 17), kSBNone) << "outside across the bar";
  EXPECT_EQ(ScrollBarHitTest(bar, r, {108, 170}, 17), kSBNone);
  // Too short for two arrows: two halves and nothing else.
  const TRect shortBar{0, 0, 17, 30};
  EXPECT_EQ(ScrollBarHitTest(bar, shortBar, {8, 14}, 17), kSBFirstArrow);
  EXPECT_EQ(ScrollBarHitTest(bar, shortBar, {8, 15}, 17), kSBSecondArrow);
  // A page as large as the range: no thumb, no track parts.
  const TacScrollBar full = VerticalBar(0, 9, 10, 0);
  EXPECT_EQ(ScrollBarHitTest(full, r, {108, 100}, 17), kSBNone);
}

// --- A memo with a skinned vertical bar -------------------------------------------------------

class ScrollBarTest : public AdapterTestBase {
protected:
  ScrollBarTest() { WithFormSkinning = false; }

  void SetUp() override {
    AdapterTestBase::SetUp();
    Form = MakeForm([this](TForm* f) {
      Memo = new TMemo(f);
      Memo->SetParent(f);
      Memo->SetBounds(20, 20, 200, 124);
      Memo->SetWordWrap(false);
      Memo->SetScrollBars(ssVertical);
      std::string text;
      for (int i = 0; i < 100; ++i) text += "Строка " + std::to_string(i) + "\r\n";
      Memo->Lines().SetText(text);
    });
    Spy.Attach(Memo);
    Wnd = InstallSubclass<TacEditWnd>(Memo->Handle(), nullptr, Manager.get(), "EDIT");
    Settle();
    Bar = Wnd->BarRect(SB_VERT);
  }
  void TearDown() override {
    Wnd.reset();
    AdapterTestBase::TearDown();
  }
  TPoint BottomArrow() const { return {(Bar.Left + Bar.Right) / 2, Bar.Bottom - 5}; }
  TPoint TopArrow() const { return {(Bar.Left + Bar.Right) / 2, Bar.Top + 5}; }
  TPoint ThumbCentre() {
    Wnd->VBar().ReadInfo(Memo->Handle());
    const TacThumb t = ThumbGeometry(Wnd->VBar(), Bar, Wnd->VBar().ArrowLength());
    return {(Bar.Left + Bar.Right) / 2, t.Start + t.Size / 2};
  }
  // The pixels of the bottom arrow as they are on the screen.
  std::vector<TColor> BottomArrowPixels() {
    Settle();
    TRect r;
    GetWindowRect(Form->Handle(), &r);
    std::vector<TColor> pixels;
    for (int y = Bar.Bottom - 17; y < Bar.Bottom; ++y)
      for (int x = Bar.Left; x < Bar.Right; ++x) pixels.push_back(WindowImage(Form->Handle())->Pixel(x - r.Left, y - r.Top));
    return pixels;
  }
  TColor ScreenPixel(TPoint p) {
    Settle();
    TRect r;
    GetWindowRect(Form->Handle(), &r);
    return WindowImage(Form->Handle())->Pixel(p.X - r.Left, p.Y - r.Top);
  }

  TForm* Form = nullptr;
  TMemo* Memo = nullptr;
  TScrollSpy Spy;
  std::unique_ptr<TacEditWnd> Wnd;
  TRect Bar;
};

TEST_F(ScrollBarTest, BarTakesItsRoomFromTheClientArea) {
  ASSERT_TRUE(Wnd->VBar().Visible);
  EXPECT_FALSE(Wnd->HBar().Visible) << "the style asks for no horizontal bar";
  TRect window, client;
  GetWindowRect(Memo->Handle(), &window);
  GetClientRect(Memo->Handle(), &client);
  EXPECT_EQ(Bar.Width(), 17);
  EXPECT_EQ(Bar.Height(), 120);
  EXPECT_EQ(client.Width(), window.Width() - 4 - 17);
  EXPECT_EQ(SendMessage(Memo->Handle(), WM_NCHITTEST, 0, PointToLParam(BottomArrow())), HTVSCROLL);
}

TEST_F(ScrollBarTest, HoldingAnArrowScrollsOnceThenRepeatsAfter300EveryFiftyFive) {
  const std::uint64_t start = GetTickCount();
  Backend->MouseMove(BottomArrow());
  Backend->MouseDown(BottomArrow());
  Settle();
  ASSERT_EQ(Spy.Count(SB_LINEDOWN), 1) << "one line at once";
  EXPECT_EQ(Memo->TopLine(), 1);
  EXPECT_EQ(ScrollInteraction().ShownPart, kSBSecondArrow);
  Wait(299);
  EXPECT_EQ(Spy.Count(SB_LINEDOWN), 1);
  Wait(1);  // 300 ms: the pause ends, the repeat rate starts
  EXPECT_EQ(Spy.Count(SB_LINEDOWN), 1);
  Wait(54);
  EXPECT_EQ(Spy.Count(SB_LINEDOWN), 1);
  Wait(1);
  ASSERT_EQ(Spy.Count(SB_LINEDOWN), 2) << "the first repeat 355 ms after the press";
  EXPECT_EQ(Spy.Requests.back().Time - start, 355u);
  Wait(55);
  Wait(55);
  EXPECT_EQ(Spy.Count(SB_LINEDOWN), 4);
  EXPECT_EQ(Memo->TopLine(), 4);
  // Off the arrow: the repeats pause and the arrow shows unpressed.
  Backend->MouseMove({BottomArrow().X, Bar.Top + 60});
  Wait(55);
  Wait(55);
  EXPECT_EQ(Spy.Count(SB_LINEDOWN), 4);
  EXPECT_EQ(ScrollInteraction().ShownPart, kSBNone);
  Backend->MouseMove(BottomArrow());
  Wait(55);
  EXPECT_EQ(Spy.Count(SB_LINEDOWN), 5) << "back on the arrow, the repeats go on";
  Backend->MouseUp(BottomArrow());
  Settle();
  EXPECT_EQ(Spy.Count(SB_ENDSCROLL), 1);
  EXPECT_EQ(Spy.Requests.back().Pos, 0);
  Wait(500);
  EXPECT_EQ(Spy.Count(SB_LINEDOWN), 5) << "released: no more repeats";
  EXPECT_EQ(ScrollInteraction().PressedPart, kSBNone);
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksAndEndsWithTheFinalPosition) {
  Wnd->VBar().ReadInfo(Memo->Handle());
  const SCROLLINFO info = Wnd->VBar().Info;
  const TPoint grab = ThumbCentre();
  Backend->MouseMove(grab);
  Backend->MouseDown(grab);
  Settle();
  EXPECT_TRUE(Wnd->ThumbTracking);
  Backend->MouseMove({grab.X, grab.Y + 20});
  Settle();
  ASSERT_GE(Spy.Count(SB_THUMBTRACK), 1);
  const int middle = Spy.Requests.back().Pos;
  EXPECT_GT(middle, 0);
  EXPECT_EQ(Memo->TopLine(), middle) << "the memo follows the thumb";
  // Far below the bar: the thumb stops at the track's end.
  Backend->MouseMove({grab.X + 40, Bar.Bottom + 200});
  Settle();
  const int r = info.nMax - info.nMin;
  EXPECT_EQ(Spy.Requests.back().Code, SB_THUMBTRACK);
  EXPECT_EQ(Spy.Requests.back().Pos, r - static_cast<int>(info.nPage) + 2);
  const std::size_t before = Spy.Requests.size();
  Backend->MouseMove({grab.X + 41, Bar.Bottom + 210});
  Settle();
  EXPECT_EQ(Spy.Requests.size(), before) << "the same position is not sent twice";
  Backend->MouseUp({grab.X, Bar.Bottom + 200});
  Settle();
  ASSERT_GE(Spy.Requests.size(), 2u);
  const auto& position = Spy.Requests[Spy.Requests.size() - 2];
  const auto& end = Spy.Requests.back();
  EXPECT_EQ(position.Code, SB_THUMBPOSITION);
  EXPECT_EQ(position.Pos, r - static_cast<int>(info.nPage) + 2);
  EXPECT_EQ(end.Code, SB_ENDSCROLL);
  EXPECT_EQ(end.Pos, position.Pos);
  EXPECT_FALSE(Wnd->ThumbTracking);
  EXPECT_EQ(GetScrollPos(Memo->Handle(), SB_VERT), info.nMax - static_cast<int>(info.nPage) + 1)
      << "the platform keeps the position in its valid range";
  EXPECT_EQ(Memo->TopLine(), info.nMax - static_cast<int>(info.nPage) + 1);
}

TEST_F(ScrollBarTest, HoveredArrowIsHotAndPressedArrowIsPressed) {
  const std::vector<TColor> normal = BottomArrowPixels();
  Backend->MouseMove(BottomArrow());
  Settle();
  EXPECT_EQ(ScrollInteraction().HoverWindow, Memo->Handle());
  Wait(20);
  EXPECT_EQ(ScrollInteraction().HoverPart, kSBSecondArrow);
  const std::vector<TColor> hot = BottomArrowPixels();
  EXPECT_NE(hot, normal);
  Backend->MouseDown(BottomArrow());
  Settle();
  const std::vector<TColor> pressed = BottomArrowPixels();
  EXPECT_NE(pressed, hot);
  EXPECT_NE(pressed, normal);
  Backend->MouseUp(BottomArrow());
  // Away from the bar: the next hover tick ends the hover and the arrow is normal again.
  Backend->MouseMove({Bar.Left - 60, Bar.Top + 30});
  Wait(20);
  EXPECT_EQ(ScrollInteraction().HoverWindow, nullptr);
  EXPECT_EQ(BottomArrowPixels(), normal);
}

TEST_F(ScrollBarTest, UnavailableBarIsBlendedWithTheBackgroundAndIgnoresPresses) {
  const TPoint probe{Bar.Left + 3, Bar.Bottom - 3};
  const TColor enabled = ScreenPixel(probe);
  EnableScrollBar(Memo->Handle(), SB_VERT, ESB_DISABLE_BOTH);
  Settle();
  EXPECT_EQ(SendMessage(Memo->Handle(), WM_NCHITTEST, 0, PointToLParam(BottomArrow())), HTNOWHERE);
  const TColor disabled = ScreenPixel(probe);
  const TColor back = ColorToRGB(Form->Color());
  for (int i = 0; i < 3; ++i)
    EXPECT_NEAR(Channel(disabled, i), (40 * Channel(enabled, i) + 60 * Channel(back, i)) / 100, 2) << "channel " << i;
  Backend->MouseMove(BottomArrow());
  Backend->MouseDown(BottomArrow());
  Settle();
  Backend->MouseUp(BottomArrow());
  Settle();
  EXPECT_EQ(Spy.Count(SB_LINEDOWN), 0);
  EXPECT_EQ(Memo->TopLine(), 0);
}

TEST_F(ScrollBarTest, UninstallGivesThePlatformItsBarsBack) {
  TRect skinnedClient;
  GetClientRect(Memo->Handle(), &skinnedClient);
  const TColor skinned = ScreenPixel({Bar.Left + 3, Bar.Bottom - 3});
  Wnd->Uninstall();
  Settle();
  TRect client;
  GetClientRect(Memo->Handle(), &client);
  EXPECT_EQ(client, skinnedClient) << "the platform's bar takes the same room";
  EXPECT_EQ(TacMainWnd::Of(Memo->Handle()), nullptr);
  EXPECT_NE(ScreenPixel({Bar.Left + 3, Bar.Bottom - 3}), skinned) << "the classic arrow is back";
  // Pressing the arrow now runs the platform's own bar.
  Backend->MouseMove(BottomArrow());
  Backend->MouseDown(BottomArrow());
  Backend->MouseUp(BottomArrow());
  Settle();
  EXPECT_EQ(Spy.Count(SB_LINEDOWN), 1);
}

TEST_F(ScrollBarTest, PositionsBeyondSixteenBitsAreClampedUnlessTheWindowAsksForThemWhole) {
  SendScrollRequest(Memo->Handle(), WM_VSCROLL, SB_THUMBTRACK, 70000);
  ASSERT_EQ(Spy.Requests.size(), 1u);
  EXPECT_EQ(Spy.Requests[0].Pos, 65535);
  EXPECT_EQ(Spy.Requests[0].LParam, 0);
  EXPECT_EQ(GetScrollPos(Memo->Handle(), SB_VERT), Memo->TopLine()) << "a thumb track sets the position first";
  Spy.Answer51 = true;
  SendScrollRequest(Memo->Handle(), WM_VSCROLL, SB_THUMBPOSITION, 70000);
  ASSERT_EQ(Spy.Requests.size(), 2u);
  EXPECT_EQ(Spy.Requests[1].Pos, 70000 & 0xFFFF);
  EXPECT_EQ(Spy.Requests[1].LParam, 70000);
}

// A memo with both bars: the horizontal one, the size box between them.
class ScrollBarBothTest : public ScrollBarTest {
protected:
  void SetUp() override {
    ScrollBarTest::SetUp();
    Wnd.reset();
    Memo->SetScrollBars(ssBoth);
    Wnd = InstallSubclass<TacEditWnd>(Memo->Handle(), nullptr, Manager.get(), "EDIT");
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = 199;
    si.nPage = 50;
    si.nPos = 0;
    SetScrollInfo(Memo->Handle(), SB_HORZ, &si, true);
    Settle();
    HBarRect = Wnd->BarRect(SB_HORZ);
    Bar = Wnd->BarRect(SB_VERT);
  }
  TRect HBarRect;
};

TEST_F(ScrollBarBothTest, BothBarsLeaveASizeBoxAndTheHorizontalThumbEndsAtRangeMinusPagePlusOne) {
  ASSERT_TRUE(Wnd->HBar().Visible);
  ASSERT_TRUE(Wnd->VBar().Visible);
  EXPECT_EQ(HBarRect.Height(), 17);
  EXPECT_EQ(HBarRect.Right, Bar.Left) << "the horizontal bar stops at the vertical one";
  EXPECT_EQ(Bar.Bottom, HBarRect.Top);
  const TRect box = SizeBoxRect(*Wnd);
  EXPECT_EQ(box, (TRect{Bar.Left, HBarRect.Top, Bar.Right, HBarRect.Bottom}));
  EXPECT_FALSE(SizeBoxHasGrip(*Wnd)) << "not on the corner of the form's client area";
  EXPECT_EQ(SendMessage(Memo->Handle(), WM_NCHITTEST, 0, PointToLParam({HBarRect.Left + 5, HBarRect.Top + 5})),
            HTHSCROLL);
  Wnd->HBar().ReadInfo(Memo->Handle());
  const TacThumb thumb = ThumbGeometry(Wnd->HBar(), HBarRect, 17);
  const TPoint grab{thumb.Start + thumb.Size / 2, (HBarRect.Top + HBarRect.Bottom) / 2};
  Backend->MouseMove(grab);
  Backend->MouseDown(grab);
  Backend->MouseMove({HBarRect.Right + 300, grab.Y});
  Settle();
  ASSERT_FALSE(Spy.Requests.empty());
  EXPECT_EQ(Spy.Requests.back().Msg, WM_HSCROLL);
  EXPECT_EQ(Spy.Requests.back().Code, SB_THUMBTRACK);
  EXPECT_EQ(Spy.Requests.back().Pos, 199 - 50 + 1);
  EXPECT_EQ(GetScrollPos(Memo->Handle(), SB_HORZ), 150);
  Backend->MouseUp({HBarRect.Right + 300, grab.Y});
  Settle();
  EXPECT_EQ(Spy.Requests.back().Code, SB_ENDSCROLL);
  EXPECT_EQ(Spy.Requests.back().Msg, WM_HSCROLL);
}

TEST_F(ScrollBarBothTest, SizeBoxOnTheFormsCornerShowsTheGripAndAnswersTheSizingCode) {
  const TRect client = Form->ClientRect();
  Memo->SetBounds(client.Right - Memo->Width(), client.Bottom - Memo->Height(), Memo->Width(), Memo->Height());
  Settle();
  ASSERT_TRUE(SizeBoxHasGrip(*Wnd));
  const TRect box = SizeBoxRect(*Wnd);
  const TPoint inside{box.Right - 3, box.Bottom - 3};
  EXPECT_EQ(SendMessage(Memo->Handle(), WM_NCHITTEST, 0, PointToLParam(inside)), HTBOTTOMRIGHT);
  // The grip is drawn: the box is no longer plain background.
  TRect f;
  GetWindowRect(Form->Handle(), &f);
  const TBitmap* image = WindowImage(Form->Handle());
  int differing = 0;
  const TColor back = image->Pixel(box.Left - f.Left, box.Top - f.Top);
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x) differing += image->Pixel(x - f.Left, y - f.Top) != back ? 1 : 0;
  EXPECT_GT(differing, 5);
}

namespace {

// A skinned-looking parent that does not know its background yet.
class TUnreadyPanel : public TPanel {
public:
  using TPanel::TPanel;
  bool Ready = false;
  void WndProc(TMessage& m) override {
    if (m.Msg == SM_ALPHACMD && CommandOf(m.WParam) == AC_CTRLHANDLED) {
      m.Result = 1;
      return;
    }
    if (m.Msg == SM_ALPHACMD && CommandOf(m.WParam) == AC_GETCACHE && m.LParam && !Ready) {
      auto& request = *reinterpret_cast<TacBGInfo*>(m.LParam);
      request.BgType = btFill;
      request.Color = clFuchsia;
      return;
    }
    TPanel::WndProc(m);
  }
};

}  // namespace

TEST_F(ScrollBarTest, BarsPaintedBeforeTheParentKnowsItsBackgroundShowNoKeyColourAndComeAgain) {
  auto* panel = new TUnreadyPanel(Form);
  panel->SetParent(Form);
  panel->SetBounds(240, 10, 160, 150);
  panel->SetColor(0x00A0B0C0);
  auto* memo = new TMemo(Form);
  memo->SetParent(panel);
  memo->SetBounds(5, 5, 140, 124);
  memo->SetScrollBars(ssVertical);
  memo->Lines().SetText("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n");
  Settle();
  auto wnd = InstallSubclass<TacEditWnd>(memo->Handle(), nullptr, Manager.get(), "EDIT");
  Settle();
  EXPECT_TRUE(wnd->BackgroundPending);
  const TRect bar = wnd->BarRect(SB_VERT);
  TRect f;
  GetWindowRect(Form->Handle(), &f);
  const TBitmap* image = WindowImage(Form->Handle());
  TRect w;
  GetWindowRect(memo->Handle(), &w);
  int keyPixels = 0;
  for (int y = w.Top; y < w.Bottom; ++y)
    for (int x = w.Left; x < w.Right; ++x) keyPixels += image->Pixel(x - f.Left, y - f.Top) == clFuchsia ? 1 : 0;
  EXPECT_EQ(keyPixels, 0);
  EXPECT_FALSE(bar.IsEmpty());
  SendMessage(memo->Handle(), SM_ALPHACMD, MakeCommandWParam(AC_PARENTPAINTED), 0);
  EXPECT_TRUE(wnd->BackgroundPending) << "still nothing known: painted again with the colour";
  panel->Ready = true;
  SendMessage(memo->Handle(), SM_ALPHACMD, MakeCommandWParam(AC_PARENTPAINTED), 0);
  EXPECT_FALSE(wnd->BackgroundPending) << "told that the parent painted, the frame is painted again";
  wnd.reset();
}
