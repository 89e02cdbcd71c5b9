#include "skin/core/acSkinImage.h"

#include <cmath>

#include "platform/gfx/ImageFile.h"

namespace {

std::function<bool()>& CompositionQuery() {
  static std::function<bool()> query;
  return query;
}

// A soft shadow around a content rectangle: alpha falls off with the distance
// from the content's edge; inside the content the window covers it anyway.
TBitmap PaintShadow(int size, int left, int top, int right, int bottom, int peak, double reach) {
  TBitmap shadow(size, size, TPixelFormat::pf32bit, true);
  for (int y = 0; y < size; ++y) {
    std::uint8_t* row = shadow.ScanLine(y);
    for (int x = 0; x < size; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double dx = px < left ? left - px : (px > size - right ? px - (size - right) : 0.0);
      const double dy = py < top ? top - py : (py > size - bottom ? py - (size - bottom) : 0.0);
      const double d = std::sqrt(dx * dx + dy * dy);
      double a = 1.0 - d / reach;
      a = a <= 0 ? 0 : a * a;
      const int alpha = static_cast<int>(std::lround(a * peak));
      std::uint8_t* p = row + x * 4;
      // Deep navy rather than black keeps the shadow in the skin's family.
      p[0] = alpha ? 0x30 : 0;
      p[1] = alpha ? 0x22 : 0;
      p[2] = alpha ? 0x14 : 0;
      p[3] = static_cast<std::uint8_t>(alpha);
    }
  }
  return shadow;
}

}  // namespace

void ClearTransparentWhite(TBitmap& bitmap) {
  if (bitmap.PixelFormat() != TPixelFormat::pf32bit) return;
  const int width = bitmap.Width();
  std::uint8_t* row = bitmap.ScanLine(0);
  for (int y = 0; y < bitmap.Height(); ++y, row += bitmap.Stride()) {
    for (std::uint8_t* p = row; p < row + width * 4; p += 4)
      if (p[0] == 255 && p[1] == 255 && p[2] == 255 && p[3] == 0) p[0] = p[1] = p[2] = 0;
  }
}

TBitmap DecodeSkinPng(std::span<const std::uint8_t> bytes) {
  TBitmap bitmap = LoadPngFromMemory(bytes);
  if (bitmap.PixelFormat() != TPixelFormat::pf32bit) bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  ClearTransparentWhite(bitmap);
  return bitmap;
}

std::optional<TacDeclaredSize> DeclaredImageSize(std::span<const std::uint8_t> bytes) {
  const std::size_t n = bytes.size();
  const auto le32 = [&](std::size_t i) {
    return static_cast<std::uint32_t>(bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16)) |
           (static_cast<std::uint32_t>(bytes[i + 3]) << 24);
  };
  const auto be16 = [&](std::size_t i) { return static_cast<std::uint32_t>((bytes[i] << 8) | bytes[i + 1]); };
  if (n >= 26 && bytes[0] == 'B' && bytes[1] == 'M') {
    if (le32(14) == 12) return TacDeclaredSize{static_cast<std::uint32_t>(bytes[18] | (bytes[19] << 8)),
                                               static_cast<std::uint32_t>(bytes[20] | (bytes[21] << 8))};
    // The height is negative for top-down rows.
    const auto height = static_cast<std::int32_t>(le32(22));
    return TacDeclaredSize{le32(18), height < 0 ? 0u - static_cast<std::uint32_t>(height) : static_cast<std::uint32_t>(height)};
  }
  if (n >= 24 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
    return TacDeclaredSize{(be16(16) << 16) | be16(18), (be16(20) << 16) | be16(22)};
  if (n >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
    // The first start-of-frame marker carries the height and width.
    for (std::size_t i = 2; i + 9 <= n;) {
      if (bytes[i] != 0xFF) return std::nullopt;
      const int marker = bytes[i + 1];
      if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
        i += 2;
        continue;
      }
      if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
        return TacDeclaredSize{be16(i + 7), be16(i + 5)};
      i += 2 + static_cast<std::size_t>(be16(i + 2));
    }
  }
  return std::nullopt;
}

bool DeclaresNoPixels(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return true;
  const auto size = DeclaredImageSize(bytes);
  return size && (size->Width == 0 || size->Height == 0);
}

TBitmap DecodeSkinPicture(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
    return LoadPngFromMemory(bytes);
  if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return LoadJpegFromMemory(bytes);
  return LoadBmpFromMemory(bytes);
}

const TBitmap& BuiltInShadowImage(TacShadowImage which) {
  // Content insets 11, 7, 11, 11: the light falls from above, so the shadow
  // reaches further below and to the sides than above.
  static const TBitmap active = PaintShadow(32, 11, 7, 11, 11, 96, 11.0);
  static const TBitmap inactive = PaintShadow(31, 11, 7, 11, 11, 56, 9.0);
  return which == TacShadowImage::Active ? active : inactive;
}

void SetDesktopCompositionQuery(std::function<bool()> query) { CompositionQuery() = std::move(query); }

bool DesktopCompositionEnabled() {
  const auto& query = CompositionQuery();
  return query ? query() : false;
}
