// Caption buttons under the mouse: the 12 ms hover animation, the glow of the
// close button, the half-transparent look of an inactive form, the commands a
// click sends, and moving and sizing by the frame.
#include "platform/win/HitTest.h"
#include "platform/win/SysCommands.h"
#include "skin/paint/acMaskPaint.h"
#include "tests/skinframe/FrameTestUtil.h"

namespace {

// The hot close glow is red: its strongest channel near the button is red.
bool Reddish(TColor c) { return GetRValue(c) > GetGValue(c) + 20 && GetRValue(c) > GetBValue(c) + 20; }

// Records the system commands a form receives, in front of its provider.
struct TCommandSpy {
  std::vector<WPARAM> Commands;
  std::function<void(TMessage&)> Saved;
  TForm* Form = nullptr;
  void Attach(TForm* form) {
    Form = form;
    Saved = form->WindowProc;
    form->WindowProc = [this](TMessage& m) {
      if (m.Msg == WM_SYSCOMMAND) Commands.push_back(m.WParam & 0xFFF0);
      Saved(m);
    };
  }
  void Detach() { Form->WindowProc = Saved; }
};

}  // namespace

TEST_F(FrameTest, HoveringTheCloseButtonAnimatesInTwelveMillisecondStepsAndGlowsRed) {
  TForm* form = ShowForm();
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  const TsCaptionButton& close = provider->Button(HTCLOSE);
  const TBitmap before = Backend->Desktop();
  Backend->MouseMove(Screen(form, Centre(close.Rect)));
  Settle();
  EXPECT_EQ(provider->HotButton(), HTCLOSE);
  EXPECT_EQ(close.State, TacPaintState::Hot);
  EXPECT_EQ(close.Level, 0) << "the hot look fades in, it does not jump";
  Backend->Advance(12);
  EXPECT_EQ(close.Level, 25);
  Backend->Advance(12 * 3);
  EXPECT_EQ(close.Level, 100);
  Backend->Advance(12 * 6);
  EXPECT_EQ(close.Level, 255);
  // The red glow: a layered, click-through window around the button.
  ASSERT_GE(close.GlowId, 0);
  TacGlowEffect* glow = GlowEffect(close.GlowId);
  ASSERT_NE(glow, nullptr);
  EXPECT_EQ(GlowCount(), 1);
  const LONG_PTR ex = GetWindowLongPtr(glow->Window(), GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_TRUE(ex & WS_EX_TRANSPARENT);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  EXPECT_EQ(GetActiveWindow(), form->Handle()) << "showing the glow does not activate it";
  TRect glowRect, buttonOnScreen = close.Rect.Offset(form->Left(), form->Top());
  GetWindowRect(glow->Window(), &glowRect);
  EXPECT_LT(glowRect.Left, buttonOnScreen.Left);
  EXPECT_GT(glowRect.Right, buttonOnScreen.Right);
  EXPECT_LT(glowRect.Top, buttonOnScreen.Top);
  // Around the button the desktop turns red where the halo lies.
  const TBitmap during = Backend->Desktop();
  int redder = 0;
  for (int y = glowRect.Top; y < glowRect.Bottom; ++y)
    for (int x = glowRect.Left; x < glowRect.Right; ++x) {
      if (buttonOnScreen.Contains({x, y})) continue;
      const TColor a = before.Pixel(x, y), b = during.Pixel(x, y);
      if (GetRValue(b) > GetRValue(a) + 20 && Reddish(b)) ++redder;
    }
  EXPECT_GT(redder, 20) << "the glow shows red around the button";

  // Leaving removes the glow and runs the animation back down.
  Backend->MouseMove(Screen(form, {150, 150}));
  Settle();
  EXPECT_EQ(provider->HotButton(), -1);
  EXPECT_EQ(GlowCount(), 0);
  EXPECT_EQ(close.State, TacPaintState::Normal);
  Backend->Advance(12 * 11);
  EXPECT_EQ(close.Level, 0);
  const TBitmap after = Backend->Desktop();
  for (int y = glowRect.Top; y < glowRect.Bottom; ++y)
    for (int x = glowRect.Left; x < glowRect.Right; ++x)
      ASSERT_EQ(after.Pixel(x, y), before.Pixel(x, y)) << "back as before at " << x << "," << y;
}

TEST_F(FrameTest, MovingFromTheClientOntoAButtonMakesItHotAtOnce) {
  TForm* form = ShowForm();
  TsSkinProvider* provider = ProviderOf(form);
  const TsCaptionButton& close = provider->Button(HTCLOSE);
  // In the client first: the form follows the mouse there and hears it leave.
  Backend->MouseMove(Screen(form, {200, 150}));
  Settle();
  Backend->MouseMove(Screen(form, Centre(close.Rect)));
  Settle();
  EXPECT_EQ(provider->HotButton(), HTCLOSE) << "the client's leave does not end the button's hover";
  EXPECT_EQ(close.State, TacPaintState::Hot);
  Backend->Advance(200);
  EXPECT_EQ(close.Level, 255);
}

TEST_F(FrameTest, AGlowNeverTakesTheMouse) {
  TForm* form = ShowForm();
  TsSkinProvider* provider = ProviderOf(form);
  const TsCaptionButton& close = provider->Button(HTCLOSE);
  Backend->MouseMove(Screen(form, Centre(close.Rect)));
  Settle();
  TacGlowEffect* glow = GlowEffect(close.GlowId);
  ASSERT_NE(glow, nullptr);
  TRect glowRect;
  GetWindowRect(glow->Window(), &glowRect);
  EXPECT_EQ(SendMessage(glow->Window(), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  // A point of the halo above the window: the desktop, not the glow, is under the mouse.
  const TPoint halo{Centre(glowRect).X, glowRect.Top + 1};
  EXPECT_NE(WindowFromPoint(halo), glow->Window());
}

TEST_F(FrameTest, ApplyingASkinReleasesEveryGlow) {
  TForm* form = ShowForm();
  const TsCaptionButton& close = ProviderOf(form)->Button(HTCLOSE);
  Backend->MouseMove(Screen(form, Centre(close.Rect)));
  Settle();
  ASSERT_EQ(GlowCount(), 1);
  Manager->NotifyNewSkin(false);
  EXPECT_EQ(GlowCount(), 0);
}

TEST_F(FrameTest, WithoutGlowingButtonsChangeAtOnceAndNoGlowShows) {
  Manager->SetAllowGlowing(false);
  TForm* form = ShowForm();
  const TsCaptionButton& close = ProviderOf(form)->Button(HTCLOSE);
  Backend->MouseMove(Screen(form, Centre(close.Rect)));
  Settle();
  EXPECT_EQ(close.State, TacPaintState::Hot);
  EXPECT_EQ(close.Level, 255);
  EXPECT_EQ(GlowCount(), 0);
}

TEST_F(FrameTest, InactiveFormDrawsItsCaptionButtonsHalfTransparent) {
  TForm* form = ShowForm();
  TsSkinProvider* provider = ProviderOf(form);
  const TsCaptionButton& close = provider->Button(HTCLOSE);
  const TsMaskData& mask = *Manager->Mask(close.ImageIndex);
  // What the button looks like drawn over the title band with a given alpha mode.
  auto expected = [&](int useAlpha) {
    TBitmap band(provider->TitleBackground());
    DrawGlyphMask(band, {close.Rect.Left, close.Rect.Top}, TacPaintState::Normal, useAlpha, mask, BackgroundInfo{});
    return band.Pixel(Centre(close.Rect).X, Centre(close.Rect).Y);
  };
  const TPoint middle = Centre(close.Rect);
  EXPECT_EQ(ImagePixel(form, middle), expected(1)) << "active: opaque";
  ShowForm({}, Bounds(520, 80, 300, 200));  // takes the activation
  ASSERT_FALSE(provider->FormActive());
  EXPECT_EQ(ImagePixel(form, middle), expected(2)) << "inactive: half-transparent";
  EXPECT_NE(expected(1), expected(2));
}

TEST_F(FrameTest, ClickingAMaximisedWindowsMaximizeButtonSendsRestore) {
  TForm* form = ShowForm([](TForm* f) { f->SetBorderStyle(bsSizeable); });
  form->SetWindowState(wsMaximized);
  Settle();
  ASSERT_TRUE(IsZoomed(form->Handle()));
  TsSkinProvider* provider = ProviderOf(form);
  const TsCaptionButton& max = provider->Button(HTMAXBUTTON);
  EXPECT_EQ(max.ImageIndex, Manager->MaskIndexOf("GLOBALINFO", "BICONNORM")) << "a maximised window shows restore";
  TCommandSpy spy;
  spy.Attach(form);
  const TPoint p = Screen(form, Centre(max.Rect));
  Backend->MouseMove(p);
  Backend->MouseDown(p);
  Settle();
  EXPECT_EQ(max.State, TacPaintState::Pressed);
  Backend->MouseUp(p);
  Settle();
  spy.Detach();
  ASSERT_EQ(spy.Commands.size(), 1u);
  EXPECT_EQ(spy.Commands[0], SC_RESTORE);
  EXPECT_EQ(spy.Commands[0], 61728u);
  EXPECT_FALSE(IsZoomed(form->Handle()));
  EXPECT_EQ(provider->Button(HTMAXBUTTON).ImageIndex, Manager->MaskIndexOf("GLOBALINFO", "BICONMAX"));
}

TEST_F(FrameTest, CloseAndMinimizeSendTheirCommandsAndReleasingElsewhereSendsNothing) {
  TForm* form = ShowForm([](TForm* f) { f->SetBorderStyle(bsSizeable); });
  TsSkinProvider* provider = ProviderOf(form);
  TCommandSpy spy;
  spy.Attach(form);
  const TPoint min = Screen(form, Centre(provider->Button(HTMINBUTTON).Rect));
  Backend->MouseMove(min);
  Backend->MouseDown(min);
  Backend->MouseMove(Screen(form, {150, 150}));
  Backend->MouseUp(Screen(form, {150, 150}));
  Settle();
  EXPECT_TRUE(spy.Commands.empty()) << "released off the button: nothing";
  const TPoint close = Screen(form, Centre(provider->Button(HTCLOSE).Rect));
  Backend->MouseMove(close);
  Backend->Click(close);
  Settle();
  spy.Detach();
  ASSERT_EQ(spy.Commands.size(), 1u);
  EXPECT_EQ(spy.Commands[0], SC_CLOSE);
  EXPECT_FALSE(form->Visible()) << "closing a window that is not the main one hides it";
}

TEST_F(FrameTest, DraggingTheTitleBandMovesTheWindow) {
  TForm* form = ShowForm();
  const int left = form->Left(), top = form->Top();
  const TPoint grip = Screen(form, {150, 12});
  Backend->MouseMove(grip);
  Backend->MouseDown(grip);
  Backend->MouseMove({grip.X + 40, grip.Y + 25});
  Backend->MouseMove({grip.X + 70, grip.Y + 35});
  Backend->MouseUp({grip.X + 70, grip.Y + 35});
  Settle();
  EXPECT_EQ(form->Left(), left + 70);
  EXPECT_EQ(form->Top(), top + 35);
  EXPECT_EQ(form->Width(), 400);
}

TEST_F(FrameTest, DraggingAnEdgeSizesTheWindowAndTheFrameFollows) {
  TForm* form = ShowForm([](TForm* f) { f->SetBorderStyle(bsSizeable); });
  TsSkinProvider* provider = ProviderOf(form);
  const int right = form->Left() + form->Width();
  const TPoint edge = Screen(form, {form->Width() - 1, 150});
  Backend->MouseMove(edge);
  Backend->MouseDown(edge);
  Backend->MouseMove({edge.X + 60, edge.Y});
  Backend->MouseUp({edge.X + 60, edge.Y});
  Settle();
  EXPECT_EQ(form->Left() + form->Width(), right + 60);
  ASSERT_NE(provider->WindowImage(), nullptr);
  EXPECT_EQ(provider->WindowImage()->Width(), form->Width()) << "the whole-window image follows the size";
  const TsCaptionButton& close = provider->Button(HTCLOSE);
  EXPECT_GT(close.Rect.Right, form->Width() - 20) << "the buttons keep to the right edge";
  // Bottom-right corner sizes both ways.
  const int height = form->Height();
  // Where the right and bottom borders meet, at a pixel the rounded frame keeps (the
  // very corner pixel lies outside it); further up the right edge is only the edge.
  auto hit = [&](TPoint p) {
    return SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(p.X), static_cast<WORD>(p.Y)));
  };
  TRect client;
  GetClientRect(form->Handle(), &client);
  const int border = (form->Width() - client.Width()) / 2;
  TPoint corner{-1, -1};
  for (int d = 0; d < border && corner.X < 0; ++d) {
    const TPoint p = Screen(form, {form->Width() - 1 - d, form->Height() - 1 - d});
    if (WindowFromPoint(p) == form->Handle()) corner = p;
  }
  ASSERT_GE(corner.X, 0);
  ASSERT_EQ(hit(corner), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(Screen(form, {form->Width() - 1, form->Height() - 10})), HTRIGHT);
  Backend->MouseMove(corner);
  Backend->MouseDown(corner);
  Backend->MouseMove({corner.X - 30, corner.Y + 20});
  Backend->MouseUp({corner.X - 30, corner.Y + 20});
  Settle();
  EXPECT_EQ(form->Height(), height + 20);
}

