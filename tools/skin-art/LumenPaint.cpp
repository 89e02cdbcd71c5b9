#include "tools/skin-art/LumenPaint.h"

namespace lumen {

void PaintFrame(TArtCell& cell, double radius, const TFrameLook& look, TOpenSide open) {
  double left = 0, top = 0, right = cell.Width(), bottom = cell.Height();
  // An open side pushes the shape past the cell edge so no line or corner shows there.
  const double push = radius + 2;
  switch (open) {
    case TOpenSide::None: break;
    case TOpenSide::Top: top -= push; break;
    case TOpenSide::Bottom: bottom += push; break;
    case TOpenSide::Left: left -= push; break;
    case TOpenSide::Right: right += push; break;
  }
  const TArtShape outer = RoundRect(left, top, right, bottom, radius);
  const TArtShape inner = RoundRect(left + 1, top + 1, right - 1, bottom - 1, radius > 1 ? radius - 1 : 0);
  const TArtShape inner2 = RoundRect(left + 2, top + 2, right - 2, bottom - 2, radius > 2 ? radius - 2 : 0);
  cell.Claim(outer);
  if (look.FillAlpha > 0) cell.Paint(inner, Hex(look.Fill), look.FillAlpha);
  if (look.HighlightAlpha > 0) cell.Paint(Ring(inner, inner2), Hex(look.Highlight), look.HighlightAlpha);
  if (look.Inset) {
    const TArtShape shadowTop = Ring(inner, RoundRect(left + 1, top + 2, right - 1, bottom - 1, radius > 1 ? radius - 1 : 0));
    const TArtShape shadowLeft = Ring(inner, RoundRect(left + 2, top + 1, right - 1, bottom - 1, radius > 1 ? radius - 1 : 0));
    cell.Paint(shadowTop, Hex(kNavy), 0.28);
    cell.Paint(shadowLeft, Hex(kNavy), 0.14);
  }
  cell.Paint(Ring(outer, inner), Hex(look.Outline), look.OutlineAlpha);
}

TArtShape Triangle(double x0, double y0, double x1, double y1, double x2, double y2) {
  return [=](double x, double y) {
    const double d1 = (x - x1) * (y0 - y1) - (x0 - x1) * (y - y1);
    const double d2 = (x - x2) * (y1 - y2) - (x1 - x2) * (y - y2);
    const double d3 = (x - x0) * (y2 - y0) - (x2 - x0) * (y - y0);
    const bool neg = d1 < 0 || d2 < 0 || d3 < 0;
    const bool pos = d1 > 0 || d2 > 0 || d3 > 0;
    return !(neg && pos);
  };
}

}  // namespace lumen
