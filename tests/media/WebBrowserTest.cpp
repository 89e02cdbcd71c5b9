// The HTML view as a control on a form, on the headless desktop: scrolling by
// bars, wheel and keys with only the exposed band repainted, links, anchors,
// the hand cursor, and navigation to every kind of address.
#include <unistd.h>

#include "HtmlTestUtil.h"
#include "forms/Form.h"
#include "media/MediaEngine.h"
#include "media/WebBrowser.h"
#include "platform/win/Win.h"
#include "tests/support/TestDesktop.h"

namespace {

// A long page: 60 numbered paragraphs with ids, an anchor near the end, links on top.
std::string LongPage(const std::string& extra = {}) {
  std::string html =
      "<html><head><title>Длинная лекция</title></head><body>"
      "<p><a id=down href=\"#end\">к концу</a> <a id=other href=\"second.htm#sec\">вторая</a> "
      "<a id=net href=\"http://school.example/\">сеть</a></p>" + extra;
  for (int i = 0; i < 60; ++i)
    html += "<p id=p" + std::to_string(i) + ">Абзац " + std::to_string(i) + ": текст лекции, который нужно прочитать.</p>";
  return html + "<h2><a name=end>Конец</a></h2><p>последний</p></body></html>";
}

}  // namespace

class WebBrowserTest : public HtmlFilesTest, protected TTestDesktop {
protected:
  void SetUp() override {
    HtmlFilesTest::SetUp();
    OpenDesktop({FormsEnginePart(), MediaEnginePart()});
    Form = App->CreateForm<TForm>();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 420, 300);
    Browser = new TWebBrowser(Form);
    Browser->SetParent(Form);
    Browser->SetAlign(alClient);
    Form->Show();
    UpdateAllWindows();
  }
  void TearDown() override {
    CloseDesktop();
    HtmlFilesTest::TearDown();
  }
  // Desktop point of a page point as the view shows it now.
  TPoint OnScreen(TPoint page) const {
    return Browser->ClientToScreen({page.X - Browser->ScrollLeft(), page.Y - Browser->ScrollTop()});
  }
  TPoint CentreOf(const std::string& id) {
    const TRect r = Browser->Page().ElementRect(id);
    return OnScreen({r.Left + r.Width() / 2, r.Top + r.Height() / 2});
  }
  // The client area of the view as it is on screen.
  TBitmap Shown() {
    UpdateAllWindows();
    const TBitmap* image = WindowImage(Form->Handle());
    const TPoint origin = Browser->ClientOrigin();
    const TPoint formOrigin = Form->ClientToScreen({0, 0});
    const TRect client = Browser->ClientRect();
    TBitmap out(client.Width(), client.Height(), TPixelFormat::pf32bit, true);
    for (int y = 0; y < client.Height(); ++y)
      for (int x = 0; x < client.Width(); ++x)
        out.SetPixel(x, y, image->Pixel(origin.X - formOrigin.X + x, origin.Y - formOrigin.Y + y));
    return out;
  }
  // The same page drawn afresh at the view's scroll position.
  TBitmap Expected(const std::string& path) {
    THtmlDocument page;
    page.Open(path);
    const TRect client = Browser->ClientRect();
    page.Layout(client.Width(), client.Height());
    TBitmap out(client.Width(), client.Height(), TPixelFormat::pf32bit, true);
    page.Draw(out, {-Browser->ScrollLeft(), -Browser->ScrollTop()}, client);
    return out;
  }

  TForm* Form = nullptr;
  TWebBrowser* Browser = nullptr;
};

