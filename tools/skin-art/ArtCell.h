#pragma once
// A small painting surface for skin art: straight (non-premultiplied) RGBA in
// floating point, shapes sampled 4 x 4 per pixel so edges come out smooth.
// Cells are written into the master bitmap either as a picture with a mask band
// below it, or as a picture whose holes are the magenta key.
#include <functional>
#include <vector>

#include "platform/gfx/Bitmap.h"

// A shape: true when the point (pixel units, 0,0 = top-left corner of the cell) is inside.
using TArtShape = std::function<bool(double x, double y)>;

TArtShape RoundRect(double left, double top, double right, double bottom, double radius);
// Rounded rectangle whose corners are chosen: tl, tr, br, bl.
TArtShape RoundRectCorners(double left, double top, double right, double bottom, double radius, bool tl, bool tr,
                           bool br, bool bl);
TArtShape Ring(TArtShape outer, TArtShape inner);
TArtShape Circle(double cx, double cy, double radius);
TArtShape Segment(double x0, double y0, double x1, double y1, double halfWidth);
TArtShape Union(TArtShape a, TArtShape b);
TArtShape Rectangle(double left, double top, double right, double bottom);

struct TArtColor {
  double R = 0, G = 0, B = 0;
};
// From 0xRRGGBB as designers write it.
TArtColor Hex(unsigned rgb);
TArtColor Mix(TArtColor a, TArtColor b, double t);

class TArtCell {
public:
  TArtCell(int width, int height);
  int Width() const { return Width_; }
  int Height() const { return Height_; }

  // Paints colour over the cell where the shape covers it, with the given opacity.
  void Paint(const TArtShape& shape, TArtColor color, double opacity = 1.0);
  // Marks the shape as the inside of the control: pixels there that stay
  // unpainted are clear (mask 255) instead of holes, so a painter's corner
  // update does not punch the parent through the control's own face.
  void Claim(const TArtShape& shape);
  // Vertical gradient from top colour to bottom colour over the shape's rows y0..y1.
  void PaintVertical(const TArtShape& shape, TArtColor top, TArtColor bottom, double y0, double y1,
                     double opacity = 1.0);

  // Picture at (x, y), mask band (0 opaque .. 255 clear) at (x, y + Height()).
  // Uncovered pixels become the magenta key in the picture, and so do pixels outside
  // a claimed face that are less than half covered.
  void WriteMasked(TBitmap& target, int x, int y) const;
  // Picture only; pixels less than half covered become the key, the rest are
  // flattened onto base.
  void WriteKeyed(TBitmap& target, int x, int y, TArtColor base) const;
  // 32-bit picture with alpha (for PNG images).
  void WriteAlpha(TBitmap& target, int x, int y) const;

private:
  int Width_, Height_;
  std::vector<double> R_, G_, B_, A_;
  std::vector<bool> Inside_;
  bool Claimed_ = false;
};

// Writes "rgb" (0..255 each) clamped and rounded.
void PutPixel(TBitmap& target, int x, int y, double r, double g, double b);
