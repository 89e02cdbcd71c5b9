// A long page shown from its first part while the rest is read: where the first
// part may end, that its screens look exactly as the whole page's, that anything
// needing more of the page reads the rest, and that the rest keeps every guard.
#include "HtmlTestUtil.h"
#include "media/HtmlPrepare.h"

namespace {

constexpr int kWidth = 640;
constexpr int kView = 480;

TBitmap Screen(THtmlDocument& page, int top, int height = kView) {
  TBitmap shot(kWidth, height, TPixelFormat::pf32bit, true);
  page.Draw(shot, {0, -top}, Bounds(0, 0, kWidth, height));
  return shot;
}

}  // namespace

class HtmlFirstPartTest : public HtmlFilesTest {
protected:
  // Opens the file both ways and lays both out at the view's size.
  void OpenBoth(const std::string& path) {
    ASSERT_TRUE(Whole.Open(path));
    Whole.Layout(kWidth, kView);
    ASSERT_TRUE(Part.Open(path, {}, THtmlLoad::FirstPartFirst));
    Part.Layout(kWidth, kView);
  }
  THtmlDocument Whole;
  THtmlDocument Part;
};

TEST_F(HtmlFirstPartTest, TheFirstPartEndsBeforeABlockOfTheBodyOnly) {
  const std::string page = LongLecture(200);
  const THtmlPrepared out = PrepareHtml(page);
  ASSERT_GT(out.FirstPartEnd, 0u);
  EXPECT_GE(out.FirstPartEnd, kHtmlFirstPartBytes);
  EXPECT_LT(out.FirstPartEnd, kHtmlFirstPartBytes + LectureSection(99).size()) << "the first block boundary after the limit";
  const std::string_view at = std::string_view(out.Text).substr(out.FirstPartEnd, 4);
  EXPECT_TRUE(at == "<h2 " || at == "<p>Т" || at == "<div" || at == "<ul>" || at == "<tab" || at == "<p c") << at;

  // Never inside a block: a page that is one long division has no first part.
  std::string one = "<html><body><div>";
  for (int i = 0; i < 2000; ++i) one += "<p>строка " + std::to_string(i) + "</p>";
  EXPECT_EQ(PrepareHtml(one + "</div></body></html>").FirstPartEnd, 0u);
  // Nor without a body, nor in a short page, nor while flattened tags are open.
  std::string bare;
  for (int i = 0; i < 2000; ++i) bare += "<p>строка " + std::to_string(i) + "</p>";
  EXPECT_EQ(PrepareHtml(bare).FirstPartEnd, 0u);
  EXPECT_EQ(PrepareHtml(LongLecture(3)).FirstPartEnd, 0u);
  std::string deep = "<html><body>";
  for (int i = 0; i < 40; ++i) deep += "<div>";
  EXPECT_EQ(PrepareHtml(deep + bare, 20).FirstPartEnd, 0u);
}

TEST_F(HtmlFirstPartTest, TheFirstScreensLookAsTheWholePagesAndTheRestIsReadWhenDrawn) {
  OpenBoth(Write("long.htm", LongLecture(200)));
  ASSERT_TRUE(Part.Partial());
  EXPECT_FALSE(Whole.Partial());
  EXPECT_LT(Part.Height(), Whole.Height() / 4) << "only the first part is laid out";
  EXPECT_EQ(Part.Title(), Whole.Title());
  EXPECT_EQ(Part.NodeCount(), Whole.NodeCount()) << "the guards count the whole page";
  // The first two screens (the view paints strips below the first) need no more.
  EXPECT_TRUE(SameImage(Screen(Part, 0), Screen(Whole, 0)));
  EXPECT_TRUE(SameImage(Screen(Part, kView), Screen(Whole, kView)));
  EXPECT_TRUE(Part.Partial());
  // A screen further down reads the rest first and looks the same.
  const int far = Whole.Height() - kView;
  EXPECT_TRUE(SameImage(Screen(Part, far), Screen(Whole, far)));
  EXPECT_FALSE(Part.Partial());
  EXPECT_EQ(Part.Height(), Whole.Height());
  EXPECT_EQ(Part.LayoutWidth(), kWidth);
  EXPECT_EQ(Part.AnchorTop("s150"), Whole.AnchorTop("s150"));
}

