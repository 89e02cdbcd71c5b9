// Sending, posting, subclassing and loops.
#include "tests/win/WinTestSupport.h"

namespace {

// A subclass object: tags WM_USER answers and passes everything else on.
class TTagger {
public:
  explicit TTagger(HWND window, int tag) : Window(window), Tag(tag) {
    Previous = SetWindowProc(window, MakeWindowProc<&TTagger::WndProc>(this));
  }
  LRESULT WndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER) {
      Seen.push_back(Tag);
      return CallWindowProc(Previous, h, m, w, l) * 10 + Tag;
    }
    return CallWindowProc(Previous, h, m, w, l);
  }
  HWND Window;
  int Tag;
  TWindowProc Previous;
  static inline std::vector<int> Seen;
};

LRESULT BaseProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) return 7;
  return DefWindowProc(h, m, w, l);
}

class MessageTest : public WinTest {
protected:
  void SetUp() override {
    WinTest::SetUp();
    WNDCLASSEX wc;
    wc.lpfnWndProc = &BaseProc;
    wc.lpszClassName = "Base";
    RegisterClassEx(wc);
    TTagger::Seen.clear();
  }
};

TEST_F(MessageTest, SubclassChainRunsNewestFirstAndUnwinds) {
  HWND w = Popup(0, 0, 10, 10, 0, "Base");
  TTagger a(w, 1), b(w, 2), c(w, 3);
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), ((7 * 10 + 1) * 10 + 2) * 10 + 3);
  EXPECT_EQ(TTagger::Seen, (std::vector<int>{3, 2, 1}));
  // Removing the newest subclass restores the previous procedure.
  SetWindowProc(w, c.Previous);
  TTagger::Seen.clear();
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), (7 * 10 + 1) * 10 + 2);
  EXPECT_EQ(TTagger::Seen, (std::vector<int>{2, 1}));
  DestroyWindow(w);  // before the subclass objects go
}

LONG_PTR gPreviousHandle = 0;
LRESULT ClassicSubclass(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) return 100 + CallWindowProc(gPreviousHandle, h, m, w, l);
  return CallWindowProc(gPreviousHandle, h, m, w, l);
}

TEST_F(MessageTest, ClassicSubclassingThroughWindowLongs) {
  HWND w = Popup(0, 0, 10, 10, 0, "Base");
  gPreviousHandle = SetWindowLongPtr(w, GWLP_WNDPROC, WindowProcHandle(&ClassicSubclass));
  ASSERT_NE(gPreviousHandle, 0);
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 107);
  EXPECT_EQ(GetWindowLongPtr(w, GWLP_WNDPROC), WindowProcHandle(&ClassicSubclass));
  EXPECT_EQ(WindowProcHandle(&ClassicSubclass), WindowProcHandle(&ClassicSubclass)) << "handles are stable";
  SetWindowLongPtr(w, GWLP_WNDPROC, gPreviousHandle);
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 7);
}

LRESULT RecursiveProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) return w == 0 ? 0 : 1 + SendMessage(h, WM_USER, w - 1, 0);
  if (m == WM_USER + 1) {
    DestroyWindow(h);  // from inside its own procedure
    return IsWindow(h) ? 1 : 2;
  }
  return DefWindowProc(h, m, w, l);
}

TEST_F(MessageTest, SendIsSynchronousAndReentrant) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = &RecursiveProc;
  wc.lpszClassName = "Recursive";
  RegisterClassEx(wc);
  HWND w = Popup(0, 0, 10, 10, 0, "Recursive");
  EXPECT_EQ(SendMessage(w, WM_USER, 50, 0), 50);
  EXPECT_EQ(SendMessage(w, WM_USER + 1, 0, 0), 2);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(MessageTest, PostedMessagesArriveInOrderAndDeadWindowsDropTheirs) {
  HWND a = Popup(0, 0, 10, 10);
  HWND b = Popup(0, 0, 10, 10);
  PostMessage(a, WM_USER, 1, 0);
  PostMessage(b, WM_USER, 2, 0);
  PostMessage(a, WM_USER, 3, 0);
  DestroyWindow(b);
  Log().Clear();
  ProcessPendingMessages();
  auto user = Log().All(WM_USER);
  ASSERT_EQ(user.size(), 2u);
  EXPECT_EQ(user[0].WParam, 1u);
  EXPECT_EQ(user[1].WParam, 3u);
}

