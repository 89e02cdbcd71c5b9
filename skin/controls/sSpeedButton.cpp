#include "skin/controls/sSpeedButton.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "forms/DriverProperties.h"
#include "platform/base/TextHelpers.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Message.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "skin/core/acMasks.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acParentBg.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sSkinManager.h"

namespace {

bool SkinReady(TsSkinManager* manager) { return manager && manager->SkinData.SkinReady; }

// Selects the control's font into a bitmap's context through the canvas the control
// keeps for its caption; the canvas lets go of the context when the scope ends.
class TacFontScope {
public:
  TacFontScope(TCanvas& canvas, TBitmap& bitmap, const TFont& font) : Canvas_(canvas) {
    Canvas_.SetHandle(&bitmap.Canvas());
    if (!(Canvas_.Font() == font)) Canvas_.Font().Assign(font);
    Canvas_.Brush().SetStyle(bsClear);
    TRect probe{0, 0, 0, 0};
    Canvas_.DrawText("", probe, DT_CALCRECT);  // selects the font
  }
  ~TacFontScope() { Canvas_.SetHandle(nullptr); }
  TacFontScope(const TacFontScope&) = delete;
  TacFontScope& operator=(const TacFontScope&) = delete;
  TCanvas& Canvas() { return Canvas_; }

private:
  TCanvas& Canvas_;
};

}  // namespace

// Kept from one face to the next: the canvas, whose font handle (and the face the
// font engine found for it) lives as long as the font does not change, and the
// caption's last measure with what it was taken for.
struct TsSpeedButton::TCaptionText {
  TCanvas Canvas;
  std::string Caption;
  TFont Font;
  int Widest = -1;
  int Width = 0, Height = 0;
};

TsSpeedButton::TCaptionText& TsSpeedButton::CaptionText() {
  if (!CaptionText_) CaptionText_ = std::make_unique<TCaptionText>();
  return *CaptionText_;
}

TsSpeedButton::TsSpeedButton(TComponent* owner)
    : TSpeedButton(owner), SkinData_(std::make_unique<TsCommonData>(this, true)) {
  SkinData_->SetControlKind(TacControlKind::SpeedButton);
  SkinData_->InitSection();  // "SPEEDBUTTON"; no parent yet, so nothing is announced
}

TsSpeedButton::~TsSpeedButton() {
  Destroying();
  Fade_.reset();
}

// --- Properties -------------------------------------------------------------------------

void TsSpeedButton::LookChanged(bool evenHidden) {
  SkinData_->SetDirty(true);
  if (Visible() || evenHidden) UpdateFromCache();
}

void TsSpeedButton::SetButtonStyle(TToolButtonStyle value) {
  if (value == ButtonStyle_) return;
  const bool wasDropDown = ButtonStyle_ == tbsDropDown;
  ButtonStyle_ = value;
  if (!IsLoading()) {
    if (value == tbsDropDown)
      SetWidth(Width() + 16);
    else if (wasDropDown)
      SetWidth(Width() - 16);
  }
  LookChanged();
}

void TsSpeedButton::SetShowCaption(bool value) {
  if (!Caption().empty()) SavedCaption_ = Caption();
  if (value == Look_.ShowCaption) return;
  Look_.ShowCaption = value;
  SettingCaption_ = true;
  TSpeedButton::SetText(value ? SavedCaption_ : std::string());
  SettingCaption_ = false;
  LookChanged();
}

void TsSpeedButton::SetText(const std::string& text) {
  if (!SettingCaption_) {
    SavedCaption_ = text;
    if (!Look_.ShowCaption) return;  // shown again with ShowCaption
  }
  TSpeedButton::SetText(text);
}

void TsSpeedButton::SetGlyph(const TBitmap& glyph) {
  TSpeedButton::SetGlyph(glyph);
  if (!IsLoading() && !IsDestroying()) SkinData_->Invalidate();
}

void TsSpeedButton::SetBounds(int left, int top, int width, int height) {
  const bool changed = left != Left() || top != Top() || width != Width() || height != Height();
  TSpeedButton::SetBounds(left, top, width, height);
  if (changed && Visible() && SkinData_) SkinData_->SetDirty(true);
}

