#include "FormsTestUtil.h"
#include "forms/BitBtn.h"
#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/CustomLabel.h"
#include "forms/Dialogs.h"
#include "forms/Image.h"
#include "forms/SpeedButton.h"
#include "forms/Timer.h"
#include "platform/base/Exception.h"
#include "platform/gfx/ImageFile.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"

class ControlsTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    Form = App->CreateForm<TForm>();
    Form->SetName("Form1");
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 300, 200);
    Form->SetColor(clWhite);
  }
  template <class T>
  T* Add(int x, int y, int w, int h) {
    auto* c = new T(Form);
    c->SetParent(Form);
    c->SetBounds(x, y, w, h);
    return c;
  }
  // A pixel of the form's window image (client = window: no frame).
  TColor PixelAt(int x, int y) {
    UpdateAllWindows();
    const TBitmap* image = WindowImage(Form->Handle());
    return static_cast<TColor>(image->Pixel32(x, y) & 0xFFFFFF);
  }
  TForm* Form = nullptr;
};

TEST_F(ControlsTest, CheckBoxCyclesThroughGrayedOnlyWhenAllowed) {
  auto* box = Add<TCheckBox>(10, 10, 100, 17);
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  Form->Show();
  Click(box);
  EXPECT_EQ(box->State(), cbChecked);
  Click(box);
  EXPECT_EQ(box->State(), cbUnchecked);
  box->SetAllowGrayed(true);
  Click(box);
  Click(box);
  EXPECT_EQ(box->State(), cbGrayed);
  Click(box);
  EXPECT_EQ(box->State(), cbUnchecked);
  EXPECT_EQ(clicks, 5);
  box->SetFocus();
  Backend->Key(VK_SPACE);
  EXPECT_TRUE(box->Checked());
  box->SetChecked(true);  // no change, no event
  EXPECT_EQ(clicks, 6);
}

TEST_F(ControlsTest, ModalResultOfAButtonEndsTheModalLoop) {
  auto* dialog = new TForm(nullptr);
  dialog->AfterConstruction();
  auto* ok = new TButton(dialog);
  ok->SetParent(dialog);
  ok->SetModalResult(mrOk);
  bool refused = false;
  dialog->OnCloseQuery = [&](TObject*, bool& canClose) {
    // The first close is refused: the dialog goes on.
    canClose = refused;
    refused = true;
  };
  int step = 0;
  Backend->SetIdleHandler([&] {
    ++step;
    if (step <= 2) Click(ok);
    PostMessage(nullptr, WM_NULL, 0, 0);
    return step < 10;
  });
  Form->Show();
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  Backend->SetIdleHandler(nullptr);
  EXPECT_EQ(step, 2);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_TRUE(IsWindowEnabled(Form->Handle()));  // the other forms are enabled again
  dialog->Show();
  EXPECT_THROW(dialog->ShowModal(), Exception);
  delete dialog;
}

TEST_F(ControlsTest, BitBtnKindsBringTheirGlyphsResultsAndCaptions) {
  auto* ok = Add<TBitBtn>(10, 10, 80, 25);
  ok->SetKind(bkOK);
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_TRUE(ok->Default());
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_EQ(ok->NumGlyphs(), 2);
  EXPECT_EQ(ok->Glyph().Width(), 36);
  EXPECT_EQ(ok->Glyph().Height(), 18);
  EXPECT_EQ(ok->Glyph().PixelFormat(), TPixelFormat::pf4bit);
  auto* cancel = Add<TBitBtn>(10, 40, 80, 25);
  cancel->SetCaption("Удалить");
  cancel->SetKind(bkCancel);
  EXPECT_EQ(cancel->Caption(), "Удалить");  // a given caption stays
  EXPECT_TRUE(cancel->Cancel());
  // The two cells differ (normal and disabled), and the two kinds differ.
  TBitmap g = TBitBtn::KindGlyph(bkOK), c = TBitBtn::KindGlyph(bkCancel);
  int cellDiff = 0, kindDiff = 0;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 18; ++x) {
      if (g.Pixel(x, y) != g.Pixel(x + 18, y)) ++cellDiff;
      if (g.Pixel(x, y) != c.Pixel(x, y)) ++kindDiff;
    }
  EXPECT_GT(cellDiff, 20);
  EXPECT_GT(kindDiff, 20);
  EXPECT_EQ(g.Pixel(0, 17), static_cast<TColor>(RGB(128, 128, 0)));  // the transparent corner
}

