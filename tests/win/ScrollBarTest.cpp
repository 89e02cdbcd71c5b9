// Standard scroll bars: information calls, the codes default handling sends and auto-repeat timing.
#include "tests/win/WinTestSupport.h"

namespace {

struct TScrollEvent {
  UINT Message;
  int Code;
  int Pos;
  DWORD Time;
};
std::vector<TScrollEvent> gScrolls;

LRESULT ScrolledProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_VSCROLL || m == WM_HSCROLL) gScrolls.push_back({m, LOWORD(w), HIWORD(w), GetTickCount()});
  return DefWindowProc(h, m, w, l);
}

class ScrollBarTest : public WinTest {
protected:
  void SetUp() override {
    WinTest::SetUp();
    gScrolls.clear();
    WNDCLASSEX wc;
    wc.lpfnWndProc = &ScrolledProc;
    wc.lpszClassName = "Scrolled";
    RegisterClassEx(wc);
    // 100 x 120, no frame: the vertical bar is x 83..100, arrows 17 long.
    Window = CreateWindowEx(0, "Scrolled", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 100, 137,
                            nullptr, nullptr, nullptr, nullptr);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 20;
    si.nPos = 0;
    SetScrollInfo(Window, SB_VERT, &si, true);
    Start = GetTickCount();
  }
  std::vector<int> Codes() const {
    std::vector<int> c;
    for (auto& e : gScrolls) c.push_back(e.Code);
    return c;
  }
  HWND Window = nullptr;
  DWORD Start = 0;
};

TEST_F(ScrollBarTest, GeometryFollowsTheScrollInformation) {
  TRect client = ClientRect(Window);
  EXPECT_EQ(client, (TRect{0, 0, 83, 120}));
  SCROLLBARINFO info;
  ASSERT_TRUE(GetScrollBarInfo(Window, OBJID_VSCROLL, &info));
  EXPECT_EQ(info.rcScrollBar, (TRect{83, 0, 100, 120}));
  EXPECT_EQ(info.dxyLineButton, 17);
  // Thumb: MulDiv(20, 86, 100) = 17 pixels, at the top of the track.
  EXPECT_EQ(info.xyThumbTop, 17);
  EXPECT_EQ(info.xyThumbBottom, 34);
  EXPECT_EQ(SendMessage(Window, WM_NCHITTEST, 0, PointToLParam({90, 60})), HTVSCROLL);
  EXPECT_EQ(SendMessage(Window, WM_NCHITTEST, 0, PointToLParam({40, 130})), HTHSCROLL);
  // Positions are kept inside min .. max - page + 1.
  EXPECT_EQ(SetScrollPos(Window, SB_VERT, 500, true), 0);
  EXPECT_EQ(GetScrollPos(Window, SB_VERT), 80);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(Window, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 99);
  EXPECT_EQ(si.nPage, 20u);
  EXPECT_EQ(si.nPos, 80);
  HWND plain = Popup(0, 0, 50, 50);
  EXPECT_FALSE(GetScrollInfo(plain, SB_VERT, &si)) << "no information for a window without bars";
  ShowScrollBar(Window, SB_HORZ, false);
  EXPECT_EQ(ClientRect(Window), (TRect{0, 0, 83, 137}));
}

TEST_F(ScrollBarTest, ArrowSendsLineAndRepeatsAfterThePause) {
  Backend.MouseDown({90, 130 - 17 - 5});  // the down arrow sits at the end of the bar (y 103..120)
  ASSERT_EQ(Codes(), (std::vector<int>{SB_LINEDOWN}));
  Backend.Advance(299);
  EXPECT_EQ(gScrolls.size(), 1u);
  Backend.Advance(55);
  EXPECT_EQ(gScrolls.size(), 1u) << "the first repeat comes 355 ms after the press";
  Backend.Advance(1);
  ASSERT_EQ(gScrolls.size(), 2u);
  EXPECT_EQ(gScrolls[1].Time - Start, 355u);
  Backend.Advance(110);
  ASSERT_EQ(gScrolls.size(), 4u);
  EXPECT_EQ(gScrolls[3].Time - gScrolls[2].Time, 55u);
  // Off the arrow the repeats pause; back on, they continue.
  Backend.MouseMove({40, 40});
  Backend.Advance(200);
  EXPECT_EQ(gScrolls.size(), 4u);
  Backend.MouseMove({90, 110});
  Backend.Advance(55);
  EXPECT_EQ(gScrolls.size(), 5u);
  Backend.MouseUp({90, 110});
  EXPECT_EQ(gScrolls.back().Code, SB_ENDSCROLL);
  EXPECT_EQ(gScrolls.back().Pos, 0);
  Backend.Advance(500);
  EXPECT_EQ(gScrolls.size(), 6u) << "no repeats after the release";
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBarTest, UpArrowAndPagesSendTheirCodes) {
  Backend.Click({90, 5});
  Backend.Click({90, 80});  // below the thumb
  SetScrollPos(Window, SB_VERT, 80, true);
  Backend.Click({90, 40});  // above the thumb at the bottom
  EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEUP, SB_ENDSCROLL, SB_PAGEDOWN, SB_ENDSCROLL, SB_PAGEUP, SB_ENDSCROLL}));
}

TEST_F(ScrollBarTest, ThumbDragTracksPositionsThenEnds) {
  Backend.MouseDown({90, 25});  // on the thumb (17 .. 34)
  EXPECT_TRUE(gScrolls.empty());
  Backend.MouseMove({90, 55});  // 30 pixels down: 30 * 80 / 69 -> 35
  ASSERT_EQ(gScrolls.size(), 1u);
  EXPECT_EQ(gScrolls[0].Code, SB_THUMBTRACK);
  EXPECT_EQ(gScrolls[0].Pos, 35);
  SCROLLINFO si;
  si.fMask = SIF_TRACKPOS | SIF_POS;
  GetScrollInfo(Window, SB_VERT, &si);
  EXPECT_EQ(si.nTrackPos, 35);
  EXPECT_EQ(si.nPos, 0) << "the window decides the position itself";
  Backend.MouseMove({95, 300});  // far below: clamped to the last position
  EXPECT_EQ(gScrolls.back().Code, SB_THUMBTRACK);
  EXPECT_EQ(gScrolls.back().Pos, 80);
  Backend.MouseMove({95, 301});
  EXPECT_EQ(gScrolls.size(), 2u) << "no request while the position stays";
  Backend.MouseUp({95, 301});
  ASSERT_EQ(gScrolls.size(), 4u);
  EXPECT_EQ(gScrolls[2].Code, SB_THUMBPOSITION);
  EXPECT_EQ(gScrolls[2].Pos, 80);
  EXPECT_EQ(gScrolls[3].Code, SB_ENDSCROLL);
}

TEST_F(ScrollBarTest, DisabledBarsDoNothing) {
  EnableScrollBar(Window, SB_VERT, ESB_DISABLE_BOTH);
  Backend.Click({90, 5});
  Backend.Click({90, 80});
  EXPECT_TRUE(gScrolls.empty());
  EnableScrollBar(Window, SB_VERT, ESB_DISABLE_UP);
  Backend.Click({90, 5});
  Backend.Click({90, 110});
  EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
}

TEST_F(ScrollBarTest, HorizontalBarSendsHScroll) {
  Backend.Click({5, 130});
  ASSERT_EQ(gScrolls.size(), 2u);
  EXPECT_EQ(gScrolls[0].Message, WM_HSCROLL);
  EXPECT_EQ(gScrolls[0].Code, SB_LINELEFT);
}

}  // namespace
