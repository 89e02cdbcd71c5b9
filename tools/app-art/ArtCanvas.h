#pragma once
// The painting surface of the program's pictures: premultiplied RGBA in floating
// point. Shapes are signed-distance functions (negative inside, in pixels), so one
// sample per pixel gives smooth, evenly anti-aliased edges; a softness widens the
// edge into a blur for shadows and glows. Text comes from the platform's font
// engine (fontconfig faces) as coverage.
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"

struct TArtRgb {
  double R = 0, G = 0, B = 0;
};
// From 0xRRGGBB as designers write it.
TArtRgb Rgb(unsigned hex);
TArtRgb Mix(TArtRgb a, TArtRgb b, double t);

struct TArtBox {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// A shape: its distance function and a box that holds everything inside it.
struct TArtShape {
  std::function<double(double x, double y)> Distance;
  TArtBox Box;
};

TArtShape Circle(double cx, double cy, double r);
TArtShape Ellipse(double cx, double cy, double rx, double ry);
TArtShape RoundRect(double left, double top, double right, double bottom, double radius);
// A stroke between two points with round ends.
TArtShape Capsule(double x0, double y0, double x1, double y1, double halfWidth);
// A closed polygon through the points (x0, y0, x1, y1, ...).
TArtShape Polygon(std::vector<double> xy);
TArtShape Union(const TArtShape& a, const TArtShape& b);
TArtShape Intersect(const TArtShape& a, const TArtShape& b);
TArtShape Subtract(const TArtShape& a, const TArtShape& b);
// The band of the given width centred on the shape's edge.
TArtShape Outline(const TArtShape& shape, double width);
TArtShape Offset(const TArtShape& shape, double dx, double dy);

// Colour of a fill at a point.
using TArtPaint = std::function<TArtRgb(double x, double y)>;
TArtPaint Solid(TArtRgb c);
// Linear gradient from (x0, y0) in colour a to (x1, y1) in colour b, clamped.
TArtPaint Linear(double x0, double y0, TArtRgb a, double x1, double y1, TArtRgb b);
// Radial gradient from the centre (colour a) to radius r (colour b).
TArtPaint Radial(double cx, double cy, double r, TArtRgb a, TArtRgb b);

struct TArtFont {
  const char* Face = "Palatino Linotype";
  int Height = 16;  // character height in pixels
  bool Bold = false;
  bool Italic = false;
};

class TArtCanvas {
public:
  TArtCanvas(int width, int height);
  int Width() const { return Width_; }
  int Height() const { return Height_; }

  // Paints over the canvas where the shape covers it; softness > 1 blurs the edge.
  void Fill(const TArtShape& shape, const TArtPaint& paint, double opacity = 1.0, double softness = 1.0);
  void Fill(const TArtShape& shape, TArtRgb color, double opacity = 1.0, double softness = 1.0) {
    Fill(shape, Solid(color), opacity, softness);
  }
  // Text with its top-left corner at (x, y); returns its width and height.
  TSize Text(double x, double y, const std::string& utf8, const TArtFont& font, const TArtPaint& paint,
             double opacity = 1.0);
  static TSize TextSize(const std::string& utf8, const TArtFont& font);
  // Another canvas laid over this one at (x, y).
  void Draw(const TArtCanvas& layer, int x, int y, double opacity = 1.0);

  // A canvas holding a 32-bit picture's pixels (straight alpha).
  static TArtCanvas FromBitmap(const TBitmap& bitmap);
  // 32-bit BGRA, top-down, straight alpha.
  TBitmap ToBitmap() const;

private:
  void Blend(int index, TArtRgb c, double a);
  int Width_, Height_;
  std::vector<float> Px_;  // R, G, B, A premultiplied, row by row
};
