// Mouse and keyboard routing, capture, leave tracking, hit testing and the frame's interactions.
#include "tests/win/WinTestSupport.h"

namespace {

LRESULT TransparentProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCHITTEST) return HTTRANSPARENT;
  return LoggedProc(h, m, w, l);
}

class InputTest : public WinTest {
protected:
  static TRACKMOUSEEVENT Tracking(HWND window, DWORD flags) {
    TRACKMOUSEEVENT tme{};
    tme.dwFlags = flags;
    tme.hwndTrack = window;
    return tme;
  }
  void SetUp() override {
    WinTest::SetUp();
    WNDCLASSEX wc;
    wc.lpfnWndProc = &TransparentProc;
    wc.lpszClassName = "Glass";
    RegisterClassEx(wc);
    // Windows whose class shows the hand.
    wc.lpfnWndProc = &LoggedProc;
    wc.lpszClassName = "Hand";
    wc.hCursor = LoadCursor(nullptr, IDC_HAND);
    RegisterClassEx(wc);
  }
  std::vector<TLoggedMessage> Mouse(UINT message) const { return TMessageLog::Instance().All(message); }
};

TEST_F(InputTest, ClientAndNonClientPressesWithCoordinates) {
  HWND w = CreateWindowEx(0, "Logged", "W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150, nullptr, nullptr,
                          nullptr, nullptr);
  TPoint origin{0, 0};
  ClientToScreen(w, &origin);
  Log().Clear();
  Backend.Click({origin.X + 5, origin.Y + 7});
  auto down = Mouse(WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(down[0].LParam), 5);
  EXPECT_EQ(GET_Y_LPARAM(down[0].LParam), 7);
  EXPECT_EQ(down[0].WParam & MK_LBUTTON, MK_LBUTTON);
  EXPECT_EQ(Mouse(WM_LBUTTONUP).size(), 1u);
  Log().Clear();
  Backend.MouseDown({150, 105});  // caption band
  auto nc = Mouse(WM_NCLBUTTONDOWN);
  ASSERT_EQ(nc.size(), 1u);
  EXPECT_EQ(static_cast<LRESULT>(nc[0].WParam), HTCAPTION);
  EXPECT_EQ(GET_X_LPARAM(nc[0].LParam), 150) << "non-client messages carry screen coordinates";
  Backend.MouseUp({150, 105});
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyleAndTheDoubleClickTime) {
  HWND w = Popup(0, 0, 100, 100);  // "Logged" has CS_DBLCLKS
  Backend.Click({10, 10});
  Backend.Advance(100);
  Backend.Click({11, 10});
  EXPECT_EQ(Mouse(WM_LBUTTONDBLCLK).size(), 1u);
  Backend.Click({11, 10});
  EXPECT_EQ(Mouse(WM_LBUTTONDBLCLK).size(), 1u) << "a third click starts over";
  Backend.Advance(GetDoubleClickTime() + 1);
  Backend.Click({11, 10});
  EXPECT_EQ(Mouse(WM_LBUTTONDBLCLK).size(), 1u) << "too late for a double click";

  WNDCLASSEX wc;
  wc.lpfnWndProc = &LoggedProc;
  wc.lpszClassName = "NoDbl";
  RegisterClassEx(wc);
  DestroyWindow(w);
  Popup(0, 0, 100, 100, 0, "NoDbl");
  Log().Clear();
  Backend.Click({10, 10});
  Backend.Click({10, 10});
  EXPECT_EQ(Mouse(WM_LBUTTONDBLCLK).size(), 0u);
  EXPECT_EQ(Mouse(WM_LBUTTONDOWN).size(), 2u);
}

TEST_F(InputTest, CaptureGetsEverythingUntilReleased) {
  HWND a = Popup(0, 0, 100, 100);
  HWND b = Popup(200, 0, 100, 100);
  Backend.MouseDown({10, 10});
  SetCapture(a);
  EXPECT_TRUE(Backend.Captured());
  Log().Clear();
  Backend.MouseMove({250, 50});
  auto moves = Mouse(WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].Window, a);
  EXPECT_EQ(GET_X_LPARAM(moves[0].LParam), 250) << "client coordinates of the capturing window, outside it";
  Backend.MouseUp({250, 50});
  ASSERT_EQ(Mouse(WM_LBUTTONUP).size(), 1u);
  EXPECT_EQ(Mouse(WM_LBUTTONUP)[0].Window, a);
  SetCapture(b);
  auto changed = Mouse(WM_CAPTURECHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].Window, a);
  EXPECT_EQ(reinterpret_cast<HWND>(changed[0].LParam), b);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Mouse(WM_CAPTURECHANGED).size(), 2u);
  DestroyWindow(b);
  Log().Clear();
  Backend.MouseMove({250, 50});
  EXPECT_TRUE(Mouse(WM_MOUSEMOVE).empty()) << "the desktop gets the mouse again";
}

