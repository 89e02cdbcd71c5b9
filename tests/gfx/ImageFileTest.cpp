#include "platform/gfx/ImageFile.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
// jpeglib.h needs FILE declared first.
#include <jpeglib.h>

#include <filesystem>
#include <random>

#include "platform/base/Exception.h"
#include "tests/support/ErrorOf.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

TBitmap RandomBitmap(int w, int h, TPixelFormat format, bool topDown, unsigned seed) {
  std::mt19937 rng(seed);
  TBitmap b(w, h, format, topDown);
  for (auto& q : b.Palette()) q = {static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()), 0};
  // Random bytes everywhere except the row padding, which files do not keep.
  const int usedBits = w * BitsPerPixel(format);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int i = 0; i < (usedBits + 7) / 8; ++i) row[i] = static_cast<std::uint8_t>(rng());
    if (usedBits % 8) {
      row[usedBits / 8] &= static_cast<std::uint8_t>(0xFF00 >> (usedBits % 8));
    }
  }
  return b;
}

void ExpectSamePixels(const TBitmap& a, const TBitmap& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.Pixel32(x, y), b.Pixel32(x, y)) << x << "," << y;
}

// Every way a decoder may refuse input.
template <class Decode>
void ExpectRefused(Decode decode, const TBytes& data) {
  try {
    decode(data);
    ADD_FAILURE() << "accepted " << data.size() << " bytes";
  } catch (const EInvalidGraphic&) {
  } catch (const EOutOfResources&) {
  }
}

TEST(BmpFile, RoundTripEveryDepthAndOrientation) {
  unsigned seed = 1;
  for (TPixelFormat format :
       {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit})
    for (bool topDown : {false, true})
      for (int w : {1, 3, 5, 17}) {
        const TBitmap original = RandomBitmap(w, 4, format, topDown, seed++);
        const TBytes file = SaveBmpToMemory(original);
        const TBitmap loaded = LoadBmpFromMemory(file);
        EXPECT_EQ(loaded.PixelFormat(), format);
        EXPECT_EQ(loaded.TopDown(), topDown);
        if (BitsPerPixel(format) <= 8) {
          EXPECT_EQ(loaded.Palette(), original.Palette());
        }
        ExpectSamePixels(loaded, original);
        // Same bytes again when written a second time.
        EXPECT_EQ(SaveBmpToMemory(loaded), file);
      }
}

TEST(BmpFile, BitfieldsKeepAlpha) {
  const TBitmap original = RandomBitmap(7, 3, TPixelFormat::pf32bit, false, 42);
  const TBytes file = SaveBmpToMemory(original, true);
  EXPECT_EQ(file[30], 3);  // BI_BITFIELDS
  const TBitmap loaded = LoadBmpFromMemory(file);
  ExpectSamePixels(loaded, original);
}

