#include "platform/gfx/GdiTools.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"

TGdiBrush::TGdiBrush(const TBitmap& pattern) : Style(BS_PATTERN), Pattern(std::make_unique<TBitmap>(pattern)) {
  if (Pattern->PixelFormat() != TPixelFormat::pf24bit && Pattern->PixelFormat() != TPixelFormat::pf32bit)
    Pattern->SetPixelFormat(TPixelFormat::pf24bit);
  if (Pattern->Empty()) Style = BS_NULL;
}

HBRUSH CreateSolidBrush(TColor color) { return new TGdiBrush(BS_SOLID, ColorToRGB(color) & 0xFFFFFF); }

HBRUSH CreatePatternBrush(HBITMAP pattern) {
  if (!IsGdiObject(pattern)) return nullptr;
  return new TGdiBrush(pattern->Bitmap());
}

HPEN CreatePen(int style, int width, TColor color) {
  if (style < PS_SOLID || (style > PS_INSIDEFRAME && style != PS_ALTERNATE)) style = PS_SOLID;
  return new TGdiPen(style, width < 1 ? 1 : width, ColorToRGB(color) & 0xFFFFFF);
}

HBITMAP CreateBitmapHandle(int width, int height, TPixelFormat format) {
  return new TGdiBitmap(std::make_unique<TBitmap>(width, height, format, true));
}

HBITMAP CreateBitmapHandle(std::unique_ptr<TBitmap> bitmap) {
  if (!bitmap) return nullptr;
  return new TGdiBitmap(std::move(bitmap));
}

HBITMAP WrapBitmap(TBitmap& bitmap) { return new TGdiBitmap(bitmap); }

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  TPixelFormat format = TPixelFormat::pf24bit;
  if (dc && dc->Target() && dc->Target()->PixelFormat() == TPixelFormat::pf32bit) format = TPixelFormat::pf32bit;
  return CreateBitmapHandle(width, height, format);
}

TBitmap* BitmapOf(HBITMAP bitmap) { return IsGdiObject(bitmap) ? &bitmap->Bitmap() : nullptr; }