// A window that is disabled while a control inside it holds the mouse (a modal box
// opening in the middle of a click) gives the capture up: the box gets the next click.
TEST_F(InputTest, DisablingAWindowReleasesTheCaptureOfAControlInside) {
  HWND top = Popup(0, 0, 200, 200);
  HWND inner = Child(top, 10, 10, 50, 50);
  HWND box = Popup(300, 0, 100, 100);
  SetCapture(inner);
  Log().Clear();
  EnableWindow(top, false);
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_EQ(Mouse(WM_CANCELMODE).size(), 1u);
  EXPECT_EQ(Mouse(WM_CANCELMODE)[0].Window, inner);
  Log().Clear();
  Backend.Click({350, 50});
  ASSERT_EQ(Mouse(WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(Mouse(WM_LBUTTONDOWN)[0].Window, box);
}

TEST_F(InputTest, MouseLeaveIsPostedOnceWhenThePointerLeaves) {
  HWND top = Popup(0, 0, 200, 200);
  HWND child = Child(top, 50, 50, 50, 50);
  Backend.MouseMove({60, 60});
  TRACKMOUSEEVENT tme = Tracking(child, TME_LEAVE);
  ASSERT_TRUE(TrackMouseEvent(&tme));
  Backend.MouseMove({70, 70});
  EXPECT_TRUE(Mouse(WM_MOUSELEAVE).empty());
  Backend.MouseMove({10, 10});
  ASSERT_EQ(Mouse(WM_MOUSELEAVE).size(), 1u);
  EXPECT_EQ(Mouse(WM_MOUSELEAVE)[0].Window, child);
  Backend.MouseMove({5, 5});
  EXPECT_EQ(Mouse(WM_MOUSELEAVE).size(), 1u) << "tracking ends with the leave";
  // Asking while already outside posts the leave at once.
  TrackMouseEvent(&tme);
  ProcessPendingMessages();
  EXPECT_EQ(Mouse(WM_MOUSELEAVE).size(), 2u);
}

// A window holding the capture is left only when the pointer goes outside it: moves
// inside (a button held down and wiggled) post no leave.
TEST_F(InputTest, UnderTheCaptureTheLeaveComesOnlyOutsideTheWindow) {
  HWND top = Popup(0, 0, 200, 200);
  HWND child = Child(top, 50, 50, 50, 50);
  Backend.MouseMove({60, 60});
  TRACKMOUSEEVENT tme = Tracking(child, TME_LEAVE);
  ASSERT_TRUE(TrackMouseEvent(&tme));
  SetCapture(child);
  Backend.MouseMove({70, 70});
  Backend.MouseMove({71, 70});
  EXPECT_TRUE(Mouse(WM_MOUSELEAVE).empty());
  Backend.MouseMove({150, 150});
  ASSERT_EQ(Mouse(WM_MOUSELEAVE).size(), 1u);
  EXPECT_EQ(Mouse(WM_MOUSELEAVE)[0].Window, child);
  ReleaseCapture();
}

TEST_F(InputTest, NonClientLeaveWhenMovingIntoTheClient) {
  HWND w = CreateWindowEx(0, "Logged", "W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr,
                          nullptr, nullptr);
  Backend.MouseMove({100, 10});  // caption
  TRACKMOUSEEVENT tme = Tracking(w, TME_LEAVE | TME_NONCLIENT);
  TrackMouseEvent(&tme);
  Backend.MouseMove({100, 80});  // client
  EXPECT_EQ(Mouse(WM_NCMOUSELEAVE).size(), 1u);
  EXPECT_TRUE(Mouse(WM_MOUSELEAVE).empty());
}

TEST_F(InputTest, TransparentHitPassesTheMouseToTheWindowBelow) {
  HWND below = Popup(0, 0, 200, 200);
  HWND glass = Popup(50, 50, 100, 100, WS_EX_NOACTIVATE, "Glass");
  EXPECT_EQ(WindowFromPoint({60, 60}), below);
  Log().Clear();
  Backend.Click({60, 60});
  auto down = Mouse(WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].Window, below);
  EXPECT_EQ(GET_X_LPARAM(down[0].LParam), 60);

  // A transparent child passes on to its parent.
  HWND pane = Child(below, 100, 100, 50, 50, 0, "Glass");
  EXPECT_EQ(WindowFromPoint({120, 120}), below);
  // Layered click-through windows are skipped without being asked.
  HWND halo = Popup(0, 0, 300, 300, WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
  Log().Clear();
  EXPECT_EQ(WindowFromPoint({10, 10}), below);
  EXPECT_TRUE(TMessageLog::Instance().Of(halo, {WM_NCHITTEST}).empty());
  (void)glass;
  (void)pane;
}

TEST_F(InputTest, ClickActivatesAndFocuses) {
  HWND a = Popup(0, 0, 100, 100);
  HWND b = Popup(200, 0, 100, 100);
  EXPECT_EQ(GetActiveWindow(), b);
  Log().Clear();
  Backend.Click({10, 10});
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), a);
  auto act = Mouse(WM_ACTIVATE);
  ASSERT_EQ(act.size(), 2u);
  EXPECT_EQ(act[0].Window, b);
  EXPECT_EQ(LOWORD(act[0].WParam), WA_INACTIVE);
  EXPECT_EQ(act[1].Window, a);
  EXPECT_EQ(LOWORD(act[1].WParam), WA_CLICKACTIVE);
  EXPECT_EQ(Mouse(WM_MOUSEACTIVATE).size(), 1u);
  HWND tool = Popup(400, 0, 50, 50, WS_EX_NOACTIVATE);
  Backend.Click({410, 10});
  EXPECT_EQ(GetActiveWindow(), a) << "no-activate windows take clicks without activation";
  (void)tool;
}