// A BITMAPINFOHEADER file built by hand, for what our writer never produces.
TBytes HandMadeBmp(int w, int h, int bits, std::uint32_t compression, const TBytes& extra, const TBytes& pixels,
                   std::uint32_t colorsUsed = 0) {
  TBytes f;
  const auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) f.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const auto put16 = [&](std::uint32_t v) {
    f.push_back(static_cast<std::uint8_t>(v));
    f.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  const std::uint32_t off = static_cast<std::uint32_t>(14 + 40 + extra.size());
  f.push_back('B');
  f.push_back('M');
  put32(static_cast<std::uint32_t>(off + pixels.size()));
  put32(0);
  put32(off);
  put32(40);
  put32(static_cast<std::uint32_t>(w));
  put32(static_cast<std::uint32_t>(h));
  put16(1);
  put16(static_cast<std::uint32_t>(bits));
  put32(compression);
  put32(static_cast<std::uint32_t>(pixels.size()));
  put32(0);
  put32(0);
  put32(colorsUsed);
  put32(0);
  f.insert(f.end(), extra.begin(), extra.end());
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

TEST(BmpFile, SixteenBitFilesBecome24Bit) {
  // 5-5-5 without masks: one white pixel and one pure red pixel.
  const TBitmap b555 = LoadBmpFromMemory(HandMadeBmp(2, 1, 16, 0, {}, {0xFF, 0x7F, 0x00, 0x7C}));
  EXPECT_EQ(b555.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(b555.Pixel(0, 0), clWhite);
  EXPECT_EQ(b555.Pixel(1, 0), clRed);
  // 5-6-5 with masks after the header: pure green, then half blue (15/31 → 123).
  const TBytes masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
  const TBitmap b565 = LoadBmpFromMemory(HandMadeBmp(2, 1, 16, 3, masks, {0xE0, 0x07, 0x0F, 0x00}));
  EXPECT_EQ(b565.Pixel(0, 0), clLime);
  EXPECT_EQ(b565.Pixel(1, 0), static_cast<TColor>(RGB(0, 0, 123)));
}

TEST(BmpFile, ClassicZeroAlphaMeansOpaqueAndShortPalettes) {
  const TBitmap b = LoadBmpFromMemory(HandMadeBmp(1, 1, 32, 0, {}, {1, 2, 3, 0}));
  EXPECT_EQ(b.Pixel32(0, 0), 0xFF000000u | RGB(3, 2, 1));
  // Two palette entries declared; index 3 points past them and reads as black.
  const TBytes palette = {0, 0, 255, 0, 0, 255, 0, 0};
  const TBitmap p = LoadBmpFromMemory(HandMadeBmp(4, 1, 8, 0, palette, {0, 1, 3, 0}, 2));
  EXPECT_EQ(p.Pixel(0, 0), clRed);
  EXPECT_EQ(p.Pixel(1, 0), clLime);
  EXPECT_EQ(p.Pixel(2, 0), clBlack);
}

TEST(BmpFile, MalformedFilesAreRefused) {
  const TBytes good = SaveBmpToMemory(RandomBitmap(5, 5, TPixelFormat::pf8bit, false, 3));
  for (std::size_t n = 0; n < good.size(); ++n)
    ExpectRefused(LoadBmpFromMemory, TBytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
  EXPECT_THROW(LoadBmpFromMemory(HandMadeBmp(20000, 20000, 24, 0, {}, {0, 0, 0, 0})), EOutOfResources);
  EXPECT_THROW(LoadBmpFromMemory(HandMadeBmp(16384, -16384, 32, 0, {}, {})), EOutOfResources);
  EXPECT_THROW(LoadBmpFromMemory(HandMadeBmp(0, 5, 24, 0, {}, {})), EInvalidGraphic);
  EXPECT_THROW(LoadBmpFromMemory(HandMadeBmp(-3, 5, 24, 0, {}, {})), EInvalidGraphic);
  EXPECT_THROW(LoadBmpFromMemory(HandMadeBmp(1, static_cast<int>(0x80000000u), 24, 0, {}, {})), EOutOfResources);
  EXPECT_THROW(LoadBmpFromMemory(HandMadeBmp(1, 1, 7, 0, {}, {0, 0, 0, 0})), EInvalidGraphic);
  EXPECT_THROW(LoadBmpFromMemory(HandMadeBmp(1, 1, 8, 1, {}, {0, 0, 0, 0})), EInvalidGraphic);  // RLE8 without its palette
  EXPECT_THROW(LoadBmpFromMemory(HandMadeBmp(1, 1, 24, 3, {}, {0, 0, 0, 0})), EInvalidGraphic);
  const TBytes scattered = {0x01, 0x01, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0};  // non-contiguous mask
  EXPECT_THROW(LoadBmpFromMemory(HandMadeBmp(1, 1, 32, 3, scattered, {0, 0, 0, 0})), EInvalidGraphic);
  TBytes badOffset = good;
  badOffset[10] = 0xFF;
  badOffset[11] = 0xFF;
  EXPECT_THROW(LoadBmpFromMemory(badOffset), EInvalidGraphic);
  TBytes badHeader = good;
  badHeader[14] = 41;
  EXPECT_THROW(LoadBmpFromMemory(badHeader), EInvalidGraphic);
  EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { LoadBmpFromMemory(HandMadeBmp(3, 3, 24, 0, {}, {1, 2, 3})); }),
            "Bitmap image is not valid: the pixel data is truncated");
}

TEST(BmpFile, AlphaMasksNeedAHeaderWithRoomForThem) {
  // A 52-byte header ends after three masks; the alpha one would lie past the file.
  TBytes file(14 + 52, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(file.size()));
  put32(10, static_cast<std::uint32_t>(file.size()));
  put32(14, 52);
  put32(18, 1);
  put32(22, 1);
  file[26] = 1;
  file[28] = 32;
  put32(30, 6);  // bit fields with alpha
  put32(54, 0xFF0000);
  put32(58, 0xFF00);
  put32(62, 0xFF);
  EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { LoadBmpFromMemory(file); }),
            "Bitmap image is not valid: the header has no room for colour masks");
}

// --- PNG -----------------------------------------------------------------------------