// --- Geometry ---------------------------------------------------------------------------

int TsSpeedButton::EffectiveMargin() const { return Margin() < 0 ? 0 : Margin() + 3; }

int TsSpeedButton::GlyphCellWidth() const {
  const TBitmap& glyph = const_cast<TsSpeedButton*>(this)->Glyph();
  if (glyph.Empty()) return 0;
  return glyph.Width() / std::max(1, NumGlyphs());
}

int TsSpeedButton::GlyphCellHeight() const {
  const TBitmap& glyph = const_cast<TsSpeedButton*>(this)->Glyph();
  return glyph.Empty() ? 0 : glyph.Height();
}

void TsSpeedButton::MeasureCaption(int& width, int& height) {
  width = height = 0;
  const int a = ArrowWidth();
  int widest = 0;
  if (Look_.ShowCaption && !Caption().empty()) {
    widest = Width() - 2 * Margin() - a;
    if ((Layout() == blGlyphLeft || Layout() == blGlyphRight) && GlyphCellWidth() > 0)
      widest -= GlyphCellWidth() + Spacing();
  }
  if (widest <= 0) return;
  TCaptionText& kept = CaptionText();
  if (kept.Widest == widest && kept.Caption == Caption() && kept.Font == Font()) {
    width = kept.Width;
    height = kept.Height;
    return;
  }
  SkinData_->EnsureCache();
  TacFontScope scope(kept.Canvas, *SkinData_->Cache(), Font());
  TRect r{0, 0, widest, 0};
  scope.Canvas().DrawText(Caption(), r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  width = r.Width();
  height = r.Height();
  kept.Widest = widest;
  kept.Caption = Caption();
  kept.Font.Assign(Font());
  kept.Width = width;
  kept.Height = height;
}

void TsSpeedButton::CaptionBounds(TRect& rect) {
  int tw = 0, th = 0;
  MeasureCaption(tw, th);
  const int w = Width(), h = Height(), a = ArrowWidth();
  const int gw = GlyphCellWidth(), gh = GlyphCellHeight();
  const int m = EffectiveMargin();
  const bool hasCaption = !Caption().empty();
  TRect r{};
  switch (Layout()) {
    case blGlyphLeft:
    case blGlyphRight: {
      const int s = gw > 0 && hasCaption ? Spacing() : 0;
      const int dx = (w - a - gw - s - tw) / 2 - m;
      r.Top = (h - th) / 2;
      r.Bottom = h - (h - th) / 2;
      if (Layout() == blGlyphLeft) {
        switch (Look_.Alignment) {
          case taLeftJustify: r.Left = gw + Margin() + s; r.Right = w - a - m - 2 * dx; break;
          case taCenter: r.Left = gw + m + dx + s; r.Right = w - a - m - dx; break;
          case taRightJustify: r.Left = m + 2 * dx + gw + s; r.Right = w - a - m; break;
        }
      } else {
        switch (Look_.Alignment) {
          case taLeftJustify: r.Left = m; r.Right = m + tw; break;
          case taCenter: r.Left = m + dx; r.Right = m + dx + tw; break;
          case taRightJustify: r.Left = m + 2 * dx; r.Right = m + 2 * dx + tw; break;
        }
      }
      break;
    }
    case blGlyphTop:
    case blGlyphBottom: {
      const int s = gh > 0 && hasCaption ? Spacing() : 0;
      const int dy = (h - gh - s - th) / 2 - m;
      r.Left = (w - tw - a) / 2;
      r.Right = w - r.Left - a;
      if (Layout() == blGlyphTop) {
        r.Top = gh + m + dy + s;
        r.Bottom = h - dy - m;
      } else {
        r.Top = m + dy;
        r.Bottom = h - dy - m - gh - s;
      }
      break;
    }
  }
  r.Left += Look_.TextOffset - 1;
  r.Right += Look_.TextOffset + 2;
  if (PaintState() == TacPaintState::Pressed) r = r.Offset(1, 1);
  rect = r;
}

void TsSpeedButton::GlyphBounds(TRect& rect) {
  TacGlyphBoundsInput in;
  in.Width = Width();
  in.Height = Height();
  in.Arrow = ArrowWidth();
  in.GlyphWidth = GlyphCellWidth();
  in.GlyphHeight = GlyphCellHeight();
  MeasureCaption(in.TextWidth, in.TextHeight);
  in.Layout = Layout();
  in.Alignment = Look_.Alignment;
  in.Margin = Margin();
  in.Spacing = Spacing();
  in.HasCaption = Look_.ShowCaption && !Caption().empty();
  in.Pressed = PaintState() == TacPaintState::Pressed;
  in.Reflected = Look_.Reflected;
  rect = ButtonGlyphBounds(in);
}

// --- Painting ---------------------------------------------------------------------------

bool TsSpeedButton::SkinnedAndReady() const {
  return SkinData_->IsSkinned(true) && !ControlState().Contains(csCreating);
}

TacPaintState TsSpeedButton::PaintState() {
  if (State() == bsDown || State() == bsExclusive) return TacPaintState::Pressed;
  return HotIf(SkinData_->IsHot());
}

void TsSpeedButton::UpdateOpaque() { ControlStyle_.Set(csOpaque, SkinData_->IsSkinned(false)); }

void TsSpeedButton::Loaded() {
  TSpeedButton::Loaded();
  SkinData_->Loaded();
  UpdateOpaque();
}

void TsSpeedButton::Invalidate() {
  if (SkinData_ && Layout() != OldLayout_) {
    OldLayout_ = Layout();
    SkinData_->SetDirty(true);
  }
  TSpeedButton::Invalidate();
}

void TsSpeedButton::Paint() {
  TsCommonData& d = *SkinData_;
  if (SkinReady(d.GetManager()) && d.SkinIndex() < 0 && d.SkinSection() != "UNKNOWN") {
    d.ResolveSection();
    UpdateOpaque();
  }
  if (!d.IsSkinned()) {
    PaintUnskinned(true);
    return;
  }
  ControlStyle_.Include(csOpaque);  // buttons made at run time never see Loaded
  if (Width() < 1 || Height() < 1) return;
  if (Fade_ && Fade_->Enabled() && Fade_->FrameImage->Width() == Width()) {
    CopyToScreen(*Fade_->FrameImage);
    return;
  }
  bool dirty = d.Dirty() || Down() != OldDown_ || d.ParentChanged();
  OldDown_ = Down();
  if (d.BackgroundLocked() || ControlState().Contains(csCreating) || !Visible()) {
    d.SetParentChanged(true);
  } else if (!Enabled() || d.IsSeeThrough()) {
    d.SetParentChanged(!(Parent() && Parent()->HandleAllocated() &&
                        SendMessage(Parent()->Handle(), SM_ALPHACMD, MakeCommandWParam(AC_GETBGCHANGED), 0) == 0));
  } else {
    d.SetParentChanged(false);
  }
  if (dirty) {
    OldNumGlyphs_ = NumGlyphs();
    OldSpacing_ = Spacing();
    OldMargin_ = Margin();
  } else if (NumGlyphs() != OldNumGlyphs_ || Spacing() != OldSpacing_ || Margin() != OldMargin_) {
    OldNumGlyphs_ = NumGlyphs();
    OldSpacing_ = Spacing();
    OldMargin_ = Margin();
    dirty = true;
  }
  d.SetDirty(dirty);
  if (dirty && !d.BackgroundLocked()) RenderCache();
  if (!d.HasCache()) return;
  // A clean face keeps its rounded corners over whatever the parent shows now.
  RefreshCorners(d, TacPaintState::Normal);
  CopyToScreen(*d.Cache());
}

void TsSpeedButton::CopyToScreen(const TBitmap& image) {
  HDC dc = Canvas().Handle();
  if (dc) {
    dc->DrawBitmap(0, 0, image, {0, 0, std::min(Width(), image.Width()), std::min(Height(), image.Height())});
    return;
  }
  // Outside a paint: straight into the parent's window at the button's place.
  if (!Parent() || !Parent()->HandleAllocated()) return;
  HWND window = Parent()->Handle();
  HDC parentDC = GetDC(window);
  if (!parentDC) return;
  const int saved = SaveDC(parentDC);
  IntersectClipRect(parentDC, Left(), Top(), Left() + Width(), Top() + Height());
  parentDC->DrawBitmap(Left(), Top(), image, {0, 0, std::min(Width(), image.Width()), std::min(Height(), image.Height())});
  RestoreDC(parentDC, saved);
  ReleaseDC(window, parentDC);
}

void TsSpeedButton::RenderCache() {
  TsCommonData& d = *SkinData_;
  d.EnsureCache();
  TBitmap& cache = *d.Cache();
  if (cache.Empty()) return;
  TacBGInfo request;
  GetParentBackground(request, this, false);
  if (request.BgType == btCache && request.Bmp && request.Bmp->Width() == 0) return;  // parent not ready: stay dirty
  const BackgroundInfo bg = BackgroundFromRequest(request);
  BackgroundInfo shifted = bg;
  shifted.OffsetX += Left();
  shifted.OffsetY += Top();
  const int w = Width(), h = Height();
  TsSkinManager* manager = d.GetManager();
  if (ButtonStyle_ == tbsSeparator || ButtonStyle_ == tbsDivider) {
    if (bg.Ready && bg.Bitmap)
      cache.Canvas().DrawBitmap(0, 0, *bg.Bitmap, TRect{0, 0, w, h}.Offset(shifted.OffsetX, shifted.OffsetY));
    else
      cache.Fill(ColorToRGB(bg.FillColor == kTransparentKey ? ControlColor(Parent()) : bg.FillColor));
    if (ButtonStyle_ == tbsDivider && manager) {
      const int mask = manager->MaskIndexOf("DIVIDER", "BORDERSMASK");
      if (mask >= 0) {
        const TsMaskData& m = *manager->Mask(mask);
        const int mw = MaskCellSize(m).cx;
        DrawBorderMask(cache, {(w - mw) / 2, 0, (w + mw) / 2, h}, false, shifted, m, TacPaintState::Normal, true);
      }
    }
  } else {
    const int a = ArrowWidth();
    const TRect face{0, 0, w - a, h};
    const TacPaintState state = PaintState();
    if (Look_.DrawOverBorder) {
      // The corners take the parent behind their holes as they are drawn; a drop-down
      // button still refreshes them over its whole width, part of which the arrow covers.
      PaintSection(d, bg, true, state, face, {Left(), Top()}, &cache, true);
      if (a > 0) RefreshCorners(d, state);
      PaintCaption();
      PaintGlyph();
    } else {
      PaintSectionBackground(d, bg, state, face, {Left(), Top()}, cache);
      PaintCaption();
      PaintGlyph();
      if (manager && manager->Mask(d.BorderIndex()))
        DrawBorderMask(cache, face, false, shifted, *manager->Mask(d.BorderIndex()), state, true);
    }
    if (ButtonStyle_ == tbsDropDown) PaintArrowPart(bg);
  }
  if (!Enabled()) PaintDisabledLook(cache, DisabledFlags(Look_.DisabledKind), this, {Left(), Top()}, bg);
  if (OnPaint) OnPaint(this, cache);
  d.SetDirty(false);
  ++RenderCount_;
}

void TsSpeedButton::PaintArrowPart(const BackgroundInfo& bg) {
  TsCommonData& d = *SkinData_;
  TBitmap& cache = *d.Cache();
  const int w = Width(), h = Height(), a = ArrowWidth();
  TacPaintState state = TacPaintState::Normal;
  if (Down() || State() == bsDown || State() == bsExclusive)
    state = TacPaintState::Pressed;
  else if (d.IsHot())
    state = TacPaintState::Hot;
  PaintSection(d, bg, true, state, {w - a, 0, w, h}, {Left(), Top()}, &cache, true);
  TsSkinManager* manager = d.GetManager();
  const int glyph = manager ? manager->CommonIndexes.ScrollBtnBottom.Glyph : -1;
  if (!manager->Mask(glyph)) return;
  const TsMaskData& mask = *manager->Mask(glyph);
  const int mw = MaskFrameWidth(mask), mh = MaskFrameHeight(mask);
  const BackgroundInfo self = BackgroundInfo::FromBitmap(&cache, 0, 0);
  DrawGlyphMask(cache, {(a - mw) / 2 + (w - a) + 1, (h - mh) / 2}, state, 1, mask, self);
}

void TsSpeedButton::PaintCaption() {
  if (!Look_.ShowCaption || Caption().empty()) return;
  TRect r;
  CaptionBounds(r);
  WriteCaption(r, AlignmentFlags(Look_.TextAlignment) | DT_VCENTER | DT_EXPANDTABS | DT_WORDBREAK);
}

void TsSpeedButton::WriteCaption(TRect rect, unsigned flags) {
  flags &= ~static_cast<unsigned>(DT_SINGLELINE);
  TsCommonData& d = *SkinData_;
  if (d.IsSkinned() && d.HasCache()) {
    TacFontScope scope(CaptionText().Canvas, *d.Cache(), Font());
    TDeviceContext& dc = d.Cache()->Canvas();
    if (d.CustomFont()) {
      dc.SetBkMode(TRANSPARENT);
      dc.SetTextColor(ColorToRGB(Font().Color()));
      dc.DrawText(Caption(), rect, flags);
    } else {
      DrawSectionText(dc, Caption(), true, d.GetManager(), PaintState(), d.SkinIndex(), flags, rect);
    }
    return;
  }
  TCanvas& c = Canvas();
  if (!c.Handle()) return;
  c.Font().Assign(Font());
  c.Brush().SetStyle(bsClear);
  if (Enabled()) {
    c.DrawText(Caption(), rect, flags);
  } else {
    TRect moved = rect.Offset(1, 1);
    c.Font().SetColor(clBtnHighlight);
    c.DrawText(Caption(), moved, flags);
    c.Font().SetColor(clBtnShadow);
    c.DrawText(Caption(), rect, flags);
  }
}

TacGlyphInfo TsSpeedButton::GlyphInfo() {
  TacGlyphInfo info;
  info.Glyph = &Glyph();
  info.NumGlyphs = NumGlyphs();
  GlyphBounds(info.Bounds);
  info.Enabled = Enabled();
  info.Blend = Look_.Blend;
  info.Down = Down();
  info.Grayed = Look_.Grayed;
  info.State = PaintState();
  info.DisabledGlyphKind = Look_.DisabledGlyphKind;
  info.Reflected = Look_.Reflected;
  return info;
}

void TsSpeedButton::PaintGlyph() {
  if (Glyph().Empty()) return;
  TsCommonData& d = *SkinData_;
  if (d.IsSkinned() && d.Cache()) {
    if (!d.Cache()->Empty()) PaintButtonGlyph(*d.Cache(), GlyphInfo());
    return;
  }
  // Unskinned: drawn through a copy of the control's area, as the painter works on bitmaps.
  HDC dc = Canvas().Handle();
  if (!dc || Width() < 1 || Height() < 1) return;
  TBitmap area(Width(), Height(), TPixelFormat::pf24bit);
  area.Canvas().BitBlt(0, 0, Width(), Height(), dc, 0, 0, SRCCOPY);
  PaintButtonGlyph(area, GlyphInfo());
  dc->DrawBitmap(0, 0, area, {0, 0, Width(), Height()});
}

void TsSpeedButton::PaintUnskinned(bool) { TSpeedButton::Paint(); }

void TsSpeedButton::UpdateFromCache() {
  if (IsLoading() || IsDestroying() || ControlState().Contains(csCreating) || !Parent() || !Visible() ||
      !Parent()->HandleAllocated())
    return;
  TsCommonData& d = *SkinData_;
  if (!d.IsSkinned()) {
    Invalidate();
    return;
  }
  if (d.Dirty()) {
    RenderCache();
    PaintOverlappingSiblings();
  }
  if (Fade_ && Fade_->Enabled() && Fade_->FrameImage->Width() == Width())
    CopyToScreen(*Fade_->FrameImage);
  else if (d.HasCache())
    CopyToScreen(*d.Cache());
}

void TsSpeedButton::PaintOverlappingSiblings() {
  TWinControl* parent = Parent();
  TsCommonData& d = *SkinData_;
  if (!parent || !d.HasCache() || ControlState().Contains(csPaintCopy)) return;
  const TRect bounds = BoundsRect();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* sibling = parent->Controls(i);
    if (sibling == this || !sibling->Visible() || sibling->IsDestroying()) continue;
    const TRect sb = sibling->BoundsRect();
    if (!bounds.Contains({sb.Left, sb.Top}) && !bounds.Contains({sb.Right - 1, sb.Bottom - 1})) continue;
    TDeviceContext& dc = d.Cache()->Canvas();
    const int saved = dc.Save();
    sibling->SetControlState(sibling->ControlState() + csPaintCopy);
    SetViewportOrgEx(&dc, sb.Left - Left(), sb.Top - Top(), nullptr);
    IntersectClipRect(&dc, 0, 0, sb.Width(), sb.Height());
    sibling->Perform(WM_PAINT, reinterpret_cast<WPARAM>(&dc), 0);
    sibling->SetControlState(sibling->ControlState() - csPaintCopy);
    dc.Restore(saved);
  }
}