TEST_F(InputTest, KeyboardGoesToFocusWithUnicodeCharacters) {
  HWND top = Popup(0, 0, 100, 100);
  HWND edit = Child(top, 0, 0, 50, 20);
  SetFocus(edit);
  EXPECT_EQ(Mouse(WM_KILLFOCUS).size(), 1u);
  EXPECT_EQ(Mouse(WM_SETFOCUS).back().Window, edit);
  Log().Clear();
  Backend.KeyDown(VK_SHIFT);
  EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
  Backend.KeyUp(VK_SHIFT);
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
  Backend.Text("Я😀");
  auto chars = Mouse(WM_CHAR);
  ASSERT_EQ(chars.size(), 3u);
  EXPECT_EQ(chars[0].WParam, 0x042Fu);
  EXPECT_EQ(chars[1].WParam, 0xD83Du);
  EXPECT_EQ(chars[2].WParam, 0xDE00u);
  Backend.Key(VK_RETURN);
  EXPECT_EQ(Mouse(WM_KEYDOWN).back().WParam, static_cast<WPARAM>(VK_RETURN));
  EXPECT_EQ(Mouse(WM_CHAR).back().WParam, static_cast<WPARAM>('\r'));
  Log().Clear();
  Backend.KeyDown(VK_MENU);
  Backend.KeyDown('X');
  EXPECT_EQ(Mouse(WM_SYSKEYDOWN).size(), 2u);
  EXPECT_TRUE(Mouse(WM_KEYDOWN).empty());
  Backend.KeyUp('X');
  Backend.KeyUp(VK_MENU);
  Backend.Text("\xC3");  // truncated UTF-8 is dropped, not read past the end
}

