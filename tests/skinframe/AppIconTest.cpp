// The program's icon: the pictures at every installed size and the scalable one
// come from one list of shapes, so they show the same book on the same tile.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "skin/frame/acAppIcon.h"

namespace {

struct TPixel {
  int R, G, B, A;
};

TPixel At(const TBitmap& icon, double u, double v) {
  const int x = static_cast<int>(u * icon.Width()), y = static_cast<int>(v * icon.Height());
  const std::uint8_t* p = icon.ScanLine(y) + x * 4;
  return {p[2], p[1], p[0], p[3]};
}

TEST(AppIconTest, EverySizeShowsTheBookOnTheTile) {
  for (int size : {16, 32, 48, 64, 128, 256}) {
    const TBitmap icon = DrawTextbookIcon(size);
    ASSERT_EQ(icon.Width(), size);
    ASSERT_EQ(icon.Height(), size);
    // Rounded corners are see-through, the tile inside opaque.
    EXPECT_EQ(At(icon, 0.0, 0.0).A, 0) << size;
    EXPECT_EQ(At(icon, 0.99, 0.99).A, 0) << size;
    const TPixel tile = At(icon, 0.1, 0.5);
    EXPECT_EQ(tile.A, 255) << size;
    EXPECT_GT(tile.B, tile.R) << size << ": the tile is blue";
    if (size < 48) continue;  // the smaller ones blend the thin parts
    const TPixel leftPage = At(icon, 0.18, 0.5), rightPage = At(icon, 0.82, 0.5), spine = At(icon, 0.5, 0.5);
    EXPECT_EQ(leftPage.R + leftPage.G + leftPage.B, 3 * 255) << size;
    EXPECT_EQ(rightPage.R, 0xD0) << size;
    EXPECT_LT(spine.R + spine.G + spine.B, 3 * 0x60) << size << ": the navy spine";
  }
}

TEST(AppIconTest, TheScalableIconHoldsEveryShapeInOrder) {
  const std::string svg = TextbookIconSvg();
  EXPECT_TRUE(svg.starts_with("<?xml")) << svg;
  EXPECT_NE(svg.find("viewBox=\"0 0 256 256\""), std::string::npos);
  EXPECT_TRUE(svg.ends_with("</svg>\n"));
  size_t at = 0;
  for (const TIconShape& shape : TextbookIconShapes()) {
    char fill[16];
    std::snprintf(fill, sizeof fill, "#%06X", shape.Rgb);
    const char* element = shape.Kind == TIconShape::TKind::RoundRect ? "<rect " : "<polygon ";
    at = svg.find(element, at);
    ASSERT_NE(at, std::string::npos) << fill;
    const size_t end = svg.find("/>", at);
    EXPECT_NE(svg.substr(at, end - at).find(fill), std::string::npos) << fill;
    at = end;
  }
  EXPECT_EQ(svg.find("<", at), svg.find("</svg>")) << "nothing but the shapes";
}

}  // namespace