TEST_F(WebBrowserTest, WheelScrollsByShiftingTheImageAndPaintingOnlyTheNewBand) {
  const std::string path = Write("long.htm", LongPage());
  Browser->Navigate(path);
  UpdateAllWindows();
  EXPECT_EQ(Browser->LocationName(), "Длинная лекция");
  EXPECT_TRUE(GetWindowLongPtr(Browser->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongPtr(Browser->Handle(), GWL_STYLE) & WS_HSCROLL);
  const TRect client = Browser->ClientRect();
  EXPECT_EQ(Browser->LastPaintRect(), client);
  const int layouts = Browser->Page().LayoutCount();

  const int step = TWebBrowser::kWheelLines * TWebBrowser::kLineStep;
  const int paints = Browser->PaintCount();
  const int walks = Browser->Tiles().WalkCount();
  Backend->Wheel(Browser->ClientToScreen({50, 50}), -120);
  EXPECT_EQ(Browser->ScrollTop(), step);
  EXPECT_EQ(Browser->PaintCount(), paints + 1);
  EXPECT_EQ(Browser->Tiles().WalkCount(), walks) << "the band comes from the strip painted with the screen";
  EXPECT_EQ(Browser->LastPaintRect(), (TRect{0, client.Height() - step, client.Width(), client.Height()}));
  EXPECT_TRUE(SameImage(Shown(), Expected(path)));

  Backend->Wheel(Browser->ClientToScreen({50, 50}), 120);
  EXPECT_EQ(Browser->ScrollTop(), 0);
  EXPECT_EQ(Browser->LastPaintRect(), (TRect{0, 0, client.Width(), step}));
  EXPECT_TRUE(SameImage(Shown(), Expected(path)));
  EXPECT_EQ(Browser->Page().LayoutCount(), layouts) << "scrolling never lays the page out again";

  SCROLLINFO si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(Browser->Handle(), SB_VERT, &si));
  EXPECT_EQ(si.nMax, Browser->Page().Height() - 1);
  EXPECT_EQ(static_cast<int>(si.nPage), client.Height());
}

