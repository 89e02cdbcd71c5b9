// The form provider: attaching through the manager's hook, the frame it paints,
// hit testing, the skin commands and removing the skin.
#include "forms/MessageForm.h"
#include "platform/base/Exception.h"
#include "platform/win/HitTest.h"
#include "platform/win/NonClient.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sBackground.h"
#include "tests/skinframe/FrameTestUtil.h"
#include "tests/support/ErrorOf.h"

namespace {

LRESULT HitAt(TForm* form, TPoint windowPoint) {
  const TPoint p = FrameTest::Screen(form, windowPoint);
  return SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(p.X), static_cast<WORD>(p.Y)));
}

// How many frame pixels of the window differ from the standard frame drawn now.
int DifferencesFromStandardFrame(TForm* form) {
  const TBitmap* image = WindowImage(form->Handle());
  if (!image) return -1;
  TBitmap standard(image->Width(), image->Height(), TPixelFormat::pf32bit, true);
  PaintDefaultFrame(form->Handle(), &standard.Canvas(), FrameActive(form->Handle()));
  TRect client;
  GetClientRect(form->Handle(), &client);
  const TPoint offset = FrameTest::Screen(form, {0, 0});
  TPoint origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  client = client.Offset(origin.X - offset.X, origin.Y - offset.Y);
  int differences = 0;
  for (int y = 0; y < image->Height(); ++y)
    for (int x = 0; x < image->Width(); ++x)
      if (!client.Contains({x, y}) && image->Pixel(x, y) != standard.Pixel(x, y)) ++differences;
  return differences;
}

// The frame's border width: half of what the window has beside its client.
int FrameBorder(TForm* form) {
  TRect bounds, client;
  GetWindowRect(form->Handle(), &bounds);
  GetClientRect(form->Handle(), &client);
  return (bounds.Width() - client.Width()) / 2;
}

LRESULT Command(TForm* form, unsigned command, LPARAM lParam = 0) {
  return SendMessage(form->Handle(), SM_ALPHACMD, MakeCommandWParam(command), lParam);
}

}  // namespace

TEST_F(FrameTest, ActivationAttachesAProviderThatPaintsTheSkinnedFrame) {
  TForm* form = ShowForm();
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  EXPECT_TRUE(provider->FrameSkinned());
  EXPECT_EQ(provider->TitleSectionName(), "FORMTITLE");
  EXPECT_TRUE(TacBroadcast::AnswersHandled(form->Handle()));
  EXPECT_EQ(HookedProviders().size(), 1u);
  // The window shows the provider's whole image, frame and client alike.
  const TBitmap* image = provider->WindowImage();
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->Width(), form->Width());
  const TPoint title{60, 12};
  EXPECT_EQ(ImagePixel(form, title), image->Pixel(title.X, title.Y));
  const TPoint client{200, 150};
  EXPECT_EQ(ImagePixel(form, client), image->Pixel(client.X, client.Y));
  // The title band is the skin's FORMTITLE, hot while active: not the classic caption blue.
  const TColor classicCaption = GetSysColor(COLOR_ACTIVECAPTION);
  EXPECT_NE(ImagePixel(form, title), classicCaption);
  // A second activation does not attach again.
  SetActiveWindow(nullptr);
  SetActiveWindow(form->Handle());
  EXPECT_EQ(HookedProviders().size(), 1u);
}

TEST_F(FrameTest, TagMinus98KeepsTheStandardFrame) {
  TForm* plain = ShowForm([](TForm* f) { f->SetTag(-98); });
  EXPECT_EQ(ProviderOf(plain), nullptr);
  EXPECT_FALSE(TacBroadcast::AnswersHandled(plain->Handle()));
  EXPECT_EQ(DifferencesFromStandardFrame(plain), 0);
  TForm* skinned = ShowForm({}, Bounds(520, 80, 400, 300));
  EXPECT_GT(DifferencesFromStandardFrame(skinned), 1000);
}

