#include "platform/backend/DesktopCompositor.h"

#include <algorithm>
#include <cstring>

namespace {

enum class TBlendKind { Opaque, Constant, PerPixel };

// round(v / 255) in the two 16-bit lanes of a word (each lane at most 255 * 255).
inline std::uint32_t Div255Pair(std::uint32_t v) {
  std::uint32_t t = v + 0x00800080u;
  return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// Lanes above 255 become 255 (lanes hold at most 510).
inline std::uint32_t SaturatePair(std::uint32_t v) {
  std::uint32_t over = v & 0x01000100u;
  return (v | (over - (over >> 8))) & 0x00FF00FFu;
}

inline std::uint32_t Load(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void Store(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

void BlendSpan(std::uint8_t* d, const std::uint8_t* s, int count, TBlendKind kind, unsigned alpha, bool keyed,
               COLORREF key) {
  // Pixels are B, G, R, A: lanes (B, R) and (G, A) of one 32-bit word.
  const std::uint32_t keyWord = static_cast<std::uint32_t>(GetBValue(key)) | (static_cast<std::uint32_t>(GetGValue(key)) << 8) |
                                (static_cast<std::uint32_t>(GetRValue(key)) << 16);
  switch (kind) {
    case TBlendKind::Opaque:
      if (!keyed) {
        std::memcpy(d, s, static_cast<std::size_t>(count) * 4);
        return;
      }
      for (int x = 0; x < count; ++x, d += 4, s += 4) {
        std::uint32_t sv = Load(s);
        if ((sv & 0x00FFFFFFu) != keyWord) Store(d, sv | 0xFF000000u);
      }
      return;
    case TBlendKind::Constant: {
      const std::uint32_t a = alpha, inv = 255 - alpha;
      for (int x = 0; x < count; ++x, d += 4, s += 4) {
        std::uint32_t sv = Load(s);
        if (keyed && (sv & 0x00FFFFFFu) == keyWord) continue;
        std::uint32_t dv = Load(d);
        std::uint32_t rb = Div255Pair((sv & 0x00FF00FFu) * a + (dv & 0x00FF00FFu) * inv);
        std::uint32_t g = Div255Pair(((sv >> 8) & 0xFFu) * a + ((dv >> 8) & 0xFFu) * inv);
        Store(d, rb | (g << 8) | 0xFF000000u);
      }
      return;
    }
    case TBlendKind::PerPixel: {
      const std::uint32_t ca = alpha;
      for (int x = 0; x < count; ++x, d += 4, s += 4) {
        std::uint32_t sv = Load(s);
        std::uint32_t srb = sv & 0x00FF00FFu;
        std::uint32_t sga = (sv >> 8) & 0x00FF00FFu;  // G and A
        if (ca != 255) {
          srb = Div255Pair(srb * ca);
          sga = Div255Pair(sga * ca);
        }
        std::uint32_t sa = sga >> 16;
        if (sa == 0) continue;
        if (sa == 255) {
          Store(d, srb | ((sga & 0xFFu) << 8) | 0xFF000000u);
          continue;
        }
        std::uint32_t inv = 255 - sa;
        std::uint32_t dv = Load(d);
        std::uint32_t rb = SaturatePair(srb + Div255Pair((dv & 0x00FF00FFu) * inv));
        std::uint32_t g = SaturatePair((sga & 0xFFu) + Div255Pair(((dv >> 8) & 0xFFu) * inv));
        Store(d, rb | (g << 8) | 0xFF000000u);
      }
      return;
    }
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
