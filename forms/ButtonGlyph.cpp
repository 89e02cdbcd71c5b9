#include "forms/ButtonGlyph.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/SystemColors.h"
#include "platform/gfx/TextFlags.h"

TButtonLayoutResult CalcButtonLayout(const TRect& client, TSize glyphSize, TSize textSize, TButtonLayout layout,
                                     int margin, int spacing) {
  TSize clientSize{client.Width(), client.Height()};
  bool vertical = layout == blGlyphTop || layout == blGlyphBottom;
  TPoint glyphPos, textPos;
  if (!vertical) {
    glyphPos.Y = (clientSize.cy - glyphSize.cy + 1) / 2;
    textPos.Y = (clientSize.cy - textSize.cy + 1) / 2;
  } else {
    glyphPos.X = (clientSize.cx - glyphSize.cx + 1) / 2;
    textPos.X = (clientSize.cx - textSize.cx + 1) / 2;
  }
  if (textSize.cx == 0 || glyphSize.cx == 0) spacing = 0;
  int cs = vertical ? clientSize.cy : clientSize.cx;
  int gs = vertical ? glyphSize.cy : glyphSize.cx;
  int ts = vertical ? textSize.cy : textSize.cx;
  if (margin == -1) {
    if (spacing == -1) {
      int total = gs + ts;
      margin = (cs - total) / 3;
      spacing = margin;
    } else {
      int total = gs + spacing + ts;
      margin = (cs - total + 1) / 2;
    }
  } else if (spacing == -1) {
    int total = cs - (margin + gs);
    spacing = (total - ts) / 2;
  }
  int g = 0, t = 0;
  switch (layout) {
    case blGlyphLeft:
    case blGlyphTop:
      g = margin;
      t = g + gs + spacing;
      break;
    case blGlyphRight:
    case blGlyphBottom:
      g = cs - margin - gs;
      t = g - spacing - ts;
      break;
  }
  if (vertical) {
    glyphPos.Y = g;
    textPos.Y = t;
  } else {
    glyphPos.X = g;
    textPos.X = t;
  }
  TButtonLayoutResult r;
  r.GlyphPos = {glyphPos.X + client.Left, glyphPos.Y + client.Top};
  r.TextBounds = Bounds(textPos.X + client.Left, textPos.Y + client.Top, textSize.cx, textSize.cy);
  return r;
}

void DrawButtonGlyph(TCanvas& canvas, const TBitmap& glyph, int numGlyphs, TButtonState state, TPoint pos) {
  if (glyph.Empty()) return;
  numGlyphs = std::clamp(numGlyphs, 1, 4);
  int cellW = glyph.Width() / numGlyphs;
  int cell = 0;
  switch (state) {
    case bsUp: cell = 0; break;
    case bsDisabled: cell = 1; break;
    case bsDown: cell = 2; break;
    case bsExclusive: cell = 3; break;
  }
  if (cell >= numGlyphs) cell = 0;
  bool grey = state == bsDisabled && numGlyphs < 2;
  TBitmap cellBmp(cellW, glyph.Height(), TPixelFormat::pf24bit, true);
  TColor key = glyph.Pixel(0, glyph.Height() - 1);
  for (int y = 0; y < glyph.Height(); ++y) {
    for (int x = 0; x < cellW; ++x) {
      TColor c = glyph.Pixel(cell * cellW + x, y);
      if (grey && c != key) {
        int l = (GetRValue(static_cast<COLORREF>(c)) * 30 + GetGValue(static_cast<COLORREF>(c)) * 59 +
                 GetBValue(static_cast<COLORREF>(c)) * 11) / 100;
        l = 128 + l / 2;
        c = static_cast<TColor>(RGB(static_cast<std::uint8_t>(l), static_cast<std::uint8_t>(l), static_cast<std::uint8_t>(l)));
      }
      cellBmp.SetPixel(x, y, c);
    }
  }
  cellBmp.SetTransparent(true);
  cellBmp.SetTransparentColor(key);
  canvas.Draw(pos.X, pos.Y, cellBmp);
}

void DrawButtonCaption(TCanvas& canvas, const std::string& caption, TRect bounds, TButtonState state,
                       unsigned extraFlags) {
  if (caption.empty()) return;
  canvas.Brush().SetStyle(bsClear);
  unsigned flags = DT_CENTER | DT_VCENTER | extraFlags;
  if (!(extraFlags & DT_WORDBREAK)) flags |= DT_SINGLELINE;
  if (state == bsDisabled) {
    TColor saved = canvas.Font().Color();
    TRect r = bounds.Offset(1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(caption, r, flags);
    r = bounds;
    canvas.Font().SetColor(clBtnShadow);
    canvas.DrawText(caption, r, flags);
    canvas.Font().SetColor(saved);
    return;
  }
  canvas.DrawText(caption, bounds, flags);
}

void DrawButtonFace(TCanvas& canvas, TRect& rect, bool down, bool flatHot, bool flat) {
  if (flat) {
    if (down) canvas.Frame3D(rect, clBtnShadow, clBtnHighlight, 1);
    else if (flatHot) canvas.Frame3D(rect, clBtnHighlight, clBtnShadow, 1);
    else rect = rect.Inflate(-1, -1);
    return;
  }
  if (down) {
    canvas.Frame3D(rect, cl3DDkShadow, clBtnHighlight, 1);
    canvas.Frame3D(rect, clBtnShadow, cl3DLight, 1);
  } else {
    canvas.Frame3D(rect, clBtnHighlight, cl3DDkShadow, 1);
    canvas.Frame3D(rect, cl3DLight, clBtnShadow, 1);
  }
}
