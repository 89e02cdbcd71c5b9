#include <algorithm>
#include <cmath>

#include "tools/app-art/ArtPalette.h"
#include "tools/app-art/Pictures.h"

namespace appart {

namespace {

// Icons are drawn in a square of side d at (x, y), in the deep blues of the skin
// with white detail, so they read on the normal, hot and pressed faces alike.
void IconLessons(TArtCanvas& c, double x, double y, double d) {
  const double k = d / 26.0, mx = x + d / 2;
  const TArtPaint blue = Linear(0, y, Rgb(kHotBlue), 0, y + d, Rgb(kDeepBlue));
  c.Fill(Polygon({mx, y + 6 * k, x + 1 * k, y + 3 * k, x + 1 * k, y + 21 * k, mx, y + 24 * k}), blue);
  c.Fill(Polygon({mx, y + 6 * k, x + d - 1 * k, y + 3 * k, x + d - 1 * k, y + 21 * k, mx, y + 24 * k}), blue);
  c.Fill(Polygon({mx - 1 * k, y + 7.5 * k, x + 3 * k, y + 5.2 * k, x + 3 * k, y + 19.6 * k, mx - 1 * k, y + 22 * k}), Rgb(kPage));
  c.Fill(Polygon({mx + 1 * k, y + 7.5 * k, x + d - 3 * k, y + 5.2 * k, x + d - 3 * k, y + 19.6 * k, mx + 1 * k, y + 22 * k}), Rgb(kPage));
  for (int i = 0; i < 3; ++i) {
    const double yy = y + (10 + 4 * i) * k;
    c.Fill(Capsule(x + 5.5 * k, yy - 0.8 * k, mx - 3.5 * k, yy + 0.3 * k, 0.7 * k), Rgb(kSteel), 0.8);
    c.Fill(Capsule(mx + 3.5 * k, yy + 0.3 * k, x + d - 5.5 * k, yy - 0.8 * k, 0.7 * k), Rgb(kSteel), 0.8);
  }
}

void IconVideo(TArtCanvas& c, double x, double y, double d) {
  const double k = d / 26.0;
  const TArtShape screen = RoundRect(x + 1 * k, y + 4 * k, x + d - 1 * k, y + 22 * k, 3.5 * k);
  c.Fill(screen, Linear(0, y + 4 * k, Rgb(kHotBlue), 0, y + 22 * k, Rgb(kDeepBlue)));
  for (int i = 0; i < 4; ++i) {  // film perforations along the top and bottom
    const double xx = x + (5 + 5.4 * i) * k;
    c.Fill(RoundRect(xx, y + 5.5 * k, xx + 2.6 * k, y + 7.3 * k, 0.6 * k), Rgb(kWhite), 0.55);
    c.Fill(RoundRect(xx, y + 18.7 * k, xx + 2.6 * k, y + 20.5 * k, 0.6 * k), Rgb(kWhite), 0.55);
  }
  c.Fill(Polygon({x + 10.5 * k, y + 9 * k, x + 17.5 * k, y + 13 * k, x + 10.5 * k, y + 17 * k}), Rgb(kWhite));
}

void IconTests(TArtCanvas& c, double x, double y, double d) {
  const double k = d / 26.0;
  c.Fill(RoundRect(x + 3 * k, y + 2.5 * k, x + d - 3 * k, y + d - 0.5 * k, 3 * k), Linear(0, y, Rgb(kHotBlue), 0, y + d, Rgb(kDeepBlue)));
  c.Fill(RoundRect(x + 5.5 * k, y + 5.5 * k, x + d - 5.5 * k, y + d - 3 * k, 1.5 * k), Rgb(kPage));
  c.Fill(RoundRect(x + 9 * k, y + 1 * k, x + d - 9 * k, y + 6 * k, 1.5 * k), Rgb(kInk));
  for (int i = 0; i < 3; ++i) {
    const double yy = y + (10.5 + 4.6 * i) * k;
    c.Fill(Capsule(x + 8 * k, yy, x + 9.6 * k, yy + 1.5 * k, 0.8 * k), Rgb(kHotBlue));
    c.Fill(Capsule(x + 9.6 * k, yy + 1.5 * k, x + 12 * k, yy - 1.5 * k, 0.8 * k), Rgb(kHotBlue));
    c.Fill(Capsule(x + 14 * k, yy, x + d - 8.5 * k, yy, 0.7 * k), Rgb(kSteel), 0.9);
  }
}

void IconExtra(TArtCanvas& c, double x, double y, double d) {
  // A laboratory flask: the practical works.
  const double k = d / 26.0, mx = x + d / 2;
  const TArtShape flask = Union(RoundRect(mx - 3.2 * k, y + 1.5 * k, mx + 3.2 * k, y + 10 * k, 0.8 * k),
                                Polygon({mx - 3.2 * k, y + 9 * k, mx + 3.2 * k, y + 9 * k, x + d - 2.5 * k, y + 21.5 * k, x + d - 4 * k,
                                         y + 24.5 * k, x + 4 * k, y + 24.5 * k, x + 2.5 * k, y + 21.5 * k}));
  c.Fill(flask, Rgb(kPage));
  const TArtShape liquid = Intersect(flask, RoundRect(x, y + 15 * k, x + d, y + d, 0));
  c.Fill(liquid, Linear(0, y + 15 * k, Rgb(kHotBlue), 0, y + 25 * k, Rgb(kDeepBlue)));
  c.Fill(Outline(flask, 1.8 * k), Rgb(kDeepBlue));
  c.Fill(RoundRect(mx - 5 * k, y + 0.8 * k, mx + 5 * k, y + 3.2 * k, 1 * k), Rgb(kInk));
  c.Fill(Circle(mx - 2.5 * k, y + 19 * k, 1.3 * k), Rgb(kWhite), 0.85);
  c.Fill(Circle(mx + 2.8 * k, y + 21 * k, 0.9 * k), Rgb(kWhite), 0.75);
  c.Fill(Circle(mx + 0.5 * k, y + 12.5 * k, 1.0 * k), Rgb(kSky), 0.9);
}

void IconAccounts(TArtCanvas& c, double x, double y, double d) {
  const double k = d / 26.0;
  const TArtPaint back = Linear(0, y, Rgb(kPanelTop), 0, y + d, Rgb(kButtonBlue));
  const TArtPaint front = Linear(0, y, Rgb(kHotBlue), 0, y + d, Rgb(kDeepBlue));
  // A second person behind the first.
  c.Fill(Circle(x + 17.5 * k, y + 7.5 * k, 4.2 * k), back);
  c.Fill(Intersect(Ellipse(x + 17.5 * k, y + 22 * k, 8 * k, 8 * k), RoundRect(x, y, x + d, y + 22 * k, 0)), back);
  c.Fill(Outline(Circle(x + 10 * k, y + 9 * k, 5 * k), 2.4 * k), Rgb(kWhite), 0.9);
  c.Fill(Circle(x + 10 * k, y + 9 * k, 5 * k), front);
  const TArtShape body = Intersect(Ellipse(x + 10 * k, y + 25 * k, 9.5 * k, 9.5 * k), RoundRect(x, y, x + d, y + 25 * k, 0));
  c.Fill(Outline(body, 2.4 * k), Rgb(kWhite), 0.9);
  c.Fill(body, front);
}

void IconAbout(TArtCanvas& c, double x, double y, double d) {
  const double k = d / 26.0, cx = x + d / 2, cy = y + d / 2;
  c.Fill(Circle(cx, cy, 12 * k), Linear(0, y, Rgb(kHotBlue), 0, y + d, Rgb(kDeepBlue)));
  c.Fill(Circle(cx, cy - 6 * k, 1.9 * k), Rgb(kWhite));
  c.Fill(RoundRect(cx - 1.7 * k, cy - 2.5 * k, cx + 1.7 * k, cy + 7.5 * k, 0.8 * k), Rgb(kWhite));
}

}  // namespace

TArtCanvas PaintButtonFace(TFaceIcon icon, const std::string& word, int width, int height, int fontHeight) {
  TArtCanvas c(width, height);
  const TArtFont font{"Palatino Linotype", fontHeight, true, false};
  const TSize text = TArtCanvas::TextSize(word, font);
  const double iconSize = std::min(height - 8.0, fontHeight * 1.55);
  const double gap = std::round(fontHeight * 0.5);
  const double total = iconSize + gap + text.cx;
  const double x = std::round((width - total) / 2), iy = std::round((height - iconSize) / 2);
  switch (icon) {
    case TFaceIcon::Lessons: IconLessons(c, x, iy, iconSize); break;
    case TFaceIcon::Video: IconVideo(c, x, iy, iconSize); break;
    case TFaceIcon::Tests: IconTests(c, x, iy, iconSize); break;
    case TFaceIcon::Extra: IconExtra(c, x, iy, iconSize); break;
    case TFaceIcon::Accounts: IconAccounts(c, x, iy, iconSize); break;
    case TFaceIcon::About: IconAbout(c, x, iy, iconSize); break;
  }
  // The word sits on the icon's middle; a faint light edge below lifts it off the face.
  const double ty = std::round((height - text.cy) / 2.0);
  c.Text(x + iconSize + gap, ty + 1, word, font, Solid(Rgb(kWhite)), 0.45);
  c.Text(x + iconSize + gap, ty, word, font, Solid(Rgb(kNavy)));
  return c;
}

}  // namespace appart