// --- State changes and fades ------------------------------------------------------------

void TsSpeedButton::ChangeState(bool half, bool animate) {
  TsCommonData& d = *SkinData_;
  if (animate && !TsSkinManager::SkinChanging() && d.IsSkinned() && SectionFades(d) && !d.Dirty()) {
    d.SetDirty(true);
    StartCrossFade(half);
  } else {
    d.SetDirty(true);
    StopCrossFade();
    UpdateFromCache();
  }
  UpdateHoverGlow(d);
}

void TsSpeedButton::StartCrossFade(bool half) {
  TsCommonData& d = *SkinData_;
  int stepsLeft = 1;
  if (Fade_) {
    stepsLeft = std::max(1, Fade_->Iterations - Fade_->Level);
    Fade_.reset();
  }
  if (!SectionFades(d) || TsSkinManager::SkinChanging() || !d.Cache()) {
    UpdateFromCache();
    return;
  }
  Fade_ = std::make_unique<TsAnimTimer>();
  Fade_->Setup(&d);
  if (half) Fade_->Iterations /= 2;
  Fade_->Level = stepsLeft;
  PaintOverlappingSiblings();
  Fade_->StartImage->Assign(*d.Cache());
  Fade_->StartImage->SetPixelFormat(TPixelFormat::pf24bit);
  RenderCache();
  PaintOverlappingSiblings();
  RefreshCorners(d, TacPaintState::Hot);
  Fade_->SetEnabled(true);
  Fade_->Step();
}

