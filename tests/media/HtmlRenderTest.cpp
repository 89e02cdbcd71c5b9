// Pages drawn into bitmaps: what a browser shows for headings, lists, tables,
// pictures, word-processor exports and pages in either Cyrillic encoding.
#include <gif_lib.h>

#include "HtmlTestUtil.h"
#include "platform/base/Cp1251.h"
#include "platform/gfx/ImageFile.h"

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kTeal = 0x808000;

TBitmap Solid(int w, int h, TColor color) {
  TBitmap b(w, h, TPixelFormat::pf24bit, true);
  b.Fill(color);
  return b;
}

// A w x h GIF of one colour whose top-left pixel is transparent.
void WriteGif(const std::string& path, int w, int h, GifColorType color) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  ASSERT_NE(gif, nullptr);
  GifColorType colors[2] = {color, {0, 0, 0}};
  ColorMapObject* map = GifMakeMapObject(2, colors);
  EGifSetGifVersion(gif, true);
  ASSERT_EQ(EGifPutScreenDesc(gif, w, h, 1, 0, map), GIF_OK);
  GraphicsControlBlock gcb{};
  gcb.TransparentColor = 1;
  GifByteType ext[4];
  const std::size_t length = EGifGCBToExtension(&gcb, ext);
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), ext);
  ASSERT_EQ(EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr), GIF_OK);
  std::vector<GifPixelType> row(static_cast<std::size_t>(w), 0);
  for (int y = 0; y < h; ++y) {
    std::fill(row.begin(), row.end(), 0);
    if (y == 0) row[0] = 1;
    EGifPutLine(gif, row.data(), w);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
}

TPoint Center(const TRect& r) { return {r.Left + r.Width() / 2, r.Top + r.Height() / 2}; }

}  // namespace

class HtmlRenderTest : public HtmlFilesTest {};

