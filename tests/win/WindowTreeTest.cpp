// Window objects: creation and destruction order, handles, styles, tree, z-order, coordinates.
#include "tests/win/WinTestSupport.h"

namespace {

const std::vector<UINT> kLifeMessages = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                                         WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATEAPP, WM_NCACTIVATE,
                                         WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_DESTROY, WM_NCDESTROY};

TEST_F(WinTest, CreateShowActivateDestroyMessageOrder) {
  HWND w = CreateWindowEx(0, "Logged", "Main", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  EXPECT_EQ(Log().Of(w, kLifeMessages),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  Log().Clear();
  ShowWindow(w, SW_SHOW);
  EXPECT_EQ(Log().Of(w, kLifeMessages),
            (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATEAPP,
                               WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS}));
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_EQ(GetFocus(), w);
  Log().Clear();
  DestroyWindow(w);
  EXPECT_EQ(Log().Of(w, kLifeMessages),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS,
                               WM_ACTIVATEAPP, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(WinTest, DestroyOrderParentsFirstThenChildrenFirst) {
  HWND top = Popup(0, 0, 200, 200);
  HWND a = Child(top, 0, 0, 50, 50);
  HWND b = Child(a, 0, 0, 10, 10);
  Log().Clear();
  DestroyWindow(top);
  std::vector<std::pair<HWND, UINT>> order;
  for (const auto& e : Log().Entries) {
    if (e.Message == WM_DESTROY || e.Message == WM_NCDESTROY) order.push_back({e.Window, e.Message});
  }
  std::vector<std::pair<HWND, UINT>> expected = {{top, WM_DESTROY}, {a, WM_DESTROY},   {b, WM_DESTROY},
                                                  {b, WM_NCDESTROY}, {a, WM_NCDESTROY}, {top, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_FALSE(IsWindow(b));
}

TEST_F(WinTest, HandlesAreNeverReusedAndStaleHandlesAreHarmless) {
  HWND first = Popup(0, 0, 10, 10);
  DestroyWindow(first);
  for (int i = 0; i < 20; ++i) {
    HWND next = Popup(0, 0, 10, 10);
    EXPECT_NE(next, first);
    DestroyWindow(next);
  }
  EXPECT_EQ(SendMessage(first, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_FALSE(PostMessage(first, WM_USER, 0, 0));
  EXPECT_FALSE(SetWindowPos(first, nullptr, 1, 1, 1, 1, 0));
  EXPECT_FALSE(DestroyWindow(first));
  EXPECT_EQ(GetWindowLongPtr(first, GWLP_USERDATA), 0);
}

LRESULT FailCreateProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_CREATE) return -1;
  return LoggedProc(h, m, w, l);
}

TEST_F(WinTest, CreateFailingInWmCreateDestroysTheWindow) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = &FailCreateProc;
  wc.lpszClassName = "FailCreate";
  ASSERT_NE(RegisterClassEx(wc), 0);
  EXPECT_EQ(RegisterClassEx(wc), 0) << "a class name registers once";
  HWND w = CreateWindowEx(0, "FailCreate", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(w, nullptr);
  ASSERT_EQ(Log().All(WM_NCDESTROY).size(), 1u);
  EXPECT_FALSE(IsWindow(Log().All(WM_NCDESTROY)[0].Window));
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateWindowEx(0, "Logged", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr)
      << "a child needs a parent";
}

TEST_F(WinTest, StyleChangesSendStyleMessagesAndUserDataAndPropsStick) {
  HWND w = Popup(0, 0, 100, 100);
  Log().Clear();
  LONG_PTR old = SetWindowLongPtr(w, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP | WS_VISIBLE | WS_VSCROLL));
  EXPECT_EQ(static_cast<DWORD>(old), WS_POPUP | WS_VISIBLE);
  auto changed = Log().All(WM_STYLECHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(static_cast<int>(changed[0].WParam), GWL_STYLE);
  EXPECT_EQ(Log().Of(w, {WM_STYLECHANGING, WM_STYLECHANGED}), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtr(w, GWL_STYLE)), WS_POPUP | WS_VISIBLE | WS_VSCROLL);

  SetWindowLongPtr(w, GWL_EXSTYLE, WS_EX_TOOLWINDOW | WS_EX_LAYERED);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtr(w, GWL_EXSTYLE)), WS_EX_TOOLWINDOW | WS_EX_LAYERED);

  int payload = 5;
  SetWindowLongPtr(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&payload));
  EXPECT_EQ(reinterpret_cast<int*>(GetWindowLongPtr(w, GWLP_USERDATA)), &payload);
  EXPECT_TRUE(SetProp(w, "ACSBSC", &payload));
  EXPECT_EQ(GetProp(w, "ACSBSC"), &payload);
  EXPECT_EQ(GetProp(w, "acsbsc"), nullptr) << "property names compare exactly";
  EXPECT_EQ(RemoveProp(w, "ACSBSC"), &payload);
  EXPECT_EQ(GetProp(w, "ACSBSC"), nullptr);
}

TEST_F(WinTest, TreeZOrderAndOwnership) {
  HWND top = Popup(0, 0, 200, 200);
  HWND a = Child(top, 0, 0, 50, 50);
  HWND b = Child(top, 10, 10, 50, 50);
  EXPECT_EQ(GetWindow(top, GW_CHILD), b) << "new children go on top";
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  EXPECT_EQ(GetParent(a), top);
  EXPECT_TRUE(IsChild(top, a));
  std::vector<HWND> seen;
  EnumChildWindows(top, [&](HWND h) { seen.push_back(h); return true; });
  EXPECT_EQ(seen, (std::vector<HWND>{a, b}));

  HWND topmost = Popup(0, 0, 10, 10, WS_EX_TOPMOST);
  HWND plain = Popup(0, 0, 10, 10);
  auto& tops = TWindowManager::Instance().TopLevels;
  EXPECT_EQ(tops.front(), topmost) << "a plain window never rises above a topmost one";
  SetWindowPos(plain, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(tops.front(), topmost);
  EXPECT_EQ(Backend.ZOrder().front(), topmost);

  HWND owned = CreateWindowEx(0, "Logged", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, plain, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), plain);
  SetWindowPos(plain, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  auto pos = [&](HWND h) { return std::find(tops.begin(), tops.end(), h) - tops.begin(); };
  EXPECT_LT(pos(owned), pos(plain)) << "owned windows stay above their owner";
  DestroyWindow(plain);
  EXPECT_FALSE(IsWindow(owned)) << "owned windows go with their owner";
}

TEST_F(WinTest, CoordinatesMapBetweenWindowClientAndScreen) {
  HWND top = CreateWindowEx(0, "Logged", "T", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE, 100, 50, 300,
                            200, nullptr, nullptr, nullptr, nullptr);
  int frame = GetSystemMetrics(SM_CXFRAME);
  int caption = GetSystemMetrics(SM_CYCAPTION);
  TRect client = ClientRect(top);
  EXPECT_EQ(client, (TRect{0, 0, 300 - 2 * frame, 200 - 2 * frame - caption}));
  TPoint p{0, 0};
  ClientToScreen(top, &p);
  EXPECT_EQ(p, (TPoint{100 + frame, 50 + frame + caption}));
  HWND child = Child(top, 20, 30, 50, 40, WS_BORDER);
  TRect r = WindowRect(child);
  EXPECT_EQ(r, (TRect{100 + frame + 20, 50 + frame + caption + 30, 100 + frame + 70, 50 + frame + caption + 70}));
  TPoint q{1, 1};
  MapWindowPoints(child, top, &q, 1);
  EXPECT_EQ(q, (TPoint{20 + 1 + 1, 30 + 1 + 1})) << "child client starts inside its 1-pixel border";
  ScreenToClient(child, &p);
  EXPECT_EQ(p, (TPoint{-21, -31}));

  TRect adjusted{0, 0, 100, 100};
  AdjustWindowRectEx(&adjusted, WS_CAPTION | WS_THICKFRAME, false, 0);
  EXPECT_EQ(adjusted, (TRect{-frame, -frame - caption, 100 + frame, 100 + frame}));
}

TEST_F(WinTest, SetWindowPosSendsMoveAndSizeOnlyForWhatChanged) {
  HWND w = Popup(0, 0, 100, 100);
  Log().Clear();
  SetWindowPos(w, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Log().Of(w, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}));
  Log().Clear();
  MoveWindow(w, 5, 6, 120, 80, true);
  EXPECT_EQ(Log().Of(w, {WM_MOVE, WM_SIZE, WM_NCCALCSIZE}), (std::vector<UINT>{WM_NCCALCSIZE, WM_SIZE}));
  auto sizes = Log().All(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(sizes[0].LParam)), 120);
  EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(sizes[0].LParam)), 80);
  EXPECT_EQ(WindowImage(w)->Width(), 120) << "the whole image follows the window size";
}