void TsSpeedButton::StopCrossFade() {
  if (!Fade_) return;
  if (IsDestroying()) {
    Fade_.reset();
    return;
  }
  Fade_->SetEnabled(false);
  const bool shown = Fade_->Level != 0;
  std::unique_ptr<TsAnimTimer> dying = std::move(Fade_);
  if (shown) {
    SkinData_->SetDirty(true);
    UpdateFromCache();
  }
}

// --- Mouse --------------------------------------------------------------------------------

void TsSpeedButton::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TSpeedButton::MouseDown(button, shift, x, y);
  if (button == mbLeft && !IsDestroying() && SkinData_->IsSkinned())
    ChangeState(true, AnimationWanted(aeMouseDown, Look_.AnimatEvents, SkinData_->GetManager()));
}

void TsSpeedButton::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  if (button == mbLeft && Fade_ && Fade_->Enabled() && Fade_->FrameImage->Width() == Width()) {
    Fade_->SetEnabled(false);
    Fade_.reset();
    SkinData_->SetDirty(true);
    UpdateFromCache();
  }
  TSpeedButton::MouseUp(button, shift, x, y);
  if (button == mbLeft && !IsDestroying() && SkinData_->IsSkinned())
    ChangeState(true, AnimationWanted(aeMouseUp, Look_.AnimatEvents, SkinData_->GetManager()));
}

