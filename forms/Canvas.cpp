#include "forms/Canvas.h"

#include <vector>

#include "platform/gfx/Font.h"
#include "platform/gfx/GdiTools.h"
#include "platform/gfx/SystemColors.h"

TCanvas::TCanvas() = default;

TCanvas::~TCanvas() {
  if (FontHandle_) DeleteObject(FontHandle_);
}

void TCanvas::SetHandle(HDC dc) { Handle_ = dc; }

void TCanvas::SelectFont() {
  TLogFont lf = Font_.LogFont();
  if (!FontHandle_ || !(lf == FontHandleFor_)) {
    HFONT old = FontHandle_;
    FontHandle_ = CreateFontIndirect(lf);
    FontHandleFor_ = lf;
    if (Handle_) Handle_->SelectFont(FontHandle_);
    if (old) DeleteObject(old);
  }
  if (Handle_) {
    Handle_->SelectFont(FontHandle_);
    Handle_->SetTextColor(ColorToRGB(Font_.Color()));
  }
}

void TCanvas::FillRect(const TRect& rect) {
  if (!Handle_ || Brush_.Style() == bsClear) return;
  Handle_->FillRect(rect, ColorToRGB(Brush_.Color()));
}

void TCanvas::FrameRect(const TRect& rect) {
  if (!Handle_ || rect.IsEmpty()) return;
  TColor c = ColorToRGB(Brush_.Color());
  Handle_->FillRect({rect.Left, rect.Top, rect.Right, rect.Top + 1}, c);
  Handle_->FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, c);
  Handle_->FillRect({rect.Left, rect.Top, rect.Left + 1, rect.Bottom}, c);
  Handle_->FillRect({rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, c);
}

void TCanvas::Rectangle(const TRect& rect) {
  if (!Handle_ || rect.IsEmpty()) return;
  TRect inner = rect;
  if (!Pen_.Clear()) {
    TColor c = ColorToRGB(Pen_.Color());
    int w = Pen_.Width();
    Handle_->FillRect({rect.Left, rect.Top, rect.Right, rect.Top + w}, c);
    Handle_->FillRect({rect.Left, rect.Bottom - w, rect.Right, rect.Bottom}, c);
    Handle_->FillRect({rect.Left, rect.Top, rect.Left + w, rect.Bottom}, c);
    Handle_->FillRect({rect.Right - w, rect.Top, rect.Right, rect.Bottom}, c);
    inner = rect.Inflate(-w, -w);
  }
  if (!inner.IsEmpty()) FillRect(inner);
}

void TCanvas::MoveTo(int x, int y) {
  if (Handle_) Handle_->MoveTo({x, y});
}

void TCanvas::LineTo(int x, int y) {
  if (!Handle_) return;
  HPEN pen = CreatePen(PS_SOLID, Pen_.Width(), ColorToRGB(Pen_.Color()));
  HPEN old = Handle_->SelectPen(pen);
  Handle_->LineTo({x, y});
  Handle_->SelectPen(old);
  DeleteObject(pen);
}

void TCanvas::Frame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width) {
  if (!Handle_) return;
  TColor tl = ColorToRGB(topLeft), br = ColorToRGB(bottomRight);
  for (int i = 0; i < width && !rect.IsEmpty(); ++i) {
    Handle_->FillRect({rect.Left, rect.Top, rect.Right - 1, rect.Top + 1}, tl);
    Handle_->FillRect({rect.Left, rect.Top, rect.Left + 1, rect.Bottom - 1}, tl);
    Handle_->FillRect({rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, br);
    Handle_->FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, br);
    rect = rect.Inflate(-1, -1);
  }
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  if (Handle_) Handle_->DrawFocusRect(rect);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (Handle_) Handle_->SetPixel(x, y, ColorToRGB(color));
}

TColor TCanvas::Pixel(int x, int y) const {
  return Handle_ ? static_cast<TColor>(Handle_->GetPixel(x, y)) : clBlack;
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  if (!Handle_) return;
  SelectFont();
  bool opaque = Brush_.Style() != bsClear;
  Handle_->SetBkMode(opaque ? OPAQUE : TRANSPARENT);
  if (opaque) Handle_->SetBkColor(ColorToRGB(Brush_.Color()));
  Handle_->TextOut(x, y, text);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
  if (!Handle_) return;
  int saved = Handle_->Save();
  Handle_->IntersectClip(rect);
  if (Brush_.Style() != bsClear) FillRect(rect);
  SelectFont();
  Handle_->SetBkMode(TRANSPARENT);
  Handle_->TextOut(x, y, text);
  Handle_->Restore(saved);
}

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned format) {
  if (!Handle_) {
    // Measuring outside a paint: a scratch context.
    if (!(format & DT_CALCRECT)) return 0;
    TBitmap scratch(1, 1);
    TDeviceContext dc(scratch);
    Handle_ = &dc;
    SelectFont();
    int h = dc.DrawText(text, rect, format);
    Handle_ = nullptr;
    return h;
  }
  SelectFont();
  bool opaque = Brush_.Style() != bsClear && !(format & DT_CALCRECT);
  Handle_->SetBkMode(opaque ? OPAQUE : TRANSPARENT);
  if (opaque) Handle_->SetBkColor(ColorToRGB(Brush_.Color()));
  return Handle_->DrawText(text, rect, format);
}

TSize TCanvas::TextExtent(std::string_view text) {
  if (Handle_) {
    SelectFont();
    return Handle_->TextExtent(text);
  }
  // Measuring without a paint in progress: a scratch context.
  TBitmap scratch(1, 1);
  TDeviceContext dc(scratch);
  Handle_ = &dc;
  SelectFont();
  TSize size = dc.TextExtent(text);
  Handle_ = nullptr;
  return size;
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  DrawRect(x, y, bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, bitmap.Transparent());
}

void TCanvas::DrawRect(int x, int y, const TBitmap& bitmap, const TRect& source, bool transparent) {
  if (!Handle_ || bitmap.Empty()) return;
  if (!transparent) {
    Handle_->DrawBitmap(x, y, bitmap, source);
    return;
  }
  // Keyed copy: runs of non-key pixels are copied row by row.
  TColor key = bitmap.TransparentColor();
  for (int sy = source.Top; sy < source.Bottom; ++sy) {
    int sx = source.Left;
    while (sx < source.Right) {
      while (sx < source.Right && bitmap.Pixel(sx, sy) == key) ++sx;
      int start = sx;
      while (sx < source.Right && bitmap.Pixel(sx, sy) != key) ++sx;
      if (sx > start)
        Handle_->DrawBitmap(x + start - source.Left, y + sy - source.Top, bitmap, {start, sy, sx, sy + 1});
    }
  }
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
  if (!Handle_ || bitmap.Empty() || dest.IsEmpty()) return;
  if (dest.Width() == bitmap.Width() && dest.Height() == bitmap.Height()) {
    Draw(dest.Left, dest.Top, bitmap);
    return;
  }
  TBitmap& src = const_cast<TBitmap&>(bitmap);
  Handle_->SetStretchBltMode(HALFTONE);
  Handle_->StretchBlt(dest.Left, dest.Top, dest.Width(), dest.Height(), &src.Canvas(), 0, 0, bitmap.Width(),
                      bitmap.Height(), SRCCOPY);
}
