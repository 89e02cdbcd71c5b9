// Painting the whole-window image of a skinned form and copying it to the window.
#include <algorithm>

#include "forms/Form.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/TextFlags.h"
#include "platform/win/Icons.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/SystemParameters.h"
#include "platform/win/Win.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acParentBg.h"
#include "skin/paint/sStyleSimply.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sSkinManager.h"

namespace {

bool ToolWindow(HWND window) { return (GetWindowLongPtr(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0; }

bool IsKey(const std::uint8_t* p) { return p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF; }

// The frame's rounded corners leave key-coloured pixels; the window region cuts them
// away where the display can shape windows. Elsewhere they take the colour of the
// border beside them, so that no magenta ever shows.
void FillKeyCorners(TBitmap& image, int l, int t, int r, int b) {
  const int w = image.Width(), h = image.Height();
  auto row = [&](int y, int from, int to, int step) {  // carries inward colour outward
    std::uint8_t* line = image.ScanLine(y);
    for (int x = from; x != to; x += step) {
      std::uint8_t* p = line + x * 3;
      const std::uint8_t* inner = line + (x - step) * 3;
      if (IsKey(p) && !IsKey(inner)) p[0] = inner[0], p[1] = inner[1], p[2] = inner[2];
    }
  };
  for (int y = 0; y < h; ++y) {
    if (y >= t && y < h - b) continue;
    if (l > 0 && l < w) row(y, l - 1, -1, -1);
    if (r > 0 && w - r > 0) row(y, w - r, w, 1);
  }
}

}  // namespace

int TsSkinProvider::TitleSectionIndex() const {
  TsSkinManager* manager = SkinData_.GetManager();
  if (!manager) return -1;
  return manager->SectionIndexOf(TitleSkin_.empty() ? std::string("FORMTITLE") : TitleSkin_);
}

bool TsSkinProvider::IconShown() const {
  const TFormBorderStyle style = Form_->BorderStyle();
  if (!ShowAppIcon_ || (style != bsSingle && style != bsSizeable) || !HasCaption()) return false;
  if (!(GetWindowLongPtr(Form_->Handle(), GWL_STYLE) & WS_SYSMENU)) return false;
  return TitleIcon.Glyph || WindowIcon(Form_->Handle(), ICON_SMALL) || ApplicationIcon();
}

TRect TsSkinProvider::IconRect() const {
  if (!IconShown()) return {};
  TsSkinManager* manager = SkinData_.GetManager();
  const TRect band = CaptionBand();
  const int w = TitleIcon.Glyph ? (TitleIcon.Width > 0 ? TitleIcon.Width : TitleIcon.Glyph->Width())
                                : GetSystemMetrics(SM_CXSMICON);
  const int h = TitleIcon.Glyph ? (TitleIcon.Height > 0 ? TitleIcon.Height : TitleIcon.Glyph->Height())
                                : GetSystemMetrics(SM_CYSMICON);
  const int left = BorderWidth() + (manager ? manager->SkinData.BILeft : 0);
  return Bounds(left, band.Top + (band.Height() - h) / 2, w, h);
}

void TsSkinProvider::PaintAll() {
  TsSkinManager* manager = SkinData_.GetManager();
  if (!manager || !Form_->HandleAllocated()) return;
  TRect bounds;
  GetWindowRect(Form_->Handle(), &bounds);
  SkinData_.EnsureCache();
  TBitmap& image = *SkinData_.Cache();
  if (image.Width() != bounds.Width() || image.Height() != bounds.Height()) image.SetSize(bounds.Width(), bounds.Height());
  if (image.Empty()) return;
  const TacPaintState state = HotIf(FormActive_);
  const TRect whole{0, 0, image.Width(), image.Height()};
  const TacPaintSource source = PaintSourceOf(SkinData_);
  if (Form_->BorderStyle() != bsNone) {
    PaintSection(source, BackgroundInfo{}, true, state, whole, {0, 0}, &image, true);
    if (manager->Mask(SkinData_.BorderIndex())) {
      const TsMaskData& border = *manager->Mask(SkinData_.BorderIndex());
      FillKeyCorners(image, border.WL, border.WT, border.WR, border.WB);
    }
  } else
    PaintSectionBackground(source, BackgroundInfo{}, state, whole, {0, 0}, image);
  // The size grip at the bottom-right of the client.
  if (GripMode_ == gmRightBottom) {
    const int grip = manager->MaskIndexOf("GLOBALINFO", "GRIPIMAGE");
    if (grip >= 0) {
      const TsMaskData& mask = *manager->Mask(grip);
      const TSize size = StateImageSize(mask);
      const int b = BorderWidth();
      DrawGlyphMask(image, {image.Width() - b - size.cx, image.Height() - b - size.cy}, TacPaintState::Normal, 1, mask, BackgroundInfo{});
    }
  }
  if (HasCaption()) {
    LayoutButtons();
    PaintTitle(image);
    PaintCaptionText(image);
    // The band before the buttons: single buttons are repainted from it.
    TitleBgRect_ = {0, 0, image.Width(), CaptionBand().Bottom};
    TitleBg_ = TBitmap(TitleBgRect_.Width(), TitleBgRect_.Height(), TPixelFormat::pf24bit);
    BitBlt(&TitleBg_.Canvas(), 0, 0, TitleBgRect_.Width(), TitleBgRect_.Height(), &image.Canvas(), 0, 0, SRCCOPY);
    PaintButtons(image);
  }
  SkinData_.SetDirty(false);
}

void TsSkinProvider::PaintTitle(TBitmap& image) {
  TsSkinManager* manager = SkinData_.GetManager();
  const int title = TitleSectionIndex();
  const TRect band = CaptionBand();
  const TacPaintState state = HotIf(FormActive_);
  if (title >= 0)
    PaintSectionByIndex(title, TitleSkin_.empty() ? "FORMTITLE" : TitleSkin_, BackgroundInfo{}, -1, -1, manager,
                        &image, {0, 0}, band, state, true);
  // The strip behind the caption buttons.
  const int bar = manager->MaskIndexOf(SkinData_.SkinSection(), "TITLEBAR");
  int left = band.Right;
  for (const TsCaptionButton& b : Buttons_)
    if (!b.Rect.IsEmpty()) left = std::min(left, b.Rect.Left);
  if (bar >= 0 && left < band.Right) {
    const TsMaskData& mask = *manager->Mask(bar);
    const int extra = StateImageSize(mask).cx * 2 / 3;
    DrawBorderMask(image, {std::max(band.Left, left - extra), band.Top, band.Right, band.Bottom}, true,
                   BackgroundInfo{}, mask, state, true);
  }
  // The window icon.
  const TRect icon = IconRect();
  if (!icon.IsEmpty()) {
    HICON handle = nullptr;
    bool own = false;
    if (TitleIcon.Glyph) {
      handle = CreateIconFromImage(*TitleIcon.Glyph);
      own = true;
    } else {
      handle = WindowIcon(Form_->Handle(), ICON_SMALL);
      if (!handle) handle = ApplicationIcon();
    }
    DrawIconEx(&image.Canvas(), icon.Left, icon.Top, handle, icon.Width(), icon.Height());
    if (own) DestroyIcon(handle);
  }
}

void TsSkinProvider::PaintCaptionText(TBitmap& image) {
  const std::string text = Form_->Caption();
  if (text.empty()) return;
  TsSkinManager* manager = SkinData_.GetManager();
  const TRect band = CaptionBand();
  const TRect icon = IconRect();
  TRect bounds;
  GetWindowRect(Form_->Handle(), &bounds);
  int buttons = 0;
  for (const TsCaptionButton& b : Buttons_)
    if (!b.Rect.IsEmpty() && b.ImageIndex >= 0) buttons += b.Rect.Width();
  const int right = bounds.Width() - buttons - BorderWidth() - 6;
  TRect r{BorderWidth() + (icon.IsEmpty() ? 0 : icon.Width()) + manager->SkinData.BILeft + 4, band.Top + 2, right,
          band.Bottom};
  if (Form_->WindowState() == wsMaximized) r.Top = BorderWidth() / 2 + 1;
  if (r.Width() <= 0 || r.Height() <= 0) return;
  TDeviceContext& canvas = image.Canvas();
  const HFONT old = canvas.SelectFont(GetCaptionFont(ToolWindow(Form_->Handle())));
  unsigned align = DT_LEFT;
  if (CaptionAlignment == taCenter) align = DT_CENTER;
  if (CaptionAlignment == taRightJustify) align = DT_RIGHT;
  DrawSectionText(canvas, text, true, manager, HotIf(FormActive_), TitleSectionIndex(),
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | align, r);
  canvas.SelectFont(old);
}

void TsSkinProvider::DrawButton(TBitmap& image, const TsCaptionButton& button) {
  TsSkinManager* manager = SkinData_.GetManager();
  if (!manager || button.Rect.IsEmpty() || button.ImageIndex < 0) return;
  const TsMaskData& mask = *manager->Mask(button.ImageIndex);
  const TPoint at{button.Rect.Left, button.Rect.Top};
  // Normal buttons of an inactive form and disabled buttons are drawn half-transparent.
  auto useAlpha = [&](TacPaintState state) { return (state == TacPaintState::Normal && !FormActive_) || !button.Enabled ? 2 : 1; };
  if (!button.Animating() || !button.Enabled) {
    const TacPaintState state = button.Enabled ? button.State : TacPaintState::Normal;
    DrawGlyphMask(image, at, state, useAlpha(state), mask, BackgroundInfo{});
    return;
  }
  // Animating: the hot look over the normal one at Level / 255.
  const TRect r = button.Rect.Intersect({0, 0, image.Width(), image.Height()});
  if (r.IsEmpty()) return;
  TBitmap normal(r.Width(), r.Height(), TPixelFormat::pf24bit);
  BitBlt(&normal.Canvas(), 0, 0, r.Width(), r.Height(), &image.Canvas(), r.Left, r.Top, SRCCOPY);
  TBitmap hot(normal);
  const TPoint local{at.X - r.Left, at.Y - r.Top};
  DrawGlyphMask(normal, local, TacPaintState::Normal, useAlpha(TacPaintState::Normal), mask, BackgroundInfo{});
  DrawGlyphMask(hot, local, button.State == TacPaintState::Normal ? TacPaintState::Hot : button.State, 1, mask, BackgroundInfo{});
  const int a = std::clamp(button.Level, 0, 255);
  for (int y = 0; y < r.Height(); ++y) {
    const std::uint8_t* n = normal.ScanLine(y);
    const std::uint8_t* h = hot.ScanLine(y);
    std::uint8_t* d = image.ScanLine(r.Top + y) + r.Left * 3;
    for (int x = 0; x < r.Width() * 3; ++x) d[x] = static_cast<std::uint8_t>(n[x] + ((h[x] - n[x]) * a + 127) / 255);
  }
}

void TsSkinProvider::PaintButtons(TBitmap& image) {
  for (const TsCaptionButton& b : Buttons_) DrawButton(image, b);
}

void TsSkinProvider::RepaintButton(int hitCode) {
  TsCaptionButton* button = ButtonAt(hitCode);
  if (!button || button->Rect.IsEmpty() || !FrameSkinned()) return;
  if (SkinData_.Dirty() || TitleBg_.Empty()) {
    PaintAll();
    CopyFrameToWindow(nullptr);
    return;
  }
  TBitmap& image = *SkinData_.Cache();
  const TRect r = button->Rect.Intersect(TitleBgRect_);
  if (r.IsEmpty()) return;
  BitBlt(&image.Canvas(), r.Left, r.Top, r.Width(), r.Height(), &TitleBg_.Canvas(), r.Left, r.Top, SRCCOPY);
  DrawButton(image, *button);
  CopyFrameToWindow(&r);
}

void TsSkinProvider::CopyFrameToWindow(const TRect* only) {
  if (!Form_->HandleAllocated() || !SkinData_.HasCache()) return;
  HWND window = Form_->Handle();
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  const TBitmap& image = *SkinData_.Cache();
  const int saved = dc->Save();
  TRect client;
  GetClientRect(window, &client);
  const TPoint offset = ClientOffset();
  dc->ExcludeClip(client.Offset(offset.X, offset.Y));
  const TRect r = only ? *only : TRect{0, 0, image.Width(), image.Height()};
  BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), &SkinData_.Cache()->Canvas(), r.Left, r.Top, SRCCOPY);
  dc->Restore(saved);
  ReleaseDC(window, dc);
}

