// Timers in virtual time, CBT hooks, metrics and desktop queries.
#include "tests/win/WinTestSupport.h"

namespace {

struct TTick {
  UINT_PTR Id;
  DWORD Time;
};
std::vector<TTick> gTicks;

LRESULT TimerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_TIMER) gTicks.push_back({w, GetTickCount()});
  if (m == WM_TIMER && w == 99) KillTimer(h, 99);  // one-shot
  return DefWindowProc(h, m, w, l);
}

class TimerTest : public WinTest {
protected:
  void SetUp() override {
    WinTest::SetUp();
    gTicks.clear();
    WNDCLASSEX wc;
    wc.lpfnWndProc = &TimerProc;
    wc.lpszClassName = "Timed";
    RegisterClassEx(wc);
    Window = Popup(0, 0, 10, 10, 0, "Timed");
  }
  HWND Window = nullptr;
};

TEST_F(TimerTest, TimersFireAtTheirIntervalsInDueOrder) {
  DWORD start = GetTickCount();
  SetTimer(Window, 1, 30, nullptr);
  SetTimer(Window, 2, 20, nullptr);
  SetTimer(Window, 99, 25, nullptr);
  Backend.Advance(60);
  std::vector<std::pair<UINT_PTR, DWORD>> got;
  for (auto& t : gTicks) got.push_back({t.Id, t.Time - start});
  std::vector<std::pair<UINT_PTR, DWORD>> expected = {{2, 20}, {99, 25}, {1, 30}, {2, 40}, {1, 60}, {2, 60}};
  EXPECT_EQ(got, expected);
  EXPECT_EQ(GetTickCount() - start, 60u);
}

TEST_F(TimerTest, ResettingRestartsAndKillingStops) {
  SetTimer(Window, 1, 50, nullptr);
  Backend.Advance(40);
  SetTimer(Window, 1, 50, nullptr);  // restart: next at 90
  Backend.Advance(49);
  EXPECT_TRUE(gTicks.empty());
  Backend.Advance(1);
  ASSERT_EQ(gTicks.size(), 1u);
  EXPECT_TRUE(KillTimer(Window, 1));
  EXPECT_FALSE(KillTimer(Window, 1));
  Backend.Advance(500);
  EXPECT_EQ(gTicks.size(), 1u);
}

TEST_F(TimerTest, LateTimerFiresOnceAndTinyIntervalsAreRaised) {
  SetTimer(Window, 5, 10, nullptr);
  // Nothing is processed for 100 ms: the timer is due once, not ten times.
  DWORD t0 = GetTickCount();
  MSG msg;
  Backend.WaitForInput(100);
  int count = 0;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_TIMER) ++count;
    DispatchMessage(&msg);
  }
  EXPECT_EQ(count, 1);
  EXPECT_EQ(GetTickCount() - t0, 100u);
  KillTimer(Window, 5);
  gTicks.clear();
  SetTimer(Window, 6, 0, nullptr);
  Backend.Advance(30);
  EXPECT_EQ(gTicks.size(), 3u) << "intervals below 10 ms run at 10 ms";
}

TEST_F(TimerTest, DestroyingTheWindowKillsItsTimers) {
  SetTimer(Window, 1, 10, nullptr);
  DestroyWindow(Window);
  EXPECT_EQ(NextTimerDelay(), -1);
  EXPECT_EQ(SetTimer(Window, 1, 10, nullptr), 0u) << "no timers for dead windows";
}

std::vector<DWORD> gProcTicks;
void TimerCallback(HWND, UINT, UINT_PTR, DWORD time) { gProcTicks.push_back(time); }

TEST_F(TimerTest, ThreadTimersWithCallbacks) {
  gProcTicks.clear();
  UINT_PTR id = SetTimer(nullptr, 0, 15, &TimerCallback);
  EXPECT_NE(id, 0u);
  Backend.Advance(45);
  EXPECT_EQ(gProcTicks.size(), 3u);
  KillTimer(nullptr, id);
}

// --- hooks ---------------------------------------------------------------------------

struct THookRecord {
  int Code;
  HWND Window;
  HWND Previous;
  bool Mouse;
};
std::vector<THookRecord> gHookLog;
HHOOK gHook = nullptr;
HWND gVetoActivation = nullptr;

LRESULT CbtProc(int code, WPARAM w, LPARAM l) {
  HWND h = reinterpret_cast<HWND>(w);
  THookRecord r{code, h, nullptr, false};
  if (code == HCBT_ACTIVATE) {
    auto* a = reinterpret_cast<CBTACTIVATESTRUCT*>(l);
    r.Previous = a->hWndActive;
    r.Mouse = a->fMouse;
  }
  gHookLog.push_back(r);
  if (code == HCBT_ACTIVATE && h == gVetoActivation) return 1;
  return CallNextHookEx(gHook, code, w, l);
}

