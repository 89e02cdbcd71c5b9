// What a page may make the view read, decode and keep: resources come only from
// regular files of bounded size, pictures are decoded when drawn and kept at the
// size shown within a budget, GIFs give their first frame, table grids are bounded.
#include <gif_lib.h>
#include <sys/stat.h>

#include <random>

#include "HtmlTestUtil.h"
#include "media/HtmlElements.h"
#include "media/HtmlImages.h"
#include "media/HtmlPages.h"
#include "platform/base/Exception.h"
#include "platform/gfx/ImageFile.h"

namespace {

constexpr TColor kGreen = 0x00FF00;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kWhite = 0xFFFFFF;

// Every pixel different, so that a wrong sample shows.
TBitmap Pattern(int w, int h, unsigned seed) {
  TBitmap b(w, h, TPixelFormat::pf32bit, true);
  std::mt19937 random(seed);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < w * 4; ++x) row[x] = static_cast<std::uint8_t>(random());
  }
  return b;
}

TBitmap Solid(int w, int h, TColor color) {
  TBitmap b(w, h, TPixelFormat::pf24bit, true);
  b.Fill(color);
  return b;
}

struct TGifFrame {
  int Left, Top, Width, Height;
  int Index;  // every pixel of the frame
  bool Interlace = false;
};

// A GIF of two colours (0 red, 1 blue; 1 transparent when asked) with the frames given.
void WriteGif(const std::string& path, int w, int h, const std::vector<TGifFrame>& frames, bool transparentBlue) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  ASSERT_NE(gif, nullptr);
  GifColorType colors[2] = {{255, 0, 0}, {0, 0, 255}};
  ColorMapObject* map = GifMakeMapObject(2, colors);
  EGifSetGifVersion(gif, true);
  ASSERT_EQ(EGifPutScreenDesc(gif, w, h, 1, 0, map), GIF_OK);
  for (const TGifFrame& f : frames) {
    if (transparentBlue) {
      GraphicsControlBlock gcb{};
      gcb.TransparentColor = 1;
      GifByteType ext[4];
      const std::size_t length = EGifGCBToExtension(&gcb, ext);
      EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), ext);
    }
    ASSERT_EQ(EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, f.Interlace, nullptr), GIF_OK);
    // Rows go out in the order the file keeps them; for an interlaced frame
    // that is pass by pass, and row y is given colour (y % 2) so order matters.
    std::vector<int> order;
    if (f.Interlace) {
      for (int start : {0, 4, 2, 1})
        for (int y = start; y < f.Height; y += start == 0 ? 8 : start == 4 ? 8 : start == 2 ? 4 : 2) order.push_back(y);
    } else {
      for (int y = 0; y < f.Height; ++y) order.push_back(y);
    }
    std::vector<GifPixelType> row(static_cast<std::size_t>(f.Width));
    for (int y : order) {
      std::fill(row.begin(), row.end(), static_cast<GifPixelType>(f.Index < 0 ? y % 2 : f.Index));
      ASSERT_EQ(EGifPutLine(gif, row.data(), f.Width), GIF_OK);
    }
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
}

std::vector<std::uint8_t> Bytes(const std::string& path) { return ReadWholeFile(path); }

}  // namespace

class HtmlResourceLimitsTest : public HtmlFilesTest {};