void TsSkinProvider::PaintClientBackground(HDC dc) {
  if (!dc) return;
  if (SkinData_.Dirty()) PaintAll();
  TRect client;
  GetClientRect(Form_->Handle(), &client);
  if (!SkinData_.HasCache()) {
    dc->FillRect(client, static_cast<TColor>(SendMessage(Form_->Handle(), SM_ALPHACMD, MakeCommandWParam(AC_GETCOLOR), 0)));
    return;
  }
  const TPoint offset = ClientOffset();
  BitBlt(dc, 0, 0, client.Width(), client.Height(), &SkinData_.Cache()->Canvas(), offset.X, offset.Y, SRCCOPY);
}

// Rounded frame corners: the key-coloured corner pixels of the frame's border are
// left out of the window, so that what lies behind shows there.
void TsSkinProvider::UpdateRegion() {
  if (!Form_->HandleAllocated()) return;
  HWND window = Form_->Handle();
  TsSkinManager* manager = SkinData_.GetManager();
  const bool wanted = SkinnedNow(false) && Form_->BorderStyle() != bsNone && Form_->WindowState() != wsMaximized &&
                      manager && manager->Mask(SkinData_.BorderIndex());
  if (!wanted) {
    if (RegionSet_) SetWindowRgn(window, nullptr, true);
    RegionSet_ = false;
    return;
  }
  const TsMaskData& mask = *manager->Mask(SkinData_.BorderIndex());
  const TBitmap* pic = MaskPicture(mask);
  TRect bounds;
  GetWindowRect(window, &bounds);
  const int w = bounds.Width(), h = bounds.Height();
  if (!pic || w <= 0 || h <= 0) return;
  const TSize state = StateImageSize(mask);
  const int bytes = pic->PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  TRegion region(0, 0, w, h);
  std::vector<TRect> holes;
  auto scan = [&](int srcX, int srcY, int cw, int ch, int dstX, int dstY) {
    for (int y = 0; y < ch; ++y) {
      if (srcY + y < 0 || srcY + y >= pic->Height()) continue;
      const std::uint8_t* row = pic->ScanLine(srcY + y);
      for (int x = 0; x < cw; ++x) {
        if (srcX + x < 0 || srcX + x >= pic->Width()) continue;
        const std::uint8_t* p = row + (srcX + x) * bytes;
        if (p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF) holes.push_back(Bounds(dstX + x, dstY + y, 1, 1));
      }
    }
  };
  const int x0 = mask.Left, y0 = mask.Top;
  const int l = std::min<int>(mask.WL, w / 2), t = std::min<int>(mask.WT, h / 2);
  const int r = std::min<int>(mask.WR, w / 2), b = std::min<int>(mask.WB, h / 2);
  scan(x0, y0, l, t, 0, 0);
  scan(x0 + state.cx - r, y0, r, t, w - r, 0);
  scan(x0, y0 + state.cy - b, l, b, 0, h - b);
  scan(x0 + state.cx - r, y0 + state.cy - b, r, b, w - r, h - b);
  if (holes.empty()) {
    if (RegionSet_) SetWindowRgn(window, nullptr, true);
    RegionSet_ = false;
    return;
  }
  region = region.Subtract(TRegion::FromRects(holes));
  SetWindowRgn(window, CreateRegionFrom(region), true);
  RegionSet_ = true;
}
