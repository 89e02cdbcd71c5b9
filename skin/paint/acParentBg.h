#pragma once
// The painter's entry points that start from a control: asking the parent what lies
// behind (command AC_GETCACHE with the request record), painting a control's
// section over it, refreshing rounded corners, disabled looks and border bands.
#include <string_view>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObject.h"
#include "platform/gfx/Types.h"
#include "skin/paint/sStyleSimply.h"
#include "skin/runtime/sBackground.h"

class TControl;
class TWinControl;
class TsCommonData;
class TDeviceContext;

// Asks the control's parent what lies behind the control. The kind is cleared and
// AC_GETCACHE is sent to the parent window (a parent without a window gets it
// directly). Without an answer: pleaseDraw makes the parent paint itself into
// request.DrawDC; otherwise the answer becomes the parent's colour (command 21,
// else its Color). True when the parent answered the request itself.
bool GetParentBackground(TacBGInfo& request, TControl* control, bool pleaseDraw);
// The request's answer as what lies behind: the bitmap with its offset, or the colour.
BackgroundInfo BackgroundFromRequest(const TacBGInfo& request);
// The colour of a control as a parent: its answer to command 21 when it is skinned,
// else its Color; the transparent key for none.
TColor ControlColor(TControl* control);

// What the painter reads of a control's skin data.
TacPaintSource PaintSourceOf(const TsCommonData& skinData);

// As PaintSection, taking what lies behind from the parent control.
void PaintSectionForControl(TsCommonData& skinData, TWinControl* parent, bool fillCentre, TacPaintState state, TRect rect,
                            TPoint offset, TBitmap* target, bool updateCorners);
void PaintSection(TsCommonData& skinData, const BackgroundInfo& bg, bool fillCentre, TacPaintState state, TRect rect,
                  TPoint offset, TBitmap* target, bool updateCorners);
void PaintSectionBackground(TsCommonData& skinData, const BackgroundInfo& bg, TacPaintState state, TRect rect, TPoint offset,
                            TBitmap& target);

// Repaints the requested corner slices (kCornerTopLeft ... ; 15 all) of the cached
// image over the parent background now behind the control.
void RefreshCorners(TsCommonData& skinData, TacPaintState state, int corners = 15);

// The disabled look of a control's finished image; the parent's colour is asked
// when no colour is known.
void PaintDisabledLook(TBitmap& bitmap, int flags, TControl* control, TPoint offset, const BackgroundInfo& bg);

// Paints only the border band of the control's section into its cached image and
// returns the inner rectangle; with borderWidth > 0 the band up to that width is
// filled with the control's colour (see the README of this folder).
TRect PaintBorderOnly(HDC dc, TRect rect, int borderWidth, TacPaintState state, TsCommonData& skinData);

// DrawSectionText with section and state taken from the skin data.
void DrawSectionText(TDeviceContext& canvas, std::string_view text, bool enabled, TsCommonData& skinData,
                     unsigned format, TRect rect);
