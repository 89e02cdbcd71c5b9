#pragma once
// The section painter: turns one skin section into pixels of a 24- or 32-bit bitmap
// (background by colour, gradient and texture mixed with what lies behind by the
// section's transparency, then the border mask, then the corner images). The
// entry points here need only the skin model; sStyleControls.h adds the ones that
// start from a control's skin data.
#include <string>
#include <string_view>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObject.h"
#include "platform/gfx/Types.h"
#include "skin/core/acSkinModel.h"
#include "skin/runtime/acPaintState.h"
#include "skin/runtime/sBackground.h"

// What the painter reads of a control's skin data.
struct TacPaintSource {
  TacSkinModel* Manager = nullptr;
  int SkinIndex = -1;
  int BorderIndex = -1;
  int Texture = -1;     // state 0; -1 looks PATTERN up by name
  int HotTexture = -1;  // other states; -1 looks HOTPATTERN up by name
  bool CustomColor = false;
  TColor OwnerColor = clWhite;  // painted opaquely when CustomColor is set
};

// A percentage as a blending byte: clamp(p * 255 div 100).
int PercentToByte(int percent);

// Background, border mask and corner images of the source's section over rect
// (right and bottom exclusive) of target; offset is the item's position in bg's
// coordinate space. Does nothing for a missing target, no loaded skin, an invalid
// section, a rectangle reaching beyond the target or with a negative left or top.
void PaintSection(const TacPaintSource& source, const BackgroundInfo& bg, bool fillCentre, TacPaintState state, TRect rect,
                  TPoint offset, TBitmap* target, bool updateCorners);
// The background layer only.
void PaintSectionBackground(const TacPaintSource& source, const BackgroundInfo& bg, TacPaintState state, TRect rect,
                            TPoint offset, TBitmap& target);
// A section that belongs to no control (frames, title bars, scroll-bar parts):
// corner images are drawn before the border mask, and corners are always updated.
// Here and below, a null manager means the default manager.
void PaintSectionByIndex(int sectionIndex, std::string_view sectionName, const BackgroundInfo& bg, int texture,
                         int hotTexture, TacSkinModel* manager, TBitmap* target, TPoint offset, TRect rect, TacPaintState state,
                         bool fillCentre);
// Paints into a temporary bitmap of rect's size and copies it to dc at rect.
void PaintSectionToDC(int sectionIndex, std::string_view sectionName, const BackgroundInfo& bg, TacSkinModel* manager,
                      HDC dc, TPoint offset, TRect rect, TacPaintState state, bool fillCentre);
// Finds the section (altName when name is unknown), takes the background from
// sourceDC at rect (copied into bitmap) or the colour, and paints the whole bitmap.
// Returns the section index, -1 when neither name is known.
int PaintSectionByName(TBitmap& bitmap, std::string_view name, std::string_view altName, HDC sourceDC, TColor color,
                       TRect rect, TacSkinModel* manager, TacPaintState state);

// Flags of PaintDisabledLook.
constexpr int kDisabledBlend = 1, kDisabledGray = 2;
// Turns a finished image into its disabled look: gray (flag 2) and/or 40 % image
// over 60 % of what lies behind (flag 1; without a parent bitmap, half the fill
// colour, or parentColor when the fill colour is not known).
void PaintDisabledLook(TBitmap& bitmap, int flags, TColor parentColor, TPoint offset, const BackgroundInfo& bg);

// A caption in the section's font colours with its outline colours; disabled text
// once in round(0.4 * FONTCOLOR + 0.6 * COLOR).
void DrawSectionText(TDeviceContext& canvas, std::string_view text, bool enabled, TacSkinModel* manager, TacPaintState state,
                     int sectionIndex, unsigned format, TRect rect);
// The disabled look of one colour (text, or a face pixel over a plain background):
// each channel round(0.4 * front + 0.6 * background).
TColor DisabledMix(TColor front, TColor background);

// Solid fills (system colours resolved).
void FillRectColor(HDC dc, TRect rect, TColor color);
void FillBorderBand(HDC dc, TRect rect, int left, int top, int right, int bottom, TColor color);

// The section's colour for a state: COLOR for 0, HOTCOLOR otherwise (RGB).
TColor SectionColor(const TacSkinModel& manager, int sectionIndex, TacPaintState state);
