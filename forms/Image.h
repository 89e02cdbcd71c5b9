#pragma once
// A picture (BMP, PNG or JPEG) and the windowless control that shows it.
#include <memory>

#include "forms/GraphicControl.h"
#include "platform/gfx/Bitmap.h"

class TPicture : public TPersistent {
public:
  std::string ClassName() const override { return "TPicture"; }
  // Raises EInvalidGraphic / EFileError with the decoder's message.
  void LoadFromFile(const std::string& path);
  void LoadFromMemory(const std::uint8_t* data, std::size_t size);
  TBitmap& Bitmap() { return Bitmap_; }
  const TBitmap& Bitmap() const { return Bitmap_; }
  void SetBitmap(const TBitmap& bitmap);
  // Takes the bitmap over without copying its pixels (a picture decoded for the control).
  void SetBitmap(TBitmap&& bitmap);
  int Width() const { return Bitmap_.Width(); }
  int Height() const { return Bitmap_.Height(); }
  bool Empty() const { return Bitmap_.Empty(); }

  TNotifyEvent OnChange;

private:
  void Changed();
  TBitmap Bitmap_;
};

class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* owner);
  std::string ClassName() const override { return "TImage"; }

  TPicture& Picture() { return Picture_; }
  bool Stretch() const { return Stretch_; }
  void SetStretch(bool value);
  bool Center() const { return Center_; }
  void SetCenter(bool value);
  bool Proportional() const { return Proportional_; }
  void SetProportional(bool value);
  bool Transparent() const { return Transparent_; }
  void SetTransparent(bool value);
  bool AutoSize() const { return AutoSize_; }
  void SetAutoSize(bool value);

protected:
  void Paint() override;
  TRect DestRect() const;

private:
  void PictureChanged();
  // 32-bit pictures are shown blended over the colour behind them.
  const TBitmap& Displayable(TColor background);

  TPicture Picture_;
  bool Stretch_ = false;
  bool Center_ = false;
  bool Proportional_ = false;
  bool Transparent_ = false;
  bool AutoSize_ = false;
  TBitmap Blended_;
  TColor BlendedOver_ = clNone;
  bool BlendedValid_ = false;
};
