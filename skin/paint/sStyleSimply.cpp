#include "skin/paint/sStyleSimply.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acPaintBlocks.h"
#include "skin/paint/acTexture.h"
#include "skin/render/sBlend.h"
#include "skin/render/sGradientPaint.h"
#include "skin/runtime/sSkinManager.h"

int PercentToByte(int percent) {
  return static_cast<int>(std::clamp<long long>(static_cast<long long>(percent) * 255 / 100, 0, 255));
}

TColor SectionColor(const TacSkinModel& manager, int sectionIndex, TacPaintState state) {
  if (!manager.IsValidSection(sectionIndex)) return clWhite;
  const TsGeneralData& s = *manager.Section(sectionIndex);
  return ColorToRGB(state == TacPaintState::Normal ? s.Color : s.HotColor);
}

namespace {

// No manager given: the process's default manager.
TacSkinModel* OrDefault(TacSkinModel* manager) { return manager ? manager : TsSkinManager::DefaultManager(); }

bool ValidMask(const TacSkinModel& m, int index) { return m.Mask(index); }

// The values of a section for one state, and the texture they name.
struct TBackValues {
  TColor Color = clWhite;
  int T = 0;
  int ImagePercent = 0;
  int GradientPercent = 0;
  const TsGradArray* Stops = nullptr;
  const TsMaskData* TextureMask = nullptr;
  const TBitmap* Pattern = nullptr;
  bool HasTexture() const { return TextureMask || Pattern; }
};

TBackValues ChooseValues(const TacPaintSource& src, TacPaintState state) {
  TBackValues v;
  const TacSkinModel& m = *src.Manager;
  const TsGeneralData& s = *m.Section(src.SkinIndex);
  if (src.CustomColor) {
    v.Color = ColorToRGB(src.OwnerColor);
    return v;
  }
  const bool hot = UsesHotValues(state);
  v.Color = ColorToRGB(hot ? s.HotColor : s.Color);
  v.T = std::clamp(hot ? s.HotTransparency : s.Transparency, 0, 100);
  if (v.T == 100) return v;
  v.ImagePercent = std::clamp(hot ? s.HotImagePercent : s.ImagePercent, 0, 100);
  v.GradientPercent = std::clamp(hot ? s.HotGradientPercent : s.GradientPercent, 0, 100);
  if (v.GradientPercent != 0) v.Stops = hot ? &s.HotGradientStops : &s.GradientStops;
  if (v.ImagePercent > 0) {
    const int given = hot ? src.HotTexture : src.Texture;
    const char* key = hot ? "HOTPATTERN" : "PATTERN";
    int index = -1;
    if (given >= 0) {
      if (ValidMask(m, given) && m.Mask(given)->MaskType == 0) index = given;
    } else {
      const int found = m.TextureIndexOf(src.SkinIndex, s.SectionName, key);
      if (ValidMask(m, found) && m.Mask(found)->MaskType == 0) index = found;
    }
    if (index >= 0) {
      v.TextureMask = m.Mask(index);
    } else {
      const int p = m.PatternIndexOf(src.SkinIndex, s.SectionName, key);
      if (m.Pattern(p) && IsPaintable(m.Pattern(p)->Image.get()))
        v.Pattern = m.Pattern(p)->Image.get();
    }
    // No texture to draw: its share goes to the colour, so that whatever the target
    // held before never shows through.
    if (!v.HasTexture()) v.ImagePercent = 0;
  }
  return v;
}

void GradientOrColor(TBitmap& b, TRect r, const TBackValues& v) {
  if (v.Stops && !v.Stops->empty())
    PaintGradient(b, r, *v.Stops);
  else
    FillBlock(b, r, v.Color);
}

// The opaque layer over r of b: texture, gradient, colour.
void PaintOpaqueLayer(TBitmap& b, TRect r, const TBackValues& v, const BackgroundInfo& bg) {
  if (v.ImagePercent > 0 && v.HasTexture()) {
    TRect left = r;
    if (v.Pattern) {
      FillPattern(b, r, *v.Pattern);
      left = {0, 0, -1, 0};
    } else {
      FillTexture(b, left, *v.TextureMask, v.TextureMask->StretchMode);
    }
    if (left.Right != -1) FillBlock(b, left, v.Color);
  }
  if (v.GradientPercent > 0) {
    if (v.ImagePercent > 0 && v.HasTexture()) {
      TBitmap layer(r.Width(), r.Height(), b.PixelFormat());
      GradientOrColor(layer, {0, 0, r.Width(), r.Height()}, v);
      BlendBitmaps(b, layer, PercentToByte(v.ImagePercent), {r.Left, r.Top}, {0, 0, r.Width(), r.Height()});
    } else {
      GradientOrColor(b, r, v);
    }
  }
  const int s = v.GradientPercent + v.ImagePercent;
  // The colour behind stands in for a see-through plain section; when nothing is
  // known behind (the key), the section's own colour is used rather than the key.
  if (s == 0)
    FillBlock(b, r, !bg.Ready && v.T != 0 && bg.FillColor != kTransparentKey ? bg.FillColor : v.Color);
  else if (s < 100)
    BlendColorRect(b, {r.Left, r.Top, r.Right - 1, r.Bottom - 1}, s, v.Color);
}

bool CanPaint(const TacSkinModel* m, int sectionIndex, const TBitmap* target, TRect rect) {
  return target && IsPaintable(target) && m && m->SkinData.SkinReady && m->IsValidSection(sectionIndex) &&
         rect.Right <= target->Width() && rect.Bottom <= target->Height() && rect.Left >= 0 && rect.Top >= 0;
}

const TsMaskData* MaskAt(const TacSkinModel& m, int index) {
  return ValidMask(m, index) ? m.Mask(index) : nullptr;
}

BackgroundInfo Shifted(BackgroundInfo bg, TPoint offset) {
  bg.OffsetX += offset.X;
  bg.OffsetY += offset.Y;
  return bg;
}

// The four corner images of a section; w, h are each entry's state-image size.
void DrawCornerImages(const TacSkinModel& m, const TsGeneralData& s, TBitmap& target, TRect r, TacPaintState state) {
  const BackgroundInfo self = BackgroundInfo::FromBitmap(&target, 0, 0);
  auto draw = [&](int index, bool right, bool bottom) {
    const TsMaskData* mask = MaskAt(m, index);
    if (!mask) return;
    const TSize size = StateImageSize(*mask);
    DrawGlyphMask(target, {right ? r.Right - size.cx : r.Left, bottom ? r.Bottom - size.cy : r.Top}, state, 1,
                  *mask, self);
  };
  draw(s.ImgTopLeft, false, false);
  draw(s.ImgTopRight, true, false);
  draw(s.ImgBtmLeft, false, true);
  draw(s.ImgBtmRight, true, true);
}

}  // namespace

