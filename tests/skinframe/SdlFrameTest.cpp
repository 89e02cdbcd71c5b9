// Skinned frames on the SDL display: windows with rounded corners are shaped where
// the video driver can shape windows (X11 under xvfb-run with
// SDL_VIDEODRIVER=x11), plain elsewhere (the offscreen driver); glows are skipped
// cleanly where per-pixel alpha windows are not shown; caption buttons still work.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <memory>

#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/backend/SdlBackend.h"
#include "platform/win/HitTest.h"
#include "platform/win/Input.h"
#include "platform/win/Win.h"
#include "skin/frame/acFrameEngine.h"
#include "skin/frame/acGlowEffect.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/runtime/sSkinManager.h"

class SdlFrameTest : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    Backend = std::make_unique<TSdlBackend>();
    if (!Backend->Ok()) GTEST_SKIP() << "no SDL video: " << Backend->Error();
    Backend->Install();
    Engine = std::make_unique<TEngineScope>(SkinFrameEngineParts());
    App = std::make_unique<TApplication>();
    Manager = std::make_unique<TsSkinManager>(nullptr);
    ApplyMainWindowSkinSettings(*Manager);
    Manager->NotifyNewSkin(false);
    Form = App->CreateForm<TForm>();
    Form->SetName("Form1");
    Form->SetCaption("Электронный учебник");
    Form->SetBorderStyle(bsSizeable);
    Form->SetBounds(40, 40, 360, 240);
    Form->Show();
    Settle();
  }
  void TearDown() override {
    Manager.reset();
    App.reset();
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    Engine.reset();
    Backend.reset();
  }
  void Settle() { ProcessPendingMessages(); }
  std::unique_ptr<TSdlBackend> Backend;
  std::unique_ptr<TEngineScope> Engine;
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TsSkinManager> Manager;
  TForm* Form = nullptr;
};

TEST_F(SdlFrameTest, FrameIsSkinnedAndShapedWhereTheDriverCanShape) {
  TsSkinProvider* provider = TsSkinProvider::Of(Form);
  ASSERT_NE(provider, nullptr);
  EXPECT_TRUE(provider->FrameSkinned());
  ASSERT_NE(Backend->NativeWindow(Form->Handle()), nullptr);
  EXPECT_EQ(Backend->NativeShaped(Form->Handle()), Backend->ShapingAvailable());
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (driver == "x11") {
    EXPECT_TRUE(Backend->ShapingAvailable()) << "X11 shapes windows";
  } else if (driver == "offscreen") {
    EXPECT_FALSE(Backend->ShapingAvailable());
  }
  // Maximised, the window is square again and shown plain.
  Form->SetWindowState(wsMaximized);
  Settle();
  EXPECT_FALSE(Backend->NativeShaped(Form->Handle()));
  ASSERT_NE(Backend->NativeWindow(Form->Handle()), nullptr);
}

TEST_F(SdlFrameTest, HoveringTheCloseButtonMakesItHotWithoutAGlowWherePerPixelAlphaIsMissing) {
  TsSkinProvider* provider = TsSkinProvider::Of(Form);
  ASSERT_NE(provider, nullptr);
  const TsCaptionButton& close = provider->Button(HTCLOSE);
  ASSERT_FALSE(close.Rect.IsEmpty());
  TRect bounds;
  GetWindowRect(Form->Handle(), &bounds);
  const TPoint p{bounds.Left + (close.Rect.Left + close.Rect.Right) / 2, bounds.Top + (close.Rect.Top + close.Rect.Bottom) / 2};
  InputMouseMove(p);
  Settle();
  EXPECT_EQ(provider->HotButton(), HTCLOSE);
  EXPECT_EQ(close.State, TacPaintState::Hot);
  EXPECT_FALSE(Backend->PerPixelAlphaAvailable());
  EXPECT_EQ(close.GlowId, -1);
  EXPECT_EQ(GlowCount(), 0);
}
