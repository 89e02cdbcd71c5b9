#include "skin/controls/acButtonCommon.h"

#include <algorithm>
#include <cstdint>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/TextFlags.h"
#include "skin/paint/sStyleSimply.h"
#include "skin/render/sBlend.h"

int DisabledFlags(TsDisabledKind kind) {
  return (kind.Contains(dkBlended) ? kDisabledBlend : 0) | (kind.Contains(dkGrayed) ? kDisabledGray : 0);
}

unsigned AlignmentFlags(TAlignment alignment) {
  switch (alignment) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
  }
  return DT_CENTER;
}

int GlyphCellIndex(const TacGlyphInfo& info) {
  const TBitmap* glyph = info.Glyph;
  if (!glyph || info.NumGlyphs <= 1) return 0;
  if (!info.Enabled || info.State == TacPaintState::Normal) return 0;
  // Sixteen-colour glyphs (the kinds' own) show their first cell when hot or briefly pressed.
  const bool fourBit = glyph->PixelFormat() == TPixelFormat::pf4bit;
  if (info.State == TacPaintState::Hot) return fourBit ? 0 : 1;
  const int downCell = (info.Down ? 1 : 0) + 2;
  if (info.NumGlyphs > downCell) return downCell;
  return fourBit ? 0 : std::min(1, info.NumGlyphs - 1);
}

namespace {

// The glyph's cell as a 24-bit bitmap.
TBitmap Cell24(const TBitmap& glyph, int numGlyphs, int index) {
  TBitmap whole(glyph);
  whole.SetPixelFormat(TPixelFormat::pf24bit);
  const int cw = whole.Width() / std::max(1, numGlyphs);
  TBitmap cell(cw, whole.Height(), TPixelFormat::pf24bit);
  const TRect src{index * cw, 0, index * cw + cw, whole.Height()};
  cell.Canvas().DrawBitmap(0, 0, whole, src);
  return cell;
}

TBitmap FlippedVertically(const TBitmap& image) {
  TBitmap flipped(image.Width(), image.Height(), image.PixelFormat());
  const std::size_t bytes = static_cast<std::size_t>(image.RowBytes());
  for (int y = 0; y < image.Height(); ++y)
    std::copy_n(image.ScanLine(image.Height() - 1 - y), bytes, flipped.ScanLine(y));
  return flipped;
}

// A keyed cell at p; t is the share of what lies behind (0 opaque).
void PutKeyed(TBitmap& target, const TBitmap& cell, TPoint p, TColor key, double t) {
  if (t <= 0.0)
    CopyKeyed(target, cell, p.X, p.Y, key);
  else
    BlendKeyed(target, p.X, p.Y, key, t, {0, 0, cell.Width() - 1, cell.Height() - 1}, cell);
}

// A 32-bit glyph over the target by its own alpha.
void PutAlpha(TBitmap& target, const TBitmap& glyph, TPoint p, int extraShare) {
  const int tb = target.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  if (target.PixelFormat() != TPixelFormat::pf24bit && target.PixelFormat() != TPixelFormat::pf32bit) return;
  for (int y = 0; y < glyph.Height(); ++y) {
    const int ty = p.Y + y;
    if (ty < 0 || ty >= target.Height()) continue;
    const std::uint8_t* s = glyph.ScanLine(y);
    std::uint8_t* d = target.ScanLine(ty);
    for (int x = 0; x < glyph.Width(); ++x) {
      const int tx = p.X + x;
      if (tx < 0 || tx >= target.Width()) continue;
      const int a = s[x * 4 + 3] * (100 - extraShare) / 100;
      for (int c = 0; c < 3; ++c) {
        std::uint8_t& v = d[tx * tb + c];
        v = static_cast<std::uint8_t>((s[x * 4 + c] * a + v * (255 - a) + 127) / 255);
      }
    }
  }
}

// The reflection under a glyph: its mirror image, faint.
void PutReflection(TBitmap& target, const TBitmap& cell, TPoint p, TColor key) {
  const TBitmap mirror = FlippedVertically(cell);
  PutKeyed(target, mirror, {p.X, p.Y + cell.Height()}, key, 0.8);
}

}  // namespace

void PaintButtonGlyph(TBitmap& target, const TacGlyphInfo& info) {
  const TBitmap* glyph = info.Glyph;
  if (!glyph || glyph->Empty() || target.Empty()) return;
  const int blend = std::clamp(info.Blend, 0, 100);
  const TPoint p{info.Bounds.Left, info.Bounds.Top};
  if (info.NumGlyphs <= 1 && blend == 0 && glyph->PixelFormat() == TPixelFormat::pf32bit) {
    PutAlpha(target, *glyph, p, info.Enabled ? 0 : 50);
    if (info.Reflected) {
      const TBitmap mirror = FlippedVertically(*glyph);
      PutAlpha(target, mirror, {p.X, p.Y + glyph->Height()}, 80);
    }
    return;
  }
  const int index = GlyphCellIndex(info);
  TBitmap cell = Cell24(*glyph, info.NumGlyphs, index);
  if (cell.Empty()) return;
  const TColor key = cell.Pixel(0, cell.Height() - 1);
  double t = 0.0;
  if (info.Enabled) {
    if (info.State == TacPaintState::Normal && blend > 0) t = blend / 100.0;
  } else if (info.NumGlyphs <= 1) {
    if (info.DisabledGlyphKind.Contains(dgGrayed)) GrayBitmapExceptKey(cell, key);
    if (info.DisabledGlyphKind.Contains(dgBlended)) t = 0.5;
  }
  PutKeyed(target, cell, p, key, t);
  if (info.Reflected) PutReflection(target, cell, p, key);
}