TEST_F(FrameTest, RulesDecideWhichFormsAreSkinned) {
  auto* form = new TForm(App.get());
  form->AfterConstruction();
  EXPECT_TRUE(FormWantsSkin(form));
  Manager->SetSkinningRules({srStdDialogs});
  EXPECT_FALSE(FormWantsSkin(form)) << "ordinary forms need srStdForms";
  auto* box = new TMessageForm(App.get(), "Текст", mtInformation, {mbOK});
  EXPECT_TRUE(FormWantsSkin(box)) << "message boxes need srStdDialogs";
  Manager->SetSkinningRules({srStdForms});
  EXPECT_FALSE(FormWantsSkin(box));
}

TEST_F(FrameTest, HitTestingGivesButtonsSizingEdgesCaptionIconAndClient) {
  TForm* form = ShowForm([](TForm* f) { f->SetBorderStyle(bsSizeable); });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  const TsCaptionButton& close = provider->Button(HTCLOSE);
  const TsCaptionButton& max = provider->Button(HTMAXBUTTON);
  const TsCaptionButton& min = provider->Button(HTMINBUTTON);
  ASSERT_FALSE(close.Rect.IsEmpty());
  ASSERT_FALSE(max.Rect.IsEmpty());
  ASSERT_FALSE(min.Rect.IsEmpty());
  EXPECT_LT(max.Rect.Right, close.Rect.Left + 1) << "right to left: close, maximize, minimize";
  EXPECT_LT(min.Rect.Right, max.Rect.Left + 1);
  EXPECT_EQ(HitAt(form, Centre(close.Rect)), HTCLOSE);
  EXPECT_EQ(HitAt(form, Centre(max.Rect)), HTMAXBUTTON);
  EXPECT_EQ(HitAt(form, Centre(min.Rect)), HTMINBUTTON);
  const int w = form->Width(), h = form->Height();
  EXPECT_EQ(HitAt(form, {150, 12}), HTCAPTION);
  EXPECT_EQ(HitAt(form, {0, 150}), HTLEFT);
  EXPECT_EQ(HitAt(form, {w - 1, 150}), HTRIGHT);
  EXPECT_EQ(HitAt(form, {150, 0}), HTTOP);
  EXPECT_EQ(HitAt(form, {150, h - 1}), HTBOTTOM);
  EXPECT_EQ(HitAt(form, {0, 0}), HTTOPLEFT);
  EXPECT_EQ(HitAt(form, {w - 1, 0}), HTTOPRIGHT);
  EXPECT_EQ(HitAt(form, {0, h - 1}), HTBOTTOMLEFT);
  EXPECT_EQ(HitAt(form, {w - 1, h - 1}), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAt(form, {200, 150}), HTCLIENT);
  EXPECT_EQ(HitAt(form, {-5, 150}), HTNOWHERE);
}

TEST_F(FrameTest, DisabledMaximizeAnswersCaptionAndIconAnswersSystemMenu) {
  // The main window's icons: system menu and minimize; maximize shows, disabled.
  TForm* form = ShowForm([](TForm* f) {
    f->SetBorderStyle(bsSingle);
    f->SetBorderIcons({biSystemMenu, biMinimize});
  });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  const TsCaptionButton& max = provider->Button(HTMAXBUTTON);
  ASSERT_FALSE(max.Rect.IsEmpty());
  EXPECT_FALSE(max.Enabled);
  EXPECT_EQ(HitAt(form, Centre(max.Rect)), HTCAPTION);
  EXPECT_NE(HitAt(form, {0, 150}), HTLEFT) << "a single border does not size";
  const TPoint icon{8, 12};
  EXPECT_EQ(HitAt(form, icon), HTSYSMENU);
}

TEST_F(FrameTest, DialogFrameHasOnlyTheCloseButtonAndNoIcon) {
  TForm* form = ShowForm([](TForm* f) { f->SetBorderStyle(bsDialog); });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  EXPECT_FALSE(provider->Button(HTCLOSE).Rect.IsEmpty());
  EXPECT_TRUE(provider->Button(HTMAXBUTTON).Rect.IsEmpty());
  EXPECT_TRUE(provider->Button(HTMINBUTTON).Rect.IsEmpty());
  EXPECT_TRUE(provider->Button(HTHELP).Rect.IsEmpty());
  EXPECT_TRUE(provider->Button(HTCLOSE).Large);
  EXPECT_EQ(HitAt(form, {10, 12}), HTCAPTION) << "no window icon on a dialog frame";
}