class HookTest : public WinTest {
protected:
  void SetUp() override {
    WinTest::SetUp();
    gHookLog.clear();
    gVetoActivation = nullptr;
    gHook = SetWindowsHookEx(WH_CBT, &CbtProc, nullptr, GetCurrentThreadId());
  }
  void TearDown() override {
    UnhookWindowsHookEx(gHook);
    WinTest::TearDown();
  }
  std::vector<int> Codes() const {
    std::vector<int> c;
    for (auto& r : gHookLog) {
      if (r.Code != HCBT_SETFOCUS) c.push_back(r.Code);
    }
    return c;
  }
};

TEST_F(HookTest, SeesCreationActivationAndDestruction) {
  HWND a = CreateWindowEx(0, "Logged", "A", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                          nullptr, nullptr);
  HWND b = CreateWindowEx(0, "Logged", "B", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                          nullptr, nullptr);
  Backend.Click({50, 50});  // b is on top
  SetActiveWindow(a);
  DestroyWindow(b);
  std::vector<int> expected = {HCBT_CREATEWND, HCBT_ACTIVATE, HCBT_CREATEWND, HCBT_ACTIVATE,
                               HCBT_ACTIVATE,  HCBT_DESTROYWND};
  EXPECT_EQ(Codes(), expected);
  std::vector<THookRecord> activations;
  for (auto& r : gHookLog) {
    if (r.Code == HCBT_ACTIVATE) activations.push_back(r);
  }
  ASSERT_EQ(activations.size(), 3u);
  EXPECT_EQ(activations[0].Window, a);
  EXPECT_EQ(activations[0].Previous, nullptr);
  EXPECT_EQ(activations[1].Window, b);
  EXPECT_EQ(activations[1].Previous, a);
  EXPECT_EQ(activations[2].Window, a);
  EXPECT_EQ(activations[2].Previous, b);
}

TEST_F(HookTest, NonZeroAnswerVetoesAndUnhookStopsTheCalls) {
  HWND a = Popup(0, 0, 100, 100);
  HWND b = CreateWindowEx(0, "Logged", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  gVetoActivation = b;
  ShowWindow(b, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), a) << "the hook refused the activation";
  EXPECT_TRUE(IsWindowVisible(b));
  EXPECT_TRUE(UnhookWindowsHookEx(gHook));
  EXPECT_FALSE(UnhookWindowsHookEx(gHook));
  std::size_t before = gHookLog.size();
  SetActiveWindow(b);
  EXPECT_EQ(gHookLog.size(), before);
  EXPECT_EQ(GetActiveWindow(), b);
}

int gOuterCalls = 0;
HHOOK gOuter = nullptr;
LRESULT OuterHook(int code, WPARAM w, LPARAM l) {
  ++gOuterCalls;
  return CallNextHookEx(gOuter, code, w, l);
}

TEST_F(HookTest, HooksChainNewestFirst) {
  gOuterCalls = 0;
  gOuter = SetWindowsHookEx(WH_CBT, &OuterHook, nullptr, 0);
  gHookLog.clear();
  HWND w = Popup(0, 0, 10, 10);
  EXPECT_GT(gOuterCalls, 0);
  EXPECT_EQ(static_cast<int>(gHookLog.size()), gOuterCalls) << "the older hook sees every event passed on";
  UnhookWindowsHookEx(gOuter);
  EXPECT_EQ(SetWindowsHookEx(4, &OuterHook, nullptr, 0), nullptr) << "only WH_CBT is supported";
  (void)w;
}

TEST(MetricsTest, ClassicValuesAndDesktopQueries) {
  THeadlessBackend backend({1024, 768});
  backend.Install();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
  EXPECT_EQ(GetSystemMetrics(SM_CXHSCROLL), 17);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
  EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
  EXPECT_EQ(GetSystemMetrics(SM_CXDLGFRAME), 3);
  EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
  EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), 16);
  EXPECT_EQ(GetSystemMetrics(12345), 0);
  EXPECT_EQ(GetDoubleClickTime(), 500u);
  int enabled = 1;
  EXPECT_EQ(DwmIsCompositionEnabled(&enabled), 0);
  EXPECT_EQ(enabled, 0);
  EXPECT_FALSE(IsThemeActive());
  EXPECT_EQ(SetWindowTheme(nullptr, "", ""), 0);
}

}  // namespace
