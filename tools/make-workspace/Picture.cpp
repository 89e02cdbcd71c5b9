#include "tools/make-workspace/Picture.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

Picture::Picture(int width, int height, uint32_t rgb) : Width_(width), Height_(height), Pixels_(static_cast<size_t>(width) * height * 3) {
  FillRect(0, 0, width, height, rgb);
}

void Picture::Put(int x, int y, uint32_t rgb) {
  if (x < 0 || y < 0 || x >= Width_ || y >= Height_) return;
  uint8_t* p = &Pixels_[(static_cast<size_t>(y) * Width_ + x) * 3];
  p[0] = static_cast<uint8_t>(rgb >> 16);
  p[1] = static_cast<uint8_t>(rgb >> 8);
  p[2] = static_cast<uint8_t>(rgb);
}

void Picture::FillRect(int x, int y, int w, int h, uint32_t rgb) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Put(i, j, rgb);
}

void Picture::FrameRect(int x, int y, int w, int h, int t, uint32_t rgb) {
  FillRect(x, y, w, t, rgb);
  FillRect(x, y + h - t, w, t, rgb);
  FillRect(x, y, t, h, rgb);
  FillRect(x + w - t, y, t, h, rgb);
}

void Picture::Line(int x0, int y0, int x1, int y1, uint32_t rgb) {
  // Bresenham, two pixels thick.
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Put(x0, y0, rgb);
    Put(x0 + 1, y0, rgb);
    Put(x0, y0 + 1, rgb);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x0 += sx; }
    if (e2 <= dx) { err += dx; y0 += sy; }
  }
}

void Picture::FillDiamond(int cx, int cy, int rx, int ry, uint32_t fill, uint32_t border) {
  for (int y = -ry; y <= ry; ++y) {
    const int half = rx * (ry - std::abs(y)) / ry;
    for (int x = -half; x <= half; ++x) Put(cx + x, cy + y, std::abs(x) >= half - 1 ? border : fill);
  }
}

void Picture::FillCircle(int cx, int cy, int r, uint32_t rgb) {
  for (int y = -r; y <= r; ++y)
    for (int x = -r; x <= r; ++x)
      if (x * x + y * y <= r * r) Put(cx + x, cy + y, rgb);
}

void Picture::VerticalGradient(uint32_t top, uint32_t bottom) {
  for (int y = 0; y < Height_; ++y) {
    auto mix = [&](int shift) {
      const int a = static_cast<int>((top >> shift) & 0xFF), b = static_cast<int>((bottom >> shift) & 0xFF);
      return static_cast<uint32_t>(a + (b - a) * y / (Height_ > 1 ? Height_ - 1 : 1));
    };
    FillRect(0, y, Width_, 1, (mix(16) << 16) | (mix(8) << 8) | mix(0));
  }
}

void Picture::SavePng(const std::string& path) const {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) throw std::runtime_error("cannot create " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    throw std::runtime_error("libpng could not start");
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng failed writing " + path);
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(Width_), static_cast<png_uint_32>(Height_), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < Height_; ++y)
    png_write_row(png, const_cast<png_bytep>(&Pixels_[static_cast<size_t>(y) * Width_ * 3]));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
}

Picture FlowchartPicture() {
  // Start, a step, a question with two ways, the end: the shapes of a flowchart.
  const uint32_t ink = 0x1F3A5F, box = 0xDCE9F7, yes = 0xD8F0D2, no = 0xF7DCDC;
  Picture p(360, 420, 0xFFFFFF);
  p.FillRect(130, 15, 100, 40, 0xFFE9B0);
  p.FrameRect(130, 15, 100, 40, 2, ink);
  p.Line(180, 55, 180, 90, ink);
  p.FillRect(110, 90, 140, 50, box);
  p.FrameRect(110, 90, 140, 50, 2, ink);
  p.Line(180, 140, 180, 170, ink);
  p.FillDiamond(180, 215, 80, 45, 0xFFF6D5, ink);
  p.Line(100, 215, 50, 215, ink);
  p.Line(50, 215, 50, 290, ink);
  p.FillRect(10, 290, 80, 45, yes);
  p.FrameRect(10, 290, 80, 45, 2, ink);
  p.Line(260, 215, 310, 215, ink);
  p.Line(310, 215, 310, 290, ink);
  p.FillRect(270, 290, 80, 45, no);
  p.FrameRect(270, 290, 80, 45, 2, ink);
  p.Line(50, 335, 50, 370, ink);
  p.Line(310, 335, 310, 370, ink);
  p.Line(50, 370, 310, 370, ink);
  p.Line(180, 370, 180, 380, ink);
  p.FillRect(130, 380, 100, 34, 0xFFE9B0);
  p.FrameRect(130, 380, 100, 34, 2, ink);
  return p;
}

Picture BinaryPicture() {
  // The bits of 13 = 1101: lit and dark cells over their place values.
  Picture p(400, 140, 0xF4F7FB);
  const int bits[8] = {0, 0, 0, 0, 1, 1, 0, 1};
  for (int i = 0; i < 8; ++i) {
    const int x = 14 + i * 48;
    p.FillRect(x, 30, 40, 60, bits[i] ? 0x2E7D32 : 0xCFD8DC);
    p.FrameRect(x, 30, 40, 60, 2, 0x263238);
    // Place value as a bar: taller for higher bits.
    const int h = 4 + (7 - i) * 4;
    p.FillRect(x + 10, 130 - h, 20, h, 0x90A4AE);
  }
  return p;
}