TEST_F(HtmlRenderTest, HeadingListTableAndPicturesLandWhereABrowserPutsThem) {
  std::filesystem::create_directories(Dir / "pics");
  SavePngToFile(Solid(30, 12, kGreen), (Dir / "pics/green.png").string());
  SaveBmpToFile(Solid(16, 16, kTeal), (Dir / "pics/teal.bmp").string());
  SaveJpegToFile(Solid(20, 10, 0x00FFFF), (Dir / "pics/yellow.jpg").string());
  WriteGif((Dir / "pics/purple.gif").string(), 18, 14, GifColorType{128, 0, 128});
  const std::string path = Write("lecture.htm", R"(<html><body style="margin:10px">
<h1 id=h style="color:#ff0000">Заголовок</h1>
<ul id=list><li>первый</li><li>второй</li></ul>
<table id=t border=1 cellpadding=6><tr>
<td id=c style="border:1px solid #0000ff">ячейка</td><td>два</td></tr></table>
<p><img id=png src="pics/green.png"> <img id=gif src="pics\purple.gif"> <img id=bmp src="./pics/teal.bmp">
<img id=jpg src="pics/yellow.jpg" width=40 height=20> <img id=none src="pics/missing.png"></p>
</body></html>)");
  THtmlDocument page;
  ASSERT_TRUE(page.Open(path));
  const TBitmap shot = Render(page, 500);

  const TRect h = page.ElementRect("h");
  const TRect list = page.ElementRect("list");
  const TRect table = page.ElementRect("t");
  const TRect png = page.ElementRect("png");
  EXPECT_EQ(h.Left, 10);
  EXPECT_LT(h.Bottom, list.Top);
  EXPECT_LT(list.Bottom, table.Top);
  EXPECT_LT(table.Bottom, png.Top);
  EXPECT_GE(h.Height(), 32) << "h1 is twice the 16-pixel text";

  TRect red;
  ASSERT_TRUE(FindColor(shot, kRed, &red));
  EXPECT_TRUE(red.Top >= h.Top && red.Bottom <= h.Bottom) << "red text only in the heading";
  // Bullets sit in the list's 40-pixel indent, the text after it.
  EXPECT_GT(DarkPixels(shot, Bounds(list.Left, list.Top, 40, list.Height())), 10);
  EXPECT_GT(DarkPixels(shot, Bounds(list.Left + 40, list.Top, list.Width() - 40, list.Height())), 50);

  // The cell: its blue border around it, then 6 pixels of padding before the text.
  const TRect placed = page.ElementRect("c");
  TRect cell;
  ASSERT_TRUE(FindColor(shot, kBlue, &cell));
  EXPECT_EQ(placed.Left - cell.Left, 7) << "the element's content box is inside border and padding";
  EXPECT_EQ(cell.Width() - placed.Width(), 14);
  EXPECT_EQ(At(shot, cell.Left, cell.Top + cell.Height() / 2), kBlue);
  EXPECT_EQ(DarkPixels(shot, TRect{cell.Left + 1, cell.Top + 1, cell.Left + 7, cell.Bottom - 1}), 0);
  EXPECT_GT(DarkPixels(shot, TRect{cell.Left + 7, cell.Top + 7, cell.Right - 7, cell.Bottom - 7}), 20);

  // Pictures, each at its own size unless the page says otherwise.
  EXPECT_EQ(png.Width(), 30);
  EXPECT_EQ(png.Height(), 12);
  EXPECT_EQ(At(shot, Center(png).X, Center(png).Y), kGreen);
  const TRect gif = page.ElementRect("gif");
  EXPECT_EQ(gif.Width(), 18);
  EXPECT_EQ(At(shot, Center(gif).X, Center(gif).Y), 0x800080);
  EXPECT_EQ(At(shot, gif.Left, gif.Top), kWhite) << "the GIF's transparent pixel";
  const TRect bmp = page.ElementRect("bmp");
  EXPECT_EQ(bmp.Width(), 16);
  EXPECT_EQ(At(shot, Center(bmp).X, Center(bmp).Y), kTeal);
  const TRect jpg = page.ElementRect("jpg");
  EXPECT_EQ(jpg.Width(), 40);
  EXPECT_EQ(jpg.Height(), 20);
  const TColor yellow = At(shot, Center(jpg).X, Center(jpg).Y);
  EXPECT_GT(yellow & 0xFF, 240);
  EXPECT_GT((yellow >> 8) & 0xFF, 240);
  EXPECT_LT((yellow >> 16) & 0xFF, 16);
}

TEST_F(HtmlRenderTest, OldDocumentsKeepTheirFontsColoursAndAlignment) {
  const std::string path = Write("old.htm", R"(<html><body bgcolor="#00ff00" text="#0000ff" link="#ff0000">
<center id=c>Середина</center>
<p id=r align=right>Справа</p>
<font id=f size="+3" color="#ff00ff">Крупно</font><br clear=all>
<a id=a href="x.htm">ссылка</a>
</body></html>)");
  THtmlDocument page;
  ASSERT_TRUE(page.Open(path));
  const TBitmap shot = Render(page, 400);
  EXPECT_EQ(page.BackgroundColor(), kGreen);
  EXPECT_EQ(At(shot, 2, 2), kGreen) << "the body colour fills the margins too";
  const TRect c = page.ElementRect("c");
  TBitmap centre(400, c.Height(), TPixelFormat::pf32bit, true);
  page.Draw(centre, {0, -c.Top}, Bounds(0, 0, 400, c.Height()));
  TRect blue;
  ASSERT_TRUE(FindColor(centre, kBlue, &blue)) << "the body's text colour";
  EXPECT_GT(blue.Left, 120) << "centred text starts near the middle";
  EXPECT_LT(blue.Right, 280);
  TRect magenta;
  ASSERT_TRUE(FindColor(shot, 0xFF00FF, &magenta));
  EXPECT_GE(magenta.Height(), 20) << "size +3 is 6 of 7: 32 pixels";
  TRect link;
  ASSERT_TRUE(FindColor(shot, kRed, &link));
  EXPECT_GE(link.Top, page.ElementRect("a").Top);
  // Right-aligned paragraph: its text sits against the right margin.
  const TRect r = page.ElementRect("r");
  auto blueIn = [&](int left, int right) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = left; x < right; ++x) n += At(shot, x, y) == kBlue;
    return n;
  };
  EXPECT_GT(blueIn(r.Right - 40, r.Right), 0);
  EXPECT_EQ(blueIn(r.Left, r.Left + r.Width() / 2), 0);
}

