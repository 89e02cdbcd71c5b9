#include "media/HtmlImages.h"

#include <gif_lib.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/gfx/ImageFile.h"

namespace {

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

// giflib has no text for some failures (a read that stops without a code).
std::string GifError(int code) {
  const char* text = GifErrorString(code);
  return std::string("GIF image: ") + (text ? text : "unreadable data");
}

[[noreturn]] void GifFailed(const GifFileType* gif) { throw EInvalidGraphic(GifError(gif->Error)); }

void ForceOpaque(TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[x * 4 + 3] = 255;
  }
}

bool IsGif(std::span<const std::uint8_t> data) {
  return data.size() >= 6 && (std::memcmp(data.data(), "GIF87a", 6) == 0 || std::memcmp(data.data(), "GIF89a", 6) == 0);
}

unsigned Le16(std::span<const std::uint8_t> d, std::size_t i) { return d[i] | d[i + 1] << 8; }
unsigned Be16(std::span<const std::uint8_t> d, std::size_t i) { return d[i] << 8 | d[i + 1]; }
std::uint32_t Le32(std::span<const std::uint8_t> d, std::size_t i) {
  return d[i] | d[i + 1] << 8 | d[i + 2] << 16 | static_cast<std::uint32_t>(d[i + 3]) << 24;
}
std::uint32_t Be32(std::span<const std::uint8_t> d, std::size_t i) {
  return static_cast<std::uint32_t>(d[i]) << 24 | d[i + 1] << 16 | d[i + 2] << 8 | d[i + 3];
}

// Header sizes can be anything up to 2^32; beyond an int they are simply too large.
TSize SizeOf(std::uint64_t width, std::uint64_t height) {
  return TSize{static_cast<int>(std::min<std::uint64_t>(width, INT_MAX)),
               static_cast<int>(std::min<std::uint64_t>(height, INT_MAX))};
}

// The frame header (SOFn) of a JPEG, walking the segments before it.
TSize JpegSize(std::span<const std::uint8_t> d) {
  std::size_t i = 2;
  while (i + 4 <= d.size()) {
    if (d[i] != 0xFF) return {};
    const unsigned marker = d[i + 1];
    if (marker == 0xFF) {  // fill byte
      ++i;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length
      i += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return {};  // end, or data before any frame header
    const std::size_t length = Be16(d, i + 2);
    if (length < 2) return {};
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (length < 7 || i + 9 > d.size()) return {};
      return SizeOf(Be16(d, i + 7), Be16(d, i + 5));
    }
    i += 2 + length;
  }
  return {};
}

}  // namespace

TSize ProbePictureSize(std::span<const std::uint8_t> d) {
  if (IsGif(d)) return d.size() >= 10 ? SizeOf(Le16(d, 6), Le16(d, 8)) : TSize{};
  switch (DetectImageFormat(d)) {
    case TImageFormat::Png:
      if (d.size() < 24 || std::memcmp(d.data() + 12, "IHDR", 4) != 0) return {};
      return SizeOf(Be32(d, 16), Be32(d, 20));
    case TImageFormat::Jpeg: return JpegSize(d);
    case TImageFormat::Bmp: {
      if (d.size() < 26) return {};
      if (Le32(d, 14) == 12) return SizeOf(Le16(d, 18), Le16(d, 20));  // the old core header
      const auto height = static_cast<std::int32_t>(Le32(d, 22));      // negative: rows top-down
      const auto width = static_cast<std::int32_t>(Le32(d, 18));
      if (width <= 0 || height == INT32_MIN) return {};
      return SizeOf(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height < 0 ? -height : height));
    }
    case TImageFormat::Unknown: break;
  }
  return {};
}

