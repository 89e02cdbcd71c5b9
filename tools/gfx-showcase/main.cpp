// Renders one sheet of the renderer's primitives (gradients, blends, keyed
// copies, grays, the seven stretch filters and the three text faces) to a PNG:
//   gfx-showcase [output.png]        (default docs/showcase.png)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiObject.h"
#include "platform/gfx/ImageFile.h"
#include "skin/core/sGradient.h"
#include "skin/render/acSmoothStretch.h"
#include "skin/render/sBlend.h"
#include "skin/render/sGradientPaint.h"

namespace {

constexpr int kSheetWidth = 1400;
constexpr int kSheetHeight = 1130;
constexpr int kMargin = 24;
constexpr TColor kPaper = 14998481;   // FORM colour
constexpr TColor kNavy = 5454116;     // BUTTON text
constexpr TColor kSteel = 15390916;   // PANEL colour
constexpr TColor kSky = 16505484;     // SPEEDBUTTON hot

// Text in one face; fonts are made per call, which a one-shot tool can afford.
void Write(TBitmap& sheet, int x, int y, const std::string& text, const char* face, int height,
           TColor color = kNavy, bool bold = false) {
  TLogFont lf;
  lf.FaceName = face;
  lf.Height = height;
  lf.Weight = bold ? FW_BOLD : FW_NORMAL;
  HFONT font = CreateFontIndirect(lf);
  TDeviceContext& dc = sheet.Canvas();
  HFONT old = dc.SelectFont(font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(color);
  dc.TextOut(x, y, text);
  dc.SelectFont(old);
  DeleteObject(font);
}

void Label(TBitmap& sheet, int x, int y, const std::string& text) { Write(sheet, x, y, text, "Arial", -13); }

void Heading(TBitmap& sheet, int y, const std::string& text) {
  Write(sheet, kMargin, y, text, "Arial", -17, kNavy, true);
  for (int x = kMargin; x < kSheetWidth - kMargin; ++x) sheet.SetPixel(x, y + 22, 0x9C8A74);
}

// Pastes a tile with a thin frame.
void Put(TBitmap& sheet, const TBitmap& tile, int x, int y) {
  CopyKeyed(sheet, tile, x, y, -1);  // -1 matches no pixel: an exact copy
  const TColor frame = 0x7A6A58;
  for (int xx = -1; xx <= tile.Width(); ++xx) {
    sheet.SetPixel(x + xx, y - 1, frame);
    sheet.SetPixel(x + xx, y + tile.Height(), frame);
  }
  for (int yy = 0; yy < tile.Height(); ++yy) {
    sheet.SetPixel(x - 1, y + yy, frame);
    sheet.SetPixel(x + tile.Width(), y + yy, frame);
  }
}

TBitmap Checkers(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, ((x / 8 + y / 8) & 1) ? clWhite : 0xC8C8C8);
  return b;
}

double Smooth(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

TColor Mix(TColor a, TColor b, double t) {
  auto ch = [&](int s) {
    const double v = ((a >> s) & 0xFF) * (1 - t) + ((b >> s) & 0xFF) * t;
    return static_cast<TColor>(std::clamp(static_cast<int>(std::lround(v)), 0, 255)) << s;
  };
  return ch(0) | ch(8) | ch(16);
}

// A small landscape: sky, sun, far hills, a meadow with texture and a lake.
TBitmap Landscape(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double u = static_cast<double>(x) / w, v = static_cast<double>(y) / h;
      TColor c = Mix(RGB(70, 120, 200), RGB(200, 225, 245), v / 0.55);
      // Soft clouds.
      const double cloud = std::sin(u * 11.0 + std::sin(v * 17.0)) * std::sin(u * 5.0 - v * 9.0);
      c = Mix(c, RGB(245, 248, 252), 0.8 * Smooth(0.35, 0.75, cloud) * (1 - Smooth(0.15, 0.35, v)));
      const double sun = std::hypot(u - 0.72, v - 0.22);
      c = Mix(c, RGB(255, 236, 170), 1 - Smooth(0.06, 0.09, sun));
      const double far = 0.42 + 0.06 * std::sin(u * 9.0) + 0.03 * std::sin(u * 23.0 + 1.0);
      if (v > far) c = Mix(RGB(96, 126, 160), RGB(120, 150, 176), (v - far) * 8);
      const double near = 0.58 + 0.05 * std::sin(u * 5.0 + 2.0);
      if (v > near) {
        const double grain = 0.5 + 0.5 * std::sin(x * 1.7 + std::sin(y * 2.3) * 3.0);
        c = Mix(RGB(70, 140, 60), RGB(150, 190, 80), 0.35 * grain + 0.4 * (v - near) / (1 - near));
      }
      // A ploughed field: fine stripes that test each filter's aliasing.
      if (v > 0.72 && u > 0.80) c = Mix(RGB(120, 90, 50), RGB(190, 160, 100), 0.5 + 0.5 * std::sin(x * 0.9 + y * 0.35));
      const double lake = std::hypot((u - 0.3) / 0.22, (v - 0.82) / 0.08);
      if (lake < 1.0) c = Mix(RGB(90, 150, 210), RGB(170, 210, 240), 0.5 + 0.5 * std::sin(y * 2.0));
      // A fence of thin posts.
      if (v > 0.90 && v < 0.98 && u < 0.55 && (x % 14) < 3) c = RGB(250, 250, 245);
      if (u < 0.55 && (std::abs(v - 0.925) < 0.006 || std::abs(v - 0.96) < 0.006)) c = RGB(250, 250, 245);
      // A house: white wall, red roof, a window.
      if (u > 0.60 && u < 0.78 && v > 0.62 && v < 0.80) c = RGB(236, 232, 220);
      if (v > 0.50 && v <= 0.62 && std::abs(u - 0.69) < (v - 0.50) * 1.0 + 0.01) c = RGB(180, 50, 40);
      if (u > 0.66 && u < 0.71 && v > 0.66 && v < 0.73) c = RGB(60, 90, 140);
      b.SetPixel(x, y, c);
    }
  return b;
}

// A glyph on the transparent key: a blue disc with a white tick.
TBitmap Glyph(int size) {
  TBitmap b(size, size);
  b.Fill(clFuchsia);
  const double c = (size - 1) / 2.0, r = size * 0.45;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double d = std::hypot(x - c, y - c);
      if (d > r) continue;
      TColor col = Mix(RGB(46, 140, 209), RGB(20, 60, 120), (y + d * 0.3) / size);
      if (d > r - 2) col = RGB(20, 50, 90);
      // Tick: two strokes.
      const double u = x / static_cast<double>(size), v = y / static_cast<double>(size);
      const bool stroke1 = u > 0.25 && u < 0.45 && std::abs((v - 0.50) - (u - 0.25)) < 0.07;
      const bool stroke2 = u >= 0.42 && u < 0.76 && std::abs((v - 0.70) + (u - 0.45) * 1.2) < 0.07;
      if (stroke1 || stroke2) col = clWhite;
      b.SetPixel(x, y, col);
    }
  return b;
}

