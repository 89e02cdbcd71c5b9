// The compiled-in pictures: their sizes, where they are opaque and where clear,
// faces as wide as their words, and the glyph form the buttons use.
#include <gtest/gtest.h>

#include <string>

#include "app/art/AppArt.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiObject.h"

namespace {

struct TExpected {
  TAppPicture Id;
  TSize Size;
  bool Opaque;
};

const TExpected kAll[] = {
    {TAppPicture::MainBackground, kMainBackgroundSize, true}, {TAppPicture::ButtonLessons, kStripFaceSize, false},
    {TAppPicture::ButtonVideo, kStripFaceSize, false},        {TAppPicture::ButtonTests, kStripFaceSize, false},
    {TAppPicture::ButtonExtra, kStripFaceSize, false},        {TAppPicture::ButtonAccounts, kStripFaceSize, false},
    {TAppPicture::ButtonAbout, kAboutFaceSize, false},        {TAppPicture::AboutBanner, kAboutBannerSize, true},
    {TAppPicture::TestTaking, kTestPictureSize, false},       {TAppPicture::TestResults, kTestPictureSize, false},
    {TAppPicture::TestEditing, kTestPictureSize, false},
};

int Alpha(const TBitmap& b, int x, int y) { return static_cast<int>(b.Pixel32(x, y) >> 24); }

// Columns holding at least one pixel that is more than half covered.
std::pair<int, int> InkedColumns(const TBitmap& b) {
  int first = -1, last = -1;
  for (int x = 0; x < b.Width(); ++x)
    for (int y = 0; y < b.Height(); ++y)
      if (Alpha(b, x, y) > 127) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

int WordWidth(const std::string& word, int height) {
  TLogFont lf;
  lf.FaceName = "Palatino Linotype";
  lf.Height = -height;
  lf.Weight = FW_BOLD;
  HFONT font = CreateFontIndirect(lf);
  TBitmap probe(1, 1);
  HFONT old = probe.Canvas().SelectFont(font);
  const int width = probe.Canvas().TextExtent(word).cx;
  probe.Canvas().SelectFont(old);
  DeleteObject(font);
  return width;
}

TEST(AppArtTest, EveryPictureDecodesAtItsSize) {
  for (const TExpected& e : kAll) {
    const auto& bytes = AppPictureBytes(e.Id);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes[1], 'P');  // PNG signature
    const TBitmap b = AppPictureBitmap(e.Id);
    EXPECT_EQ(b.Width(), e.Size.cx) << static_cast<int>(e.Id);
    EXPECT_EQ(b.Height(), e.Size.cy) << static_cast<int>(e.Id);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf32bit);
  }
  EXPECT_TRUE(AppPictureBytes(static_cast<TAppPicture>(kAppPictureCount)).empty());
}

// The backgrounds are stored decoded for the windows; what they show must be the
// drawn picture to the last pixel, and every other picture is shown as drawn.
TEST(AppArtTest, ShownPicturesHaveTheColoursOfTheDrawnOnes) {
  for (const TExpected& e : kAll) {
    const TBitmap drawn = AppPictureBitmap(e.Id);
    const TBitmap shown = AppShownBitmap(e.Id);
    ASSERT_EQ(shown.Width(), drawn.Width()) << static_cast<int>(e.Id);
    ASSERT_EQ(shown.Height(), drawn.Height()) << static_cast<int>(e.Id);
    EXPECT_EQ(shown.PixelFormat(), e.Opaque ? TPixelFormat::pf24bit : TPixelFormat::pf32bit) << static_cast<int>(e.Id);
    int differing = 0;
    for (int y = 0; y < drawn.Height(); ++y)
      for (int x = 0; x < drawn.Width(); ++x)
        differing += shown.Pixel32(x, y) != drawn.Pixel32(x, y);
    EXPECT_EQ(differing, 0) << static_cast<int>(e.Id);
  }
}

TEST(AppArtTest, BackgroundsAreOpaqueAndFacesClearAroundTheirInk) {
  for (const TExpected& e : kAll) {
    const TBitmap b = AppPictureBitmap(e.Id);
    int opaque = 0, clear = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        opaque += Alpha(b, x, y) == 255;
        clear += Alpha(b, x, y) == 0;
      }
    const int all = b.Width() * b.Height();
    if (e.Opaque) {
      EXPECT_EQ(opaque, all) << static_cast<int>(e.Id);
    } else {
      // Every corner is clear (the glyph's key is read from the bottom-left one),
      // and the picture is neither empty nor a filled block.
      for (auto [x, y] : {std::pair{0, 0}, {b.Width() - 1, 0}, {0, b.Height() - 1}, {b.Width() - 1, b.Height() - 1}})
        EXPECT_EQ(Alpha(b, x, y), 0) << static_cast<int>(e.Id);
      EXPECT_GT(opaque, all / 20) << static_cast<int>(e.Id);
      EXPECT_GT(clear, all / 5) << static_cast<int>(e.Id);
    }
  }
}

TEST(AppArtTest, FacesAreAsWideAsTheirIconAndWordAndCentred) {
  const std::pair<TAppPicture, const char*> faces[] = {{TAppPicture::ButtonLessons, "Уроки"},
                                                       {TAppPicture::ButtonVideo, "Видео"},
                                                       {TAppPicture::ButtonTests, "Тесты"},
                                                       {TAppPicture::ButtonExtra, "Дополнительно"},
                                                       {TAppPicture::ButtonAccounts, "Учетные записи"}};
  for (const auto& [id, word] : faces) {
    const TBitmap b = AppPictureBitmap(id);
    const auto [first, last] = InkedColumns(b);
    const int inked = last - first + 1;
    const int expected = WordWidth(word, 16) + 24 + 8;  // icon 24.8 px and a gap of 8
    EXPECT_NEAR(inked, expected, 4) << word;
    EXPECT_NEAR(first, b.Width() - 1 - last, 3) << word;  // centred
  }
  const TBitmap about = AppPictureBitmap(TAppPicture::ButtonAbout);
  const auto [first, last] = InkedColumns(about);
  EXPECT_NEAR(last - first + 1, WordWidth("О программе", 15) + 18 + 8, 4);  // a smaller icon: the face is low
}

TEST(AppArtTest, GlyphKeysTheClearPixelsAndFlattensTheRestOverTheFace) {
  const TColor face = 0xFFEBD0;  // the speed button's pale sky, 0x00BBGGRR
  const TBitmap picture = AppPictureBitmap(TAppPicture::ButtonTests);
  const TBitmap glyph = AppPictureGlyph(TAppPicture::ButtonTests, face);
  ASSERT_EQ(glyph.Width(), picture.Width());
  ASSERT_EQ(glyph.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_TRUE(glyph.Transparent());
  EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
  EXPECT_EQ(glyph.Pixel(0, glyph.Height() - 1), clFuchsia);
  int partial = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t p = picture.Pixel32(x, y);
      const int a = static_cast<int>(p >> 24);
      if (a < 128) {
        ASSERT_EQ(glyph.Pixel(x, y), clFuchsia) << x << "," << y;
        continue;
      }
      for (int shift : {0, 8, 16}) {
        const int src = static_cast<int>((p >> shift) & 0xFF), bg = (face >> shift) & 0xFF;
        const int expected = (src * a + bg * (255 - a) + 127) / 255;
        ASSERT_EQ(static_cast<int>((glyph.Pixel(x, y) >> shift) & 0xFF), expected) << x << "," << y;
      }
      partial += a < 255;
    }
  EXPECT_GT(partial, 50);  // smooth edges reach the glyph, blended over the face
}

}  // namespace