TBitmap LoadGifFromMemory(std::span<const std::uint8_t> data) {
  TGifSource source{data, 0};
  int error = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&source, ReadGif, &error));
  if (!gif) throw EInvalidGraphic(GifError(error));
  const int width = gif->SWidth;
  const int height = gif->SHeight;
  if (width <= 0 || height <= 0) throw EInvalidGraphic("GIF image: empty picture");
  if (width > kHtmlMaxPictureSide || height > kHtmlMaxPictureSide) throw EOutOfResources("picture too large");
  GraphicsControlBlock gcb{};
  gcb.TransparentColor = NO_TRANSPARENT_COLOR;
  // Records up to the first picture; animations may have thousands more frames, never read.
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) GifFailed(gif.get());
    if (type == TERMINATE_RECORD_TYPE) throw EInvalidGraphic("GIF image: no frames");
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) GifFailed(gif.get());
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) DGifExtensionToGCB(block[0], block + 1, &gcb);
      while (block)
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) GifFailed(gif.get());
      continue;
    }
    if (type == IMAGE_DESC_RECORD_TYPE) break;
    throw EInvalidGraphic("GIF image: damaged record");
  }
  if (DGifGetImageDesc(gif.get()) == GIF_ERROR) GifFailed(gif.get());
  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (!map) throw EInvalidGraphic("GIF image: no colour table");
  const int fw = frame.Width;
  const int fh = frame.Height;
  if (fw <= 0 || fh <= 0) throw EInvalidGraphic("GIF image: empty frame");
  if (fw > kHtmlMaxPictureSide || fh > kHtmlMaxPictureSide) throw EOutOfResources("picture too large");

  TBitmap out(width, height, TPixelFormat::pf32bit, true);  // zeroed: transparent
  std::vector<GifPixelType> line(static_cast<std::size_t>(fw));
  // Interlaced frames come in four passes of rows.
  static constexpr int kStart[] = {0, 4, 2, 1};
  static constexpr int kStep[] = {8, 8, 4, 2};
  const int passes = frame.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = frame.Interlace ? kStart[pass] : 0; y < fh; y += frame.Interlace ? kStep[pass] : 1) {
      // A cut file shows the rows it has.
      if (DGifGetLine(gif.get(), line.data(), fw) == GIF_ERROR) return out;
      const int ty = frame.Top + y;
      if (ty < 0 || ty >= height) continue;
      std::uint8_t* row = out.ScanLine(ty);
      for (int x = 0; x < fw; ++x) {
        const int tx = frame.Left + x;
        if (tx < 0 || tx >= width) continue;
        const int index = line[static_cast<std::size_t>(x)];
        if (index == gcb.TransparentColor || index >= map->ColorCount) continue;
        const GifColorType& c = map->Colors[index];
        std::uint8_t* px = row + tx * 4;
        px[0] = c.Blue;
        px[1] = c.Green;
        px[2] = c.Red;
        px[3] = 255;
      }
    }
  }
  return out;
}

TBitmap LoadHtmlPicture(std::span<const std::uint8_t> data) {
  const TSize size = ProbePictureSize(data);
  if (size.cx <= 0 || size.cy <= 0) throw EInvalidGraphic("Unknown or damaged picture file");
  if (size.cx > kHtmlMaxPictureSide || size.cy > kHtmlMaxPictureSide) throw EOutOfResources("picture too large");
  TBitmap picture;
  if (IsGif(data)) {
    picture = LoadGifFromMemory(data);
  } else {
    const bool bmp = DetectImageFormat(data) == TImageFormat::Bmp;
    picture = LoadImageFromMemory(data);
    picture.SetPixelFormat(TPixelFormat::pf32bit);
    picture.SetTopDown(true);
    if (bmp) ForceOpaque(picture);  // BMP files carry no real alpha
  }
  if (picture.Width() > kHtmlMaxPictureSide || picture.Height() > kHtmlMaxPictureSide)
    throw EOutOfResources("picture too large");
  return picture;
}

TBitmap ScalePicture(const TBitmap& source, int width, int height) {
  return ScalePictureRegion(source, width, height, Bounds(0, 0, width, height));
}

