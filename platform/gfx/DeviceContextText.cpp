// Text members of the device context: the context supplies target, origin, clip,
// colours and the selected font; layout and glyph drawing live in TextRender.
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/SystemColors.h"
#include "platform/gfx/TextRender.h"

namespace {

TTextTarget MakeTarget(const TDeviceContext& dc, const TRegion& clip) {
  TTextTarget target;
  TBitmap* bitmap = dc.Target();
  if (bitmap && (bitmap->PixelFormat() == TPixelFormat::pf24bit || bitmap->PixelFormat() == TPixelFormat::pf32bit))
    target.Bitmap = bitmap;
  target.Clip = clip.Rects();
  target.Origin = dc.ViewportOrg();
  target.TextColor = static_cast<COLORREF>(ColorToRGB(dc.TextColor()));
  target.BkColor = static_cast<COLORREF>(ColorToRGB(dc.BkColor()));
  target.Opaque = dc.BkMode() == OPAQUE;
  return target;
}

}  // namespace

int TDeviceContext::DrawText(std::string_view utf8, TRect& rect, unsigned format) {
  TGdiFont& font = EffectiveFont(SelectedFont());
  if (format & DT_CALCRECT) return DrawTextOn(font.Face(), font.Style(), utf8, rect, format, nullptr);
  const TTextTarget target = MakeTarget(*this, Clip());  // the cached clip: no copy per call
  return DrawTextOn(font.Face(), font.Style(), utf8, rect, format, &target);
}

TSize TDeviceContext::TextExtent(std::string_view utf8) {
  return TextExtentOf(EffectiveFont(SelectedFont()).Face(), utf8);
}

bool TDeviceContext::TextOut(int x, int y, std::string_view utf8) {
  TGdiFont& font = EffectiveFont(SelectedFont());
  const TTextTarget target = MakeTarget(*this, Clip());
  TextOutOn(font.Face(), font.Style(), x, y, utf8, target);
  return true;
}
