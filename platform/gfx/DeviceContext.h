#pragma once
// Device contexts: a drawing state bound to a 24- or 32-bit target bitmap.
//
// Coordinates. Drawing calls take logical coordinates; a logical point lands on
// target pixel (x + ViewportOrg().X, y + ViewportOrg().Y). "Device coordinates" in
// this layer are target pixel coordinates. The viewport origin is the sum of the
// device origin (set by the window system, e.g. a child window painted into its
// top-level window's bitmap) and the origin the program sets with
// SetViewportOrgEx; GetViewportOrgEx reports only the latter, as classic code
// expects.
//
// Clipping. Every drawing call is clipped to EffectiveClip(): the target bounds
// intersected with the system clip (the visible part of a window, set by the window
// system) and the user clip (SelectClipRgn, IntersectClipRect, ExcludeClipRect).
//
// Colours. TColor arguments may name system colours (high byte 0xFF); they are
// resolved with ColorToRGB when set, so the accessors always return RGB values.
// On 32-bit targets every opaque drawing call writes alpha 255.
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObject.h"
#include "platform/gfx/GdiTools.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/Types.h"

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Stretch modes.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Line raster operations (SetROP2).
constexpr int R2_BLACK = 1;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_COPYPEN = 13;
constexpr int R2_WHITE = 16;

// Block transfer raster operations.
using DWORD = std::uint32_t;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Gradient fill records. Channels are 16 bits (8-bit value × 256).
using COLOR16 = std::uint16_t;
struct TRIVERTEX {
  int x = 0;
  int y = 0;
  COLOR16 Red = 0;
  COLOR16 Green = 0;
  COLOR16 Blue = 0;
  COLOR16 Alpha = 0;
};
struct GRADIENT_TRIANGLE {
  std::uint32_t Vertex1 = 0;
  std::uint32_t Vertex2 = 0;
  std::uint32_t Vertex3 = 0;
};
struct GRADIENT_RECT {
  std::uint32_t UpperLeft = 0;
  std::uint32_t LowerRight = 0;
};
constexpr std::uint32_t GRADIENT_FILL_RECT_H = 0;
constexpr std::uint32_t GRADIENT_FILL_RECT_V = 1;
constexpr std::uint32_t GRADIENT_FILL_TRIANGLE = 2;

class TDeviceContext {
public:
  // A context drawing into the bitmap, which must outlive it.
  explicit TDeviceContext(TBitmap& target);
  // A memory context without a target until a bitmap is selected into it.
  TDeviceContext();
  TDeviceContext(const TDeviceContext&) = delete;
  TDeviceContext& operator=(const TDeviceContext&) = delete;
  ~TDeviceContext();

  // The bitmap drawn into (null for a memory context without a bitmap).
  TBitmap* Target() const { return Target_; }
  bool IsMemoryDC() const { return MemoryDC_; }
  // Called by the bitmap when its size changes, so the clip follows it.
  void TargetResized();

  // --- coordinates -------------------------------------------------------------
  // Logical (0, 0) lands on this target pixel (device origin + program's origin).
  TPoint ViewportOrg() const { return {DeviceOrg_.X + ViewportOrg_.X, DeviceOrg_.Y + ViewportOrg_.Y}; }
  // The program's part of the origin (what SetViewportOrgEx sets).
  TPoint UserViewportOrg() const { return ViewportOrg_; }
  TPoint SetUserViewportOrg(TPoint origin);
  // Window system: where the window's (0, 0) lies in the target.
  TPoint DeviceOrg() const { return DeviceOrg_; }
  void SetDeviceOrg(TPoint origin);