TEST_F(WebBrowserTest, BarsAndKeysScroll) {
  const std::string path = Write("long.htm", LongPage());
  Browser->Navigate(path);
  UpdateAllWindows();
  const int page = Browser->ClientRect().Height() - TWebBrowser::kLineStep;
  const int max = Browser->Page().Height() - Browser->ClientRect().Height();
  // A click on the bar's lower arrow (the bar lies right of the client area).
  const TRect client = Browser->ClientRect();
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  Backend->Click(Browser->ClientToScreen({client.Width() + bar / 2, client.Height() - bar / 2}));
  EXPECT_EQ(Browser->ScrollTop(), TWebBrowser::kLineStep);
  Browser->ScrollTo(0, 0);
  SendMessage(Browser->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Browser->ScrollTop(), TWebBrowser::kLineStep);
  EXPECT_EQ(GetScrollPos(Browser->Handle(), SB_VERT), TWebBrowser::kLineStep);
  SendMessage(Browser->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(Browser->ScrollTop(), TWebBrowser::kLineStep + page);
  EXPECT_TRUE(SameImage(Shown(), Expected(path)));

  Browser->SetFocus();
  Backend->Key(VK_END);
  EXPECT_EQ(Browser->ScrollTop(), max);
  Backend->Key(VK_DOWN);
  EXPECT_EQ(Browser->ScrollTop(), max) << "the end stays the end";
  Backend->Key(VK_PRIOR);
  EXPECT_EQ(Browser->ScrollTop(), max - page);
  Backend->Key(VK_UP);
  EXPECT_EQ(Browser->ScrollTop(), max - page - TWebBrowser::kLineStep);
  EXPECT_TRUE(SameImage(Shown(), Expected(path)));
  Backend->Key(VK_HOME);
  EXPECT_EQ(Browser->ScrollTop(), 0);
  EXPECT_TRUE(SameImage(Shown(), Expected(path)));
}

TEST_F(WebBrowserTest, WidePagesGetAHorizontalBar) {
  const std::string path = Write("wide.htm", LongPage("<pre>" + std::string(200, 'W') + "</pre>"));
  Browser->Navigate(path);
  UpdateAllWindows();
  EXPECT_TRUE(GetWindowLongPtr(Browser->Handle(), GWL_STYLE) & WS_HSCROLL);
  EXPECT_GT(Browser->Page().Width(), Browser->ClientRect().Width());
  Browser->SetFocus();
  Backend->Key(VK_RIGHT);
  EXPECT_EQ(Browser->ScrollLeft(), TWebBrowser::kLineStep);
  const TRect client = Browser->ClientRect();
  EXPECT_EQ(Browser->LastPaintRect(), (TRect{client.Width() - TWebBrowser::kLineStep, 0, client.Width(), client.Height()}));
  EXPECT_TRUE(SameImage(Shown(), Expected(path)));
  InputMouseWheel(120, Browser->ClientToScreen({50, 50}), true);
  ProcessPendingMessages();
  EXPECT_EQ(Browser->ScrollLeft(), TWebBrowser::kLineStep * (1 + TWebBrowser::kWheelLines));
  EXPECT_TRUE(SameImage(Shown(), Expected(path)));
  SendMessage(Browser->Handle(), WM_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Browser->ScrollLeft(), Browser->Page().Width() - client.Width());
  EXPECT_TRUE(SameImage(Shown(), Expected(path)));
}

TEST_F(WebBrowserTest, LinksAnchorsAndTheHandCursor) {
  Write("second.htm",
        "<html><head><title>Вторая</title></head><body>" + std::string(3000, ' ') +
            [] {
              std::string s;
              for (int i = 0; i < 40; ++i) s += "<p>строка</p>";
              return s;
            }() +
            "<h2 id=sec>Раздел</h2><p>текст</p>" + std::string(40, ' ') + "</body></html>");
  const std::string path = Write("long.htm", LongPage());
  Browser->Navigate(path);
  UpdateAllWindows();

  Backend->MouseMove(CentreOf("down"));
  EXPECT_EQ(Backend->Cursor(), TCursorShape::Hand);
  Backend->MouseMove(CentreOf("p3"));
  EXPECT_NE(Backend->Cursor(), TCursorShape::Hand);

  Backend->Click(CentreOf("down"));
  const int max = Browser->Page().Height() - Browser->ClientRect().Height();
  EXPECT_EQ(Browser->ScrollTop(), std::min(max, Browser->Page().AnchorTop("end")));
  EXPECT_GT(Browser->ScrollTop(), 0);
  EXPECT_EQ(Browser->LocationURL(), path) << "an anchor of the same page is no navigation";
  EXPECT_TRUE(SameImage(Shown(), Expected(path)));

  Browser->ScrollTo(0, 0);
  Backend->Click(CentreOf("other"));

  EXPECT_EQ(Browser->LocationName(), "Вторая");
  EXPECT_EQ(Browser->LocationURL(), "second.htm#sec");
  EXPECT_EQ(Browser->Page().Path(), (Dir / "second.htm").string());
  const int secondMax = Browser->Page().Height() - Browser->ClientRect().Height();
  EXPECT_EQ(Browser->ScrollTop(), std::min(secondMax, Browser->Page().AnchorTop("sec")));
  EXPECT_GT(Browser->ScrollTop(), 0);

  Browser->Navigate(path);
  UpdateAllWindows();
  Backend->Click(CentreOf("net"));
  EXPECT_TRUE(Browser->ShowingErrorPage());
  EXPECT_NE(Browser->ErrorText().find("http://school.example/"), std::string::npos);
}

TEST_F(WebBrowserTest, EveryFormOfAddressOpensTheSameFile) {
  const std::string path = Write("sub dir/page.htm", "<html><head><title>Страница</title></head><body>x</body></html>");
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(Dir.c_str()), 0);
  for (const std::string& address : {path, std::string("sub dir\\page.htm"), std::string("./sub dir/page.htm"),
                                     "file://" + Dir.string() + "/sub%20dir/page.htm", Dir.string() + "\\sub dir\\page.htm"}) {
    Browser->Navigate(address);
    EXPECT_FALSE(Browser->ShowingErrorPage()) << address << ": " << Browser->ErrorText();
    EXPECT_EQ(Browser->LocationName(), "Страница") << address;
    EXPECT_EQ(Browser->LocationURL(), address);
  }
  ASSERT_EQ(chdir(cwd), 0);
  Browser->Navigate((Dir / "no such.htm").string());
  EXPECT_TRUE(Browser->ShowingErrorPage());
  UpdateAllWindows();
  EXPECT_EQ(Browser->ScrollTop(), 0);
}