struct TPngSpec {
  int ColorType;
  int Depth;
  bool Interlaced = false;
  std::vector<png_color> Palette;
  std::vector<png_byte> Trns;
};

TPngSpec Spec(int colorType, int depth, bool interlaced = false) {
  TPngSpec spec;
  spec.ColorType = colorType;
  spec.Depth = depth;
  spec.Interlaced = interlaced;
  return spec;
}

void AppendPng(png_structp png, png_bytep data, std::size_t n) {
  auto* out = static_cast<TBytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

// Writes raw rows (already in the PNG's own sample layout) with libpng.
TBytes WritePng(int w, int h, const TPngSpec& spec, const std::vector<TBytes>& rows) {
  TBytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendPng, nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), spec.Depth, spec.ColorType,
               spec.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!spec.Palette.empty()) png_set_PLTE(png, info, spec.Palette.data(), static_cast<int>(spec.Palette.size()));
  if (!spec.Trns.empty()) png_set_tRNS(png, info, spec.Trns.data(), static_cast<int>(spec.Trns.size()), nullptr);
  png_write_info(png, info);
  std::vector<png_bytep> pointers;
  for (const auto& r : rows) pointers.push_back(const_cast<png_bytep>(r.data()));
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

TEST(PngFile, RoundTripKeepsAlpha) {
  const TBitmap original = RandomBitmap(13, 9, TPixelFormat::pf32bit, false, 77);
  const TBitmap loaded = LoadPngFromMemory(SavePngToMemory(original));
  EXPECT_EQ(loaded.PixelFormat(), TPixelFormat::pf32bit);
  ExpectSamePixels(loaded, original);
  const TBitmap rgb = RandomBitmap(4, 4, TPixelFormat::pf24bit, true, 78);
  const TBitmap opaque = LoadPngFromMemory(SavePngToMemory(rgb));
  ExpectSamePixels(opaque, rgb);  // Pixel32 of a 24-bit bitmap has alpha 255
}

TEST(PngFile, EveryColourTypeBecomesBgra) {
  // Gray 8-bit.
  TBitmap g = LoadPngFromMemory(WritePng(2, 1, Spec(PNG_COLOR_TYPE_GRAY, 8), {{10, 200}}));
  EXPECT_EQ(g.Pixel32(1, 0), 0xFF000000u | RGB(200, 200, 200));
  // Gray 1-bit expands to 0 / 255.
  TBitmap g1 = LoadPngFromMemory(WritePng(3, 1, Spec(PNG_COLOR_TYPE_GRAY, 1), {{0x40}}));
  EXPECT_EQ(g1.Pixel(1, 0), clWhite);
  EXPECT_EQ(g1.Pixel(0, 0), clBlack);
  // Gray with alpha.
  TBitmap ga = LoadPngFromMemory(WritePng(1, 1, Spec(PNG_COLOR_TYPE_GRAY_ALPHA, 8), {{50, 60}}));
  EXPECT_EQ(ga.Pixel32(0, 0), 0x3C000000u | RGB(50, 50, 50));
  // Palette with a transparent entry, 4 bits per pixel.
  TPngSpec pal = Spec(PNG_COLOR_TYPE_PALETTE, 4);
  pal.Palette = {{255, 0, 0}, {0, 0, 255}};
  pal.Trns = {0};
  TBitmap p = LoadPngFromMemory(WritePng(2, 1, pal, {{0x01}}));
  EXPECT_EQ(p.Pixel32(0, 0), RGB(255, 0, 0));  // alpha 0
  EXPECT_EQ(p.Pixel32(1, 0), 0xFF000000u | RGB(0, 0, 255));
  // 16-bit RGB keeps the high bytes.
  TBitmap deep = LoadPngFromMemory(WritePng(1, 1, Spec(PNG_COLOR_TYPE_RGB, 16), {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}}));
  EXPECT_EQ(deep.Pixel32(0, 0), 0xFF000000u | RGB(0x12, 0x56, 0x9A));
  // Interlaced RGBA.
  std::vector<TBytes> rows;
  for (int y = 0; y < 9; ++y) {
    TBytes r;
    for (int x = 0; x < 9; ++x) r.insert(r.end(), {static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 20), 7, 200});
    rows.push_back(r);
  }
  TPngSpec inter = Spec(PNG_COLOR_TYPE_RGB_ALPHA, 8, true);
  TBitmap i = LoadPngFromMemory(WritePng(9, 9, inter, rows));
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x)
      ASSERT_EQ(i.Pixel32(x, y), 0xC8000000u | RGB(static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 20), 7));
}

