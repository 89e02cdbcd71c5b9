#include "tools/app-art/Scene.h"

#include <cmath>
#include <utility>
#include <vector>

#include "tools/app-art/ArtPalette.h"

namespace appart {

namespace {
TArtShape Rect(double l, double t, double r, double b) { return RoundRect(l, t, r, b, 0); }
}  // namespace

void PaintSkyAndDesk(TArtCanvas& c, double deskY, double gridStep) {
  const double w = c.Width(), h = c.Height();
  c.Fill(Rect(0, 0, w, deskY), Linear(0, 0, Rgb(0xB4D0EA), 0, deskY, Rgb(0xEDF4FA)));
  // Squared paper, as in an exercise book: fine lines, every fifth a little stronger.
  if (gridStep > 0) {
    int i = 0;
    for (double x = gridStep; x < w; x += gridStep, ++i)
      c.Fill(Rect(std::floor(x), 0, std::floor(x) + 1, deskY), Rgb(kWhite), (i % 5 == 4) ? 0.30 : 0.16);
    i = 0;
    for (double y = deskY - gridStep; y > 0; y -= gridStep, ++i)
      c.Fill(Rect(0, std::floor(y), w, std::floor(y) + 1), Rgb(kWhite), (i % 5 == 4) ? 0.30 : 0.16);
  }
  // The desk: warm paper tone, a bright front edge and a soft shade going down.
  c.Fill(Rect(0, deskY, w, h), Linear(0, deskY, Rgb(0xF1EEDF), 0, deskY + 90, Rgb(0xE2DDC8)));
  c.Fill(Rect(0, deskY, w, deskY + 1.5), Rgb(0xC9C2A6), 0.8);
  c.Fill(Rect(0, deskY + 1.5, w, deskY + 3), Rgb(kWhite), 0.7);
}

void PaintBackdropShapes(TArtCanvas& c, double s, double ox, double oy) {
  auto X = [&](double v) { return ox + v * s; };
  auto Y = [&](double v) { return oy + v * s; };
  // A big pale disc behind the screen and the globe, with a thin ring around it.
  c.Fill(Circle(X(640), Y(225), 205 * s), Radial(X(640), Y(225), 205 * s, Rgb(kWhite), Rgb(kPaleSky)), 0.55);
  c.Fill(Outline(Circle(X(640), Y(225), 232 * s), 1.4 * s), Rgb(kWhite), 0.75);
  // Smaller shapes: a sky disc, a ring, a triangle outline, a square turned on its corner.
  c.Fill(Circle(X(330), Y(74), 26 * s), Rgb(kSky), 0.30);
  c.Fill(Outline(Circle(X(392), Y(300), 40 * s), 2 * s), Rgb(kHotBlue), 0.16);
  c.Fill(Outline(Polygon({X(300), Y(150), X(372), Y(270), X(228), Y(270)}), 2.2 * s), Rgb(kButtonBlue), 0.18);
  c.Fill(Polygon({X(840), Y(300), X(862), Y(322), X(840), Y(344), X(818), Y(322)}), Rgb(kWhite), 0.55);
  // A dotted orbit across the sky.
  for (int i = 0; i < 24; ++i) {
    const double a = 3.35 + i * 0.075;
    c.Fill(Circle(X(640 + 300 * std::cos(a)), Y(225 + 120 * std::sin(a)), 2.2 * s), Rgb(kHotBlue), 0.35);
  }
}

void PaintDeskShadow(TArtCanvas& c, double cx, double cy, double rx, double ry, double opacity) {
  c.Fill(Ellipse(cx, cy, rx, ry), Rgb(kNavy), opacity, std::max(4.0, ry * 1.2));
}

void PaintGlobe(TArtCanvas& c, double cx, double cy, double r, double deskY) {
  const double s = r / 66.0;
  // Stand: a foot on the desk, a neck and a half meridian ring.
  PaintDeskShadow(c, cx, deskY + 2 * s, 48 * s, 5 * s);
  c.Fill(RoundRect(cx - 38 * s, deskY - 10 * s, cx + 38 * s, deskY + 1, 5 * s),
         Linear(0, deskY - 10 * s, Rgb(kButtonBlue), 0, deskY, Rgb(kInk)));
  c.Fill(RoundRect(cx - 5 * s, cy + r + 6 * s, cx + 5 * s, deskY - 8 * s, 2 * s),
         Linear(cx - 5 * s, 0, Rgb(kSteel), cx + 5 * s, 0, Rgb(kInk)));
  const TArtShape arc = Intersect(Outline(Circle(cx, cy, r + 9 * s), 5 * s), Rect(cx - r - 20 * s, cy - r - 20 * s, cx + 3 * s, cy + r + 20 * s));
  c.Fill(arc, Linear(cx - r, 0, Rgb(kSteel), cx, 0, Rgb(kButtonBlue)));
  // The sphere: sea, land, lines of latitude and longitude, light and shade.
  const TArtShape ball = Circle(cx, cy, r);
  c.Fill(ball, Radial(cx - r * 0.35, cy - r * 0.4, r * 1.5, Rgb(0x9FE0FC), Rgb(kHotBlue)));
  // Land: rounded outlines drawn in the globe's unit square.
  auto landmass = [&](std::vector<double> unit) {
    for (std::size_t i = 0; i < unit.size(); ++i) unit[i] = (i % 2 ? cy : cx) + unit[i] * r;
    const TArtShape outline = Polygon(std::move(unit));
    const double round = 0.05 * r;
    return TArtShape{[outline, round](double x, double y) { return outline.Distance(x, y) - round; },
                     {outline.Box.Left - round, outline.Box.Top - round, outline.Box.Right + round, outline.Box.Bottom + round}};
  };
  TArtShape land = landmass({-0.75, -0.55, -0.45, -0.70, -0.20, -0.62, -0.24, -0.42, -0.38, -0.24, -0.46, -0.06, -0.62, -0.14, -0.80, -0.32});
  land = Union(land, landmass({-0.45, 0.04, -0.26, 0.08, -0.18, 0.30, -0.30, 0.60, -0.40, 0.76, -0.46, 0.48, -0.54, 0.20}));
  land = Union(land, landmass({0.05, -0.60, 0.35, -0.72, 0.70, -0.55, 0.88, -0.30, 0.66, -0.18, 0.46, -0.24, 0.34, -0.06, 0.15, -0.16, 0.02, -0.36}));
  land = Union(land, landmass({0.10, 0.00, 0.38, 0.02, 0.48, 0.22, 0.36, 0.54, 0.26, 0.62, 0.18, 0.36, 0.05, 0.18}));
  land = Union(land, Ellipse(cx + 0.70 * r, cy + 0.50 * r, 0.13 * r, 0.08 * r));
  c.Fill(Intersect(land, ball), Rgb(kPaper), 0.95);
  for (double k : {-0.5, 0.0, 0.5}) {
    const double yy = cy + k * r, half = std::sqrt(1 - k * k) * r;
    c.Fill(Intersect(Outline(Ellipse(cx, yy, half, half * 0.16 + 1), 1.1 * s), ball), Rgb(kWhite), 0.45);
  }
  for (double k : {0.35, 0.75}) c.Fill(Intersect(Outline(Ellipse(cx, cy, r * k, r), 1.1 * s), ball), Rgb(kWhite), 0.45);
  c.Fill(Subtract(ball, Circle(cx - r * 0.18, cy - r * 0.18, r * 1.02)), Rgb(kNavy), 0.18);
  c.Fill(Ellipse(cx - r * 0.42, cy - r * 0.48, r * 0.22, r * 0.12), Rgb(kWhite), 0.55, 6 * s);
  c.Fill(Outline(ball, 1.2 * s), Rgb(kDeepBlue), 0.6);
  // The pin at the poles.
  c.Fill(Circle(cx + 0.5 * s, cy - r - 9 * s, 3.2 * s), Rgb(kInk));
  c.Fill(Circle(cx + 0.5 * s, cy + r + 9 * s, 3.2 * s), Rgb(kInk));
}

void PaintMonitor(TArtCanvas& c, double left, double top, double width, double height, double deskY) {
  const double s = width / 250.0;
  const double right = left + width, bottom = top + height, mid = (left + right) / 2;
  // Foot and neck.
  PaintDeskShadow(c, mid, deskY + 2 * s, 70 * s, 5 * s);
  c.Fill(Polygon({mid - 16 * s, bottom - 2, mid + 16 * s, bottom - 2, mid + 22 * s, deskY - 8 * s, mid - 22 * s, deskY - 8 * s}),
         Linear(mid - 22 * s, 0, Rgb(kSteel), mid + 22 * s, 0, Rgb(kButtonBlue)));
  c.Fill(RoundRect(mid - 56 * s, deskY - 10 * s, mid + 56 * s, deskY + 1, 5 * s),
         Linear(0, deskY - 10 * s, Rgb(kButtonBlue), 0, deskY, Rgb(kInk)));
  // Body and screen.
  c.Fill(Offset(RoundRect(left, top, right, bottom, 11 * s), 0, 4 * s), Rgb(kNavy), 0.18, 8 * s);
  c.Fill(RoundRect(left, top, right, bottom, 11 * s), Linear(0, top, Rgb(kInk), 0, bottom, Rgb(kNavy)));
  c.Fill(Outline(RoundRect(left + 1, top + 1, right - 1, bottom - 1, 10 * s), 1.2), Rgb(kWhite), 0.18);
  const double sl = left + 10 * s, st = top + 10 * s, sr = right - 10 * s, sb = bottom - 14 * s;
  c.Fill(RoundRect(sl, st, sr, sb, 3 * s), Linear(0, st, Rgb(0x5FA8E6), 0, sb, Rgb(kPanelBottom)));
  c.Fill(Circle(mid, bottom - 7 * s, 2 * s), Rgb(kSky), 0.8);
  // The lesson page on the screen: a window with a title band, lines of text and a figure.
  const double pl = sl + 14 * s, pt = st + 12 * s, pr = sr - 14 * s, pb = sb - 10 * s;
  c.Fill(Offset(RoundRect(pl, pt, pr, pb, 4 * s), 0, 2 * s), Rgb(kNavy), 0.25, 4 * s);
  c.Fill(RoundRect(pl, pt, pr, pb, 4 * s), Rgb(kPage));
  c.Fill(Intersect(RoundRect(pl, pt, pr, pb, 4 * s), Rect(pl, pt, pr, pt + 14 * s)),
         Linear(0, pt, Rgb(kPanelTop), 0, pt + 14 * s, Rgb(kPanelBottom)));
  for (int i = 0; i < 3; ++i) c.Fill(Circle(pr - (8 + 9 * i) * s, pt + 7 * s, 2.6 * s), Rgb(kWhite), 0.85);
  const double tl = pl + 12 * s, tw = (pr - pl) * 0.48;
  c.Fill(Capsule(tl, pt + 26 * s, tl + tw * 0.7, pt + 26 * s, 3.2 * s), Rgb(kDeepBlue), 0.9);
  for (int i = 0; i < 5; ++i) {
    const double yy = pt + (40 + 11 * i) * s;
    if (yy > pb - 8 * s) break;
    c.Fill(Capsule(tl, yy, tl + tw * (i == 4 ? 0.6 : 1.0), yy, 2 * s), Rgb(kSteel), 0.55);
  }
  // The figure: a triangle inscribed in a circle, the lesson's drawing.
  const double fx = pr - (pr - pl) * 0.22, fy = (pt + 14 * s + pb) / 2, fr = std::min((pr - pl) * 0.17, (pb - pt - 14 * s) * 0.38);
  c.Fill(Circle(fx, fy, fr), Rgb(kPaleSky));
  c.Fill(Outline(Circle(fx, fy, fr), 1.6 * s), Rgb(kHotBlue));
  c.Fill(Outline(Polygon({fx, fy - fr, fx + fr * 0.866, fy + fr * 0.5, fx - fr * 0.866, fy + fr * 0.5}), 1.6 * s), Rgb(kNavy), 0.85);
  // Glare across the glass.
  c.Fill(Intersect(RoundRect(sl, st, sr, sb, 3 * s), Polygon({sl, st, sl + width * 0.45, st, sl + width * 0.22, sb, sl, sb})),
         Rgb(kWhite), 0.10);
}

void PaintBookStack(TArtCanvas& c, double left, double deskY, double s) {
  struct Book {
    double Dx, Width, Height;
    unsigned Cover, Band;
  };
  const Book books[] = {{0, 220, 26, kDeepBlue, kPanelBottom},
                        {14, 196, 22, kAmber, 0xFFF3D6},
                        {6, 206, 24, kPanelTop, kWhite}};
  PaintDeskShadow(c, left + 112 * s, deskY + 2 * s, 122 * s, 5 * s);
  double y = deskY;
  for (const Book& b : books) {
    const double l = left + b.Dx * s, r = l + b.Width * s, t = y - b.Height * s;
    // Cover with its spine towards us, the block of pages at the right end.
    c.Fill(RoundRect(l, t, r, y, 4 * s), Linear(0, t, Mix(Rgb(b.Cover), Rgb(kWhite), 0.18), 0, y, Rgb(b.Cover)));
    const double pl = r - 16 * s;
    c.Fill(Rect(pl, t + 3 * s, r - 2 * s, y - 3 * s), Rgb(kPage));
    for (int i = 1; i < 4; ++i) {
      const double yy = t + 3 * s + i * (b.Height - 6) * s / 4;
      c.Fill(Rect(pl, yy, r - 2 * s, yy + 0.8), Rgb(kSteel), 0.45);
    }
    c.Fill(Rect(l + 18 * s, t + 5 * s, l + 22 * s, y - 5 * s), Rgb(b.Band), 0.75);
    c.Fill(Rect(l + 26 * s, t + 5 * s, l + 28 * s, y - 5 * s), Rgb(b.Band), 0.55);
    c.Fill(RoundRect(l + 70 * s, t + b.Height * s * 0.3, l + 130 * s, y - b.Height * s * 0.3, 2 * s), Rgb(b.Band), 0.55);
    c.Fill(Outline(RoundRect(l, t, r, y, 4 * s), 1.0), Rgb(kNavy), 0.35);
    y = t;
  }
  // A pencil lying on top.
  const double py = y - 5 * s, pl = left + 40 * s, pr = left + 178 * s;
  c.Fill(Offset(Capsule(pl, py, pr, py, 5 * s), 0, 2 * s), Rgb(kNavy), 0.18, 3 * s);
  c.Fill(RoundRect(pl, py - 5 * s, pr, py + 5 * s, 1.5 * s), Linear(0, py - 5 * s, Rgb(0x5FA8E6), 0, py + 5 * s, Rgb(kDeepBlue)));
  c.Fill(Rect(pl, py - 1 * s, pr, py + 1 * s), Rgb(kWhite), 0.25);
  c.Fill(RoundRect(pr - 2, py - 5 * s, pr + 10 * s, py + 5 * s, 1.5 * s), Rgb(kSteel));
  c.Fill(Polygon({pl, py - 5 * s, pl, py + 5 * s, pl - 18 * s, py}), Rgb(0xE9D6B0));
  c.Fill(Polygon({pl - 12 * s, py - 1.7 * s, pl - 12 * s, py + 1.7 * s, pl - 18.5 * s, py}), Rgb(kNavy));
}

void PaintOpenBook(TArtCanvas& c, double cx, double cy, double s) {
  const double w = 150 * s, h = 44 * s;
  PaintDeskShadow(c, cx, cy + h * 0.55, w * 0.95, 7 * s, 0.14);
  // The cover under the pages, then the two pages bending to the spine.
  c.Fill(Polygon({cx - w - 6 * s, cy - h * 0.35, cx, cy - h * 0.2, cx + w + 6 * s, cy - h * 0.35, cx + w + 4 * s, cy + h * 0.62,
                  cx, cy + h * 0.72, cx - w - 4 * s, cy + h * 0.62}),
         Rgb(kDeepBlue));
  for (int side : {-1, 1}) {
    std::vector<double> pts;
    const int n = 16;
    for (int i = 0; i <= n; ++i) {  // top edge: rises from the spine, falls to the edge
      const double t = static_cast<double>(i) / n;
      pts.push_back(cx + side * w * t);
      pts.push_back(cy - h * 0.30 - std::sin(t * 3.14159) * 5 * s + t * t * 2 * s);
    }
    for (int i = n; i >= 0; --i) {
      const double t = static_cast<double>(i) / n;
      pts.push_back(cx + side * w * t);
      pts.push_back(cy + h * 0.55 - std::sin(t * 3.14159) * 4 * s + (1 - t) * 4 * s);
    }
    c.Fill(Polygon(pts), Linear(cx, 0, Rgb(0xE8E4D2), cx + side * w * 0.3, 0, Rgb(kPage)));
    for (int line = 0; line < 5; ++line) {
      const double yy = cy - h * 0.12 + line * 7 * s;
      const double x0 = cx + side * 16 * s, x1 = cx + side * (w - 16 * s) * (line == 4 ? 0.6 : 1.0);
      c.Fill(Capsule(std::min(x0, x1), yy, std::max(x0, x1), yy, 1.1 * s), Rgb(kSteel), 0.45);
    }
  }
  c.Fill(Capsule(cx, cy - h * 0.22, cx, cy + h * 0.66, 1.2 * s), Rgb(kSteel), 0.6);
  // A ribbon bookmark.
  c.Fill(Polygon({cx + 6 * s, cy + h * 0.55, cx + 12 * s, cy + h * 0.55, cx + 12 * s, cy + h * 1.0, cx + 9 * s, cy + h * 0.9,
                  cx + 6 * s, cy + h * 1.0}),
         Rgb(kCoral), 0.9);
}

void PaintRuler(TArtCanvas& c, double x, double y, double length, double angle) {
  const double ux = std::cos(angle), uy = std::sin(angle), nx = -uy, ny = ux, w = 22;
  auto at = [&](double along, double across) { return std::pair{x + ux * along + nx * across, y + uy * along + ny * across}; };
  const auto [ax, ay] = at(0, 0);
  const auto [bx, by] = at(length, 0);
  const auto [cx, cy] = at(length, w);
  const auto [dx, dy] = at(0, w);
  const TArtShape body = Polygon({ax, ay, bx, by, cx, cy, dx, dy});
  c.Fill(Offset(body, 1, 4), Rgb(kNavy), 0.14, 5);
  c.Fill(body, Linear(ax, ay, Rgb(0xFFF6DC), dx, dy, Rgb(0xF3DFA6)));
  c.Fill(Outline(body, 1.0), Rgb(0xC9A24A), 0.9);
  // Marks every 10 pixels, longer every 50, along the top edge.
  for (int i = 1; i * 10 < length - 4; ++i) {
    const double along = i * 10.0, mark = i % 5 == 0 ? 9 : 5;
    const auto [mx0, my0] = at(along, 1.5);
    const auto [mx1, my1] = at(along, mark);
    c.Fill(Capsule(mx0, my0, mx1, my1, 0.5), Rgb(kInk), 0.75);
  }
}

}  // namespace appart