TEST_F(HtmlRenderTest, WordProcessorMarkupRendersAsItsCleanEquivalent) {
  const std::string css =
      "p.MsoNormal{margin:0cm;margin-bottom:.0001pt;font-size:12.0pt;font-family:\"Times New Roman\";}\n"
      "p.Lecture{margin-left:36.0pt;text-indent:18.0pt;font-size:14.0pt;font-family:Arial;color:#0000FF;}\n";
  const std::string body =
      "<p class=MsoNormal>Обычный абзац.</p>\n"
      "<p class=Lecture id=lec>Абзац лекции с отступом.</p>\n";
  const std::string word = Utf8ToCp1251(
      "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"><head>"
      "<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">"
      "<!--[if gte mso 9]><xml><o:DocumentProperties><o:Author>Учитель</o:Author></o:DocumentProperties></xml><![endif]-->"
      "<style><!--\n"
      "p.MsoNormal{mso-style-parent:\"\";margin:0cm;margin-bottom:.0001pt;mso-pagination:widow-orphan;"
      "font-size:12.0pt;font-family:\"Times New Roman\";mso-fareast-font-family:\"Times New Roman\";}\n"
      "p.Lecture{mso-style-name:\"Лекция\";margin-left:36.0pt;text-indent:18.0pt;font-size:14.0pt;"
      "font-family:Arial;mso-bidi-font-family:Arial;color:#0000FF;}\n"
      "@page Section1{size:595.3pt 841.9pt;margin:2.0cm 42.5pt 2.0cm 3.0cm;mso-header-margin:35.4pt;}\n"
      "div.Section1{page:Section1;}\n"
      "@list l0:level1{mso-level-number-format:bullet;mso-level-text:\\F0B7;}\n"
      "--></style><!--[if gte mso 10]><style>table.MsoNormalTable{mso-style-name:\"Обычная\";}</style><![endif]-->"
      "</head><body lang=RU style='tab-interval:35.4pt'>"
      "<p class=MsoNormal>Обычный абзац.<o:p></o:p></p>\n"
      "<p class=Lecture id=lec>Абзац лекции <![if !supportLists]><![endif]>с отступом.<o:p></o:p></p>\n"
      "</body></html>");
  const std::string clean =
      "<html><head><style>" + css + "</style></head><body>" + body + "</body></html>";
  THtmlDocument exported;
  ASSERT_TRUE(exported.Open(Write("word.htm", word)));
  THtmlDocument plain;
  ASSERT_TRUE(plain.Open(Write("plain.htm", clean)));
  const TBitmap a = Render(exported, 500);
  const TBitmap b = Render(plain, 500);
  EXPECT_TRUE(SameImage(a, b));
  EXPECT_EQ(std::string(exported.CharsetName()), "windows-1251");
  // The class is honoured: blue Arial text, 36 pt (48 px) in, first line 18 pt (24 px) further.
  const TRect lec = exported.ElementRect("lec");
  EXPECT_EQ(lec.Left, 8 + 48);
  TRect blue;
  ASSERT_TRUE(FindColor(a, kBlue, &blue));
  EXPECT_GE(blue.Left, 8 + 48 + 24);
  EXPECT_LE(blue.Left, 8 + 48 + 24 + 2);
}