void PaintSectionBackground(const TacPaintSource& source, const BackgroundInfo& bg, TacPaintState state, TRect rect,
                            TPoint offset, TBitmap& target) {
  if (!CanPaint(source.Manager, source.SkinIndex, &target, rect) || rect.IsEmpty()) return;
  const TacSkinModel& m = *source.Manager;
  const TBackValues v = ChooseValues(source, state);
  // What lies behind the rectangle starts at the item's offset in the parent.
  const BackgroundInfo behind = Shifted(bg, {offset.X - rect.Left, offset.Y - rect.Top});
  const bool nothingBehind = !bg.Ready && bg.FillColor == kTransparentKey;
  if (nothingBehind || v.T == 0) {
    PaintOpaqueLayer(target, rect, v, bg);
  } else if (v.T == 100) {
    PutBehind(target, rect, behind);
  } else {
    TBitmap layer(rect.Width(), rect.Height(), target.PixelFormat());
    PaintOpaqueLayer(layer, {0, 0, rect.Width(), rect.Height()}, v, bg);
    PutBehind(target, rect, behind);
    BlendBitmaps(target, layer, PercentToByte(v.T), {rect.Left, rect.Top}, {0, 0, rect.Width(), rect.Height()});
  }
  // A masked texture with mode 10 lies over the finished normal face.
  if (state == TacPaintState::Normal) {
    const TsMaskData* overlay = nullptr;
    for (int index : {source.Texture, source.HotTexture}) {
      const TsMaskData* mask = MaskAt(m, index);
      if (mask && mask->MaskType == 1 && mask->StretchMode == 10) {
        overlay = mask;
        break;
      }
    }
    if (overlay) TileMasked(target, rect, *overlay, Shifted(bg, offset));
  }
}

