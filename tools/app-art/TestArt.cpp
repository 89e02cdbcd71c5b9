#include <cmath>

#include "tools/app-art/ArtPalette.h"
#include "tools/app-art/Pictures.h"

namespace appart {

namespace {

// A card of paper with a soft shadow, the common ground of the three pictures.
void Card(TArtCanvas& c, double l, double t, double r, double b, double k) {
  c.Fill(Offset(RoundRect(l, t, r, b, 8 * k), 0, 3 * k), Rgb(kNavy), 0.22, 7 * k);
  c.Fill(RoundRect(l, t, r, b, 8 * k), Linear(0, t, Rgb(kWhite), 0, b, Rgb(0xF3F1E6)));
  c.Fill(Outline(RoundRect(l + 0.5, t + 0.5, r - 0.5, b - 0.5, 8 * k), 1.2), Rgb(kSteel), 0.9);
}

void Pencil(TArtCanvas& c, double x0, double y0, double x1, double y1, double k) {
  // From the tip (x0, y0) to the end (x1, y1).
  const double len = std::hypot(x1 - x0, y1 - y0), ux = (x1 - x0) / len, uy = (y1 - y0) / len;
  const double nx = -uy, ny = ux, hw = 6 * k, tip = 16 * k;
  const double bx = x0 + ux * tip, by = y0 + uy * tip;
  c.Fill(Offset(Capsule(bx, by, x1, y1, hw), 2 * k, 3 * k), Rgb(kNavy), 0.2, 4 * k);
  c.Fill(Polygon({bx + nx * hw, by + ny * hw, x1 + nx * hw, y1 + ny * hw, x1 - nx * hw, y1 - ny * hw, bx - nx * hw, by - ny * hw}),
         Linear(bx + nx * hw, by + ny * hw, Rgb(0xF6C955), bx - nx * hw, by - ny * hw, Rgb(0xD99A1E)));
  c.Fill(Capsule(bx, by, x1, y1, 1.2 * k), Rgb(kWhite), 0.35);
  const double ex = x1 - ux * 9 * k, ey = y1 - uy * 9 * k;
  c.Fill(Polygon({ex + nx * hw, ey + ny * hw, x1 + nx * hw, y1 + ny * hw, x1 - nx * hw, y1 - ny * hw, ex - nx * hw, ey - ny * hw}),
         Rgb(kSteel));
  c.Fill(Polygon({bx + nx * hw, by + ny * hw, x0, y0, bx - nx * hw, by - ny * hw}), Rgb(0xEBD9B4));
  const double gx = x0 + ux * 6 * k, gy = y0 + uy * 6 * k;
  c.Fill(Polygon({gx + nx * hw * 0.38, gy + ny * hw * 0.38, x0, y0, gx - nx * hw * 0.38, gy - ny * hw * 0.38}), Rgb(kNavy));
}

void Tick(TArtCanvas& c, double x, double y, double k, unsigned color) {
  c.Fill(Capsule(x, y, x + 4 * k, y + 4 * k, 1.7 * k), Rgb(color));
  c.Fill(Capsule(x + 4 * k, y + 4 * k, x + 11 * k, y - 5 * k, 1.7 * k), Rgb(color));
}

void Taking(TArtCanvas& c, double k) {
  // A clipboard with the answers being ticked, a pencil at work.
  c.Fill(Offset(RoundRect(18 * k, 14 * k, 104 * k, 122 * k, 9 * k), 0, 3 * k), Rgb(kNavy), 0.25, 7 * k);
  c.Fill(RoundRect(18 * k, 14 * k, 104 * k, 122 * k, 9 * k), Linear(0, 14 * k, Rgb(kHotBlue), 0, 122 * k, Rgb(kDeepBlue)));
  c.Fill(RoundRect(26 * k, 24 * k, 96 * k, 114 * k, 4 * k), Rgb(kPage));
  c.Fill(RoundRect(42 * k, 7 * k, 80 * k, 26 * k, 5 * k), Linear(0, 7 * k, Rgb(kSteel), 0, 26 * k, Rgb(kInk)));
  c.Fill(Circle(61 * k, 13 * k, 3 * k), Rgb(kPaleSky));
  for (int i = 0; i < 4; ++i) {
    const double yy = (42 + 18 * i) * k;
    c.Fill(RoundRect(33 * k, yy - 6 * k, 45 * k, yy + 6 * k, 2.5 * k), Rgb(kWhite));
    c.Fill(Outline(RoundRect(33 * k, yy - 6 * k, 45 * k, yy + 6 * k, 2.5 * k), 1.4 * k), Rgb(kSteel));
    if (i < 3) Tick(c, 35 * k, yy - 0.5 * k, k, kHotBlue);
    c.Fill(Capsule(52 * k, yy - 2 * k, (i == 3 ? 70 : 86) * k, yy - 2 * k, 1.8 * k), Rgb(kSteel), 0.75);
    c.Fill(Capsule(52 * k, yy + 3.5 * k, (i % 2 ? 74 : 80) * k, yy + 3.5 * k, 1.3 * k), Rgb(kBar), 0.9);
  }
  Pencil(c, 76 * k, 100 * k, 118 * k, 58 * k, k);
}

void Results(TArtCanvas& c, double k) {
  // A chart of growing bars and a round badge with a star.
  Card(c, 10 * k, 20 * k, 112 * k, 116 * k, k);
  c.Fill(Capsule(24 * k, 100 * k, 98 * k, 100 * k, 1 * k), Rgb(kSteel));
  for (int g = 1; g < 4; ++g) c.Fill(Capsule(24 * k, (100 - 18 * g) * k, 98 * k, (100 - 18 * g) * k, 0.5 * k), Rgb(kBar), 0.9);
  const double heights[] = {22, 38, 30, 56};
  for (int i = 0; i < 4; ++i) {
    const double l = (28 + 18 * i) * k, r = l + 12 * k, t = (99 - heights[i]) * k;
    const unsigned top = i == 3 ? kHotBlue : kPanelTop, bottom = i == 3 ? kDeepBlue : kButtonBlue;
    c.Fill(RoundRect(l, t, r, 99.5 * k, 2.5 * k), Linear(0, t, Rgb(top), 0, 99 * k, Rgb(bottom)));
    c.Fill(RoundRect(l + 2 * k, t + 2 * k, l + 4.5 * k, 97 * k, 1.2 * k), Rgb(kWhite), 0.3);
  }
  c.Fill(Capsule(22 * k, 32 * k, 52 * k, 32 * k, 2 * k), Rgb(kInk), 0.8);
  // The badge.
  const double bx = 98 * k, by = 34 * k, br = 22 * k;
  c.Fill(Offset(Circle(bx, by, br), 0, 2.5 * k), Rgb(kNavy), 0.25, 6 * k);
  c.Fill(Circle(bx, by, br), Radial(bx - 6 * k, by - 7 * k, br * 1.6, Rgb(0xFFE08A), Rgb(0xE09A12)));
  c.Fill(Outline(Circle(bx, by, br - 3.5 * k), 1.2 * k), Rgb(kWhite), 0.7);
  std::vector<double> star;
  for (int i = 0; i < 10; ++i) {
    const double a = -3.14159265 / 2 + i * 3.14159265 / 5, r = (i % 2 ? 5.6 : 13) * k;
    star.push_back(bx + r * std::cos(a));
    star.push_back(by + 1 * k + r * std::sin(a));
  }
  c.Fill(Polygon(star), Rgb(kWhite));
}

void Editing(TArtCanvas& c, double k) {
  // A question sheet with a folded corner, a question mark and a pen.
  const double l = 16 * k, t = 10 * k, r = 96 * k, b = 118 * k, fold = 20 * k;
  const TArtShape sheet = Polygon({l, t, r - fold, t, r, t + fold, r, b, l, b});
  c.Fill(Offset(sheet, 0, 3 * k), Rgb(kNavy), 0.22, 7 * k);
  c.Fill(sheet, Linear(0, t, Rgb(kWhite), 0, b, Rgb(0xF3F1E6)));
  c.Fill(Outline(sheet, 1.4 * k), Rgb(kSteel));
  c.Fill(Polygon({r - fold, t, r, t + fold, r - fold, t + fold}), Rgb(kPanel));
  c.Fill(Outline(Polygon({r - fold, t, r, t + fold, r - fold, t + fold}), 1.2 * k), Rgb(kSteel));
  // The question in a blue circle.
  c.Fill(Circle(44 * k, 42 * k, 17 * k), Linear(0, 25 * k, Rgb(kHotBlue), 0, 59 * k, Rgb(kDeepBlue)));
  c.Text(36 * k, 25 * k, "?", {"Palatino Linotype", static_cast<int>(30 * k), true, false}, Solid(Rgb(kWhite)));
  c.Fill(Capsule(66 * k, 36 * k, 84 * k, 36 * k, 1.8 * k), Rgb(kSteel), 0.8);
  c.Fill(Capsule(66 * k, 46 * k, 78 * k, 46 * k, 1.4 * k), Rgb(kBar));
  for (int i = 0; i < 4; ++i) {
    const double yy = (72 + 11 * i) * k;
    c.Fill(Circle(28 * k, yy, 3.2 * k), i == 1 ? Rgb(kHotBlue) : Rgb(kBar));
    c.Fill(Capsule(37 * k, yy, (i == 2 ? 62 : 78) * k, yy, 1.5 * k), Rgb(kSteel), 0.7);
  }
  Pencil(c, 64 * k, 112 * k, 120 * k, 52 * k, k);
}

}  // namespace

TArtCanvas PaintTestPicture(TTestIcon icon, int size) {
  TArtCanvas c(size, size);
  const double k = size / 128.0;
  switch (icon) {
    case TTestIcon::Taking: Taking(c, k); break;
    case TTestIcon::Results: Results(c, k); break;
    case TTestIcon::Editing: Editing(c, k); break;
  }
  return c;
}

}  // namespace appart