// --- Messages -----------------------------------------------------------------------------

void TsSpeedButton::SkinChanging(TacCommand command) {
  if (command == AC_REMOVESKIN && !IsDestroying()) StopCrossFade();
}

void TsSpeedButton::SkinChanged(TacCommand command) {
  if (command == AC_SETNEWSKIN) {
    UpdateOpaque();
    SkinData_->SetDirty(true);
    return;
  }
  if (command == AC_REMOVESKIN) {
    if (IsDestroying()) return;
    ControlStyle_.Exclude(csOpaque);
  } else {
    SkinData_->SetDirty(true);
  }
  if (Visible()) TSpeedButton::Invalidate();
}

void TsSpeedButton::ParentPainted() {
  if (!SkinData_->Suspended()) return;
  SkinData_->SetSuspended(false);
  UpdateFromCache();
}

bool TsSpeedButton::OwnCommand(TacCommand command, TMessage& message) {
  TsCommonData& d = *SkinData_;
  if (command == AC_REPAINT) {
    d.SetSuspended(false);
    // In a fade the new face is already in the cache and only the frame goes out.
    if (!Fade_ || !Fade_->Enabled()) d.SetDirty(true);
    UpdateFromCache();
    return true;
  }
  if (!SkinnedAndReady()) return false;
  if (command == AC_ISSUSPENDED) {
    message.Result = d.Suspended() ? 1 : 0;
    return true;
  }
  if (command == AC_SECTIONCHANGED) {
    UpdateFromCache();
    return true;
  }
  if (command == AC_STOPFADING) {
    StopCrossFade();
    return true;
  }
  return false;
}

