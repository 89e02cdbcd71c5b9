#include "app/art/AppArt.h"

#include <array>
#include <span>

#include "platform/gfx/ImageFile.h"

#include "app/art/AppPictureData.h"

const std::vector<std::uint8_t>& AppPictureBytes(TAppPicture id) {
  // Copied once into vectors so callers get the same type the file readers give.
  static const std::array<std::vector<std::uint8_t>, kAppPictureCount> bytes = [] {
    std::array<std::vector<std::uint8_t>, kAppPictureCount> out;
    for (std::size_t i = 0; i < out.size() && i < kAppPictureDataCount; ++i)
      out[i].assign(kAppPictureData[i].Bytes, kAppPictureData[i].Bytes + kAppPictureData[i].Size);
    return out;
  }();
  const auto index = static_cast<std::size_t>(id);
  static const std::vector<std::uint8_t> none;
  return index < bytes.size() ? bytes[index] : none;
}

TBitmap AppPictureBitmap(TAppPicture id) {
  const auto& bytes = AppPictureBytes(id);
  return LoadPngFromMemory(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
}

TBitmap AppShownBitmap(TAppPicture id) {
  const auto index = static_cast<std::size_t>(id);
  if (index < kAppPictureDataCount && kAppPictureData[index].Shown)
    return LoadBmpFromMemory(std::span<const std::uint8_t>(kAppPictureData[index].Shown, kAppPictureData[index].ShownSize));
  return AppPictureBitmap(id);
}

TBitmap AppPictureGlyph(TAppPicture id, TColor face) {
  TBitmap picture = AppShownBitmap(id);
  picture.SetPixelFormat(TPixelFormat::pf32bit);  // an opaque one comes as 24 bits
  TBitmap glyph(picture.Width(), picture.Height(), TPixelFormat::pf24bit);
  const int fr = face & 0xFF, fg = (face >> 8) & 0xFF, fb = (face >> 16) & 0xFF;
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint8_t* src = picture.ScanLine(y);
    std::uint8_t* dst = glyph.ScanLine(y);
    for (int x = 0; x < picture.Width(); ++x, src += 4, dst += 3) {
      const int a = src[3];
      if (a < 128) {  // the key: magenta
        dst[0] = 0xFF, dst[1] = 0x00, dst[2] = 0xFF;
        continue;
      }
      dst[0] = static_cast<std::uint8_t>((src[0] * a + fb * (255 - a) + 127) / 255);
      dst[1] = static_cast<std::uint8_t>((src[1] * a + fg * (255 - a) + 127) / 255);
      dst[2] = static_cast<std::uint8_t>((src[2] * a + fr * (255 - a) + 127) / 255);
    }
  }
  // Glyphs take their transparent colour from the bottom-left pixel, which every
  // face leaves uncovered.
  glyph.SetTransparent(true);
  glyph.SetTransparentColor(clFuchsia);
  return glyph;
}