void Gradients(TBitmap& sheet, int top) {
  Heading(sheet, top, "Градиенты (GRADIENTDATA)");
  struct TCase {
    const char* Text;
    const char* Caption;
  };
  const TCase cases[] = {
      {"14396279;14730921;99;0;0;14730921;14730921;0;0;0", "0: панель, 99 %"},
      {"16777215;11237449;50;0;0;11237449;13732910;50;0;0", "0: кнопка, 50 / 50"},
      {"16777215;16505484;30;0;0;16505484;5454116;40;0;0;5454116;14215660;30;0;0", "0: три полосы"},
      {"16772048;13732910;33;1;0;13732910;16777215;33;0;0;16777215;14215660;34;0;0", "1: 33 / 33 / 34"},
      {"16777215;11237449;100;1;0", "1: одна полоса"},
      {"16777215;0;0;2;0;13732910;0;0;0;0;16772048;0;0;0;0;5454116;0;0;0;0;14215660;0;0;0;0",
       "2: пять цветов"},
      {"5454116;0;0;2;0;16777215;0;0;0;0", "2: два цвета"},
  };
  int x = kMargin;
  for (const TCase& c : cases) {
    TBitmap tile(170, 96);
    tile.Fill(clFuchsia);
    PaintGradient(tile, TRect{0, 0, 170, 96}, ParseGradient(c.Text));
    Put(sheet, tile, x, top + 34);
    Label(sheet, x, top + 136, c.Caption);
    x += 190;
  }
}

void Blends(TBitmap& sheet, int top, const TBitmap& photo) {
  Heading(sheet, top, "Смешивание: BlendBitmaps (байт смешения) и BlendColorRect (процент)");
  TBitmap face(120, 80);
  PaintGradient(face, TRect{0, 0, 120, 80}, ParseGradient("16777215;11237449;99;0;0;11237449;11237449;0;0;0"));
  const int bytes[] = {0, 64, 128, 192, 255};
  int x = kMargin;
  for (int a : bytes) {
    TBitmap tile = Checkers(120, 80);
    BlendBitmaps(tile, face, a, TPoint{0, 0}, TRect{0, 0, 120, 80});
    Put(sheet, tile, x, top + 34);
    Label(sheet, x, top + 120, "a = " + std::to_string(a));
    x += 134;
  }
  x += 16;
  TBitmap small;
  SmoothStretch(photo, small, 120, 80, sfMitchell);
  const int percents[] = {100, 75, 50, 25, 0};
  for (int p : percents) {
    TBitmap tile = small;
    BlendColorRect(tile, TRect{0, 0, 119, 79}, p, kSky);
    Put(sheet, tile, x, top + 34);
    Label(sheet, x, top + 120, "p = " + std::to_string(p) + " %");
    x += 134;
  }
}