// Replaces IHDR width and height and repairs its CRC.
TBytes WithPngSize(TBytes png, std::uint32_t w, std::uint32_t h) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<std::uint8_t>(w >> (24 - 8 * i));
    png[20 + i] = static_cast<std::uint8_t>(h >> (24 - 8 * i));
  }
  const uLong crc = crc32(0, png.data() + 12, 17);
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
  return png;
}

TEST(PngFile, MalformedFilesAreRefused) {
  const TBytes good = SavePngToMemory(RandomBitmap(6, 6, TPixelFormat::pf32bit, false, 5));
  // Every cut before the image data ends fails; cuts after it may still decode.
  for (std::size_t n = 0; n + 12 < good.size(); ++n)
    ExpectRefused(LoadPngFromMemory, TBytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
  EXPECT_EQ(ErrorOf<EOutOfResources>([&] { LoadPngFromMemory(WithPngSize(good, 100000, 100000)); }),
            "PNG image of 100000 x 100000 pixels is larger than the allowed 16384 x 16384");
  EXPECT_THROW(LoadPngFromMemory(WithPngSize(good, 16000, 16000)), EOutOfResources);  // > 256 MiB
  EXPECT_THROW(LoadPngFromMemory(WithPngSize(good, 0, 6)), EInvalidGraphic);
  // Declared bigger than the data: libpng runs out of input.
  EXPECT_THROW(LoadPngFromMemory(WithPngSize(good, 600, 600)), EInvalidGraphic);
  TBytes badCrc = good;
  badCrc[30] ^= 0xFF;
  try {
    LoadPngFromMemory(badCrc);
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message().find("PNG image could not be decoded: "), std::string::npos);
    EXPECT_NE(e.Message().find("CRC"), std::string::npos) << e.Message();
  }
  TBytes garbage(200, 0xAB);
  std::copy(good.begin(), good.begin() + 8, garbage.begin());
  EXPECT_THROW(LoadPngFromMemory(garbage), EInvalidGraphic);
  EXPECT_THROW(LoadPngFromMemory(TBytes{1, 2, 3}), EInvalidGraphic);
}

// --- JPEG ------------------------------------------------------------------------------

TBitmap Smooth(int w, int h) {
  TBitmap b(w, h, TPixelFormat::pf24bit, true);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGB(static_cast<std::uint8_t>(x * 255 / w), static_cast<std::uint8_t>(y * 255 / h), 128));
  return b;
}

// Writes a JPEG of one colour in the given input colour space with libjpeg.
TBytes WriteJpeg(int w, int h, J_COLOR_SPACE space, int components, const TBytes& pixel, bool progressive) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = components;
  c.in_color_space = space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  TBytes row;
  for (int x = 0; x < w; ++x) row.insert(row.end(), pixel.begin(), pixel.end());
  while (c.next_scanline < c.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  TBytes out(buffer, buffer + size);
  jpeg_destroy_compress(&c);
  std::free(buffer);
  return out;
}

TEST(JpegFile, DecodesTo24BitWithinLossyTolerance) {
  const TBitmap original = Smooth(40, 24);
  const TBitmap loaded = LoadJpegFromMemory(SaveJpegToMemory(original, 95));
  EXPECT_EQ(loaded.PixelFormat(), TPixelFormat::pf24bit);
  ASSERT_EQ(loaded.Width(), 40);
  ASSERT_EQ(loaded.Height(), 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 40; ++x) {
      const auto a = static_cast<COLORREF>(original.Pixel(x, y)), b = static_cast<COLORREF>(loaded.Pixel(x, y));
      ASSERT_NEAR(GetRValue(a), GetRValue(b), 8);
      ASSERT_NEAR(GetGValue(a), GetGValue(b), 8);
      ASSERT_NEAR(GetBValue(a), GetBValue(b), 8);
    }
}