TEST_F(HtmlResourceLimitsTest, PipesDevicesAndOversizedFilesAreNeverReadAsResources) {
  ASSERT_EQ(mkfifo((Dir / "pipe.png").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((Dir / "pipe.css").c_str(), 0600), 0);
  // Real headers in front of far more bytes than a picture or a style sheet may have.
  const std::vector<std::uint8_t> png = SavePngToMemory(Solid(10, 10, kGreen));
  Write("big.png", std::string(png.begin(), png.end()));
  std::filesystem::resize_file(Dir / "big.png", kHtmlMaxPictureFileBytes + 1);
  Write("big.css", "body{background:#ff0000}\n");
  std::filesystem::resize_file(Dir / "big.css", 3u << 20);
  Write("ok.css", "div.ok{background:#0000ff;height:20px}");
  Write("fine.png", std::string(png.begin(), png.end()));
  const std::string path = Write("page.htm", R"html(<html><head>
<link rel=stylesheet href="pipe.css"><link rel=stylesheet href="/dev/urandom"><link rel=stylesheet href="big.css">
<style>@import url("/dev/zero"); @import url("ok.css");</style></head>
<body background="pipe.png" style="margin:0">
<div class=ok></div>
<p><img id=pipe src="pipe.png" width=40 height=30><img id=zero src="/dev/zero" width=40 height=30><img id=big src="big.png" width=40 height=30><img id=fine src="fine.png" width=40 height=30></p>
<div id=tile style="background:url(/dev/urandom);height:20px"></div>
<ul style="list-style-image:url(/dev/zero)"><li>пункт</li></ul>
</body></html>)html");
  THtmlDocument page;
  ASSERT_TRUE(page.Open(path)) << page.ErrorText();
  const TBitmap shot = Render(page, 400);
  EXPECT_EQ(At(shot, 200, 10), kBlue) << "the sheet imported from a file applies";
  EXPECT_EQ(At(shot, 390, shot.Height() - 1), kWhite) << "the oversized sheet does not";
  const TRect fine = page.ElementRect("fine");
  EXPECT_EQ(At(shot, fine.Left + 20, fine.Top + 15), kGreen);
  for (const char* id : {"pipe", "zero", "big"}) {
    const TRect box = page.ElementRect(id);
    EXPECT_EQ(box.Width(), 40) << id;
    EXPECT_NE(At(shot, box.Left + 20, box.Top + 15), kGreen) << id << " is not shown";
  }
}

TEST_F(HtmlResourceLimitsTest, ReadWholeFileRefusesWhatIsNotARegularFileOrTooLong) {
  ASSERT_EQ(mkfifo((Dir / "pipe").c_str(), 0600), 0);
  EXPECT_THROW(ReadWholeFile((Dir / "pipe").string()), EFileError) << "a pipe without a writer must not block";
  EXPECT_THROW(ReadWholeFile("/dev/zero", 1 << 20), EFileError);
  EXPECT_THROW(ReadWholeFile(Dir.string()), EFileError);
  Write("four", "abcd");
  EXPECT_EQ(ReadWholeFile((Dir / "four").string(), 4).size(), 4u);
  EXPECT_THROW(ReadWholeFile((Dir / "four").string(), 3), EFileError);
  Write("sparse", "");
  std::filesystem::resize_file(Dir / "sparse", std::uintmax_t{8} << 30);
  EXPECT_THROW(ReadWholeFile((Dir / "sparse").string()), EFileError) << "refused from its size, before reading";
}

TEST_F(HtmlResourceLimitsTest, HeadersGiveTheSizeWithoutDecoding) {
  const TBitmap picture = Pattern(37, 23, 1);
  const std::vector<std::uint8_t> png = SavePngToMemory(picture);
  const std::vector<std::uint8_t> jpeg = SaveJpegToMemory(Solid(37, 23, kGreen));
  const std::vector<std::uint8_t> bmp = SaveBmpToMemory(Solid(37, 23, kGreen));
  WriteGif((Dir / "a.gif").string(), 37, 23, {{0, 0, 37, 23, 0}}, false);
  for (const auto& data : {png, jpeg, bmp, Bytes((Dir / "a.gif").string())}) {
    EXPECT_EQ(ProbePictureSize(data), (TSize{37, 23}));
    const TBitmap decoded = LoadHtmlPicture(data);
    EXPECT_EQ(decoded.Width(), 37);
    EXPECT_EQ(decoded.Height(), 23);
  }
  // A header claiming more than the view shows is refused before any decoding.
  std::vector<std::uint8_t> huge = png;
  huge[16] = 0, huge[17] = 1, huge[18] = 0, huge[19] = 0;  // width 65536
  EXPECT_EQ(ProbePictureSize(huge).cx, 65536);
  EXPECT_THROW(LoadHtmlPicture(huge), EOutOfResources);
  EXPECT_EQ(ProbePictureSize(std::vector<std::uint8_t>(png.begin(), png.begin() + 20)), (TSize{}));
  EXPECT_EQ(ProbePictureSize(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xDA, 0, 2}), (TSize{}));
}

