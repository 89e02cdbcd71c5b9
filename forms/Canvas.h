#pragma once
// A drawing surface over a borrowed device context, with the font, brush and
// pen objects of the classic canvas. Controls hand it the context of the
// current paint; it never owns the context.
#include <memory>
#include <string>
#include <string_view>

#include "forms/Brush.h"
#include "forms/Font.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/TextFlags.h"

class TPen : public TPersistent {
public:
  std::string ClassName() const override { return "TPen"; }
  TColor Color() const { return Color_; }
  void SetColor(TColor c) { Color_ = c; }
  int Width() const { return Width_; }
  void SetWidth(int w) { Width_ = w < 1 ? 1 : w; }
  bool Clear() const { return Clear_; }
  void SetClear(bool c) { Clear_ = c; }

private:
  TColor Color_ = clBlack;
  int Width_ = 1;
  bool Clear_ = false;
};

class TCanvas : public TPersistent {
public:
  TCanvas();
  ~TCanvas() override;
  std::string ClassName() const override { return "TCanvas"; }

  HDC Handle() const { return Handle_; }
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return Handle_ != nullptr; }

  TFont& Font() { return Font_; }
  TBrush& Brush() { return Brush_; }
  TPen& Pen() { return Pen_; }

  void FillRect(const TRect& rect);
  void FrameRect(const TRect& rect);
  // Outline with the pen (unless clear), inside with the brush (unless clear).
  void Rectangle(const TRect& rect);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // A 3D frame: top/left in one colour, bottom/right in the other, `width` rings;
  // the rectangle shrinks by the width.
  void Frame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width);
  void DrawFocusRect(const TRect& rect);
  void SetPixel(int x, int y, TColor color);
  TColor Pixel(int x, int y) const;

  // Text in the canvas font and colour; the brush fills behind it unless clear.
  void TextOut(int x, int y, std::string_view text);
  // Text clipped to the rectangle.
  void TextRect(const TRect& rect, int x, int y, std::string_view text);
  // The classic DrawText with DT_* flags; returns the text height.
  int DrawText(std::string_view text, TRect& rect, unsigned format);
  TSize TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }

  // Copies a bitmap; transparent bitmaps skip their transparent colour.
  void Draw(int x, int y, const TBitmap& bitmap);
  void DrawRect(int x, int y, const TBitmap& bitmap, const TRect& source, bool transparent);
  void StretchDraw(const TRect& dest, const TBitmap& bitmap);

private:
  void SelectFont();
  HDC Handle_ = nullptr;
  TFont Font_;
  TBrush Brush_;
  TPen Pen_;
  HFONT FontHandle_ = nullptr;
  TLogFont FontHandleFor_;
};