void PaintSection(const TacPaintSource& source, const BackgroundInfo& bg, bool fillCentre, TacPaintState state, TRect rect,
                  TPoint offset, TBitmap* target, bool updateCorners) {
  if (!CanPaint(source.Manager, source.SkinIndex, target, rect)) return;
  const TacSkinModel& m = *source.Manager;
  PaintSectionBackground(source, bg, state, rect, offset, *target);
  const BackgroundInfo mapped = Shifted(bg, offset);
  if (const TsMaskData* border = MaskAt(m, source.BorderIndex))
    if (!(state == TacPaintState::Normal && (border->StretchMode & 2)))
      DrawBorderMask(*target, rect, fillCentre, mapped, *border, state, updateCorners);
  DrawCornerImages(m, *m.Section(source.SkinIndex), *target, rect, state);
}

void PaintSectionByIndex(int sectionIndex, std::string_view sectionName, const BackgroundInfo& bg, int texture,
                         int hotTexture, TacSkinModel* manager, TBitmap* target, TPoint offset, TRect rect, TacPaintState state,
                         bool fillCentre) {
  manager = OrDefault(manager);
  if (!CanPaint(manager, sectionIndex, target, rect) || rect.IsEmpty()) return;
  const TsGeneralData& s = *manager->Section(sectionIndex);
  (void)sectionName;  // the index names the section; PATTERN keys are looked up through it
  TacPaintSource source;
  source.Manager = manager;
  source.SkinIndex = sectionIndex;
  source.BorderIndex = s.BorderIndex;
  source.Texture = texture;
  source.HotTexture = hotTexture;
  PaintSectionBackground(source, bg, state, rect, offset, *target);
  DrawCornerImages(*manager, s, *target, rect, state);
  if (const TsMaskData* border = MaskAt(*manager, s.BorderIndex))
    DrawBorderMask(*target, rect, fillCentre, Shifted(bg, offset), *border, state, true);
}

void PaintSectionToDC(int sectionIndex, std::string_view sectionName, const BackgroundInfo& bg, TacSkinModel* manager,
                      HDC dc, TPoint offset, TRect rect, TacPaintState state, bool fillCentre) {
  manager = OrDefault(manager);
  if (!dc || !dc->Target() || rect.IsEmpty() || !manager || !manager->IsValidSection(sectionIndex)) return;
  const TPixelFormat format =
      dc->Target()->PixelFormat() == TPixelFormat::pf32bit ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  TBitmap temp(rect.Width(), rect.Height(), format);
  PaintSectionByIndex(sectionIndex, sectionName, bg, -1, -1, manager, &temp, offset,
                      {0, 0, rect.Width(), rect.Height()}, state, fillCentre);
  dc->DrawBitmap(rect.Left, rect.Top, temp, {0, 0, rect.Width(), rect.Height()});
}