TBitmap ScalePictureRegion(const TBitmap& source, int width, int height, const TRect& region) {
  const TRect part = region.Intersect(Bounds(0, 0, width, height));
  if (part.IsEmpty() || source.Empty()) return TBitmap(std::max(0, part.Width()), std::max(0, part.Height()), TPixelFormat::pf32bit, true);
  // Shrinking by more than half: average whole blocks first so that detail is not skipped.
  const int kx = std::max(1, source.Width() / std::max(1, width));
  const int ky = std::max(1, source.Height() / std::max(1, height));
  TBitmap boxed;
  if (kx > 1 || ky > 1) {
    const int bw = std::max(1, source.Width() / kx);
    const int bh = std::max(1, source.Height() / ky);
    boxed = TBitmap(bw, bh, TPixelFormat::pf32bit, true);
    for (int y = 0; y < bh; ++y) {
      std::uint8_t* out = boxed.ScanLine(y);
      for (int x = 0; x < bw; ++x) {
        unsigned sum[4] = {0, 0, 0, 0};
        for (int yy = 0; yy < ky; ++yy) {
          const std::uint8_t* in = source.ScanLine(std::min(source.Height() - 1, y * ky + yy)) + x * kx * 4;
          for (int xx = 0; xx < kx; ++xx)
            for (int c = 0; c < 4; ++c) sum[c] += in[xx * 4 + c];
        }
        const unsigned count = static_cast<unsigned>(kx * ky);
        for (int c = 0; c < 4; ++c) out[x * 4 + c] = static_cast<std::uint8_t>(sum[c] / count);
      }
    }
  }
  const TBitmap& src = boxed.Empty() ? source : boxed;
  TBitmap out(part.Width(), part.Height(), TPixelFormat::pf32bit, true);
  const std::int64_t sw = src.Width();
  const std::int64_t sh = src.Height();
  for (int y = part.Top; y < part.Bottom; ++y) {
    // Sample centres, in 1/256 pixel.
    const int sy256 = static_cast<int>(std::clamp<std::int64_t>(((2 * y + 1) * sh * 128) / height - 128, 0, (sh - 1) * 256));
    const int y0 = sy256 >> 8;
    const int y1 = std::min(static_cast<int>(sh) - 1, y0 + 1);
    const int fy = sy256 & 255;
    const std::uint8_t* r0 = src.ScanLine(y0);
    const std::uint8_t* r1 = src.ScanLine(y1);
    std::uint8_t* o = out.ScanLine(y - part.Top) - part.Left * 4;
    for (int x = part.Left; x < part.Right; ++x) {
      const int sx256 = static_cast<int>(std::clamp<std::int64_t>(((2 * x + 1) * sw * 128) / width - 128, 0, (sw - 1) * 256));
      const int x0 = sx256 >> 8;
      const int x1 = std::min(static_cast<int>(sw) - 1, x0 + 1);
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

TSize THtmlImageCache::Size(const std::string& path) {
  if (auto it = Sizes_.find(path); it != Sizes_.end()) return it->second;
  TSize size;
  try {
    size = ProbePictureSize(ReadWholeFile(path, kHtmlMaxPictureFileBytes));
  } catch (const std::exception&) {
    size = TSize{};  // a page shows what it can; a missing picture is left out
  }
  if (size.cx <= 0 || size.cy <= 0 || size.cx > kHtmlMaxPictureSide || size.cy > kHtmlMaxPictureSide) size = TSize{};
  Sizes_.emplace(path, size);
  return size;
}

const TBitmap* THtmlImageCache::Find(const std::string& path, int width, int height) {
  auto it = Index_.find(TKey(path, width, height));
  if (it == Index_.end()) return nullptr;
  Kept_.splice(Kept_.begin(), Kept_, it->second);
  return &it->second->Picture;
}

void THtmlImageCache::Forget(const std::string& path, int width, int height) {
  auto it = Index_.find(TKey(path, width, height));
  if (it == Index_.end()) return;
  Bytes_ -= static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  Kept_.erase(it->second);
  Index_.erase(it);
}

void THtmlImageCache::Keep(const std::string& path, TBitmap picture) {
  const std::size_t bytes = static_cast<std::size_t>(picture.Width()) * static_cast<std::size_t>(picture.Height()) * 4;
  if (bytes > Budget_) return;
  // The least recently drawn go first.
  while (Bytes_ + bytes > Budget_ && !Kept_.empty()) {
    const TEntry& last = Kept_.back();
    Forget(std::string(last.Path), last.Width, last.Height);
  }
  const int width = picture.Width();
  const int height = picture.Height();
  Kept_.push_front(TEntry{path, width, height, std::move(picture)});
  Index_[TKey(path, width, height)] = Kept_.begin();
  Bytes_ += bytes;
}

void THtmlImageCache::Draw(TBitmap& target, const TRect& clip, const std::string& path, int width, int height, int x,
                           int y) {
  if (width <= 0 || height <= 0 || width > kHtmlMaxPictureSide || height > kHtmlMaxPictureSide) return;
  const TRect visible = Bounds(x, y, width, height).Intersect(clip).Intersect(Bounds(0, 0, target.Width(), target.Height()));
  if (visible.IsEmpty()) return;
  const TSize natural = Size(path);
  if (natural.cx <= 0 || natural.cy <= 0) return;
  if (const TBitmap* kept = Find(path, width, height)) {
    BlendPicture(target, clip, *kept, x, y);
    return;
  }
  TBitmap decoded;
  const TBitmap* source = Find(path, natural.cx, natural.cy);
  if (!source) {
    ++Decodes_;
    try {
      decoded = LoadHtmlPicture(ReadWholeFile(path, kHtmlMaxPictureFileBytes));
    } catch (const std::exception&) {
      decoded = TBitmap();
    }
    if (decoded.Width() != natural.cx || decoded.Height() != natural.cy) {
      Sizes_[path] = TSize{};  // damaged: not tried again, and the page shows its alternative text
      return;
    }
    source = &decoded;
  }
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  if (width == natural.cx && height == natural.cy) {
    BlendPicture(target, clip, *source, x, y);
    if (source == &decoded) Keep(path, std::move(decoded));
  } else if (bytes <= kMaxScaledBytes) {
    // Kept at the size it is shown; a full-size original larger than that is not kept for it.
    TBitmap scaled = ScalePicture(*source, width, height);
    BlendPicture(target, clip, scaled, x, y);
    Keep(path, std::move(scaled));
    if (source == &decoded && static_cast<std::size_t>(natural.cx) * static_cast<std::size_t>(natural.cy) * 4 <= bytes)
      Keep(path, std::move(decoded));
  } else {
    // Too large to keep scaled: the part in view is scaled at each draw, from the original kept for it.
    const TBitmap part = ScalePictureRegion(*source, width, height, visible.Offset(-x, -y));
    BlendPicture(target, clip, part, visible.Left, visible.Top);
    if (source == &decoded) Keep(path, std::move(decoded));
  }
}

void THtmlImageCache::Clear() {
  Sizes_.clear();
  Kept_.clear();
  Index_.clear();
  Bytes_ = 0;
}
