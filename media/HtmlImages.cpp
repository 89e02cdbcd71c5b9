#include "media/HtmlImages.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <cstdio>

#include "platform/base/Exception.h"
#include "platform/gfx/ImageFile.h"

namespace {

// Pictures bigger than this are not kept for a page (a screen is far smaller).
constexpr int kMaxPictureSide = 8192;

struct TGifSource {
  std::span<const std::uint8_t> Data;
  std::size_t Pos = 0;
};

int ReadGif(GifFileType* gif, GifByteType* buffer, int length) {
  auto* src = static_cast<TGifSource*>(gif->UserData);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(length, 0)), src->Data.size() - src->Pos);
  std::memcpy(buffer, src->Data.data() + src->Pos, n);
  src->Pos += n;
  return static_cast<int>(n);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

void ForceOpaque(TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[x * 4 + 3] = 255;
  }
}

}  // namespace

TBitmap LoadGifFromMemory(std::span<const std::uint8_t> data) {
  TGifSource source{data, 0};
  int error = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&source, ReadGif, &error));
  if (!gif) throw EInvalidGraphic(std::string("GIF image: ") + GifErrorString(error));
  const int width = gif->SWidth;
  const int height = gif->SHeight;
  if (width <= 0 || height <= 0) throw EInvalidGraphic("GIF image: empty picture");
  CheckBitmapSize(width, height, TPixelFormat::pf32bit);
  if (DGifSlurp(gif.get()) != GIF_OK && gif->ImageCount < 1)
    throw EInvalidGraphic(std::string("GIF image: ") + GifErrorString(gif->Error));
  if (gif->ImageCount < 1) throw EInvalidGraphic("GIF image: no frames");
  const SavedImage& frame = gif->SavedImages[0];
  const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
  if (!map || !frame.RasterBits) throw EInvalidGraphic("GIF image: no colour table");
  GraphicsControlBlock gcb{};
  gcb.TransparentColor = NO_TRANSPARENT_COLOR;
  DGifSavedExtensionToGCB(gif.get(), 0, &gcb);

  TBitmap out(width, height, TPixelFormat::pf32bit, true);  // zeroed: transparent
  const int fx = frame.ImageDesc.Left;
  const int fy = frame.ImageDesc.Top;
  const int fw = frame.ImageDesc.Width;
  const int fh = frame.ImageDesc.Height;
  for (int y = 0; y < fh; ++y) {
    const int ty = fy + y;
    if (ty < 0 || ty >= height) continue;
    std::uint8_t* row = out.ScanLine(ty);
    const GifByteType* src = frame.RasterBits + static_cast<std::size_t>(y) * static_cast<std::size_t>(fw);
    for (int x = 0; x < fw; ++x) {
      const int tx = fx + x;
      if (tx < 0 || tx >= width) continue;
      const int index = src[x];
      if (index == gcb.TransparentColor || index >= map->ColorCount) continue;
      const GifColorType& c = map->Colors[index];
      std::uint8_t* px = row + tx * 4;
      px[0] = c.Blue;
      px[1] = c.Green;
      px[2] = c.Red;
      px[3] = 255;
    }
  }
  return out;
}

TBitmap LoadHtmlPicture(std::span<const std::uint8_t> data) {
  TBitmap picture;
  if (data.size() >= 6 && (std::memcmp(data.data(), "GIF87a", 6) == 0 || std::memcmp(data.data(), "GIF89a", 6) == 0)) {
    picture = LoadGifFromMemory(data);
  } else {
    const bool bmp = DetectImageFormat(data) == TImageFormat::Bmp;
    picture = LoadImageFromMemory(data);
    picture.SetPixelFormat(TPixelFormat::pf32bit);
    picture.SetTopDown(true);
    if (bmp) ForceOpaque(picture);  // BMP files carry no real alpha
  }
  if (picture.Width() > kMaxPictureSide || picture.Height() > kMaxPictureSide)
    throw EOutOfResources("picture too large");
  return picture;
}