TEST_F(WinTest, ShowStatesMaximiseMinimiseRestore) {
  HWND w = CreateWindowEx(0, "Logged", "W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 40, 300, 200, nullptr, nullptr,
                          nullptr, nullptr);
  Log().Clear();
  ShowWindow(w, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(w));
  EXPECT_EQ(WindowRect(w), (TRect{0, 0, 1280, 800}));
  auto sizes = Log().All(WM_SIZE);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back().WParam, SIZE_MAXIMIZED);
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(w));
  EXPECT_EQ(WindowRect(w), (TRect{30, 40, 330, 240}));
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_NE(GetActiveWindow(), w);
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsIconic(w));
  EXPECT_EQ(WindowRect(w), (TRect{30, 40, 330, 240}));
  EXPECT_EQ(GetActiveWindow(), w);
  Log().Clear();
  ShowWindow(w, SW_HIDE);
  EXPECT_EQ(Log().Of(w, {WM_SHOWWINDOW}).size(), 1u);
  EXPECT_FALSE(ShowWindow(w, SW_HIDE)) << "hiding a hidden window reports it was hidden";
  EXPECT_EQ(Log().Of(w, {WM_SHOWWINDOW}).size(), 1u) << "no WM_SHOWWINDOW without a change";
}

}  // namespace
