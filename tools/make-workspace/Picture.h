#pragma once
// A small RGB canvas for the demo pictures, written out as PNG.
#include <cstdint>
#include <string>
#include <vector>

class Picture {
public:
  Picture(int width, int height, uint32_t rgb);
  int Width() const { return Width_; }
  int Height() const { return Height_; }
  void FillRect(int x, int y, int w, int h, uint32_t rgb);
  void FrameRect(int x, int y, int w, int h, int thickness, uint32_t rgb);
  void Line(int x0, int y0, int x1, int y1, uint32_t rgb);
  void FillDiamond(int cx, int cy, int rx, int ry, uint32_t fill, uint32_t border);
  void FillCircle(int cx, int cy, int r, uint32_t rgb);
  void VerticalGradient(uint32_t top, uint32_t bottom);
  // Rows of R, G, B bytes.
  const std::vector<uint8_t>& Pixels() const { return Pixels_; }
  // Raises an exception with the reason on failure.
  void SavePng(const std::string& path) const;

private:
  void Put(int x, int y, uint32_t rgb);
  int Width_, Height_;
  std::vector<uint8_t> Pixels_;
};

// The pictures of the demo documents.
Picture FlowchartPicture();
Picture BinaryPicture();