TEST_F(WebBrowserTest, ResizingToAnotherWidthLaysOutOnceMore) {
  Browser->Navigate(Write("long.htm", LongPage()));
  UpdateAllWindows();
  const int layouts = Browser->Page().LayoutCount();
  Form->SetBounds(0, 0, 420, 500);  // taller only: same width, no layout
  UpdateAllWindows();
  EXPECT_EQ(Browser->Page().LayoutCount(), layouts);
  Form->SetBounds(0, 0, 300, 500);
  UpdateAllWindows();
  EXPECT_EQ(Browser->Page().LayoutCount(), layouts + 1);
  EXPECT_EQ(Browser->Page().LayoutWidth(), Browser->ClientRect().Width());
}

TEST_F(WebBrowserTest, AnAnchorAskedForBeforeTheWindowExistsIsShownOnceLaidOut) {
  const std::string path = Write("long.htm", LongPage());
  auto* late = new TWebBrowser(Form);
  late->Navigate(path + "#end");
  EXPECT_FALSE(late->HandleAllocated());
  late->SetParent(Form);
  late->SetBounds(0, 0, 300, 200);
  late->BringToFront();
  UpdateAllWindows();
  ASSERT_TRUE(late->HandleAllocated());
  const int max = late->Page().Height() - late->ClientRect().Height();
  EXPECT_EQ(late->ScrollTop(), std::min(max, late->Page().AnchorTop("end")));
  EXPECT_GT(late->ScrollTop(), 0);
}

TEST_F(WebBrowserTest, ALongPageIsReadAfterItsFirstScreenIsPainted) {
  const int paints = Browser->PaintCount();
  const std::string path = Write("long.htm", LongLecture(200));
  Browser->Navigate(path);
  EXPECT_TRUE(Browser->Page().Partial());
  const TBitmap first = Shown();
  EXPECT_EQ(Browser->PaintCount(), paints + 1);
  EXPECT_TRUE(Browser->Page().Partial()) << "painting the first screen reads no more";
  EXPECT_TRUE(SameImage(first, Expected(path))) << "the first screen as the whole page shows it";
  App->ProcessMessages();
  EXPECT_TRUE(SameImage(Shown(), first));
  EXPECT_FALSE(Browser->Page().Partial());
  THtmlDocument whole;
  whole.Open(Browser->Page().Path());
  whole.Layout(Browser->ClientRect().Width(), Browser->ClientRect().Height());
  EXPECT_EQ(Browser->Page().Height(), whole.Height());
  SCROLLINFO bar;
  bar.fMask = SIF_RANGE;
  ASSERT_TRUE(GetScrollInfo(Browser->Handle(), SB_VERT, &bar));
  EXPECT_EQ(bar.nMax, whole.Height() - 1) << "the bar shows the whole page";
}

TEST_F(WebBrowserTest, ScrollingBeforeAllOfAPageIsReadReadsItFirst) {
  Browser->Navigate(Write("long.htm", LongLecture(200)));
  UpdateAllWindows();
  ASSERT_TRUE(Browser->Page().Partial());
  Backend->Wheel(Browser->ClientToScreen({100, 100}), -120);
  EXPECT_FALSE(Browser->Page().Partial());
  EXPECT_EQ(Browser->ScrollTop(), TWebBrowser::kWheelLines * TWebBrowser::kLineStep);

  Browser->Navigate(Browser->Page().Path());
  UpdateAllWindows();
  ASSERT_TRUE(Browser->Page().Partial());
  SendMessage(Browser->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_FALSE(Browser->Page().Partial());
  EXPECT_EQ(Browser->ScrollTop(), Browser->Page().Height() - Browser->ClientRect().Height());
}