TEST_F(InputTest, CaptionDragMovesAndBorderDragSizes) {
  HWND w = CreateWindowEx(0, "Logged", "W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                          nullptr, nullptr);
  Backend.MouseDown({200, 108});
  Backend.MouseMove({260, 158});
  Backend.MouseUp({260, 160});
  EXPECT_EQ(WindowRect(w), (TRect{160, 152, 460, 352}));
  EXPECT_EQ(TMessageLog::Instance().Of(w, {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}),
            (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
  EXPECT_EQ(GetCapture(), nullptr);
  // Bottom-right corner: sizing, limited by the minimum track size.
  Backend.MouseMove({459, 351});
  EXPECT_EQ(Backend.Cursor(), TCursorShape::SizeNWSE);
  Backend.MouseDown({459, 351});
  Backend.MouseMove({489, 371});
  Backend.MouseUp({489, 371});
  EXPECT_EQ(WindowRect(w), (TRect{160, 152, 490, 372}));
  Backend.MouseDown({459 + 30, 371});
  Backend.MouseUp({0, 0});
  EXPECT_EQ(WindowRect(w).Width(), GetSystemMetrics(SM_CXMINTRACK));
}

TEST_F(InputTest, CaptionButtonsSendSystemCommands) {
  HWND w = CreateWindowEx(0, "Logged", "W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                          nullptr, nullptr);
  int frame = GetSystemMetrics(SM_CXFRAME);
  TPoint close{300 - frame - 8, frame + 9};
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, PointToLParam(close)), HTCLOSE);
  // Released away from the button: nothing happens.
  Backend.MouseDown(close);
  Backend.MouseUp({150, 100});
  EXPECT_TRUE(IsWindow(w));
  TPoint max{close.X - 20, close.Y};
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, PointToLParam(max)), HTMAXBUTTON);
  Backend.Click(max);
  EXPECT_TRUE(IsZoomed(w));
  auto cmds = Mouse(WM_SYSCOMMAND);
  ASSERT_FALSE(cmds.empty());
  EXPECT_EQ(cmds.back().WParam, SC_MAXIMIZE);
  TPoint restore{1280 - frame - 8 - 20, frame + 9};
  Backend.Click(restore);
  EXPECT_EQ(Mouse(WM_SYSCOMMAND).back().WParam, SC_RESTORE);
  EXPECT_FALSE(IsZoomed(w));
  Backend.Click(close);
  EXPECT_EQ(Mouse(WM_SYSCOMMAND).back().WParam, SC_CLOSE);
  EXPECT_EQ(Mouse(WM_CLOSE).size(), 1u);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(InputTest, SetCursorFollowsTheHitCode) {
  HWND w = CreateWindowEx(0, "Logged", "W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                          nullptr, nullptr);
  HWND link = Child(w, 10, 10, 50, 20, 0, "Hand");
  TPoint p{15, 15};
  ClientToScreen(w, &p);
  Backend.MouseMove(p);
  EXPECT_EQ(Backend.Cursor(), TCursorShape::Hand);
  Backend.MouseMove({2, 100});
  EXPECT_EQ(Backend.Cursor(), TCursorShape::SizeWE);
  auto sc = Mouse(WM_SETCURSOR);
  ASSERT_FALSE(sc.empty());
  EXPECT_EQ(static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(sc.back().LParam))), HTLEFT);
  EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(sc.back().LParam)), WM_MOUSEMOVE);
  (void)link;
}

// A display installed after another (a test's second window session, a display
// started again) is told the cursor even when the window system's current one
// is the same: otherwise it would keep showing its own default.
TEST_F(InputTest, ADisplayInstalledLaterIsToldTheCursor) {
  HWND link = Popup(10, 10, 50, 20, 0, "Hand");
  Backend.MouseMove({20, 20});
  ASSERT_EQ(Backend.Cursor(), TCursorShape::Hand);
  THeadlessBackend later;
  later.Install();
  ASSERT_EQ(later.Cursor(), TCursorShape::Arrow);
  later.MouseMove({21, 20});
  EXPECT_EQ(later.Cursor(), TCursorShape::Hand);
  Backend.Install();
  DestroyWindow(link);
}

TEST_F(InputTest, DisabledChildLetsItsParentTakeTheMouse) {
  HWND top = Popup(0, 0, 200, 200);
  HWND child = Child(top, 0, 0, 100, 100);
  EnableWindow(child, false);
  Log().Clear();
  Backend.Click({10, 10});
  ASSERT_EQ(Mouse(WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(Mouse(WM_LBUTTONDOWN)[0].Window, top);
}

}  // namespace

namespace {

TEST_F(InputTest, SizingFromTheCornerThenClickingTheEdgeKeepsTheSize) {
  HWND w = CreateWindowEx(WS_EX_CLIENTEDGE, "Logged", "L", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                          720, 90, 420, 330, nullptr, nullptr, nullptr, nullptr);
  Backend.MouseDown({1138, 418});
  Backend.MouseMove({1160, 440});
  Backend.MouseMove({1200, 480});
  Backend.MouseUp({1200, 480});
  EXPECT_EQ(WindowRect(w), (TRect{720, 90, 1202, 482}));
  Backend.Click({1200, 300});
  EXPECT_EQ(WindowRect(w), (TRect{720, 90, 1202, 482}));
}

}  // namespace

namespace {

TEST_F(InputTest, HoverComesAfterThePointerRests) {
  HWND w = Popup(0, 0, 100, 100);
  Backend.MouseMove({10, 10});
  TRACKMOUSEEVENT tme = Tracking(w, TME_HOVER);
  tme.dwHoverTime = 100;
  TrackMouseEvent(&tme);
  Backend.Advance(60);
  Backend.MouseMove({12, 10});  // moving restarts the wait
  Backend.Advance(99);
  EXPECT_TRUE(Mouse(WM_MOUSEHOVER).empty());
  Backend.Advance(1);
  auto hover = Mouse(WM_MOUSEHOVER);
  ASSERT_EQ(hover.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(hover[0].LParam), 12);
  Backend.Advance(500);
  EXPECT_EQ(Mouse(WM_MOUSEHOVER).size(), 1u) << "one hover per request";
}

}  // namespace
