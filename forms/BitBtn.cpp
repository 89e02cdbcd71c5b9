#include "forms/BitBtn.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "forms/Form.h"

namespace {

// The 16-colour palette of the glyphs (the classic VGA colours).
const TRGBQuad kVga[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0}, {128, 128, 0, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0}};
constexpr int kOlive = 3;    // transparent background of both cells
constexpr int kGreen = 2;
constexpr int kLime = 10;
constexpr int kMaroon = 1;
constexpr int kRed = 9;
constexpr int kGray = 8;
constexpr int kWhite = 15;

void Put(TBitmap& b, int x, int y, int index) {
  if (x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) return;
  std::uint8_t* row = b.ScanLine(y);
  std::uint8_t& byte = row[x / 2];
  if (x % 2 == 0) byte = static_cast<std::uint8_t>((byte & 0x0F) | (index << 4));
  else byte = static_cast<std::uint8_t>((byte & 0xF0) | index);
}

// A thick line of squares from (x0,y0) to (x1,y1), drawn in both cells.
void Stroke(TBitmap& b, int x0, int y0, int x1, int y1, int body, int edge, int grey, int greyEdge) {
  int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i <= steps; ++i) {
      int x = x0 + (x1 - x0) * i / std::max(steps, 1);
      int y = y0 + (y1 - y0) * i / std::max(steps, 1);
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          bool rim = dx != 0 || dy != 0;
          if (pass == 0 && !rim) continue;
          if (pass == 1 && rim) continue;
          Put(b, x + dx, y + dy, pass == 0 ? edge : body);
          Put(b, 18 + x + dx, y + dy, pass == 0 ? greyEdge : grey);
        }
    }
  }
}

}  // namespace

TBitmap TBitBtn::KindGlyph(TBitBtnKind kind) {
  if (kind != bkOK && kind != bkCancel) return TBitmap();
  TBitmap b(36, 18, TPixelFormat::pf4bit, true);
  b.Palette().assign(kVga, kVga + 16);
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 36; ++x) Put(b, x, y, kOlive);
  if (kind == bkOK) {
    // A check mark: short stroke down-right, long stroke up-right.
    Stroke(b, 3, 9, 7, 13, kLime, kGreen, kWhite, kGray);
    Stroke(b, 7, 13, 15, 4, kLime, kGreen, kWhite, kGray);
  } else {
    Stroke(b, 4, 4, 13, 13, kRed, kMaroon, kWhite, kGray);
    Stroke(b, 13, 4, 4, 13, kRed, kMaroon, kWhite, kGray);
  }
  b.SetTransparent(true);
  b.SetTransparentColor(static_cast<TColor>(RGB(128, 128, 0)));
  return b;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetKind(TBitBtnKind kind) {
  if (kind == Kind_) return;
  Kind_ = kind;
  if (kind == bkCustom) return;
  Glyph_ = KindGlyph(kind);
  NumGlyphs_ = Glyph_.Empty() ? 1 : 2;
  switch (kind) {
    case bkOK:
      SetModalResult(mrOk);
      SetDefault(true);
      if (Caption().empty()) SetCaption("OK");
      break;
    case bkCancel:
      SetModalResult(mrCancel);
      SetCancel(true);
      if (Caption().empty()) SetCaption("Cancel");
      break;
    case bkCustom:
    case bkHelp:
    case bkYes:
    case bkNo:
    case bkClose:
    case bkAbort:
    case bkRetry:
    case bkIgnore:
    case bkAll: break;
  }
  Invalidate();
}

void TBitBtn::SetGlyph(const TBitmap& glyph) {
  Glyph_.Assign(glyph);
  if (!Glyph_.Empty() && Glyph_.Height() > 0 && Glyph_.Width() % Glyph_.Height() == 0) {
    int n = Glyph_.Width() / Glyph_.Height();
    if (n >= 1 && n <= 4) NumGlyphs_ = n;
  }
  Kind_ = bkCustom;
  Invalidate();
}

void TBitBtn::SetNumGlyphs(int n) {
  NumGlyphs_ = std::clamp(n, 1, 4);
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout layout) {
  Layout_ = layout;
  Invalidate();
}

void TBitBtn::SetMargin(int margin) {
  if (margin < -1) return;
  Margin_ = margin;
  Invalidate();
}

void TBitBtn::SetSpacing(int spacing) {
  Spacing_ = spacing;
  Invalidate();
}

void TBitBtn::PaintContent(TRect rect, bool enabled) {
  TCanvas& c = Canvas();
  c.Font().Assign(Font());
  TRect calc{0, 0, rect.Width(), 0};
  TSize textSize{0, 0};
  if (!Caption().empty()) {
    c.DrawText(Caption(), calc, DT_CALCRECT | DT_SINGLELINE);
    textSize = {calc.Width(), calc.Height()};
  }
  TSize glyphSize{Glyph_.Empty() ? 0 : Glyph_.Width() / std::max(1, NumGlyphs_), Glyph_.Height()};
  TButtonLayoutResult lay = CalcButtonLayout(rect, glyphSize, textSize, Layout_, Margin_, Spacing_);
  TButtonState state = enabled ? bsUp : bsDisabled;
  DrawButtonGlyph(c, Glyph_, NumGlyphs_, state, lay.GlyphPos);
  DrawButtonCaption(c, Caption(), lay.TextBounds, state);
}