void TsSpeedButton::WndProc(TMessage& message) {
  TsCommonData& d = *SkinData_;
  const bool own = message.LParam == 0 || message.LParam == reinterpret_cast<LPARAM>(this);
  switch (message.Msg) {
    case SM_ALPHACMD:
      RunSkinCommand(d, message);
      return;
    case CM_MOUSEENTER: {
      if (!own) break;
      const bool wasIn = MouseInControl();
      TSpeedButton::WndProc(message);
      if (SkinnedAndReady() && Enabled()) {
        if (wasIn || d.MouseAbove()) return;
        d.SetMouseAbove(true);
        ChangeState(false, AnimationWanted(aeMouseEnter, Look_.AnimatEvents, d.GetManager()));
      } else {
        d.SetMouseAbove(true);
      }
      return;
    }
    case CM_MOUSELEAVE: {
      if (!own) break;
      if (SkinnedAndReady() && Enabled()) {
        if (!d.MouseAbove()) {
          TSpeedButton::WndProc(message);
          return;
        }
        TSpeedButton::WndProc(message);
        d.SetMouseAbove(false);
        if (State() == bsDown) SetState(bsUp);
        if (Visible()) ChangeState(false, AnimationWanted(aeMouseLeave, Look_.AnimatEvents, d.GetManager()));
      } else {
        TSpeedButton::WndProc(message);
        d.SetMouseAbove(false);
        if (State() == bsDown) SetState(bsUp);
      }
      return;
    }
    case CM_VISIBLECHANGED:
      d.SetMouseAbove(false);
      d.HandleMessage(message);
      TSpeedButton::WndProc(message);
      return;
    case CM_ENABLEDCHANGED:
      d.HandleMessage(message);
      TSpeedButton::WndProc(message);
      d.SetDirty(true);
      if (!IsLoading()) UpdateFromCache();
      return;
    case CM_BUTTONPRESSED:
      TSpeedButton::WndProc(message);
      if (static_cast<int>(message.WParam) == GroupIndex() && GroupIndex() != 0 &&
          message.LParam != reinterpret_cast<LPARAM>(this)) {
        d.SetDirty(true);
        UpdateFromCache();
      }
      return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      d.SetDirty(true);
      break;
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    default:
      if (d.HandleMessage(message)) return;
      break;
  }
  TSpeedButton::WndProc(message);
}

void TsSpeedButton::RegisterDriverProperties() {
  TDriverProperties::Register<TsSpeedButton>("ShowCaption",
                                             [](TsSpeedButton& b) { return BoolText(b.ShowCaption()); });
  TDriverProperties::Register<TsSpeedButton>("PaintState", [](TsSpeedButton& b) { return std::to_string(StateNumber(b.PaintState())); });
}