TEST_F(HtmlRenderTest, BothCyrillicEncodingsRenderAlikeWhateverTheMetaSays) {
  const std::string text = "<h2>Кодирование текста</h2><p>Буквы ёЁ, «кавычки» — тире; съешь же ещё этих мягких булок.</p>";
  auto page = [&](const std::string& meta, const std::string& bytes) {
    return "<html><head>" + meta + "</head><body>" + bytes + "</body></html>";
  };
  THtmlDocument reference;
  ASSERT_TRUE(reference.Open(Write("ref.htm", page("<meta charset=utf-8>", text))));
  const TBitmap expected = Render(reference, 500);
  EXPECT_GT(DarkPixels(expected, Bounds(0, 0, 500, expected.Height())), 500);
  const std::vector<std::pair<std::string, std::string>> variants = {
      {"cp1251, meta cp1251", page("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">",
                                   Utf8ToCp1251(text))},
      {"cp1251, meta utf-8", page("<meta charset=\"utf-8\">", Utf8ToCp1251(text))},
      {"utf-8, meta cp1251", page("<meta charset=windows-1251>", text)},
      {"cp1251, no meta", page("", Utf8ToCp1251(text))},
      {"utf-8 with BOM, meta cp1251", "\xEF\xBB\xBF" + page("<meta charset=windows-1251>", text)},
  };
  for (const auto& [name, bytes] : variants) {
    THtmlDocument doc;
    ASSERT_TRUE(doc.Open(Write("v.htm", bytes))) << name;
    EXPECT_TRUE(SameImage(Render(doc, 500), expected)) << name;
  }
}

TEST_F(HtmlRenderTest, StyleSheetsAndPicturesComeFromTheDocumentsFolder) {
  Write("css/site.css", Utf8ToCp1251("p.note { color: #ff0000; } /* стиль */"));
  SavePngToFile(Solid(10, 10, kGreen), (Dir / "bg image.png").string());
  const std::string path = Write("sub/../page.htm",
                                 "<html><head><link rel=stylesheet href=\"css/site.css\"></head>"
                                 "<body><p class=note>красный</p>"
                                 "<div id=tile style=\"width:50px;height:30px;background:url(bg%20image.png)\"></div></body></html>");
  THtmlDocument page;
  ASSERT_TRUE(page.Open(path));
  const TBitmap shot = Render(page, 300);
  EXPECT_TRUE(FindColor(shot, kRed, nullptr));
  const TRect tile = page.ElementRect("tile");
  EXPECT_EQ(At(shot, tile.Left + 3, tile.Top + 3), kGreen);
  EXPECT_EQ(At(shot, tile.Right - 2, tile.Bottom - 2), kGreen) << "the background repeats";
}

TEST_F(HtmlRenderTest, MissingPicturesKeepTheirPlaceWithTheirAltText) {
  const std::string path = Write("alt.htm", R"(<html><body>
<p><img id=sized src="lecture_files/image001.gif" width=200 height=80 alt="Рисунок 1"></p>
<p>До <img id=unsized src="lecture_files/image002.gif" alt="Схема алгоритма"> после</p></body></html>)");
  THtmlDocument page;
  ASSERT_TRUE(page.Open(path));
  const TBitmap shot = Render(page, 500);
  const TRect sized = page.ElementRect("sized");
  EXPECT_EQ(sized.Width(), 200);
  EXPECT_EQ(sized.Height(), 80);
  EXPECT_GT(DarkPixels(shot, sized.Inflate(-2, -2)), 30) << "the alt text inside the frame";
  EXPECT_NE(At(shot, sized.Left, sized.Top + 40), kWhite) << "the frame";
  const TRect unsized = page.ElementRect("unsized");
  EXPECT_GT(unsized.Width(), 80) << "as wide as its alt text";
  EXPECT_GT(DarkPixels(shot, unsized.Inflate(-2, -2)), 30);
}