  // --- clipping (regions in target pixel coordinates) -------------------------
  // Window system: the visible part of the window; null removes it.
  void SetSystemClip(const TRegion* region);
  const std::optional<TRegion>& SystemClip() const { return SystemClip_; }
  // Target bounds ∩ system clip ∩ user clip.
  TRegion EffectiveClip() const;
  // Replaces the user clip (null removes it); returns the resulting complexity.
  int SelectClip(const TRegion* region);
  // Logical rectangles.
  int IntersectClip(const TRect& rect);
  int ExcludeClip(const TRect& rect);
  // Bounds of the effective clip in logical coordinates; returns its complexity.
  int ClipBox(TRect& box) const;
  // The user clip, if any (target pixel coordinates).
  const std::optional<TRegion>& UserClip() const { return UserClip_; }

  // --- state ----------------------------------------------------------------
  // Pushes the state; returns the new depth (1 for the first save), 0 on failure.
  int Save();
  // Positive: back to the state saved at that depth. Negative: that many saves back.
  bool Restore(int savedIndex);

  HFONT SelectedFont() const { return Font_; }
  HBRUSH SelectedBrush() const { return Brush_; }
  HPEN SelectedPen() const { return Pen_; }
  HBITMAP SelectedBitmap() const { return Bitmap_; }
  // Each returns the previous object, or null when the new one cannot be selected.
  HFONT SelectFont(HFONT font);
  HBRUSH SelectBrush(HBRUSH brush);
  HPEN SelectPen(HPEN pen);
  // Memory contexts only: the target becomes the handle's bitmap.
  HBITMAP SelectBitmap(HBITMAP bitmap);

  TColor TextColor() const { return TextColor_; }
  TColor BkColor() const { return BkColor_; }
  int BkMode() const { return BkMode_; }
  TColor SetTextColor(TColor color);
  TColor SetBkColor(TColor color);
  int SetBkMode(int mode);
  int StretchBltMode() const { return StretchMode_; }
  int SetStretchBltMode(int mode);
  int PolyFillMode() const { return PolyFillMode_; }
  int SetPolyFillMode(int mode);
  int Rop2() const { return Rop2_; }
  int SetRop2(int rop);
  TPoint CurrentPosition() const { return Position_; }
  TPoint MoveTo(TPoint point);

  // --- drawing (logical coordinates) ----------------------------------------
  void FillRect(const TRect& rect, TColor color);
  void FillRect(const TRect& rect, HBRUSH brush);
  void FrameRect(const TRect& rect, HBRUSH brush);
  void DrawFocusRect(const TRect& rect);
  // Line from the current position up to (not including) the point.
  void LineTo(TPoint point);
  // Outline with the pen, inside with the brush.
  void Rectangle(const TRect& rect);
  void Polygon(const TPoint* points, int count);
  bool BitBlt(int x, int y, int width, int height, const TDeviceContext* source, int srcX, int srcY, DWORD rop);
  bool StretchBlt(int x, int y, int width, int height, const TDeviceContext* source, int srcX, int srcY,
                  int srcWidth, int srcHeight, DWORD rop);
  // Copies from a bitmap directly (logical destination, source pixel coordinates).
  bool DrawBitmap(int x, int y, const TBitmap& source, const TRect& sourceRect, DWORD rop = SRCCOPY);
  bool GradientFill(const TRIVERTEX* vertices, int vertexCount, const void* mesh, int meshCount, std::uint32_t mode);
  COLORREF GetPixel(int x, int y) const;
  COLORREF SetPixel(int x, int y, TColor color);

  // --- text: defined with the fonts ---------------------------------------------
  int DrawText(std::string_view utf8, TRect& rect, unsigned format);
  TSize TextExtent(std::string_view utf8);
  bool TextOut(int x, int y, std::string_view utf8);

  // Makes every context that holds the object fall back to its default (used by
  // DeleteObject so no context keeps a dangling handle).
  static void ForgetObject(const TGdiObject* object);

private:
  struct TState;
  void InvalidateClip() { ClipValid_ = false; }
  const TRegion& Clip() const;
  TRect TargetBounds() const;
  void FillDeviceRect(const TRect& deviceRect, const TGdiBrush& brush);
  void InvertDevicePixel(int x, int y, const TRegion& clip);
  void PlotLinePixel(int x, int y, COLORREF color, const TRegion& clip);
  bool BlitFrom(const TBitmap& source, const TRect& srcRect, int dstX, int dstY, DWORD rop);
  void ForgetInState(const TGdiObject* object);

