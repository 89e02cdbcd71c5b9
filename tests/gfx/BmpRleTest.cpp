// Run-length compressed BMP files (8 and 4 bits per pixel).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/gfx/ImageFile.h"

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 0; s < 32; s += 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// Palette entries 0..3: black, red, green, blue.
std::vector<std::uint8_t> RleFile(int width, int height, int bits, std::uint32_t compression,
                                  const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out{'B', 'M'};
  const std::uint32_t offBits = 14 + 40 + 4 * 4;
  Put32(out, offBits + static_cast<std::uint32_t>(data.size()));
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bits));
  Put32(out, compression);
  Put32(out, static_cast<std::uint32_t>(data.size()));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 4);
  Put32(out, 0);
  const std::uint8_t palette[16] = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
  out.insert(out.end(), palette, palette + 16);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

constexpr TColor kBlack = 0x000000, kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

TEST(BmpRle, EightBitRunsLiteralsAndLineEnds) {
  // Bottom row: two red, two green. Top row: literal blue, green, red, black.
  const auto file = RleFile(4, 2, 8, 1, {2, 1, 2, 2, 0, 0, 0, 4, 3, 2, 1, 0, 0, 1});
  const TBitmap b = LoadBmpFromMemory(file);
  ASSERT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Pixel(0, 1), kRed);
  EXPECT_EQ(b.Pixel(1, 1), kRed);
  EXPECT_EQ(b.Pixel(2, 1), kGreen);
  EXPECT_EQ(b.Pixel(3, 1), kGreen);
  EXPECT_EQ(b.Pixel(0, 0), kBlue);
  EXPECT_EQ(b.Pixel(3, 0), kBlack);
}

TEST(BmpRle, FourBitNibblesAlternateAndLiteralsPadToWords) {
  // Bottom row: run of 4 alternating 1, 2; top row: literal of 3 (two bytes, pad to 2).
  const auto file = RleFile(4, 2, 4, 2, {4, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 1});
  const TBitmap b = LoadBmpFromMemory(file);
  EXPECT_EQ(b.Pixel(0, 1), kRed);
  EXPECT_EQ(b.Pixel(1, 1), kGreen);
  EXPECT_EQ(b.Pixel(2, 1), kRed);
  EXPECT_EQ(b.Pixel(3, 1), kGreen);
  EXPECT_EQ(b.Pixel(0, 0), kBlue);
  EXPECT_EQ(b.Pixel(1, 0), kGreen);
  EXPECT_EQ(b.Pixel(2, 0), kRed);
  EXPECT_EQ(b.Pixel(3, 0), kBlack);  // never written: palette entry 0
}

TEST(BmpRle, DeltasSkipPixelsAndRunsAreCutAtTheEdge) {
  // Run of 9 reds on a 4-wide row, a line end, a move of one to the right, a green.
  const auto file = RleFile(4, 2, 8, 1, {9, 1, 0, 0, 0, 2, 1, 0, 1, 2, 0, 1});
  const TBitmap b = LoadBmpFromMemory(file);
  EXPECT_EQ(b.Pixel(3, 1), kRed);
  EXPECT_EQ(b.Pixel(0, 1), kRed);
  EXPECT_EQ(b.Pixel(0, 0), kBlack);  // skipped by the move
  EXPECT_EQ(b.Pixel(1, 0), kGreen);
  // A move beyond the last row ends the picture.
  EXPECT_EQ(LoadBmpFromMemory(RleFile(4, 2, 8, 1, {0, 2, 0, 5, 1, 2})).Pixel(0, 1), kBlack);
}

TEST(BmpRle, MalformedRunLengthFilesAreRefused) {
  EXPECT_THROW(LoadBmpFromMemory(RleFile(4, 2, 4, 1, {0, 1})), EInvalidGraphic);   // RLE8 with 4 bits
  EXPECT_THROW(LoadBmpFromMemory(RleFile(4, -2, 8, 1, {0, 1})), EInvalidGraphic);  // top-down
  EXPECT_THROW(LoadBmpFromMemory(RleFile(4, 2, 8, 1, {0, 4, 1})), EInvalidGraphic);  // literal cut short
  // Data ending without the end marker keeps what was decoded.
  EXPECT_EQ(LoadBmpFromMemory(RleFile(4, 2, 8, 1, {4, 3})).Pixel(2, 1), kBlue);
}

}  // namespace