TEST_F(FrameTest, BorderlessFormGetsOnlyTheFormBackground) {
  TForm* form = ShowForm([](TForm* f) { f->SetBorderStyle(bsNone); });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  EXPECT_TRUE(provider->FrameSkinned());
  EXPECT_EQ(provider->TitleSectionName(), "");
  EXPECT_TRUE(provider->Button(HTCLOSE).Rect.IsEmpty());
  // FORM's colour all over, corners included: no border mask drawn.
  const TColor formColour = Manager->Section(Manager->SectionIndexOf("FORM"))->Color;
  EXPECT_EQ(ImagePixel(form, {0, 0}), formColour);
  EXPECT_EQ(ImagePixel(form, {200, 150}), formColour);
}

TEST_F(FrameTest, ProviderAnswersItsChildrensCommands) {
  TForm* form = ShowForm();
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  EXPECT_EQ(Command(form, AC_CTRLHANDLED), 1);
  TPoint origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  TRect bounds;
  GetWindowRect(form->Handle(), &bounds);
  const LRESULT offset = Command(form, AC_GETCLIENTOFFSET);
  EXPECT_EQ(LOWORD(offset), origin.X - bounds.Left);
  EXPECT_EQ(HIWORD(offset), origin.Y - bounds.Top);
  TacBGInfo request;
  Command(form, AC_GETCACHE, reinterpret_cast<LPARAM>(&request));
  EXPECT_EQ(request.BgType, btCache);
  EXPECT_EQ(request.Bmp, provider->WindowImage());
  EXPECT_EQ(request.OffsetX, origin.X - bounds.Left);
  EXPECT_EQ(request.OffsetY, origin.Y - bounds.Top);
  const TColor formColour = Manager->Section(Manager->SectionIndexOf("FORM"))->Color;
  EXPECT_EQ(Command(form, AC_GETCOLOR), formColour);
  EXPECT_EQ(Command(form, AC_GETAPPLICATION), reinterpret_cast<LRESULT>(Application));
  EXPECT_EQ(form->Color(), formColour) << "UseGlobalColor gives the form the skin's colour";
}

TEST_F(FrameTest, RemovingTheSkinRestoresTheStandardFrame) {
  TForm* plain = ShowForm([](TForm* f) { f->SetTag(-98); }, Bounds(520, 80, 400, 300));
  TForm* form = ShowForm();
  ASSERT_NE(ProviderOf(form), nullptr);
  Manager->SetActive(false);
  Settle();
  EXPECT_EQ(ProviderOf(form), nullptr);
  EXPECT_FALSE(TacBroadcast::AnswersHandled(form->Handle()));
  EXPECT_EQ(form->Color(), clBtnFace);
  EXPECT_EQ(DifferencesFromStandardFrame(form), 0) << "the standard frame, no region, no skinned pixel";
  TRect bounds;
  GetWindowRect(form->Handle(), &bounds);
  EXPECT_EQ(WindowFromPoint({bounds.Left, bounds.Top}), form->Handle()) << "the corners are the window's again";
  // A skin again, and the next activation skins the form once more.
  Manager->SetActive(true);
  SetActiveWindow(plain->Handle());
  SetActiveWindow(form->Handle());
  Settle();
  ASSERT_NE(ProviderOf(form), nullptr);
  EXPECT_TRUE(ProviderOf(form)->FrameSkinned());
}

TEST_F(FrameTest, FrameImageIsRebuiltOnlyWhenDirty) {
  TForm* form = ShowForm();
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  // Paint over the cached image: a frame repaint that finds it clean copies it as it is.
  auto* image = const_cast<TBitmap*>(provider->WindowImage());
  image->SetPixel(1, 1, RGB(1, 2, 3));
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(ImagePixel(form, {1, 1}), RGB(1, 2, 3));
  // A new caption marks it dirty: the frame is painted again from the skin.
  form->SetCaption("Другое окно");
  Settle();
  EXPECT_NE(ImagePixel(form, {1, 1}), RGB(1, 2, 3));
}

