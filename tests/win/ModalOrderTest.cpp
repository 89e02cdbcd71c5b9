// Modal windows in the z-order, presses on windows they hold up, windows raised
// by the display, and minimised windows on a display that minimises natively.
#include "tests/win/WinTestSupport.h"

namespace {

class ModalOrderTest : public WinTest {
protected:
  std::vector<UINT> Presses(HWND window) { return Log().Of(window, {WM_LBUTTONDOWN, WM_NCLBUTTONDOWN}); }
  static std::vector<HWND> Order() { return TWindowManager::Instance().TopLevels; }
};

TEST_F(ModalOrderTest, ModalWindowStaysAboveEveryWindowRaisedAfterIt) {
  HWND main = Popup(0, 0, 400, 300);
  HWND other = Popup(300, 0, 400, 300);
  HWND box = Popup(100, 100, 200, 100);
  SetWindowModal(box, true);
  EXPECT_TRUE(IsWindowModal(box));
  SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(Order().front(), box);
  BringWindowToTop(other);
  EXPECT_EQ(Order().front(), box);
  EXPECT_EQ(Order()[1], other) << "the raised window is next below the box";
  // A nested box goes above the first one; when it closes the first one is on top again.
  HWND inner = Popup(150, 150, 100, 60);
  SetWindowModal(inner, true);
  BringWindowToTop(main);
  EXPECT_EQ(Order()[0], inner);
  EXPECT_EQ(Order()[1], box);
  SetWindowModal(inner, false);
  ShowWindow(inner, SW_HIDE);
  BringWindowToTop(other);
  EXPECT_EQ(Order().front(), box);
  SetWindowModal(box, false);
  EXPECT_FALSE(IsWindowModal(box));
  BringWindowToTop(main);
  EXPECT_EQ(Order().front(), main) << "no longer modal: it goes down like any window";
}

TEST_F(ModalOrderTest, TopmostWindowsStayAboveAPlainModalOne) {
  HWND main = Popup(0, 0, 400, 300);
  HWND pinned = Popup(500, 0, 100, 100, WS_EX_TOPMOST);
  HWND box = Popup(100, 100, 200, 100);
  SetWindowModal(box, true);
  BringWindowToTop(main);
  EXPECT_EQ(Order()[0], pinned);
  EXPECT_EQ(Order()[1], box);
}

TEST_F(ModalOrderTest, PressOnAWindowHeldUpBringsTheModalOneBackAndIsNotDelivered) {
  HWND main = Popup(0, 0, 400, 300);
  HWND box = Popup(500, 100, 200, 100);
  SetWindowModal(box, true);
  EnableWindow(main, false);
  SetActiveWindow(main);  // as if the display had activated the owner
  ASSERT_EQ(GetActiveWindow(), main);
  Log().Clear();
  Backend.Click({50, 50});
  EXPECT_EQ(GetActiveWindow(), box);
  EXPECT_EQ(Order().front(), box);
  EXPECT_TRUE(Presses(main).empty());
  // The box itself answers at once.
  Backend.Click({510, 110});
  EXPECT_EQ(Presses(box).size(), 1u);
}

// A control of the window held up asks for the focus while the box runs (a refused
// edit does): the box keeps the focus and the activation.
TEST_F(ModalOrderTest, WindowHeldUpByAModalOneTakesNoFocus) {
  HWND main = Popup(0, 0, 400, 300);
  HWND edit = Child(main, 10, 10, 100, 20);
  HWND box = Popup(500, 100, 200, 100);
  HWND ok = Child(box, 10, 10, 50, 20);
  SetWindowModal(box, true);
  EnableWindow(main, false);
  SetFocus(ok);
  EXPECT_EQ(SetFocus(edit), nullptr);
  EXPECT_EQ(GetFocus(), ok);
  EXPECT_EQ(GetActiveWindow(), box);
  SetWindowModal(box, false);
  ShowWindow(box, SW_HIDE);
  EnableWindow(main, true);
  SetFocus(edit);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(GetActiveWindow(), main);
}

TEST_F(ModalOrderTest, PressDeliveredOnAWindowTheDisplayStacksHigherRaisesItHereToo) {
  HWND lower = Popup(0, 0, 400, 300);
  HWND upper = Popup(0, 0, 400, 300);
  ASSERT_EQ(Order().front(), upper);
  Log().Clear();
  // The display says the press landed on `lower`: a window manager raised it.
  InputMouseMove({20, 20});
  InputMouseButton(TMouseButton::Left, true, {20, 20}, lower);
  InputMouseButton(TMouseButton::Left, false, {20, 20}, lower);
  ProcessPendingMessages();
  EXPECT_EQ(Order().front(), lower);
  EXPECT_EQ(GetActiveWindow(), lower) << "the press activates it at once";
  EXPECT_EQ(Presses(lower).size(), 1u);
  EXPECT_TRUE(Presses(upper).empty());
}

TEST_F(ModalOrderTest, WindowRaisedByTheDisplayGoesOnTopAndActivatedOnlyWhenSaid) {
  HWND a = Popup(0, 0, 100, 100);
  HWND b = Popup(200, 0, 100, 100);
  ASSERT_EQ(GetActiveWindow(), b);
  InputWindowRaised(a, false);
  EXPECT_EQ(Order().front(), a);
  EXPECT_EQ(GetActiveWindow(), b);
  InputWindowRaised(b, true);
  EXPECT_EQ(Order().front(), b);
  InputWindowRaised(a, true);
  EXPECT_EQ(GetActiveWindow(), a);
  // A window held up by a modal one does not take the activation: the modal one does.
  HWND box = Popup(50, 200, 100, 50);
  SetWindowModal(box, true);
  EnableWindow(a, false);
  InputWindowRaised(a, true);
  EXPECT_EQ(Order().front(), box);
  EXPECT_EQ(GetActiveWindow(), box);
}

// A display that minimises windows itself (iconified by a window manager, or
// unmapped): the headless one with that one answer changed.
class TNativeMinimizeBackend final : public TDisplayBackend {
public:
  explicit TNativeMinimizeBackend(THeadlessBackend& inner) : Inner(inner) {}
  bool MinimizesNatively() override { return true; }
  void ShowWindow(const TTopLevelView& view) override {
    Views.push_back(view);
    Inner.ShowWindow(view);
  }
  void ActivateWindow(HWND window) override { Activated.push_back(window); }
  std::uint64_t Now() override { return Inner.Now(); }
  TSize ScreenSize() override { return Inner.ScreenSize(); }
  bool PerPixelAlphaAvailable() override { return Inner.PerPixelAlphaAvailable(); }
  void HideWindow(HWND window) override { Inner.HideWindow(window); }
  void DestroyWindow(HWND window) override { Inner.DestroyWindow(window); }
  void Present(const TTopLevelView& view, const TRect& dirty) override { Inner.Present(view, dirty); }
  void SetZOrder(const std::vector<HWND>& order) override { Inner.SetZOrder(order); }
  void SetCursor(TCursorShape shape) override { Inner.SetCursor(shape); }
  void SetCapture(bool captured) override { Inner.SetCapture(captured); }
  void WaitForInput(int timeoutMs) override { Inner.WaitForInput(timeoutMs); }
  void Wake() override { Inner.Wake(); }
  THeadlessBackend& Inner;
  // The last view the display was given of a window.
  TTopLevelView LastView(HWND window) const {
    for (auto it = Views.rbegin(); it != Views.rend(); ++it)
      if (it->Window == window) return *it;
    return {};
  }
  std::vector<TTopLevelView> Views;
  std::vector<HWND> Activated;
};

TEST_F(ModalOrderTest, NativelyMinimisedWindowLeavesTheDesktopAndComesBackWhereItWas) {
  TNativeMinimizeBackend native(Backend);
  SetDisplayBackend(&native);
  HWND other = CreateWindowEx(0, "Logged", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                              nullptr, nullptr, nullptr);
  HWND w = CreateWindowEx(0, "Logged", "w", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 400, 300, nullptr, nullptr,
                          nullptr, nullptr);
  EXPECT_EQ(native.Activated.back(), w) << "the display hears of each activation";
  SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_TRUE(native.LastView(w).Minimized);
  TRect r;
  GetWindowRect(w, &r);
  EXPECT_LT(r.Right, 0) << "no strip left on the desktop to catch clicks";
  EXPECT_EQ(WindowFromPoint({10, 790}), nullptr);
  EXPECT_EQ(GetActiveWindow(), other);
  SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(w));
  EXPECT_FALSE(native.LastView(w).Minimized);
  GetWindowRect(w, &r);
  EXPECT_EQ(r, Bounds(100, 80, 400, 300));
  Backend.Install();
}

TEST_F(ModalOrderTest, WindowMinimisedFromMaximisedComesBackMaximised) {
  HWND w = CreateWindowEx(0, "Logged", "w", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 400, 300, nullptr, nullptr,
                          nullptr, nullptr);
  ShowWindow(w, SW_SHOWMAXIMIZED);
  ShowWindow(w, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(w));
  ShowWindow(w, SW_RESTORE);
  EXPECT_TRUE(IsZoomed(w));
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(w));
  TRect r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, Bounds(100, 80, 400, 300)) << "the normal place is kept through both";
}

}  // namespace