TEST_F(HtmlResourceLimitsTest, PicturesAreDecodedWhenDrawnAndKeptAtTheSizeShown) {
  const TBitmap picture = Pattern(1200, 900, 2);
  const std::string path = (Dir / "photo.png").string();
  SavePngToFile(picture, path);
  THtmlImageCache cache;
  EXPECT_EQ(cache.Size(path), (TSize{1200, 900}));
  EXPECT_EQ(cache.Decodes(), 0) << "the size comes from the header";

  TBitmap target(300, 200, TPixelFormat::pf32bit, true);
  cache.Draw(target, Bounds(0, 0, 300, 200), path, 120, 90, 500, 10);
  EXPECT_EQ(cache.Decodes(), 0) << "out of view: not decoded";
  cache.Draw(target, Bounds(0, 0, 300, 200), path, 120, 90, 10, 10);
  EXPECT_EQ(cache.Decodes(), 1);
  EXPECT_EQ(cache.Bytes(), 120u * 90u * 4u) << "only the copy at the size shown is kept";
  cache.Draw(target, Bounds(0, 0, 300, 200), path, 120, 90, 150, 100);
  EXPECT_EQ(cache.Decodes(), 1) << "drawn again from the kept copy";

  TBitmap expected(300, 200, TPixelFormat::pf32bit, true);
  const TBitmap scaled = ScalePicture(picture, 120, 90);
  BlendPicture(expected, Bounds(0, 0, 300, 200), scaled, 10, 10);
  BlendPicture(expected, Bounds(0, 0, 300, 200), scaled, 150, 100);
  EXPECT_TRUE(SameImage(target, expected));

  // A damaged body behind a good header: decoded once, then the picture counts as missing.
  std::vector<std::uint8_t> cut = SavePngToMemory(picture);
  cut.resize(cut.size() / 2);
  const std::string broken = (Dir / "broken.png").string();
  Write("broken.png", std::string(cut.begin(), cut.end()));
  EXPECT_EQ(cache.Size(broken), (TSize{1200, 900}));
  cache.Draw(target, Bounds(0, 0, 300, 200), broken, 50, 50, 0, 0);
  cache.Draw(target, Bounds(0, 0, 300, 200), broken, 50, 50, 0, 0);
  EXPECT_EQ(cache.Decodes(), 2);
  EXPECT_EQ(cache.Size(broken), (TSize{}));
}

TEST_F(HtmlResourceLimitsTest, KeptPicturesStayWithinTheBudgetAndHugeSizesAreScaledOnlyWhereInView) {
  const TBitmap tiny = Pattern(3, 2, 3);
  const std::string path = (Dir / "tiny.png").string();
  SavePngToFile(tiny, path);
  THtmlImageCache cache(2u << 20);
  TBitmap target(64, 48, TPixelFormat::pf32bit, true);
  // A tiny picture stretched to 8000 x 8000 a dozen times, and to twenty
  // medium sizes that together exceed the budget.
  for (int i = 0; i < 12; ++i) {
    cache.Draw(target, Bounds(0, 0, 64, 48), path, 8000 - i, 8000, -4000, -4000);
    EXPECT_LE(cache.Bytes(), 1024u) << "huge copies are never kept";
  }
  for (int i = 0; i < 20; ++i) {
    cache.Draw(target, Bounds(0, 0, 64, 48), path, 300 + i, 300, -i, 0);
    EXPECT_LE(cache.Bytes(), 2u << 20);
  }
  EXPECT_GT(cache.Bytes(), 1u << 20);
  EXPECT_EQ(cache.Decodes(), 1) << "the small original is kept";

  // The part in view is the same as the same part of the whole scaled copy.
  TBitmap drawn(64, 48, TPixelFormat::pf32bit, true);
  THtmlImageCache fresh;
  fresh.Draw(drawn, Bounds(0, 0, 64, 48), path, 3000, 2900, -1480, -1450);
  EXPECT_EQ(fresh.Bytes(), 24u) << "only the original";
  TBitmap expected(64, 48, TPixelFormat::pf32bit, true);
  BlendPicture(expected, Bounds(0, 0, 64, 48), ScalePicture(tiny, 3000, 2900), -1480, -1450);
  EXPECT_TRUE(SameImage(drawn, expected));
}

TEST_F(HtmlResourceLimitsTest, ScaledRegionsMatchTheWholeScaledPicture) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 40; ++round) {
    const int sw = 1 + static_cast<int>(random() % 90), sh = 1 + static_cast<int>(random() % 90);
    const int w = 1 + static_cast<int>(random() % 200), h = 1 + static_cast<int>(random() % 200);
    const TBitmap source = Pattern(sw, sh, static_cast<unsigned>(round));
    const TBitmap whole = ScalePicture(source, w, h);
    const int left = static_cast<int>(random() % static_cast<unsigned>(w));
    const int top = static_cast<int>(random() % static_cast<unsigned>(h));
    const TRect region{left, top, left + 1 + static_cast<int>(random() % static_cast<unsigned>(w - left)),
                       top + 1 + static_cast<int>(random() % static_cast<unsigned>(h - top))};
    const TBitmap part = ScalePictureRegion(source, w, h, region);
    ASSERT_EQ(part.Width(), region.Width());
    ASSERT_EQ(part.Height(), region.Height());
    for (int y = 0; y < part.Height(); ++y)
      ASSERT_EQ(std::memcmp(part.ScanLine(y), whole.ScanLine(region.Top + y) + region.Left * 4,
                            static_cast<std::size_t>(part.Width()) * 4),
                0)
          << sw << "x" << sh << " -> " << w << "x" << h << ", row " << y;
  }
}

