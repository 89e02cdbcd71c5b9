#include "platform/backend/DesktopCompositor.h"

#include <algorithm>
#include <cstring>

namespace {

// round(v / 255) for 0 <= v <= 255 * 255 * 2, without division.
inline unsigned Div255(unsigned v) { return (v + 128 + ((v + 128) >> 8)) >> 8; }

enum class TBlendKind { Opaque, Constant, PerPixel };

void BlendSpan(std::uint8_t* d, const std::uint8_t* s, int count, TBlendKind kind, unsigned alpha, bool keyed,
               COLORREF key) {
  const std::uint8_t kr = GetRValue(key), kg = GetGValue(key), kb = GetBValue(key);
  switch (kind) {
    case TBlendKind::Opaque:
      if (!keyed) {
        std::memcpy(d, s, static_cast<std::size_t>(count) * 4);
        for (int x = 0; x < count; ++x) d[x * 4 + 3] = 255;
        return;
      }
      for (int x = 0; x < count; ++x, d += 4, s += 4) {
        if (s[0] == kb && s[1] == kg && s[2] == kr) continue;
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        d[3] = 255;
      }
      return;
    case TBlendKind::Constant: {
      unsigned inv = 255 - alpha;
      for (int x = 0; x < count; ++x, d += 4, s += 4) {
        if (keyed && s[0] == kb && s[1] == kg && s[2] == kr) continue;
        d[0] = static_cast<std::uint8_t>(Div255(s[0] * alpha + d[0] * inv));
        d[1] = static_cast<std::uint8_t>(Div255(s[1] * alpha + d[1] * inv));
        d[2] = static_cast<std::uint8_t>(Div255(s[2] * alpha + d[2] * inv));
        d[3] = 255;
      }
      return;
    }
    case TBlendKind::PerPixel:
      for (int x = 0; x < count; ++x, d += 4, s += 4) {
        unsigned sa = s[3];
        if (sa == 0) continue;
        if (sa == 255 && alpha == 255) {
          d[0] = s[0];
          d[1] = s[1];
          d[2] = s[2];
          d[3] = 255;
          continue;
        }
        unsigned a = alpha == 255 ? sa : Div255(sa * alpha);
        unsigned inv = 255 - a;
        for (int c = 0; c < 3; ++c) {
          unsigned src = alpha == 255 ? s[c] : Div255(s[c] * alpha);
          unsigned v = src + Div255(d[c] * inv);
          d[c] = static_cast<std::uint8_t>(std::min(v, 255u));
        }
        d[3] = 255;
      }
      return;
  }
}

}  // namespace

void ComposeDesktop(TBitmap& desktop, const std::vector<TTopLevelView>& views, TColor background) {
  if (desktop.PixelFormat() != TPixelFormat::pf32bit) desktop.SetPixelFormat(TPixelFormat::pf32bit);
  desktop.Fill(background);
  const TRect screen{0, 0, desktop.Width(), desktop.Height()};
  for (const TTopLevelView& view : views) {
    const TBitmap* image = view.Image;
    if (!image || image->Empty() || image->PixelFormat() != TPixelFormat::pf32bit || view.Alpha == 0) continue;
    TBlendKind kind = view.PerPixelAlpha ? TBlendKind::PerPixel
                      : view.Alpha < 255 ? TBlendKind::Constant
                                         : TBlendKind::Opaque;
    TRect imageRect{0, 0, std::min(image->Width(), view.Bounds.Width()), std::min(image->Height(), view.Bounds.Height())};
    std::vector<TRect> pieces;
    if (view.Region) {
      for (const TRect& r : *view.Region) pieces.push_back(r.Intersect(imageRect));
    } else {
      pieces.push_back(imageRect);
    }
    for (const TRect& piece : pieces) {
      TRect onScreen = piece.Offset(view.Bounds.Left, view.Bounds.Top).Intersect(screen);
      if (onScreen.IsEmpty()) continue;
      int sx = onScreen.Left - view.Bounds.Left;
      for (int y = onScreen.Top; y < onScreen.Bottom; ++y) {
        const std::uint8_t* s = image->ScanLine(y - view.Bounds.Top) + sx * 4;
        std::uint8_t* d = desktop.ScanLine(y) + onScreen.Left * 4;
        BlendSpan(d, s, onScreen.Width(), kind, view.Alpha, view.HasColorKey, view.ColorKey);
      }
    }
  }
}