TEST(JpegFile, GrayProgressiveAndCmyk) {
  const TBitmap gray = LoadJpegFromMemory(WriteJpeg(16, 8, JCS_GRAYSCALE, 1, {90}, false));
  EXPECT_EQ(gray.Pixel(3, 3), static_cast<TColor>(RGB(90, 90, 90)));
  const TBitmap progressive = LoadJpegFromMemory(WriteJpeg(16, 16, JCS_RGB, 3, {200, 30, 60}, true));
  const auto c = static_cast<COLORREF>(progressive.Pixel(5, 5));
  EXPECT_NEAR(GetRValue(c), 200, 3);
  EXPECT_NEAR(GetGValue(c), 30, 3);
  EXPECT_NEAR(GetBValue(c), 60, 3);
  // CMYK files carry the Adobe marker and store inverted inks: full cyan and yellow
  // without black (stored 0, 255, 0, 255) is green.
  const TBitmap cmyk = LoadJpegFromMemory(WriteJpeg(8, 8, JCS_CMYK, 4, {0, 255, 0, 255}, false));
  const auto g = static_cast<COLORREF>(cmyk.Pixel(2, 2));
  EXPECT_LE(GetRValue(g), 4);
  EXPECT_GE(GetGValue(g), 250);
  EXPECT_LE(GetBValue(g), 4);
}

TEST(JpegFile, MalformedFilesAreRefused) {
  const TBytes good = SaveJpegToMemory(Smooth(24, 16), 80);
  for (std::size_t n = 0; n + 2 < good.size(); n += (n < 400 ? 1 : 7))
    ExpectRefused(LoadJpegFromMemory, TBytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
  // Patch the frame header to 65000 × 65000.
  TBytes huge = good;
  for (std::size_t i = 2; i + 8 < huge.size(); ++i)
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = 0xFD, huge[i + 6] = 0xE8, huge[i + 7] = 0xFD, huge[i + 8] = 0xE8;
      break;
    }
  EXPECT_EQ(ErrorOf<EOutOfResources>([&] { LoadJpegFromMemory(huge); }),
            "JPEG image of 65000 x 65000 pixels is larger than the allowed 16384 x 16384");
  TBytes garbage(300, 0x5A);
  garbage[0] = 0xFF, garbage[1] = 0xD8, garbage[2] = 0xFF;
  try {
    LoadJpegFromMemory(garbage);
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message().rfind("JPEG image could not be decoded: ", 0), 0u) << e.Message();
  }
  EXPECT_THROW(LoadJpegFromMemory(TBytes{0xFF}), EInvalidGraphic);
}

// --- everything ------------------------------------------------------------------------

TEST(ImageFile, RandomCorruptionNeverEscapes) {
  const std::vector<TBytes> seeds = {SaveBmpToMemory(RandomBitmap(9, 7, TPixelFormat::pf4bit, false, 8)),
                                     SaveBmpToMemory(RandomBitmap(5, 3, TPixelFormat::pf32bit, true, 9), true),
                                     SavePngToMemory(RandomBitmap(9, 7, TPixelFormat::pf32bit, false, 10)),
                                     SaveJpegToMemory(Smooth(17, 9), 70)};
  std::mt19937 rng(2024);
  for (const TBytes& seed : seeds)
    for (int round = 0; round < 300; ++round) {
      TBytes data = seed;
      const int flips = 1 + static_cast<int>(rng() % 8);
      for (int k = 0; k < flips; ++k) data[rng() % data.size()] = static_cast<std::uint8_t>(rng());
      try {
        const TBitmap b = LoadImageFromMemory(data);
        EXPECT_FALSE(b.Empty());
      } catch (const EInvalidGraphic&) {
      } catch (const EOutOfResources&) {
      }
    }
}

TEST(ImageFile, DetectsFormatsAndReadsFiles) {
  const TBitmap b = RandomBitmap(3, 2, TPixelFormat::pf24bit, false, 11);
  EXPECT_EQ(DetectImageFormat(SaveBmpToMemory(b)), TImageFormat::Bmp);
  EXPECT_EQ(DetectImageFormat(SavePngToMemory(b)), TImageFormat::Png);
  EXPECT_EQ(DetectImageFormat(SaveJpegToMemory(b)), TImageFormat::Jpeg);
  EXPECT_EQ(DetectImageFormat(TBytes{'G', 'I', 'F'}), TImageFormat::Unknown);
  EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { LoadImageFromMemory(TBytes{'G', 'I', 'F', '8'}); }),
            "Unknown picture file format");
  const auto dir = std::filesystem::temp_directory_path() / ("gfx_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "shot.png").string();
  SavePngToFile(b, path);
  ExpectSamePixels(LoadImageFromFile(path), b);
  SaveBmpToFile(b, (dir / "a.bmp").string());
  ExpectSamePixels(LoadBmpFromFile((dir / "a.bmp").string()), b);
  EXPECT_THROW(LoadImageFromFile((dir / "missing.png").string()), EFileError);
  EXPECT_THROW(SavePngToFile(b, (dir / "no" / "such" / "dir.png").string()), EFileError);
  std::filesystem::remove_all(dir);
}

}  // namespace