TEST_F(MessageTest, QuitEndsTheLoopWithItsCode) {
  HWND w = Popup(0, 0, 10, 10);
  PostMessage(w, WM_USER, 0, 0);
  PostQuitMessage(42);
  PostMessage(w, WM_USER, 1, 0);
  EXPECT_EQ(RunMessageLoop(), 42);
  EXPECT_EQ(Log().All(WM_USER).size(), 2u) << "messages posted before the quit are still delivered";
}

// A nested loop per WM_USER + 10, ended by WM_USER + 11; records the nesting it saw.
struct TModalState {
  int Depth = 0;
  int MaxDepth = 0;
  std::vector<int> Done;
};
TModalState gModal;

LRESULT ModalProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 10) {
    int level = ++gModal.Depth;
    gModal.MaxDepth = std::max(gModal.MaxDepth, level);
    bool finished = false;
    // The handler of this modal window ends it by posting to itself.
    if (level < 3) PostMessage(h, WM_USER + 10, 0, 0);  // opens a deeper one
    PostMessage(h, WM_USER + 11, static_cast<WPARAM>(level), 0);
    SetProp(h, ("done" + std::to_string(level)).c_str(), &finished);
    bool ok = RunModalLoop([&] { return finished; });
    gModal.Done.push_back(level);
    --gModal.Depth;
    return ok ? level : -level;
  }
  if (m == WM_USER + 11) {
    auto* flag = static_cast<bool*>(GetProp(h, ("done" + std::to_string(w)).c_str()));
    if (flag) *flag = true;
    else PostMessage(h, WM_USER + 11, w, 0);  // the loop of that level is not running yet
    return 0;
  }
  return DefWindowProc(h, m, w, l);
}

TEST_F(MessageTest, NestedModalLoopsReturnInnermostFirst) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = &ModalProc;
  wc.lpszClassName = "Modal";
  RegisterClassEx(wc);
  HWND w = Popup(0, 0, 10, 10, 0, "Modal");
  gModal = {};
  EXPECT_EQ(SendMessage(w, WM_USER + 10, 0, 0), 1);
  EXPECT_EQ(gModal.MaxDepth, 3);
  EXPECT_EQ(gModal.Done, (std::vector<int>{3, 2, 1}));
}

TEST_F(MessageTest, ModalLoopSeeingQuitRepostsIt) {
  HWND w = Popup(0, 0, 10, 10);
  PostQuitMessage(3);
  EXPECT_FALSE(RunModalLoop([] { return false; }));
  MSG msg;
  EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0)) << "the outer loop still sees WM_QUIT";
  EXPECT_EQ(msg.wParam, 3u);
  (void)w;
}

TEST_F(MessageTest, BroadcastToDescendantsDeliversExactlyOnce) {
  HWND top = Popup(0, 0, 100, 100);
  HWND a = Child(top, 0, 0, 10, 10);
  HWND a1 = Child(a, 0, 0, 5, 5);
  HWND b = Child(top, 0, 0, 10, 10);
  Log().Clear();
  SendMessageToDescendants(top, WM_USER + 5, 0, 0);
  auto got = Log().All(WM_USER + 5);
  std::vector<HWND> order;
  for (auto& e : got) order.push_back(e.Window);
  EXPECT_EQ(order, (std::vector<HWND>{b, a, a1}));
}

TEST_F(MessageTest, TextTravelsThroughMessages) {
  HWND w = Popup(0, 0, 10, 10);
  SetWindowText(w, "Теория");
  EXPECT_EQ(GetWindowText(w), "Теория");
  EXPECT_EQ(GetWindowTextLength(w), 12) << "UTF-8 bytes";
  char small[5];
  EXPECT_EQ(GetWindowText(w, small, 5), 4);
  EXPECT_EQ(std::string(small), std::string("Тео").substr(0, 4));
}

}  // namespace
