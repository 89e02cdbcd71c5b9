#include <cmath>

#include "tools/app-art/ArtPalette.h"
#include "tools/app-art/Pictures.h"
#include "tools/app-art/Scene.h"

namespace appart {

namespace {

void PaintTitle(TArtCanvas& c, double x, double y, double s, bool twoLines, bool subtitleLine = true) {
  const TArtFont title{"Palatino Linotype", static_cast<int>(std::lround(54 * s)), true, false};
  const TArtFont subtitle{"Palatino Linotype", static_cast<int>(std::lround(21 * s)), false, true};
  const TArtPaint ink = Linear(0, y, Rgb(kInk), 0, y + 130 * s, Rgb(kNavy));
  double bottom = y;
  if (twoLines) {
    // A soft white halo keeps the words clear of the grid behind them.
    c.Text(x + 1, y + 2, "Электронный", title, Solid(Rgb(kWhite)), 0.8);
    c.Text(x, y, "Электронный", title, ink);
    const TSize second = c.Text(x + 1, y + 58 * s + 2, "учебник", title, Solid(Rgb(kWhite)), 0.8);
    c.Text(x, y + 58 * s, "учебник", title, ink);
    bottom = y + 58 * s + second.cy;
  } else {
    const TSize size = c.Text(x + 1, y + 1, "Электронный учебник", title, Solid(Rgb(kWhite)), 0.8);
    c.Text(x, y, "Электронный учебник", title, ink);
    bottom = y + size.cy;
  }
  // An accent rule and the subtitle.
  const double ry = bottom + 8 * s;
  c.Fill(Capsule(x + 3 * s, ry, x + 64 * s, ry, 2.2 * s), Rgb(kHotBlue));
  c.Fill(Circle(x + 76 * s, ry, 2.4 * s), Rgb(kAmber));
  if (subtitleLine) c.Text(x + 2 * s, ry + 10 * s, "уроки · практика · видео · тесты", subtitle, Solid(Rgb(kInk)));
}

}  // namespace

TArtCanvas PaintCover(int width, int height) {
  // The strip covers the last 113 rows of the client area; everything that
  // matters stays above it, and the top right corner is left to the about button.
  TArtCanvas c(width, height);
  const double deskY = 398;
  PaintSkyAndDesk(c, deskY, 24);
  PaintBackdropShapes(c, 1.0, 0, 0);
  PaintTitle(c, 54, 62, 1.0, true);
  PaintBookStack(c, 60, deskY, 1.0);
  PaintGlobe(c, 455, 306, 64, deskY);
  PaintMonitor(c, 566, 176, 250, 168, deskY);
  PaintOpenBook(c, 690, 430, 0.62);
  PaintRuler(c, 96, 436, 250, -0.025);
  return c;
}

TArtCanvas PaintAboutBanner(int width, int height) {
  TArtCanvas c(width, height);
  const double deskY = height - 22;
  PaintSkyAndDesk(c, deskY, 12);
  c.Fill(Circle(285, 64, 88), Radial(285, 64, 88, Rgb(kWhite), Rgb(kPaleSky)), 0.55);
  c.Fill(Outline(Circle(285, 64, 98), 1), Rgb(kWhite), 0.75);
  PaintTitle(c, 16, 12, 0.46, true, false);
  PaintBookStack(c, 18, deskY, 0.38);
  PaintGlobe(c, 203, 86, 27, deskY);
  PaintMonitor(c, 245, 36, 110, 74, deskY);
  return c;
}

}  // namespace appart