TEST_F(FrameTest, ActiveAndInactiveTitleBandsUseHotAndPlainValues) {
  TForm* first = ShowForm();
  const TColor active = ImagePixel(first, {150, 6});
  TForm* second = ShowForm({}, Bounds(520, 80, 400, 300));
  Settle();
  EXPECT_TRUE(ProviderOf(second)->FormActive());
  EXPECT_FALSE(ProviderOf(first)->FormActive());
  const TColor inactive = ImagePixel(first, {150, 6});
  EXPECT_NE(active, inactive);
  EXPECT_EQ(ImagePixel(second, {150, 6}), active);
}

TEST_F(FrameTest, RoundedCornersAreLeftOutOfTheWindowAndNoKeyColourShows) {
  TForm* form = ShowForm([](TForm* f) { f->SetBorderStyle(bsSizeable); });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  const TBitmap* image = provider->WindowImage();
  ASSERT_NE(image, nullptr);
  int keys = 0;
  for (int y = 0; y < image->Height(); ++y)
    for (int x = 0; x < image->Width(); ++x) keys += image->Pixel(x, y) == clFuchsia;
  EXPECT_EQ(keys, 0) << "not a pixel of the transparent key in the frame";
  TRect bounds;
  GetWindowRect(form->Handle(), &bounds);
  EXPECT_NE(WindowFromPoint({bounds.Left, bounds.Top}), form->Handle()) << "the very corner belongs to what lies behind";
  EXPECT_EQ(WindowFromPoint({bounds.Left + 10, bounds.Top + 1}), form->Handle());
  // A new skin keeps the corners round.
  Manager->NotifyNewSkin(false);
  Settle();
  EXPECT_NE(WindowFromPoint({bounds.Left, bounds.Top}), form->Handle());
  // Maximised windows are square: the region goes.
  form->SetWindowState(wsMaximized);
  Settle();
  GetWindowRect(form->Handle(), &bounds);
  EXPECT_EQ(WindowFromPoint({bounds.Left, bounds.Top}), form->Handle());
}

TEST_F(FrameTest, ExplicitProvidersBelongToFormsOnlyAndOneAtATime) {
  TComponent notAForm(nullptr);
  EXPECT_EQ(ErrorOf([&] { TsSkinProvider provider(&notAForm); }),
            "TsSkinProvider component must be used with forms only!");
  TForm* form = ShowForm();
  TsSkinProvider* first = ProviderOf(form);
  ASSERT_NE(first, nullptr);
  auto* second = new TsSkinProvider(form);  // frees the older one
  EXPECT_EQ(ProviderOf(form), second);
  int providers = 0;
  for (int i = 0; i < form->ComponentCount(); ++i) providers += dynamic_cast<TsSkinProvider*>(form->Components(i)) != nullptr;
  EXPECT_EQ(providers, 1);
  EXPECT_TRUE(second->FrameSkinned());
  EXPECT_TRUE(TacBroadcast::AnswersHandled(form->Handle()));
  // Without the non-client painting the standard frame stays, the commands still answer.
  second->SetDrawNonClientArea(false);
  Settle();
  EXPECT_FALSE(second->FrameSkinned());
  EXPECT_EQ(second->TitleSectionName(), "");
}

TEST_F(FrameTest, AHelpButtonShowsWheneverTheBorderIconsAskForIt) {
  TForm* form = ShowForm([](TForm* f) {
    f->SetBorderStyle(bsSizeable);
    f->SetBorderIcons({biSystemMenu, biMinimize, biMaximize, biHelp});
  });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  const TsCaptionButton& help = provider->Button(HTHELP);
  const TsCaptionButton& min = provider->Button(HTMINBUTTON);
  ASSERT_FALSE(help.Rect.IsEmpty()) << "beside minimize and maximize too";
  EXPECT_LE(help.Rect.Right, min.Rect.Left) << "help is the leftmost";
  EXPECT_EQ(HitAt(form, Centre(help.Rect)), HTHELP);
}