TBitmap ScalePicture(const TBitmap& source, int width, int height) {
  TBitmap src = source;
  // Shrinking by more than half: average whole blocks first so that detail is not skipped.
  const int kx = std::max(1, src.Width() / std::max(1, width));
  const int ky = std::max(1, src.Height() / std::max(1, height));
  if (kx > 1 || ky > 1) {
    const int bw = std::max(1, src.Width() / kx);
    const int bh = std::max(1, src.Height() / ky);
    TBitmap boxed(bw, bh, TPixelFormat::pf32bit, true);
    for (int y = 0; y < bh; ++y) {
      std::uint8_t* out = boxed.ScanLine(y);
      for (int x = 0; x < bw; ++x) {
        unsigned sum[4] = {0, 0, 0, 0};
        for (int yy = 0; yy < ky; ++yy) {
          const std::uint8_t* in = src.ScanLine(std::min(src.Height() - 1, y * ky + yy)) + x * kx * 4;
          for (int xx = 0; xx < kx; ++xx)
            for (int c = 0; c < 4; ++c) sum[c] += in[xx * 4 + c];
        }
        const unsigned count = static_cast<unsigned>(kx * ky);
        for (int c = 0; c < 4; ++c) out[x * 4 + c] = static_cast<std::uint8_t>(sum[c] / count);
      }
    }
    src = std::move(boxed);
  }
  TBitmap out(width, height, TPixelFormat::pf32bit, true);
  const int sw = src.Width();
  const int sh = src.Height();
  for (int y = 0; y < height; ++y) {
    // Sample centres, in 1/256 pixel.
    const int sy256 = std::clamp(((2 * y + 1) * sh * 128) / height - 128, 0, (sh - 1) * 256);
    const int y0 = sy256 >> 8;
    const int y1 = std::min(sh - 1, y0 + 1);
    const int fy = sy256 & 255;
    const std::uint8_t* r0 = src.ScanLine(y0);
    const std::uint8_t* r1 = src.ScanLine(y1);
    std::uint8_t* o = out.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      const int sx256 = std::clamp(((2 * x + 1) * sw * 128) / width - 128, 0, (sw - 1) * 256);
      const int x0 = sx256 >> 8;
      const int x1 = std::min(sw - 1, x0 + 1);
      const int fx = sx256 & 255;
      for (int c = 0; c < 4; ++c) {
        const int top = r0[x0 * 4 + c] * (256 - fx) + r0[x1 * 4 + c] * fx;
        const int bottom = r1[x0 * 4 + c] * (256 - fx) + r1[x1 * 4 + c] * fx;
        o[x * 4 + c] = static_cast<std::uint8_t>((top * (256 - fy) + bottom * fy + 32768) >> 16);
      }
    }
  }
  return out;
}

void BlendPicture(TBitmap& target, const TRect& clip, const TBitmap& picture, int x, int y) {
  const TRect area = Bounds(x, y, picture.Width(), picture.Height())
                         .Intersect(clip)
                         .Intersect(Bounds(0, 0, target.Width(), target.Height()));
  if (area.IsEmpty()) return;
  const int bpp = target.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  if (target.PixelFormat() != TPixelFormat::pf32bit && target.PixelFormat() != TPixelFormat::pf24bit) return;
  for (int ty = area.Top; ty < area.Bottom; ++ty) {
    const std::uint8_t* s = picture.ScanLine(ty - y) + (area.Left - x) * 4;
    std::uint8_t* d = target.ScanLine(ty) + area.Left * bpp;
    for (int tx = area.Left; tx < area.Right; ++tx, s += 4, d += bpp) {
      const unsigned a = s[3];
      if (a == 255) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      } else if (a != 0) {
        d[0] = static_cast<std::uint8_t>((s[0] * a + d[0] * (255 - a) + 127) / 255);
        d[1] = static_cast<std::uint8_t>((s[1] * a + d[1] * (255 - a) + 127) / 255);
        d[2] = static_cast<std::uint8_t>((s[2] * a + d[2] * (255 - a) + 127) / 255);
      }
      if (bpp == 4 && a != 0) d[3] = 255;
    }
  }
}

const TBitmap* THtmlImageCache::Get(const std::string& path) {
  auto it = Pictures_.find(path);
  if (it != Pictures_.end()) return it->second.get();
  std::unique_ptr<TBitmap> picture;
  try {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    picture = std::make_unique<TBitmap>(LoadHtmlPicture(bytes));
    if (picture->Empty()) picture.reset();
  } catch (const std::exception&) {
    picture.reset();  // a page shows what it can; a broken picture is left out
  }
  return Pictures_.emplace(path, std::move(picture)).first->second.get();
}

const TBitmap* THtmlImageCache::Get(const std::string& path, int width, int height) {
  const TBitmap* picture = Get(path);
  if (!picture || width <= 0 || height <= 0) return nullptr;
  if (picture->Width() == width && picture->Height() == height) return picture;
  if (width > kMaxPictureSide || height > kMaxPictureSide) return nullptr;
  const auto key = std::make_tuple(path, width, height);
  auto it = Scaled_.find(key);
  if (it != Scaled_.end()) return it->second.get();
  auto scaled = std::make_unique<TBitmap>(ScalePicture(*picture, width, height));
  return Scaled_.emplace(key, std::move(scaled)).first->second.get();
}

void THtmlImageCache::Clear() {
  Pictures_.clear();
  Scaled_.clear();
}
