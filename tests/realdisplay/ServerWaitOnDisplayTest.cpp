// A statement waiting for a server that stopped answering, with the program on
// the SDL backend on a private Xvfb (with and without a window manager): a part
// of the window uncovered during the wait is shown again, the pointer over it is
// the busy cursor, a click waits for the end of the wait, and the wait ends in
// time with the Russian message; then the cursor is the program's again.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/AppForms.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "forms/Application.h"
#include "forms/Button.h"
#include "forms/Form.h"
#include "platform/backend/SdlBackend.h"
#include "platform/base/Exception.h"
#include "platform/win/Backend.h"
#include "platform/win/Cursors.h"
#include "platform/win/Message.h"
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

class ServerWaitOnDisplayTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ServerWaitOnDisplayTest, UncoveredWindowIsShownAgainUnderTheBusyCursorAndInputWaits) {
  TXProbe x(GetParam());
  ASSERT_EQ(x.Error(), "");
  setenv("DISPLAY", x.Display().c_str(), 1);

  TPgServer server;
  TADOConnection connection("Data Source=" + server.CreateDatabase("wait"));
  connection.SetBusyTimeout(2000);
  connection.Open();
  TADOQuery query(&connection);
  const pid_t backendPid = ServerProcessOf(query);

  TSdlBackend backend;
  ASSERT_TRUE(backend.Ok()) << backend.Error();
  backend.Install();
  {
    TApplication app;
    auto* form = app.CreateForm<TForm>();
    form->SetBounds(100, 100, 400, 300);
    form->SetColor(0x00A000);
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 80, 24);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    const HWND h = form->Handle();
    // Where the form stands on the screen (a window manager may place it), and
    // a point of its face well inside.
    auto faceX = [&] { return form->Left() + 250; };
    auto faceY = [&] { return form->Top() + 200; };
    const unsigned long face = 0x00A000, blue = 0x0000FF;
    ASSERT_TRUE(PumpUntil(backend, [&] {
      return backend.NativeShown(h) && KeptPixel(h, 250, 200) == face && x.Pixel(faceX(), faceY()) == face;
    })) << "the form is not on the screen";

    // The server's busy picture, and the program's own over the button.
    const std::vector<unsigned long> busy = x.WatchPicture();
    const TPoint onButton = button->ClientToScreen({40, 12});
    x.MovePointer(onButton.X, onButton.Y);
    ASSERT_TRUE(PumpUntil(backend, [&] {
      // The program sets its cursor as it takes the pointer's move.
      TPoint at;
      return GetCursorPos(&at) && at == onButton;
    }));
    const std::vector<unsigned long> own = x.CursorPicture();
    ASSERT_GT(busy.size(), 4u);
    ASSERT_NE(own, busy);

    // Another window over the form's face.
    const unsigned long cover = x.Cover(faceX() - 50, faceY() - 50, 100, 100, blue);
    ASSERT_EQ(x.Pixel(faceX(), faceY()), blue);

    int calls = 0, clicksDuringWait = -1;
    bool uncovered = false, shownAgain = false, busyShown = false;
    TDbEngine::SetWaitHandler([&] {
      if (++calls == 3) {
        // Uncovered, and the button clicked, while the statement waits.
        x.Uncover(cover);
        x.Click();
        uncovered = true;
      }
      KeepWindowsPainting();
      if (!uncovered) return;
      shownAgain = shownAgain || x.Pixel(faceX(), faceY()) == face;
      busyShown = busyShown || x.CursorPicture() == busy;
      clicksDuringWait = clicks;
    });
    ASSERT_EQ(::kill(backendPid, SIGSTOP), 0);
    const std::string message = OpenThenResume(query, backendPid);

    EXPECT_TRUE(message.ends_with(" не ответил за 2 с; действие прервано.")) << message;
    EXPECT_TRUE(uncovered);
    EXPECT_TRUE(shownAgain) << "the uncovered part was not shown again during the wait";
    EXPECT_TRUE(busyShown) << "no busy cursor during the wait";
    EXPECT_EQ(clicksDuringWait, 0);  // the click is not acted on in the middle of a statement
    // Back in the program's loop: the click comes, the cursor is the program's.
    EXPECT_TRUE(PumpUntil(backend, [&] { return clicks == 1; }));
    EXPECT_TRUE(PumpUntil(backend, [&] { return x.CursorPicture() == own; }));
    EXPECT_EQ(clicks, 1);
    form->Hide();
    PumpOnce(backend);
  }
}

INSTANTIATE_TEST_SUITE_P(Displays, ServerWaitOnDisplayTest, ::testing::Values("", "openbox"),
                         [](const auto& info) { return std::string(*info.param ? info.param : "none"); });
}  // namespace