TEST_F(ControlsTest, WindowlessControlsPaintInZOrder) {
  auto* below = Add<TImage>(10, 10, 40, 40);
  TBitmap red(40, 40);
  red.Fill(clRed);
  below->Picture().SetBitmap(red);
  auto* above = Add<TImage>(30, 30, 40, 40);
  TBitmap blue(40, 40);
  blue.Fill(clBlue);
  above->Picture().SetBitmap(blue);
  Form->Show();
  EXPECT_EQ(PixelAt(20, 20), clRed);
  EXPECT_EQ(PixelAt(40, 40), clBlue);  // the overlap shows the later control
  below->BringToFront();
  EXPECT_EQ(PixelAt(40, 40), clRed);
  below->SetVisible(false);
  EXPECT_EQ(PixelAt(20, 20), clWhite);
}

TEST_F(ControlsTest, ImageLoadsPngAndStretches) {
  TBitmap src(2, 2, TPixelFormat::pf24bit, true);
  src.Fill(clLime);
  std::vector<std::uint8_t> png = SavePngToMemory(src);
  auto* image = Add<TImage>(0, 0, 20, 20);
  image->Picture().LoadFromMemory(png.data(), png.size());
  EXPECT_EQ(image->Picture().Width(), 2);
  image->SetStretch(true);
  Form->Show();
  EXPECT_EQ(PixelAt(19, 19), clLime);
  const std::uint8_t junk[] = {1, 2, 3, 4, 5};
  EXPECT_THROW(image->Picture().LoadFromMemory(junk, sizeof junk), Exception);
}

TEST_F(ControlsTest, LabelSizesItselfToItsCaption) {
  auto* label = Add<TLabel>(10, 10, 5, 5);
  label->SetCaption("Пользователь");
  int w = label->Width();
  EXPECT_GT(w, 40);
  EXPECT_GT(label->Height(), 8);
  label->SetCaption("Пользователь Пользователь");
  EXPECT_GT(label->Width(), w);
  label->SetWidth(w + 5);
  label->SetWordWrap(true);
  EXPECT_EQ(label->Width(), w + 5);
  EXPECT_GT(label->Height(), 20);  // two lines
}

TEST_F(ControlsTest, ReplacedWindowProcSeesMessagesAndChainsToTheOldOne) {
  auto* button = Add<TButton>(10, 10, 80, 25);
  int clicks = 0, seen = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  auto old = button->WindowProc;
  button->WindowProc = [&, old](TMessage& m) {
    if (m.Msg == WM_LBUTTONUP) ++seen;
    old(m);
  };
  Form->Show();
  Click(button);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(clicks, 1);
  // A platform-level subclass on top of the framework's procedure works too.
  static int platformSeen = 0;
  static TWindowProc previous;
  previous = SetWindowProc(button->Handle(), TPlainWndProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_LBUTTONDOWN) ++platformSeen;
    return CallWindowProc(previous, h, m, w, l);
  }));
  Backend->Advance(1000);  // not a double click
  Click(button);
  EXPECT_EQ(platformSeen, 1);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(TWinControl::FromHandle(button->Handle()), button);
}

TEST_F(ControlsTest, TimerFiresOnTheVirtualClockAndErrorsReachTheErrorBox) {
  auto* timer = new TTimer(Form);
  timer->SetInterval(100);
  int ticks = 0;
  timer->OnTimer = [&](TObject*) { ++ticks; };
  Backend->Advance(350);
  EXPECT_EQ(ticks, 3);
  timer->SetEnabled(false);
  Backend->Advance(500);
  EXPECT_EQ(ticks, 3);
  std::string shown;
  App->OnException = [&](TObject*, const std::exception_ptr& e) { shown = ExceptionMessage(e); };
  timer->OnTimer = [&](TObject*) { throw EConvertError("tick failed"); };
  timer->SetEnabled(true);
  Backend->Advance(100);
  EXPECT_EQ(shown, "tick failed");
}

TEST_F(ControlsTest, ClosingFromTheFrameHidesASecondForm) {
  auto* second = App->CreateForm<TForm>();
  second->SetName("Form2");
  second->Show();
  SendMessage(second->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(second->Visible());
  EXPECT_FALSE(App->Terminated());
  TCloseAction seen = caNone;
  second->OnClose = [&](TObject*, TCloseAction& action) {
    seen = action;
    action = caNone;  // refuse
  };
  second->Show();
  second->Close();
  EXPECT_EQ(seen, caHide);
  EXPECT_TRUE(second->Visible());
}
