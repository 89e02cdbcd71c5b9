#pragma once
// Placeholder until the device context lands: a drawing state bound to one bitmap.
#include "platform/gfx/Bitmap.h"

class TDeviceContext {
public:
  explicit TDeviceContext(TBitmap& target) : Target_(&target) {}
  TBitmap* Target() const { return Target_; }
  // Called by the bitmap when its size changes, so the clip follows it.
  void TargetResized() {}

private:
  TBitmap* Target_;
};
