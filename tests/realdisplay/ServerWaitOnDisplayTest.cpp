// A statement waiting for a server that stopped answering, with the program on
// the SDL backend on a private Xvfb (with and without a window manager): a part
// of the window uncovered during the wait is shown again, the pointer over it is
// the busy cursor, a click and the window manager's close request wait for the
// end of the wait, and the wait ends in time with the Russian message; then the
// cursor is the program's again.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppForms.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "forms/Application.h"
#include "forms/Button.h"
#include "forms/Form.h"
#include "platform/backend/SdlBackend.h"
#include "platform/backend/X11Display.h"
#include "platform/base/Exception.h"
#include "platform/win/Backend.h"
#include "platform/win/Cursors.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "tests/realdisplay/XProbe.h"
#include "tests/support/SilentServer.h"
#include "tools/pg-server/TPgServer.h"

namespace {
using TClock = std::chrono::steady_clock;

// What the window system keeps of a top-level window at a point, as the screen shows it.
unsigned long KeptPixel(HWND window, int px, int py) {
  const TTopLevelView view = TopLevelView(window);
  if (!view.Image) return ~0ul;
  const std::uint8_t* p = view.Image->ScanLine(py) + px * 4;  // B, G, R, X
  return (static_cast<unsigned long>(p[2]) << 16) | (static_cast<unsigned long>(p[1]) << 8) | p[0];
}

void PumpOnce(TSdlBackend& backend) {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  backend.WaitForInput(10);
}

// "width×height at hot spot" of a cursor picture, for messages.
std::string Outline(const std::vector<unsigned long>& picture) {
  if (picture.size() < 4) return "none";
  return std::to_string(picture[0]) + "×" + std::to_string(picture[1]) + " at " + std::to_string(picture[2]) + "," +
         std::to_string(picture[3]);
}

// Runs the program's loop until `done` holds, for at most ten seconds.
template <class F>
bool PumpUntil(TSdlBackend& backend, F&& done) {
  const auto end = TClock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (TClock::now() > end) return false;
    PumpOnce(backend);
  }
  return true;
}

// A private display, a private server whose process the test stops, and the
// program's SDL backend on that display.
class ServerWaitOnDisplayTest : public ::testing::TestWithParam<const char*> {
protected:
  void SetUp() override {
    // The X server's own cursors, not a theme's: a theme's busy cursor is an
    // animation, and one picture of it taken beforehand matches the screen only
    // when a look during the wait falls on the same frame.
    setenv("XCURSOR_PATH", "/nonexistent", 1);
    X_ = std::make_unique<TXProbe>(GetParam());
    ASSERT_EQ(X_->Error(), "");
    setenv("DISPLAY", X_->Display().c_str(), 1);
    Server_ = std::make_unique<TPgServer>();
    Connection_ = std::make_unique<TADOConnection>("Data Source=" + Server_->CreateDatabase("wait"));
    Connection_->SetBusyTimeout(2000);
    Connection_->Open();
    Query_ = std::make_unique<TADOQuery>(Connection_.get());
    ServerProcess_ = ServerProcessOf(*Query_);
    Backend_ = std::make_unique<TSdlBackend>();
    ASSERT_TRUE(Backend_->Ok()) << Backend_->Error();
    Backend_->Install();
    App_ = std::make_unique<TApplication>();
  }
  void TearDown() override {
    App_.reset();
    TDbEngine::SetWaitHandler(nullptr);
  }

  // A green form at (100, 100), 400 × 300, once the screen shows it.
  TForm* ShowForm() {
    auto* form = App_->CreateForm<TForm>();
    form->SetBounds(100, 100, 400, 300);
    form->SetColor(kFace);
    form->Show();
    const HWND h = form->Handle();
    const bool shown = PumpUntil(*Backend_, [&] {
      return Backend_->NativeShown(h) && KeptPixel(h, 250, 200) == kFace &&
             X_->Pixel(form->Left() + 250, form->Top() + 200) == kFace;
    });
    EXPECT_TRUE(shown) << "the form is not on the screen";
    return shown ? form : nullptr;
  }
  // Runs a statement with the server's process stopped and `during` as the wait
  // handler; the error it ended in.
  std::string WaitForSilentServer(std::function<void()> during) {
    TDbEngine::SetWaitHandler(std::move(during));
    if (::kill(ServerProcess_, SIGSTOP) != 0) return "the server's process could not be stopped";
    return OpenThenResume(*Query_, ServerProcess_);
  }

  static constexpr unsigned long kFace = 0x00A000;
  std::unique_ptr<TXProbe> X_;
  std::unique_ptr<TPgServer> Server_;
  std::unique_ptr<TADOConnection> Connection_;
  std::unique_ptr<TADOQuery> Query_;
  pid_t ServerProcess_ = 0;
  std::unique_ptr<TSdlBackend> Backend_;
  std::unique_ptr<TApplication> App_;
};