void KeyedAndGray(TBitmap& sheet, int top, const TBitmap& photo) {
  Heading(sheet, top, "Прозрачный ключ и оттенки серого");
  const TBitmap glyph = Glyph(72);
  int x = kMargin;
  auto tileWith = [&](const std::string& caption, auto paint) {
    TBitmap tile = Checkers(96, 96);
    paint(tile);
    Put(sheet, tile, x, top + 34);
    Label(sheet, x, top + 136, caption);
    x += 116;
  };
  tileWith("как есть", [&](TBitmap& t) { BlendBitmaps(t, glyph, 0, TPoint{12, 12}, TRect{0, 0, 72, 72}); });
  tileWith("CopyKeyed", [&](TBitmap& t) { CopyKeyed(t, glyph, 12, 12, clFuchsia); });
  for (double tr : {0.0, 0.4, 0.7}) {
    char caption[32];
    std::snprintf(caption, sizeof caption, "BlendKeyed %.1f", tr);
    tileWith(caption, [&](TBitmap& t) { BlendKeyed(t, 12, 12, clFuchsia, tr, TRect{0, 0, 71, 71}, glyph); });
  }
  tileWith("серый, ключ", [&](TBitmap& t) {
    TBitmap g = glyph;
    GrayBitmapExceptKey(g, clFuchsia);
    CopyKeyed(t, g, 12, 12, clFuchsia);
  });
  tileWith("без ключа 0.4", [&](TBitmap& t) { BlendKeyed(t, 12, 12, -1, 0.4, TRect{0, 0, 71, 71}, glyph); });
  x += 20;
  TBitmap colour;
  SmoothStretch(photo, colour, 144, 96, sfMitchell);
  Put(sheet, colour, x, top + 34);
  Label(sheet, x, top + 136, "цвет");
  x += 164;
  TBitmap gray = colour;
  GrayBitmap(gray);
  Put(sheet, gray, x, top + 34);
  Label(sheet, x, top + 136, "GrayBitmap");
}

void Stretches(TBitmap& sheet, int top, const TBitmap& photo) {
  Heading(sheet, top, "Плавное масштабирование 60 × 40 → 180 × 120 и 360 × 240 → 180 × 120");
  const char* names[] = {"0 прямоугольник", "1 треугольник", "2 Эрмит", "3 колокол", "4 B-сплайн", "5 Ланцош 3",
                         "6 Митчелл"};
  TBitmap tiny;
  SmoothStretch(photo, tiny, 60, 40, sfMitchell);
  TBitmap big;
  SmoothStretch(photo, big, 360, 240, sfLanczos3);
  for (int f = 0; f < kStretchFilterCount; ++f) {
    const int x = kMargin + f * 194;
    TBitmap up, down;
    SmoothStretch(tiny, up, 180, 120, f);
    SmoothStretch(big, down, 180, 120, f);
    Put(sheet, up, x, top + 34);
    Put(sheet, down, x, top + 164);
    Label(sheet, x, top + 290, names[f]);
  }
}

void Faces(TBitmap& sheet, int top) {
  Heading(sheet, top, "Начертания");
  const std::string sample = "Электронный учебник — Съешь же ещё этих мягких французских булок";
  const char* faces[] = {"Arial", "Palatino Linotype", "MS Sans Serif"};
  int y = top + 36;
  for (const char* face : faces) {
    Label(sheet, kMargin, y + 6, face);
    Write(sheet, kMargin + 150, y, sample, face, -22);
    Write(sheet, kMargin + 150, y + 30, sample, face, -13);
    y += 58;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string output = argc > 1 ? argv[1] : "docs/showcase.png";
  try {
    TBitmap sheet(kSheetWidth, kSheetHeight);
    sheet.Fill(kPaper);
    TBitmap band(kSheetWidth, 56);
    PaintGradient(band, TRect{0, 0, kSheetWidth, 56}, ParseGradient("14396279;14730921;99;0;0;14730921;14730921;0;0;0"));
    BlendBitmaps(sheet, band, 0, TPoint{0, 0}, TRect{0, 0, kSheetWidth, 56});
    Write(sheet, kMargin, 14, "Примитивы отрисовки скина", "Palatino Linotype", -26, clWhite, true);
    BlendColorRect(sheet, TRect{0, 56, kSheetWidth - 1, 58}, 0, kSteel);

    const TBitmap photo = Landscape(720, 480);
    Gradients(sheet, 76);
    Blends(sheet, 246, photo);
    KeyedAndGray(sheet, 396, photo);
    Stretches(sheet, 586, photo);
    Faces(sheet, 906);
    SavePngToFile(sheet, output);
    std::printf("%s\n", output.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gfx-showcase: %s\n", e.what());
    return 1;
  }
  return 0;
}
