// Inputs a classroom computer meets sooner or later: each ends in a rendered
// page or a page that says why not, never in a crash, a hang or a runaway of memory.
#include <sys/resource.h>
#include <sys/stat.h>

#include <random>

#include "HtmlTestUtil.h"

class HtmlHostileTest : public HtmlFilesTest {
protected:
  // Opens, lays out and draws; returns the page for further checks.
  bool OpenAndDraw(THtmlDocument& page, const std::string& path, TBitmap* shot = nullptr) {
    const bool ok = page.Open(path);
    TBitmap drawn = Render(page, 640, 1500);
    EXPECT_GT(drawn.Height(), 0);
    if (shot) *shot = std::move(drawn);
    return ok;
  }
  static bool Says(const THtmlDocument& page, const std::string& words) {
    return page.ErrorText().find(words) != std::string::npos;
  }
};

TEST_F(HtmlHostileTest, MissingEmptyAndFolderAddresses) {
  THtmlDocument page;
  EXPECT_FALSE(OpenAndDraw(page, (Dir / "nothing.htm").string()));
  EXPECT_TRUE(Says(page, "Файл не найден")) << page.ErrorText();
  EXPECT_EQ(page.Title(), "Файл не найден");

  EXPECT_TRUE(OpenAndDraw(page, Write("empty.htm", "")));
  EXPECT_FALSE(page.IsErrorPage());
  EXPECT_LT(page.Height(), 40);

  EXPECT_FALSE(OpenAndDraw(page, Dir.string()));
  EXPECT_TRUE(Says(page, "папка")) << page.ErrorText();

  const std::string pipe = (Dir / "pipe.htm").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(OpenAndDraw(page, pipe)) << "a pipe with no writer must not block the view";
  EXPECT_TRUE(Says(page, "прочитать")) << page.ErrorText();
  EXPECT_FALSE(OpenAndDraw(page, "/dev/zero"));

  TBitmap shot;
  EXPECT_FALSE(OpenAndDraw(page, "http://school.example/lecture.htm", &shot));
  EXPECT_TRUE(Says(page, "http://school.example/lecture.htm"));
  EXPECT_EQ(page.Title(), "Не удаётся открыть страницу");
  EXPECT_GT(DarkPixels(shot, Bounds(0, 0, 640, shot.Height())), 200) << "the page says so in words";
}

TEST_F(HtmlHostileTest, RandomBytes) {
  std::mt19937 random(20240917);
  std::string binary(1 << 20, '\0');
  for (char& c : binary) c = static_cast<char>(random() & 0xFF);
  THtmlDocument page;
  EXPECT_FALSE(OpenAndDraw(page, Write("random.htm", binary)));
  EXPECT_TRUE(Says(page, "не является документом")) << page.ErrorText();

  // Text-like noise full of markup characters is still a page, however odd.
  const std::string alphabet = "<>/=\"' abcdefgtdrp&;#!-\n\xD0\xB0\xD1\x8F";
  std::string noise(1 << 18, ' ');
  for (char& c : noise) c = alphabet[random() % alphabet.size()];
  TBitmap shot;
  EXPECT_TRUE(OpenAndDraw(page, Write("noise.htm", noise), &shot));
  EXPECT_FALSE(page.IsErrorPage());
}

TEST_F(HtmlHostileTest, TwentyThousandNestedTagsOfEveryKind) {
  for (const std::string& open : {std::string("<div>"), std::string("<span><b>"), std::string("<table><tr><td>"),
                                  std::string("<ul><li>"), std::string("<font size=2>"), std::string("<blockquote>")}) {
    std::string html = "<html><body>";
    for (int i = 0; i < 20000; ++i) html += open;
    html += "Глубоко внутри";
    for (int i = 0; i < 20000; ++i) html += "</div>";
    html += "<p>После</p></body></html>";
    THtmlDocument page;
    EXPECT_TRUE(OpenAndDraw(page, Write("deep.htm", html))) << open;
    // Nested lists and quotes indent far to the right, as in any browser: look at the whole page.
    TBitmap shot(std::min(page.Width(), 12000), std::min(page.Height(), 1500), TPixelFormat::pf32bit, true);
    page.Draw(shot, {0, 0}, Bounds(0, 0, shot.Width(), shot.Height()));
    EXPECT_GT(DarkPixels(shot, Bounds(0, 0, shot.Width(), shot.Height())), 50) << open << ": the text is shown";
  }
}

TEST_F(HtmlHostileTest, TwentyMegabytesAreRefusedWithAPageSayingSo) {
  std::string html = "<html><body>";
  const std::string paragraph = "<p>Очень длинная лекция, абзац за абзацем, страница за страницей.</p>\n";
  while (html.size() < 20u * 1024 * 1024) html += paragraph;
  html += "</body></html>";
  THtmlDocument page;
  TBitmap shot;
  EXPECT_FALSE(OpenAndDraw(page, Write("huge.htm", html), &shot));
  EXPECT_TRUE(Says(page, "слишком велик")) << page.ErrorText();
  EXPECT_EQ(page.Title(), "Документ слишком велик");
}

TEST_F(HtmlHostileTest, TooManyWordsUnderTheSizeLimitAreRefusedToo) {
  std::string html = "<html><body><p>";
  while (html.size() < kHtmlMaxFileBytes - 1000) html += "a b c d e f g h ";
  THtmlDocument page;
  EXPECT_FALSE(OpenAndDraw(page, Write("words.htm", html)));
  EXPECT_TRUE(Says(page, "слишком велик")) << page.ErrorText();
}

// Runs last in this file: everything above must have stayed under a gigabyte.
TEST_F(HtmlHostileTest, PeakMemoryStaysUnderOneGigabyte) {
  // The largest page the view accepts, opened and drawn.
  std::string html = "<html><body>";
  const std::string section = "<h2>Раздел</h2><p>Текст лекции <b>с выделением</b> и <i>курсивом</i>.</p><ul><li>пункт</li></ul>\n";
  while (2 * html.size() / 14 < kHtmlMaxNodes * 8 / 10) html += section;  // ~14 bytes a node here
  THtmlDocument page;
  OpenAndDraw(page, Write("largest.htm", html));
  rusage usage{};
  ASSERT_EQ(getrusage(RUSAGE_SELF, &usage), 0);
  EXPECT_LT(usage.ru_maxrss, 1024L * 1024) << "kilobytes at the peak";
}
