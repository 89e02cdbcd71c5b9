#include "skin/render/acFastAccess.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

bool Usable(const TBitmap* bitmap, TPixelFormat format) {
  return bitmap != nullptr && bitmap->PixelFormat() == format && bitmap->Width() >= 2 && bitmap->Height() >= 2;
}

}  // namespace

bool TacFastView::AttachAs(TBitmap* bitmap, TPixelFormat format) {
  Detach();
  if (!Usable(bitmap, format)) return false;
  Bitmap = bitmap;
  Width = bitmap->Width();
  Height = bitmap->Height();
  Row0 = bitmap->ScanLine(0);
  Stride = bitmap->Stride();
  return true;
}

void TacFastView::Detach() {
  Bitmap = nullptr;
  Width = Height = 0;
  Row0 = nullptr;
  Stride = 0;
}

void TacFast32::FillRect(const TRect& rect, std::uint32_t value) {
  if (Width == 0) return;
  const TRect r = rect.Intersect(TRect{0, 0, Width, Height});
  if (r.IsEmpty()) return;
  // Memory order is B, G, R, A.
  const std::uint8_t pixel[4] = {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 24)};
  std::uint32_t word = 0;
  std::memcpy(&word, pixel, 4);
  const int count = r.Width();
  std::uint8_t* row = Row0 + static_cast<std::ptrdiff_t>(r.Top) * Stride + r.Left * 4;
  for (int y = r.Top; y < r.Bottom; ++y, row += Stride) {
    std::uint8_t* p = row;
    for (int x = 0; x < count; ++x, p += 4) std::memcpy(p, &word, 4);
  }
}

bool TacFastSumBase::AttachAs(const TBitmap* source, TBitmap* destination, TPixelFormat format) {
  Detach();
  if (!Usable(source, format) || !Usable(destination, format)) return false;
  Source = source;
  Destination = destination;
  SrcWidth_ = source->Width();
  SrcHeight_ = source->Height();
  DstWidth_ = destination->Width();
  DstHeight_ = destination->Height();
  Width = std::min(SrcWidth_, DstWidth_);
  Height = std::min(SrcHeight_, DstHeight_);
  SrcRow0 = source->ScanLine(0);
  SrcStride = source->Stride();
  DstRow0 = destination->ScanLine(0);
  DstStride = destination->Stride();
  return true;
}

void TacFastSumBase::Detach() {
  Source = nullptr;
  Destination = nullptr;
  Width = Height = 0;
  SrcRow0 = nullptr;
  DstRow0 = nullptr;
  SrcStride = DstStride = 0;
  SrcWidth_ = SrcHeight_ = DstWidth_ = DstHeight_ = 0;
}

void TacFastSumBase::Blend() {
  if (Source == nullptr || Destination == nullptr) return;
  // Cut both rectangles to their bitmaps, keeping source and destination pixels paired.
  int sx = SrcX1, sy = SrcY1, dx = DstX1, dy = DstY1;
  if (sx < 0) { dx -= sx; sx = 0; }
  if (sy < 0) { dy -= sy; sy = 0; }
  if (dx < 0) { sx -= dx; dx = 0; }
  if (dy < 0) { sy -= dy; dy = 0; }
  const int cw = std::min(std::min(SrcX2, SrcWidth_) - sx, std::min(DstX2, DstWidth_) - dx);
  const int ch = std::min(std::min(SrcY2, SrcHeight_) - sy, std::min(DstY2, DstHeight_) - dy);
  if (cw <= 0 || ch <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(cw) * static_cast<std::size_t>(BytesPerPixel_);
  const std::uint8_t* s = SrcRow0 + static_cast<std::ptrdiff_t>(sy) * SrcStride + sx * BytesPerPixel_;
  std::uint8_t* d = DstRow0 + static_cast<std::ptrdiff_t>(dy) * DstStride + dx * BytesPerPixel_;
  std::ptrdiff_t sStep = SrcStride, dStep = DstStride;
  // Rows are independent: walk a bottom-up destination upwards, in memory order,
  // which the prefetcher likes (not when blending a bitmap onto itself).
  if (DstStride < 0 && Source != Destination) {
    s += static_cast<std::ptrdiff_t>(ch - 1) * SrcStride;
    d += static_cast<std::ptrdiff_t>(ch - 1) * DstStride;
    sStep = -SrcStride;
    dStep = -DstStride;
  }
  for (int y = 0; y < ch; ++y, s += sStep, d += dStep) BlendBytes(d, s, rowBytes, Alpha);
}

namespace {

struct TacSharedFast {
  TacFast24 Fast24A;
  TacFast24 Fast24B;
  TacFastSum24 Sum24;
  TacFast32 Fast32;
};

// A function-local owner is safe to reach from other static initialisers.
TacSharedFast& Shared() {
  static const std::unique_ptr<TacSharedFast> shared = std::make_unique<TacSharedFast>();
  return *shared;
}

// Touch it once at start-up so the instances exist before main and die after it.
[[maybe_unused]] const TacSharedFast& gCreateAtStart = Shared();

}  // namespace

TacFast24& SharedFast24A() { return Shared().Fast24A; }
TacFast24& SharedFast24B() { return Shared().Fast24B; }
TacFastSum24& SharedFastSum24() { return Shared().Sum24; }
TacFast32& SharedFast32() { return Shared().Fast32; }