TEST_F(HtmlResourceLimitsTest, AGifGivesItsFirstFrameAndTheRestIsNeverRead) {
  const std::string path = (Dir / "anim.gif").string();
  // The first frame interlaced, placed inside the screen, blue transparent;
  // later frames would paint everything, and the last one is cut short.
  std::vector<TGifFrame> frames{{2, 3, 5, 11, -1, true}};
  for (int i = 0; i < 50; ++i) frames.push_back({0, 0, 12, 16, 0});
  WriteGif(path, 12, 16, frames, true);
  std::vector<std::uint8_t> data = Bytes(path);
  data.resize(data.size() - 40);
  const TBitmap first = LoadGifFromMemory(data);
  ASSERT_EQ(first.Width(), 12);
  ASSERT_EQ(first.Height(), 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 2 && x < 7 && y >= 3 && y < 14;
      const bool red = inside && (y - 3) % 2 == 0;
      EXPECT_EQ(first.Pixel32(x, y), red ? 0xFF0000FFu : 0u) << x << "," << y;
    }
  // Ten thousand frames after the first make no difference.
  std::vector<TGifFrame> many{{0, 0, 4, 4, 0}};
  many.resize(10001, TGifFrame{0, 0, 4, 4, 1});
  WriteGif(path, 4, 4, many, false);
  const TBitmap one = LoadGifFromMemory(Bytes(path));
  EXPECT_EQ(one.Pixel32(3, 3), 0xFF0000FFu);
  // A screen or frame over the view's limit is refused.
  WriteGif(path, kHtmlMaxPictureSide + 1, 1, {{0, 0, 1, 1, 0}}, false);
  EXPECT_THROW(LoadGifFromMemory(Bytes(path)), EOutOfResources);
}

TEST_F(HtmlResourceLimitsTest, SpansAreClampedAsBrowsersDo) {
  const std::string path = Write("spans.htm", R"(<html><body style="margin:0">
<table id=t cellspacing=0 cellpadding=0><tr><td id=huge colspan="1000000000" rowspan="1000000000">широкая</td><td>b</td></tr>
<tr><td>c</td></tr></table>
<div style="display:table"><div style="display:table-row"><div style="display:table-cell" colspan="99999999999">div</div></div></div>
<p id=after>после</p></body></html>)");
  THtmlDocument page;
  ASSERT_TRUE(page.Open(path)) << page.ErrorText();
  const TBitmap shot = Render(page, 640);
  EXPECT_GT(DarkPixels(shot, page.ElementRect("huge")), 20);
  EXPECT_GT(DarkPixels(shot, page.ElementRect("after")), 20);
  EXPECT_LE(page.ElementRect("t").Width(), 640);
}

TEST_F(HtmlResourceLimitsTest, TableGridsLargerThanTheViewAllowsGetAPageSayingSo) {
  auto table = [](int rows, int wideCells, int colspan) {
    std::string html = "<html><body><table><tr>";
    for (int i = 0; i < wideCells; ++i) html += "<td colspan=" + std::to_string(colspan) + ">x";
    for (int r = 1; r < rows; ++r) html += "<tr><td>y";
    return html + "</table><p>после</p></body></html>";
  };
  struct TCase {
    const char* Name;
    int Rows, WideCells, Colspan;
    bool Shown;
  };
  for (const TCase& c : {TCase{"spans", 2, 300, 1000, false}, TCase{"padding", 300, 1000, 1, false},
                         TCase{"rows", static_cast<int>(kHtmlMaxTableRows) + 1, 1, 1, false},
                         TCase{"ordinary", 200, 30, 2, true}}) {
    THtmlDocument page;
    EXPECT_EQ(page.Open(Write(std::string(c.Name) + ".htm", table(c.Rows, c.WideCells, c.Colspan))), c.Shown)
        << c.Name << ": " << page.ErrorText();
    if (!c.Shown) {
      EXPECT_EQ(page.Title(), "Документ слишком велик") << c.Name;
      EXPECT_NE(page.ErrorText().find("слишком велик"), std::string::npos) << c.Name;
    }
    Render(page, 640, 600);
  }
}

TEST_F(HtmlResourceLimitsTest, AnInternetAddressIsAnsweredTruthfully) {
  THtmlDocument page;
  EXPECT_FALSE(page.Open("https://school.example/lecture.htm"));
  EXPECT_NE(page.ErrorText().find("только файлы этого компьютера"), std::string::npos) << page.ErrorText();
  const std::string text = UnreachablePage("https://school.example/lecture.htm");
  EXPECT_NE(text.find("Учебник открывает только файлы этого компьютера"), std::string::npos);
  EXPECT_EQ(text.find("не подключён"), std::string::npos) << "the computer may well be connected";
}