// Only the border width sizes: a point on the top border one step in from the
// corner is the top edge, not the corner.
TEST_F(FrameTest, SizingCodesComeFromTheBorderWidthOnly) {
  TForm* form = ShowForm([](TForm* f) { f->SetBorderStyle(bsSizeable); });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  const int b = FrameBorder(form);
  ASSERT_GT(b, 1);
  const int w = form->Width(), h = form->Height();
  EXPECT_EQ(HitAt(form, {b, 0}), HTTOP);
  EXPECT_EQ(HitAt(form, {b - 1, 0}), HTTOPLEFT);
  EXPECT_EQ(HitAt(form, {w - 1 - b, h - 1}), HTBOTTOM);
  EXPECT_EQ(HitAt(form, {w - b, h - 1}), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAt(form, {0, h - 1 - b}), HTLEFT);
  EXPECT_EQ(HitAt(form, {w - 1, b}), HTRIGHT);
}

// The box where two visible scroll bars meet is the size grip, also on a frame that
// does not size itself otherwise.
TEST_F(FrameTest, TheBoxBetweenTwoScrollBarsAnswersTheGripCode) {
  TForm* form = ShowForm([](TForm* f) { f->SetBorderStyle(bsSingle); });
  const LONG_PTR style = GetWindowLongPtr(form->Handle(), GWL_STYLE);
  SetWindowLongPtr(form->Handle(), GWL_STYLE, style | WS_HSCROLL | WS_VSCROLL);
  SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  Settle();
  TRect client;
  GetClientRect(form->Handle(), &client);
  TPoint origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  const TPoint corner = FrameTest::Screen(form, {0, 0});
  const TPoint box{origin.X - corner.X + client.Right + 3, origin.Y - corner.Y + client.Bottom + 3};
  EXPECT_EQ(HitAt(form, box), HTBOTTOMRIGHT);
  EXPECT_NE(HitAt(form, {box.X, box.Y - 20}), HTBOTTOMRIGHT) << "the vertical bar itself";
}

// Nowhere, client, caption and menu answers go through the form's saved window
// procedure (its own handling and the system's moving apply); buttons and edges do not.
TEST_F(FrameTest, CaptionAndClientHitTestsReachTheSavedWindowProcedure) {
  int seen = 0;
  TForm* form = ShowForm([&seen](TForm* f) {
    f->SetBorderStyle(bsSizeable);
    auto old = f->WindowProc;
    f->WindowProc = [&seen, old](TMessage& m) {
      if (m.Msg == WM_NCHITTEST) ++seen;
      old(m);
    };
  });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  seen = 0;
  EXPECT_EQ(HitAt(form, {150, 12}), HTCAPTION);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(HitAt(form, {200, 150}), HTCLIENT);
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(HitAt(form, Centre(provider->Button(HTCLOSE).Rect)), HTCLOSE);
  EXPECT_EQ(HitAt(form, {0, 150}), HTLEFT);
  EXPECT_EQ(seen, 2);
  // Over the title band the standard frame's own buttons (elsewhere than the skin's)
  // never answer for the skin's caption.
  TRect bounds;
  GetWindowRect(form->Handle(), &bounds);
  const TRect& min = provider->Button(HTMINBUTTON).Rect;
  for (int x = FrameBorder(form) + 1; x < min.Left - 1; x += 3) {
    const LRESULT hit = HitAt(form, {x, 12});
    EXPECT_TRUE(hit == HTCAPTION || hit == HTSYSMENU) << x << ": " << hit;
  }
}

// The caption's room ends six pixels before the caption buttons' total width and the
// right border: right-aligned, the text's last column lies just inside that edge.
TEST_F(FrameTest, CaptionTextEndsSixPixelsBeforeTheButtonsWidthAndTheBorder) {
  TForm* form = ShowForm([](TForm* f) {
    f->SetBorderStyle(bsSizeable);
    f->SetCaption("");
  });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  const TBitmap blank = *provider->WindowImage();
  provider->CaptionAlignment = taRightJustify;
  form->SetCaption("Окно");
  Settle();
  const TBitmap& titled = *provider->WindowImage();
  int buttons = 0;
  for (int code : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) buttons += provider->Button(code).Rect.Width();
  const int right = form->Width() - buttons - FrameBorder(form) - 6;
  int last = -1;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < provider->Button(HTMINBUTTON).Rect.Left; ++x)
      if (titled.Pixel(x, y) != blank.Pixel(x, y)) last = std::max(last, x);
  EXPECT_LT(last, right);
  EXPECT_GE(last, right - 3);
}