TEST_P(ServerWaitOnDisplayTest, UncoveredWindowIsShownAgainUnderTheBusyCursorAndInputWaits) {
  TXProbe& x = *X_;
  TSdlBackend& backend = *Backend_;
  TForm* form = ShowForm();
  ASSERT_TRUE(form);
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(20, 20, 80, 24);
  int clicks = 0;
  bool moved = false;
  button->OnClick = [&](TObject*) { ++clicks; };
  button->OnMouseMove = [&](TObject*, TShiftState, int, int) { moved = true; };
  const HWND h = form->Handle();
  // A point of the form's face well inside, where the screen shows it (a window
  // manager may place it).
  auto faceX = [&] { return form->Left() + 250; };
  auto faceY = [&] { return form->Top() + 200; };
  const unsigned long blue = 0x0000FF;

  // The server's busy picture, and the program's own over the button.
  const std::vector<unsigned long> busy = x.WatchPicture();
  const TPoint onButton = button->ClientToScreen({40, 12});
  x.MovePointer(onButton.X, onButton.Y);
  ASSERT_TRUE(PumpUntil(backend, [&] {
    // The program sets its cursor as it takes the pointer's move, before the
    // button hears of it. (Where the window system last saw the pointer says
    // nothing here: a run before this one in the same process left it there.)
    TPoint at;
    return moved && GetCursorPos(&at) && at == onButton;
  }));
  // The probe is another client of the server, whose requests may be served
  // before the program's: the program's cursor is looked at once they are done.
  TXProbe::AwaitProgram(backend.NativeWindow(h));
  const std::vector<unsigned long> own = x.CursorPicture();
  ASSERT_GT(busy.size(), 4u);
  ASSERT_NE(own, busy);

  // Another window over the form's face.
  const unsigned long cover = x.Cover(faceX() - 50, faceY() - 50, 100, 100, blue);
  ASSERT_EQ(x.Pixel(faceX(), faceY()), blue);

  int calls = 0, clicksDuringWait = -1;
  bool uncovered = false, shownAgain = false, busyShown = false;
  std::vector<unsigned long> lastDuringWait;
  const std::string message = WaitForSilentServer([&] {
    if (++calls == 3) {
      // Uncovered, and the button clicked, while the statement waits.
      x.Uncover(cover);
      x.Click();
      uncovered = true;
    }
    KeepWindowsPainting();
    if (!uncovered) return;
    shownAgain = shownAgain || x.Pixel(faceX(), faceY()) == kFace;
    lastDuringWait = x.CursorPicture();
    busyShown = busyShown || lastDuringWait == busy;
    clicksDuringWait = clicks;
  });

  EXPECT_TRUE(message.ends_with(" не ответил за 2 с; действие прервано.")) << message;
  EXPECT_TRUE(uncovered);
  EXPECT_TRUE(shownAgain) << "the uncovered part was not shown again during the wait";
  EXPECT_TRUE(busyShown) << "no busy cursor during the wait: " << Outline(lastDuringWait) << " shown last, "
                         << Outline(busy) << " expected";
  EXPECT_EQ(clicksDuringWait, 0);  // the click is not acted on in the middle of a statement
  // Back in the program's loop: the click comes, the cursor is the program's.
  EXPECT_TRUE(PumpUntil(backend, [&] { return clicks == 1; }));
  EXPECT_TRUE(PumpUntil(backend, [&] { return x.CursorPicture() == own; }))
      << "the cursor shown is " << Outline(x.CursorPicture()) << ", the program's " << Outline(own);
  EXPECT_EQ(clicks, 1);
  form->Hide();
  PumpOnce(backend);
}

// The window manager's close button pressed on the main form while a statement
// waits: the request is held like input (the form stays, nothing of the program
// runs in the middle of the statement) and acted on once the program's loop runs
// again, as a close at any other moment: the program ends.
TEST_P(ServerWaitOnDisplayTest, CloseRequestDuringTheWaitIsActedOnAfterIt) {
  TXProbe& x = *X_;
  TSdlBackend& backend = *Backend_;
  TForm* form = ShowForm();
  ASSERT_TRUE(form);
  int closes = 0;
  form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  const HWND h = form->Handle();
  const unsigned long xwindow = TX11Display::WindowOf(backend.NativeWindow(h));
  ASSERT_NE(xwindow, 0u);

  int calls = 0, closesDuringWait = -1;
  bool asked = false, stayedDuringWait = true;
  const std::string message = WaitForSilentServer([&] {
    if (++calls == 3) {
      x.RequestClose(xwindow);
      asked = true;
    }
    KeepWindowsPainting();
    if (!asked) return;
    closesDuringWait = closes;
    stayedDuringWait = stayedDuringWait && !App_->Terminated() && backend.NativeShown(h) && IsWindowVisible(h);
  });

  EXPECT_TRUE(message.ends_with(" не ответил за 2 с; действие прервано.")) << message;
  EXPECT_TRUE(asked);
  EXPECT_EQ(closesDuringWait, 0);
  EXPECT_TRUE(stayedDuringWait) << "the window went in the middle of the statement";
  // Back in the program's loop the request is the program's close, once: the
  // main form's, which ends the program.
  EXPECT_TRUE(PumpUntil(backend, [&] { return closes == 1 && App_->Terminated(); })) << closes << " closes";
  for (int i = 0; i < 5; ++i) PumpOnce(backend);
  EXPECT_EQ(closes, 1);
}

INSTANTIATE_TEST_SUITE_P(Displays, ServerWaitOnDisplayTest, ::testing::Values("", "openbox"),
                         [](const auto& info) { return std::string(*info.param ? info.param : "none"); });
}  // namespace
