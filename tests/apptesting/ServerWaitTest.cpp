// The program's windows while a statement waits for a server that stopped
// answering: they keep painting, the user's input waits for the answer, and the
// wait ends in time with the Russian message.
#include <gtest/gtest.h>

#include <signal.h>

#include "app/AppForms.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "platform/base/Exception.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "forms/Application.h"
#include "forms/Button.h"
#include "forms/Form.h"
#include "platform/backend/HeadlessBackend.h"
#include "tests/support/SilentServer.h"
#include "tools/pg-server/TPgServer.h"

namespace {
int paints = 0;
TWindowProc previous;

TEST(ServerWaitTest, WindowsKeepPaintingWhileTheServerIsSilent) {
  TPgServer server;
  TADOConnection connection("Data Source=" + server.CreateDatabase("wait"));
  connection.SetBusyTimeout(1500);
  connection.Open();
  TADOQuery query(&connection);
  const pid_t backend = ServerProcessOf(query);

  THeadlessBackend display(TSize{800, 600});
  display.Install();
  TApplication app;
  auto* form = app.CreateForm<TForm>();
  form->SetBounds(10, 10, 300, 200);
  form->Show();
  ProcessPendingMessages();
  previous = SetWindowProc(form->Handle(), TPlainWndProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_PAINT) ++paints;
    return CallWindowProc(previous, h, m, w, l);
  }));
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 80, 24);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  ProcessPendingMessages();

  // Midway through the wait something changes on screen and a click arrives.
  int waits = 0, paintsDuringWait = 0, clicksDuringWait = 0;
  TDbEngine::SetWaitHandler([&] {
    if (++waits == 5) {
      paints = 0;
      InvalidateRect(form->Handle(), nullptr, true);
      PostMessage(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      PostMessage(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    KeepWindowsPainting();
    if (waits >= 5) paintsDuringWait = paints, clicksDuringWait = clicks;
  });
  ASSERT_EQ(::kill(backend, SIGSTOP), 0);
  const std::string message = OpenThenResume(query, backend);

  EXPECT_TRUE(message.ends_with(" не ответил за 2 с; действие прервано.")) << message;
  EXPECT_EQ(paintsDuringWait, 1);   // painted within the wait, once
  EXPECT_EQ(clicksDuringWait, 0);   // input is not acted on in the middle of a statement
  ProcessPendingMessages();
  EXPECT_EQ(clicks, 1);             // but after it, not lost
  SetWindowProc(form->Handle(), previous);
}
}  // namespace
