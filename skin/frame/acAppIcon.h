#pragma once
// The textbook's own icon, drawn in the skin's blues: an open book on a rounded
// pale-sky tile. One list of shapes gives both the pictures (frames show one when
// a window has no icon of its own; the installed icons are drawn from it at every
// size) and the scalable SVG, so that all of them match.
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"

struct TIconShape {
  enum class TKind { RoundRect, Polygon };
  TKind Kind;
  // RoundRect: Points[0] top left, Points[1] bottom right, Radius the corners.
  // Polygon: convex, corners in clockwise order. Coordinates are of a unit square.
  std::vector<std::pair<double, double>> Points;
  double Radius = 0;
  unsigned Rgb = 0;  // 0xRRGGBB
};

// Bottom first: a later shape covers an earlier one.
const std::vector<TIconShape>& TextbookIconShapes();

// A size x size picture, 32 bits with straight alpha (size 16 and up look right).
TBitmap DrawTextbookIcon(int size);

// The same icon as an SVG document of 256 x 256 units.
std::string TextbookIconSvg();