TEST_F(HtmlFirstPartTest, CompleteReadsTheRestAtTheSameWidth) {
  OpenBoth(Write("long.htm", LongLecture(200)));
  ASSERT_TRUE(Part.Partial());
  Part.Complete();
  EXPECT_FALSE(Part.Partial());
  EXPECT_EQ(Part.Height(), Whole.Height());
  EXPECT_EQ(Part.Path(), Whole.Path());
  EXPECT_STREQ(Part.CharsetName(), "utf-8");
  EXPECT_EQ(Part.NodeCount(), Whole.NodeCount());
  EXPECT_FALSE(Part.IsErrorPage());
  Part.Complete();  // nothing left to read
  EXPECT_EQ(Part.Height(), Whole.Height());
}

TEST_F(HtmlFirstPartTest, PagesTheRestCouldChangeAreReadWhole) {
  const std::pair<const char*, std::string> cases[] = {
      {"a style sheet in the rest", LongLecture(200, "<style>p { color: red }</style>")},
      {"a linked style sheet in the rest", LongLecture(200, "<link rel=stylesheet href=x.css>")},
      {"an element placed by coordinates", LongLecture(200, "<div style=\"position:absolute;top:0\">x</div>")},
      {"a selector of the last child",
       std::string(kLectureHead).insert(std::string(kLectureHead).find("</style>"), "p:last-child { color: red }") +
           LongLecture(200).substr(std::string(kLectureHead).size())},
      {"a selector of the last child in the body's own style sheet",
       LongLecture(200).insert(std::string(kLectureHead).size(), "<style>p:last-child { color: red }</style>")},
      {"a body picture", "<html><body background=\"a.png\">\n" + LongLecture(200).substr(std::string(kLectureHead).size())},
      {"too little text for two screens", LongLecture(200).insert(std::string(kLectureHead).size(),
                                                               "<p style=\"height:100px\">" + std::string(18000, ' ') + "</p>")},
  };
  for (const auto& [why, html] : cases) {
    THtmlDocument page;
    ASSERT_TRUE(page.Open(Write("page.htm", html), {}, THtmlLoad::FirstPartFirst)) << why;
    page.Layout(kWidth, kView);
    EXPECT_FALSE(page.Partial()) << why;
  }
  // An address with a fragment needs the whole page to find it.
  THtmlDocument page;
  ASSERT_TRUE(page.Open(Write("long.htm", LongLecture(200)) + "#s150", {}, THtmlLoad::FirstPartFirst));
  EXPECT_FALSE(page.Partial());
  page.Layout(kWidth, kView);
  EXPECT_GT(page.AnchorTop("s150"), kView * 10);
}

TEST_F(HtmlFirstPartTest, AGridTooLargeInTheRestStillBecomesTheErrorPage) {
  std::string grid = "<table>";
  for (int i = 0; i < 10001; ++i) grid += "<tr><td>1";
  const std::string path = Write("grid.htm", LongLecture(200, grid + "</table>"));
  THtmlDocument page;
  ASSERT_TRUE(page.Open(path, {}, THtmlLoad::FirstPartFirst));
  page.Layout(kWidth, kView);
  ASSERT_TRUE(page.Partial());
  page.Complete();
  EXPECT_TRUE(page.IsErrorPage());
  EXPECT_NE(page.ErrorText().find("слишком велик"), std::string::npos) << page.ErrorText();
  EXPECT_EQ(page.Path(), path);
  THtmlDocument whole;
  EXPECT_FALSE(whole.Open(path));
  EXPECT_EQ(whole.ErrorText(), page.ErrorText());
}

