#include "forms/Image.h"

#include <span>
#include <utility>

#include "forms/Canvas.h"
#include "platform/gfx/ImageFile.h"

void TPicture::LoadFromFile(const std::string& path) {
  Bitmap_ = LoadImageFromFile(path);
  Changed();
}

void TPicture::LoadFromMemory(const std::uint8_t* data, std::size_t size) {
  Bitmap_ = LoadImageFromMemory(std::span<const std::uint8_t>(data, size));
  Changed();
}

void TPicture::SetBitmap(const TBitmap& bitmap) {
  Bitmap_.Assign(bitmap);
  Changed();
}

void TPicture::SetBitmap(TBitmap&& bitmap) {
  Bitmap_ = std::move(bitmap);
  Changed();
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  ControlStyle_.Include(csReplicatable);
  SetBounds(0, 0, 105, 105);
  Picture_.OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::PictureChanged() {
  BlendedValid_ = false;
  if (AutoSize_ && !Picture_.Empty()) SetBounds(Left(), Top(), Picture_.Width(), Picture_.Height());
  Invalidate();
}

void TImage::SetStretch(bool value) {
  Stretch_ = value;
  Invalidate();
}

void TImage::SetCenter(bool value) {
  Center_ = value;
  Invalidate();
}

void TImage::SetProportional(bool value) {
  Proportional_ = value;
  Invalidate();
}

void TImage::SetTransparent(bool value) {
  Transparent_ = value;
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  AutoSize_ = value;
  PictureChanged();
}

TRect TImage::DestRect() const {
  int w = Picture_.Width(), h = Picture_.Height();
  int cw = ClientWidth(), ch = ClientHeight();
  if (Stretch_ || (Proportional_ && (w > cw || h > ch))) {
    if (Proportional_ && w > 0 && h > 0) {
      if (static_cast<long long>(cw) * h > static_cast<long long>(ch) * w) {
        w = static_cast<int>(static_cast<long long>(w) * ch / h);
        h = ch;
      } else {
        h = static_cast<int>(static_cast<long long>(h) * cw / w);
        w = cw;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r{0, 0, w, h};
  if (Center_) r = r.Offset((cw - w) / 2, (ch - h) / 2);
  return r;
}

const TBitmap& TImage::Displayable(TColor background) {
  const TBitmap& src = Picture_.Bitmap();
  if (src.PixelFormat() != TPixelFormat::pf32bit) return src;
  TColor bg = ColorToRGB(background);
  if (BlendedValid_ && BlendedOver_ == bg) return Blended_;
  const int w = src.Width(), h = src.Height();
  Blended_ = TBitmap(w, h, TPixelFormat::pf24bit, true);
  const unsigned bb = GetBValue(static_cast<COLORREF>(bg)), bgc = GetGValue(static_cast<COLORREF>(bg)),
                 br = GetRValue(static_cast<COLORREF>(bg));
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* s = src.ScanLine(y);
    std::uint8_t* d = Blended_.ScanLine(y);
    for (int x = 0; x < w; ++x, s += 4, d += 3) {
      unsigned a = s[3], ia = 255 - a;
      d[0] = static_cast<std::uint8_t>((s[0] * a + bb * ia + 127) / 255);
      d[1] = static_cast<std::uint8_t>((s[1] * a + bgc * ia + 127) / 255);
      d[2] = static_cast<std::uint8_t>((s[2] * a + br * ia + 127) / 255);
    }
  }
  BlendedOver_ = bg;
  BlendedValid_ = true;
  return Blended_;
}

void TImage::Paint() {
  if (Picture_.Empty()) return;
  TColor behind = Parent() ? Parent()->Color() : clBtnFace;
  const TBitmap& bmp = Displayable(behind);
  TRect dest = DestRect();
  TCanvas& c = Canvas();
  if (dest.Width() == bmp.Width() && dest.Height() == bmp.Height()) {
    c.DrawRect(dest.Left, dest.Top, bmp, {0, 0, bmp.Width(), bmp.Height()}, Transparent_ || bmp.Transparent());
  } else {
    c.StretchDraw(dest, bmp);
  }
}
