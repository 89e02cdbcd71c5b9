// The SDL display without a screen (SDL's offscreen driver): native titles
// follow the forms' captions, and a window whose constant alpha is 0 is not
// mapped, so nothing of it shows even where no compositor blends.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <memory>

#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/backend/SdlBackend.h"
#include "platform/win/Message.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"

class SdlBackendTest : public ::testing::Test {
protected:
  void SetUp() override {
    // No screen needed; SDL_VIDEODRIVER=x11 under xvfb-run tries the real thing.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    Backend = std::make_unique<TSdlBackend>();
    if (!Backend->Ok()) GTEST_SKIP() << "no SDL video: " << Backend->Error();
    Backend->Install();
    App = std::make_unique<TApplication>();
    Form = App->CreateForm<TForm>();
    Form->SetName("Form1");
    Form->SetCaption("Электронный учебник — очень длинный заголовок окна, длиннее шестидесяти четырёх байт");
    Form->SetBounds(20, 20, 300, 200);
  }
  void TearDown() override {
    App.reset();
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    Backend.reset();
  }
  std::string NativeTitle() {
    SDL_Window* w = Backend->NativeWindow(Form->Handle());
    return w ? SDL_GetWindowTitle(w) : "(no native window)";
  }
  void Settle() {
    ProcessPendingMessages();
    UpdateAllWindows();
  }
  std::unique_ptr<TSdlBackend> Backend;
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
};

TEST_F(SdlBackendTest, NativeTitleIsTheWholeCaptionAndFollowsIt) {
  Form->Show();
  Settle();
  EXPECT_EQ(NativeTitle(), Form->Caption());
  Form->SetCaption("Тестер");
  Settle();
  Backend->SyncTitles();
  EXPECT_EQ(NativeTitle(), "Тестер");
}

TEST_F(SdlBackendTest, BorderlessFormsTitleFollowsItsCaptionToo) {
  // A borderless form paints no title bar, so no paint carries the change.
  Form->SetBorderStyle(bsNone);
  Form->Show();
  Settle();
  Form->SetCaption("Вход");
  Settle();
  Backend->SyncTitles();
  EXPECT_EQ(NativeTitle(), "Вход");
}

TEST_F(SdlBackendTest, WindowWithAlphaZeroIsNotMappedUntilItRises) {
  Form->Show();
  Settle();
  EXPECT_TRUE(Backend->NativeShown(Form->Handle()));
  Form->SetAlphaBlend(true);
  Form->SetAlphaBlendValue(0);
  Settle();
  EXPECT_FALSE(Backend->NativeShown(Form->Handle()));
  EXPECT_TRUE(Form->Visible());
  Form->SetAlphaBlendValue(128);
  Settle();
  EXPECT_TRUE(Backend->NativeShown(Form->Handle()));
  Form->SetAlphaBlendValue(0);
  Settle();
  EXPECT_FALSE(Backend->NativeShown(Form->Handle()));
  Form->SetAlphaBlend(false);
  Settle();
  EXPECT_TRUE(Backend->NativeShown(Form->Handle()));
}