  TBitmap* Target_ = nullptr;
  bool MemoryDC_ = false;
  TPoint DeviceOrg_;
  TPoint ViewportOrg_;
  std::optional<TRegion> SystemClip_;
  std::optional<TRegion> UserClip_;
  mutable TRegion ClipCache_;
  mutable bool ClipValid_ = false;
  HFONT Font_ = nullptr;
  HBRUSH Brush_ = nullptr;
  HPEN Pen_ = nullptr;
  HBITMAP Bitmap_ = nullptr;
  TColor TextColor_ = clBlack;
  TColor BkColor_ = clWhite;
  int BkMode_ = OPAQUE;
  int StretchMode_ = BLACKONWHITE;
  int PolyFillMode_ = ALTERNATE;
  int Rop2_ = R2_COPYPEN;
  TPoint Position_;
  std::vector<std::unique_ptr<TState>> Saved_;
};

// Fills triangles straight into a 24- or 32-bit bitmap (target pixel coordinates),
// clipped to the rectangle and the bitmap. Pixels whose centre lies inside a
// triangle are filled (top-left rule on edges); channels are interpolated at the
// centre. 32-bit pixels get alpha 255. Vertices farther than 2^20 pixels from the
// origin are not drawn.
void GradientFillTriangles(TBitmap& target, const TRect& clip, const TRIVERTEX* vertices, int vertexCount,
                           const GRADIENT_TRIANGLE* triangles, int triangleCount);
// Horizontal (GRADIENT_FILL_RECT_H) or vertical (GRADIENT_FILL_RECT_V) rectangle fill.
void GradientFillRects(TBitmap& target, const TRect& clip, const TRIVERTEX* vertices, int vertexCount,
                       const GRADIENT_RECT* rects, int rectCount, bool vertical);

// --- classic wrappers ----------------------------------------------------------
HDC CreateCompatibleDC(HDC reference);
bool DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HFONT SelectObject(HDC dc, HFONT font);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HPEN SelectObject(HDC dc, HPEN pen);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
// Selecting a region sets the clip to a copy of it (SelectClipRgn); returns complexity.
int SelectObject(HDC dc, HRGN region);
HGDIOBJ GetCurrentObject(HDC dc, int objectType);

bool SetViewportOrgEx(HDC dc, int x, int y, POINT* previous);
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous);
bool GetViewportOrgEx(HDC dc, POINT* origin);
// Region in device coordinates (relative to the device origin); null removes the clip.
int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, RECT* box);
// 1 when the user clip is copied into the region, 0 when there is none, -1 on error.
int GetClipRgn(HDC dc, HRGN region);
bool PtVisible(HDC dc, int x, int y);
bool RectVisible(HDC dc, const RECT* rect);
int SaveDC(HDC dc);
bool RestoreDC(HDC dc, int savedIndex);

TColor SetTextColor(HDC dc, TColor color);
TColor GetTextColor(HDC dc);
TColor SetBkColor(HDC dc, TColor color);
TColor GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int SetROP2(HDC dc, int rop);

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
bool DrawFocusRect(HDC dc, const RECT* rect);
bool MoveToEx(HDC dc, int x, int y, POINT* previous);
bool LineTo(HDC dc, int x, int y);
bool Rectangle(HDC dc, int left, int top, int right, int bottom);
bool Polygon(HDC dc, const POINT* points, int count);
bool BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, DWORD rop);
bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);
bool PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
bool GradientFill(HDC dc, const TRIVERTEX* vertices, unsigned vertexCount, const void* mesh, unsigned meshCount,
                  std::uint32_t mode);
COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, TColor color);
