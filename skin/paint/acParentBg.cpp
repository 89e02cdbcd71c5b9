#include "skin/paint/acParentBg.h"

#include "forms/Controls.h"
#include "forms/WinControl.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"
#include "platform/win/Message.h"
#include "platform/win/Messages.h"
#include "skin/core/acSkinModel.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acPaintBlocks.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

namespace {

LRESULT SendCommand(TControl* control, TacCommand command, LPARAM lParam) {
  const WPARAM w = MakeCommandWParam(command);
  if (auto* win = dynamic_cast<TWinControl*>(control); win && win->HandleAllocated())
    return SendMessage(win->Handle(), SM_ALPHACMD, w, lParam);
  return control->Perform(SM_ALPHACMD, w, lParam);  // a parent without a window
}

}  // namespace

TColor ControlColor(TControl* control) {
  if (!control) return kTransparentKey;
  if (SendCommand(control, AC_CTRLHANDLED, 0) == 1) {
    const LRESULT answer = SendCommand(control, AC_GETCOLOR, kTransparentKey);
    if (answer != 0) return ColorToRGB(static_cast<TColor>(answer));
  }
  return ColorToRGB(control->Color());
}

bool GetParentBackground(TacBGInfo& request, TControl* control, bool pleaseDraw) {
  request.BgType = btUnknown;
  TWinControl* parent = control ? control->Parent() : nullptr;
  if (!parent) {
    request.BgType = btFill;
    request.Color = kTransparentKey;
    return false;
  }
  request.PleaseDraw = pleaseDraw;
  SendCommand(parent, AC_GETCACHE, reinterpret_cast<LPARAM>(&request));
  if (request.BgType != btUnknown) return true;
  if (pleaseDraw && request.DrawDC && parent->HandleAllocated()) {
    // The parent paints itself into the caller's context, shifted to the caller.
    HDC dc = request.DrawDC;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -request.OffsetX, -request.OffsetY, nullptr);
    const TRect clip = request.R.Offset(request.OffsetX, request.OffsetY);
    IntersectClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
    SendMessage(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessage(parent->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
    return false;
  }
  request.BgType = btFill;
  request.Color = ControlColor(parent);
  return false;
}

BackgroundInfo BackgroundFromRequest(const TacBGInfo& request) {
  if (request.BgType == btCache && request.Bmp)
    return BackgroundInfo::FromBitmap(request.Bmp, request.OffsetX, request.OffsetY);
  return BackgroundInfo::FromColor(request.BgType == btFill ? request.Color : kTransparentKey);
}

TacPaintSource PaintSourceOf(const TsCommonData& skinData) {
  TacPaintSource s;
  s.Manager = skinData.GetManager();
  s.SkinIndex = skinData.SkinIndex();
  s.BorderIndex = skinData.BorderIndex();
  s.Texture = skinData.TextureIndex();
  s.HotTexture = skinData.HotTextureIndex();
  s.CustomColor = skinData.CustomColor();
  if (skinData.CustomColor()) {
    if (skinData.Control())
      s.OwnerColor = skinData.Control()->Color();
    else if (skinData.OwnerSeam() && skinData.OwnerSeam()->ProviderForm())
      s.OwnerColor = skinData.OwnerSeam()->ProviderForm()->Color();
  }
  return s;
}

void PaintSection(TsCommonData& skinData, const BackgroundInfo& bg, bool fillCentre, TacPaintState state, TRect rect,
                  TPoint offset, TBitmap* target, bool updateCorners) {
  PaintSection(PaintSourceOf(skinData), bg, fillCentre, state, rect, offset, target, updateCorners);
}

void PaintSectionBackground(TsCommonData& skinData, const BackgroundInfo& bg, TacPaintState state, TRect rect, TPoint offset,
                            TBitmap& target) {
  PaintSectionBackground(PaintSourceOf(skinData), bg, state, rect, offset, target);
}

void PaintSectionForControl(TsCommonData& skinData, TWinControl* parent, bool fillCentre, TacPaintState state, TRect rect,
                            TPoint offset, TBitmap* target, bool updateCorners) {
  const TacPaintSource source = PaintSourceOf(skinData);
  if (!target || !source.Manager || !source.Manager->IsValidSection(source.SkinIndex)) return;
  TacBGInfo request;
  BackgroundInfo bg = BackgroundInfo::FromColor(kTransparentKey);
  if (skinData.Control() && parent == skinData.Control()->Parent()) {
    GetParentBackground(request, skinData.Control(), false);
    bg = BackgroundFromRequest(request);
  } else if (parent) {
    bg = BackgroundInfo::FromColor(ControlColor(parent));
  }
  PaintSection(source, bg, fillCentre, state, rect, offset, target, updateCorners);
}

void RefreshCorners(TsCommonData& skinData, TacPaintState state, int corners) {
  TControl* owner = skinData.Control();
  TsSkinManager* manager = skinData.GetManager();
  if (!owner || !manager || !skinData.Cache() || owner->Width() < 2 || owner->Height() < 2) return;
  if (!manager->Mask(skinData.BorderIndex())) return;
  TacBGInfo request;
  GetParentBackground(request, owner, false);
  BackgroundInfo bg = BackgroundFromRequest(request);
  bg.OffsetX += owner->Left();
  bg.OffsetY += owner->Top();
  const TRect rect{0, 0, std::min(owner->Width(), skinData.Cache()->Width()),
                   std::min(owner->Height(), skinData.Cache()->Height())};
  RecompositeCorners(*skinData.Cache(), rect, *manager->Mask(skinData.BorderIndex()), state,
                     corners, bg);
}


void PaintDisabledLook(TBitmap& bitmap, int flags, TControl* control, TPoint offset, const BackgroundInfo& bg) {
  const TColor parentColor =
      bg.FillColor == kTransparentKey && !bg.Ready ? ControlColor(control ? control->Parent() : nullptr) : bg.FillColor;
  PaintDisabledLook(bitmap, flags, parentColor, offset, bg);
}

TRect PaintBorderOnly(HDC dc, TRect rect, int borderWidth, TacPaintState state, TsCommonData& skinData) {
  TsSkinManager* manager = skinData.GetManager();
  TBitmap* cache = skinData.Cache();
  const TColor color = ColorToRGB(skinData.GetColor(UsesHotValues(state)));
  const bool hasMask = manager && cache && manager->Mask(skinData.BorderIndex()) && skinData.SkinIndex() >= 0;
  if (!hasMask) {
    if (borderWidth > 0 && dc) FillBorderBand(dc, rect, borderWidth, borderWidth, borderWidth, borderWidth, color);
    return rect;
  }
  const TsMaskData& mask = *manager->Mask(skinData.BorderIndex());
  TDeviceContext& cacheDC = cache->Canvas();
  TacBGInfo request;
  BackgroundInfo bg = BackgroundInfo::FromColor(color);
  if (skinData.Control()) {
    GetParentBackground(request, skinData.Control(), false);
    bg = BackgroundFromRequest(request);
    bg.OffsetX += skinData.Control()->Left();
    bg.OffsetY += skinData.Control()->Top();
  }
  if (mask.MaskType == 1) {
    // The band under a masked border gets what lies behind first.
    if (bg.Ready && bg.Bitmap) {
      const TRect bands[4] = {{rect.Left, rect.Top, rect.Right, rect.Top + mask.WT},
                              {rect.Left, rect.Top + mask.WT, rect.Left + mask.WL, rect.Bottom},
                              {rect.Left + mask.WL, rect.Bottom - mask.WB, rect.Right, rect.Bottom},
                              {rect.Right - mask.WR, rect.Top + mask.WT, rect.Right, rect.Bottom - mask.WB}};
      for (const TRect& b : bands) CopyBlock(*cache, b.Left, b.Top, *bg.Bitmap, b.Offset(bg.OffsetX, bg.OffsetY));
    } else {
      FillBorderBand(&cacheDC, rect, mask.WL, mask.WT, mask.WR, mask.WB, color);
    }
  }
  DrawBorderMask(*cache, rect, false, bg, mask, state, true);
  TRect inner{rect.Left + mask.WL, rect.Top + mask.WT, rect.Right - mask.WR, rect.Bottom - mask.WB};
  if (borderWidth > 0) {
    const TRect bw{rect.Left + borderWidth, rect.Top + borderWidth, std::max(rect.Left + borderWidth, rect.Right - borderWidth),
                   std::max(rect.Top + borderWidth, rect.Bottom - borderWidth)};
    // The band between the mask's margins and the border width takes the colour.
    FillBorderBand(&cacheDC, {inner.Left, inner.Top, inner.Right, inner.Bottom}, std::max(0, bw.Left - inner.Left),
                   std::max(0, bw.Top - inner.Top), std::max(0, inner.Right - bw.Right),
                   std::max(0, inner.Bottom - bw.Bottom), color);
    inner = bw;
    if (dc && dc != &cacheDC) {
      const TRect bands[4] = {{rect.Left, rect.Top, rect.Right, bw.Top},
                              {rect.Left, bw.Top, bw.Left, bw.Bottom},
                              {rect.Left, bw.Bottom, rect.Right, rect.Bottom},
                              {bw.Right, bw.Top, rect.Right, bw.Bottom}};
      for (const TRect& b : bands)
        if (!b.IsEmpty()) dc->DrawBitmap(b.Left, b.Top, *cache, b);
    }
  }
  return inner;
}

void DrawSectionText(TDeviceContext& canvas, std::string_view text, bool enabled, TsCommonData& skinData,
                     unsigned format, TRect rect) {
  const TacPaintState state = HotIf(skinData.IsHot());
  DrawSectionText(canvas, text, enabled, skinData.GetManager(), state, skinData.SkinIndex(), format, rect);
}