int PaintSectionByName(TBitmap& bitmap, std::string_view name, std::string_view altName, HDC sourceDC, TColor color,
                       TRect rect, TacSkinModel* manager, TacPaintState state) {
  manager = OrDefault(manager);
  if (!manager) return -1;
  int index = manager->SectionIndexOf(std::string(name));
  if (index < 0 && !altName.empty()) index = manager->SectionIndexOf(std::string(altName));
  if (index < 0 || !IsPaintable(&bitmap)) return index;
  BackgroundInfo bg = BackgroundInfo::FromColor(color);
  if (sourceDC && sourceDC->Target()) {
    const TPoint org = sourceDC->ViewportOrg();
    CopyBlock(bitmap, 0, 0, *sourceDC->Target(), rect.Offset(org.X, org.Y));
    bg = BackgroundInfo::FromBitmap(&bitmap, 0, 0);
  }
  PaintSectionByIndex(index, manager->Section(index)->SectionName, bg, -1, -1, manager, &bitmap,
                      {0, 0}, {0, 0, bitmap.Width(), bitmap.Height()}, state, true);
  return index;
}

void PaintDisabledLook(TBitmap& bitmap, int flags, TColor parentColor, TPoint offset, const BackgroundInfo& bg) {
  if (!IsPaintable(&bitmap)) return;
  if (flags & kDisabledGray) GrayBitmap(bitmap);
  if (flags & kDisabledBlend) {
    if (bg.Ready && bg.Bitmap) {
      const int x = bg.OffsetX + offset.X, y = bg.OffsetY + offset.Y;
      BlendKeyed(bitmap, 0, 0, static_cast<TColor>(0xFFFFFFFF), 0.4,
                 {x, y, x + bitmap.Width() - 1, y + bitmap.Height() - 1}, *bg.Bitmap);
    } else {
      const TColor c = bg.FillColor == kTransparentKey ? parentColor : bg.FillColor;
      BlendColorRect(bitmap, {0, 0, bitmap.Width() - 1, bitmap.Height() - 1}, 50, ColorToRGB(c));
    }
  }
}

void DrawSectionText(TDeviceContext& canvas, std::string_view text, bool enabled, TacSkinModel* manager, TacPaintState state,
                     int sectionIndex, unsigned format, TRect rect) {
  manager = OrDefault(manager);
  if (!manager || !manager->SkinData.SkinReady || !manager->IsValidSection(sectionIndex)) return;
  const TsGeneralData& s = *manager->Section(sectionIndex);
  const int oldMode = canvas.SetBkMode(TRANSPARENT);
  const TColor oldColor = canvas.TextColor();
  auto draw = [&](TColor color, int dx, int dy) {
    canvas.SetTextColor(color);
    TRect r = rect.Offset(dx, dy);
    canvas.DrawText(text, r, format);
  };
  if (enabled) {
    const std::int32_t* colors = state == TacPaintState::Normal ? s.FontColor : s.HotFontColor;
    const int shifts[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int i = 0; i < 4; ++i)
      if (colors[i + 1] != -1) draw(colors[i + 1], shifts[i][0], shifts[i][1]);
    draw(colors[0], 0, 0);
  } else {
    draw(DisabledMix(s.FontColor[0], s.Color), 0, 0);
  }
  canvas.SetTextColor(oldColor);
  canvas.SetBkMode(oldMode);
}

TColor DisabledMix(TColor front, TColor background) {
  const TColor f = ColorToRGB(front), c = ColorToRGB(background);
  auto mix = [&](int shift) {
    const double v = 0.4 * ((f >> shift) & 0xFF) + 0.6 * ((c >> shift) & 0xFF);
    return static_cast<TColor>(std::lround(std::nearbyint(v))) << shift;
  };
  return mix(0) | mix(8) | mix(16);
}

void FillRectColor(HDC dc, TRect rect, TColor color) {
  if (dc) dc->FillRect(rect, ColorToRGB(color));
}

void FillBorderBand(HDC dc, TRect r, int left, int top, int right, int bottom, TColor color) {
  if (!dc) return;
  const TColor c = ColorToRGB(color);
  dc->FillRect({r.Left, r.Top, r.Right, r.Top + top}, c);
  dc->FillRect({r.Left, r.Top + top, r.Left + left, r.Bottom}, c);
  dc->FillRect({r.Left + left, r.Bottom - bottom, r.Right, r.Bottom}, c);
  dc->FillRect({r.Right - right, r.Top + top, r.Right, r.Bottom - bottom}, c);
}