TacGlyphTextLayout LayoutGlyphAndText(const TRect& client, TSize glyph, TSize text, TButtonLayout layout,
                                      TAlignment alignment, int margin, int spacing, bool rightToLeft) {
  const int cw = client.Width(), ch = client.Height();
  const int gw = glyph.cx, gh = glyph.cy, tw = text.cx, th = text.cy;
  if (rightToLeft) {
    if (layout == blGlyphLeft)
      layout = blGlyphRight;
    else if (layout == blGlyphRight)
      layout = blGlyphLeft;
  }
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  int gx = 0, gy = 0, tx = 0, ty = 0;
  if (horizontal) {
    gy = (ch - gh + 1) / 2;
    ty = (ch - th + 1) / 2;
  } else {
    gx = (cw - gw + 1) / 2;
    tx = (cw - tw + 1) / 2;
  }
  int m = margin, s = spacing;
  if (tw == 0 || gw == 0) s = 0;
  if (m == -1) {
    if (s < 0) {
      m = horizontal ? (cw - gw - tw) / 3 : (ch - gh - th) / 3;
      s = m;
    } else if (alignment == taCenter) {
      m = horizontal ? (cw - gw - s - tw + 1) / 2 : (ch - gh - s - th + 1) / 2;
    } else {
      m = 2;
    }
  } else if (s < 0) {
    s = horizontal ? (cw - m - gw - tw) / 2 : (ch - m - gh - th) / 2;
  }
  const int c = (cw - tw - s - gw) / 2;
  switch (layout) {
    case blGlyphLeft:
      switch (alignment) {
        case taLeftJustify: gx = m; tx = m + gw + s; break;
        case taCenter: gx = c; tx = c + s + gw; break;
        case taRightJustify: tx = cw - m - tw; gx = tx - s - gw; break;
      }
      break;
    case blGlyphRight:
      switch (alignment) {
        case taLeftJustify: tx = m; gx = m + tw + s; break;
        case taCenter: tx = c; gx = c + s + tw; break;
        case taRightJustify: gx = cw - m - gw; tx = gx - s - tw; break;
      }
      break;
    case blGlyphTop:
      gy = (ch - gh - s - th) / 2;
      ty = gy + gh + s;
      break;
    case blGlyphBottom:
      gy = ch - gh - (ch - gh - s - th) / 2;
      ty = gy - s - th;
      break;
  }
  TacGlyphTextLayout out;
  out.GlyphPos = {gx + client.Left, gy + client.Top};
  out.TextRect = TRect{0, 0, tw, th}.Offset(tx + client.Left, ty + client.Top);
  return out;
}

TRect ButtonGlyphBounds(const TacGlyphBoundsInput& in) {
  const int w = in.Width, h = in.Height, a = in.Arrow, gw = in.GlyphWidth, gh = in.GlyphHeight;
  const int m = in.Margin < 0 ? 0 : in.Margin + 3;
  const int s = in.HasCaption && gw > 0 ? in.Spacing : 0;
  const int dx = (w - a - gw - s - in.TextWidth) / 2 - m;
  const int dy = (h - gh - s - in.TextHeight) / 2 - m;
  int x = 0, y = 0;
  switch (in.Layout) {
    case blGlyphLeft:
    case blGlyphRight: {
      const bool left = in.Layout == blGlyphLeft;
      switch (in.Alignment) {
        case taLeftJustify: x = left ? m : w - a - m - 2 * dx - s - gw; break;
        case taCenter: x = left ? m + dx : (w - a - gw + s + in.TextWidth) / 2; break;
        case taRightJustify: x = left ? m + 2 * dx : w - a - gw - m; break;
      }
      y = (h - gh) / 2;
      break;
    }
    case blGlyphTop:
      x = (w - a - gw) / 2 + 1;
      y = dy + m;
      break;
    case blGlyphBottom:
      x = (w - a - gw) / 2 + 1;
      y = h - m - dy - gh;
      break;
  }
  if (in.Pressed) {
    ++x;
    ++y;
  }
  TRect r{x, y, x + gw, y + gh};
  if (in.Reflected) r = r.Offset(0, -(r.Width() / 6));
  return r;
}
