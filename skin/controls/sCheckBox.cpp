#include "skin/controls/sCheckBox.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "forms/DriverProperties.h"
#include "platform/base/TextHelpers.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/VirtualKeys.h"
#include "skin/core/acMasks.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acParentBg.h"
#include "skin/render/sBlend.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sSkinManager.h"

TsCheckBox::TsCheckBox(TComponent* owner)
    : TCheckBox(owner), SkinData_(std::make_unique<TsCommonData>(this, false)) {
  SkinData_->SetControlKind(TacControlKind::CheckBox);
  SkinData_->InitSection();  // "CHECKBOX"
}

TsCheckBox::~TsCheckBox() {
  Destroying();
  EndFade(Fade_, *SkinData_);
}

// --- Properties -------------------------------------------------------------------------

void TsCheckBox::SetMargin(int value) {
  Margin_ = value;
  SizeChanged();
}
void TsCheckBox::SetTextIndent(int value) {
  TextIndent_ = value;
  SizeChanged();
}
void TsCheckBox::SetShowFocus(bool value) {
  ShowFocus_ = value;
  SkinData_->Invalidate();
}
void TsCheckBox::SetReadOnly(bool value) {
  ReadOnly_ = value;
  SkinData_->Invalidate();
}
void TsCheckBox::SetWordWrap(bool value) {
  WordWrap_ = value;
  SizeChanged();
}
void TsCheckBox::SetAutoSize(bool value) {
  AutoSize_ = value;
  DoAutoSize();
}
void TsCheckBox::SetGlyphChecked(const TBitmap& glyph) {
  GlyphChecked_.Assign(glyph);
  SizeChanged();
}
void TsCheckBox::SetGlyphUnChecked(const TBitmap& glyph) {
  GlyphUnChecked_.Assign(glyph);
  SizeChanged();
}
void TsCheckBox::SetImgChecked(int value) {
  ImgChecked_ = value;
  SizeChanged();
}
void TsCheckBox::SetImgUnchecked(int value) {
  ImgUnchecked_ = value;
  SizeChanged();
}
void TsCheckBox::SetDisabledKind(TsDisabledKind value) {
  DisabledKind_ = value;
  SkinData_->Invalidate();
}

// A property that may change the size: fit the size again and repaint.
void TsCheckBox::SizeChanged() {
  DoAutoSize();
  SkinData_->Invalidate();
}

void TsCheckBox::SetState(TCheckBoxState state) {
  const bool changed = state != State();
  TCheckBox::SetState(state);
  if (changed && !IsLoading() && !IsDestroying()) Change(true, aeMouseUp);
}

void TsCheckBox::Toggle() {
  if (ReadOnly_) return;
  TCheckBox::Toggle();
}

// --- Look -----------------------------------------------------------------------------------

TacPaintState TsCheckBox::PaintState() const { return HotIf(!ReadOnly_ && SkinData_->IsHot()); }

int TsCheckBox::CheckMaskIndex() const {
  TsSkinManager* manager = SkinData_->GetManager();
  if (!manager || !manager->SkinData.SkinReady) return -1;
  const TacCommonIndexes& ci = manager->CommonIndexes;
  int index = -1;
  switch (State()) {
    case cbUnchecked: index = ci.CheckBoxUnChecked; break;
    case cbChecked: index = ci.CheckBoxChecked; break;
    case cbGrayed: index = ci.CheckBoxGrayed; break;
  }
  return manager->Mask(index) ? index : -1;
}

TSize TsCheckBox::CheckSize() const {
  // Image lists are not part of this framework, so ImgChecked/ImgUnchecked never apply.
  if (GlyphChecked_.Empty()) {
    const int mask = SkinData_->IsSkinned() ? CheckMaskIndex() : -1;
    if (mask < 0) return {16, 16};
    const TsMaskData& m = *SkinData_->GetManager()->Mask(mask);
    return {MaskFrameWidth(m), MaskFrameHeight(m)};
  }
  return {GlyphChecked_.Width() / 3, GlyphChecked_.Height()};
}

TSize TsCheckBox::MeasureText(int available) {
  if (Caption().empty()) return {0, 0};
  TBitmap scratch(1, 1);
  TCanvas canvas;
  canvas.SetHandle(&scratch.Canvas());
  canvas.Font().Assign(Font());
  TRect r{0, 0, std::max(available, 0), 0};
  canvas.DrawText(Caption(), r, DT_CALCRECT | (WordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
  canvas.SetHandle(nullptr);
  return {r.Width(), r.Height()};
}

void TsCheckBox::DoAutoSize() {
  if (!AutoSize_ || IsLoading() || IsDestroying()) return;
  const TSize box = CheckSize();
  if (SkinData_->IsSkinned()) {
    const TSize text = MeasureText(WordWrap_ ? Width() - box.cx - TextIndent_ - 2 * Margin_ - 2 : 10000);
    const bool caption = !Caption().empty();
    const int w = box.cx + 2 * Margin_ + (caption ? text.cx + TextIndent_ + 8 : 0);
    const int h = std::max(box.cy, caption ? text.cy + 2 * Margin_ : 0) + 2;
    SetBounds(Left(), Top(), w, h);
  } else {
    const TSize text = MeasureText(10000);
    SetBounds(Left(), Top(), text.cx + 20, std::max(text.cy + 4, 20));
  }
}

void TsCheckBox::DrawCheck(TRect box, TacPaintState frame) {
  TBitmap& cache = *SkinData_->Cache();
  const TBitmap* own = nullptr;
  if (!GlyphChecked_.Empty()) {
    if (State() == cbChecked)
      own = &GlyphChecked_;
    else if (!GlyphUnChecked_.Empty())
      own = &GlyphUnChecked_;
    if (!own) return;
    const int fw = own->Width() / 3;
    TBitmap whole(*own);
    whole.SetPixelFormat(TPixelFormat::pf24bit);
    TBitmap cell(fw, whole.Height(), TPixelFormat::pf24bit);
    cell.Canvas().DrawBitmap(0, 0, whole, {StateNumber(frame) * fw, 0, StateNumber(frame) * fw + fw, whole.Height()});
    CopyKeyed(cache, cell, box.Left, box.Top, cell.Pixel(0, cell.Height() - 1));
    return;
  }
  const int mask = CheckMaskIndex();
  if (mask >= 0) {
    const BackgroundInfo self = BackgroundInfo::FromBitmap(&cache, 0, 0);
    DrawGlyphMask(cache, {box.Left, box.Top}, frame, 1, *SkinData_->GetManager()->Mask(mask),
                  self);
    return;
  }
  // No glyph anywhere: a plain box with the mark.
  TDeviceContext& dc = cache.Canvas();
  const TColor ink = ColorToRGB(Font().Color());
  dc.FillRect({box.Left, box.Top, box.Right, box.Top + 1}, ink);
  dc.FillRect({box.Left, box.Bottom - 1, box.Right, box.Bottom}, ink);
  dc.FillRect({box.Left, box.Top, box.Left + 1, box.Bottom}, ink);
  dc.FillRect({box.Right - 1, box.Top, box.Right, box.Bottom}, ink);
  if (State() == cbGrayed) dc.FillRect(box.Inflate(-4, -4), ink);
  if (State() == cbChecked)
    for (int i = 0; i < 7; ++i) {
      const int y = i < 3 ? box.Top + 6 + i : box.Top + 10 - i;
      dc.FillRect({box.Left + 4 + i, y, box.Left + 5 + i, y + 3}, ink);
    }
}

void TsCheckBox::RenderFace() {
  TsCommonData& d = *SkinData_;
  d.EnsureCache();
  TBitmap& cache = *d.Cache();
  if (cache.Empty()) return;
  const int w = Width(), h = Height();
  TacBGInfo request;
  request.DrawDC = &cache.Canvas();
  request.OffsetX = Left();
  request.OffsetY = Top();
  request.R = {0, 0, w, h};
  GetParentBackground(request, this, true);
  TBitmap parentCopy;
  BackgroundInfo bg;
  if (request.BgType == btUnknown || (request.BgType == btCache && !request.Bmp)) {
    // The parent painted itself (or its cache) into ours: that is what lies behind.
    parentCopy.Assign(cache);
    bg = BackgroundInfo::FromBitmap(&parentCopy, -Left(), -Top());
  } else {
    bg = BackgroundFromRequest(request);
  }
  const TacPaintState state = PaintState();
  PaintSection(d, bg, true, state, {0, 0, w, h}, {Left(), Top()}, &cache, false);

  const TSize box = CheckSize();
  const bool textRight = Alignment() == lrRight;
  LastTextRect_ = {};
  if (!Caption().empty()) {
    const int available = w - box.cx - TextIndent_ - 2 * Margin_ - 2;
    const TSize text = MeasureText(available);
    const int top = std::max((h - text.cy) / 2, Margin_);
    const int bottom = top + text.cy;
    TRect r;
    if (textRight) {
      r.Left = w - available - Margin_ + 2;
      r.Right = r.Left + text.cx;
    } else {
      r.Left = Margin_;
      r.Right = Margin_ + available;
    }
    r.Top = top;
    r.Bottom = bottom;
    r = WordWrap_ ? r.Offset(-1, -1) : r.Offset(0, -1);
    TCanvas canvas;
    canvas.SetHandle(&cache.Canvas());
    canvas.Font().Assign(Font());
    TRect probe{0, 0, 0, 0};
    canvas.DrawText("", probe, DT_CALCRECT);  // selects the font
    const unsigned flags = WordWrap_ ? DT_CENTER | DT_WORDBREAK : DT_SINGLELINE;
    if (d.CustomFont()) {
      cache.Canvas().SetBkMode(TRANSPARENT);
      cache.Canvas().SetTextColor(ColorToRGB(Font().Color()));
      TRect copy = r;
      cache.Canvas().DrawText(Caption(), copy, flags);
    } else {
      DrawSectionText(cache.Canvas(), Caption(), true, d.GetManager(), state, d.SkinIndex(), flags, r);
    }
    canvas.SetHandle(nullptr);
    if (Focused() && ShowFocus_) cache.Canvas().DrawFocusRect(r.Inflate(1, 1));
    LastTextRect_ = r;
  }
  const TacPaintState frame = Pressed_ ? TacPaintState::Pressed : state;
  const int x = textRight ? Margin_ : w - box.cx - Margin_;
  LastBoxRect_ = {x, (h - box.cy) / 2, x + box.cx, (h - box.cy) / 2 + box.cy};
  DrawCheck(LastBoxRect_, frame);
  if (!Enabled()) PaintDisabledLook(cache, DisabledFlags(DisabledKind_), this, {Left(), Top()}, bg);
  d.SetDirty(false);
}

void TsCheckBox::Paint() {
  TsCommonData& d = *SkinData_;
  if (d.SkinIndex() < 0 && d.GetManager() && d.GetManager()->SkinData.SkinReady && d.SkinSection() != "UNKNOWN")
    d.ResolveSection();
  if (!d.IsSkinned()) {
    TCheckBox::Paint();
    return;
  }
  HDC dc = Canvas().Handle();
  if (!dc) return;
  if (d.IsSuspended()) return;  // repainted by the parent's command 6
  if (Fade_ && Fade_->Enabled()) return;
  RenderFace();
  if (!d.HasCache()) return;
  // The face leaves its corners' holes alone; they take what lies behind now.
  RefreshCorners(d, TacPaintState::Normal);
  dc->DrawBitmap(0, 0, *d.Cache(), {0, 0, Width(), Height()});
}

void TsCheckBox::Loaded() {
  TCheckBox::Loaded();
  SkinData_->Loaded();
  DoAutoSize();
}

// --- Input ------------------------------------------------------------------------------------

void TsCheckBox::Change(bool half, TacAnimatEvent event) {
  FadeOrRepaint(Fade_, *SkinData_, half, 1, AnimationWanted(event, AnimatEvents_, SkinData_->GetManager()));
}

void TsCheckBox::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  if (button == mbLeft && Enabled() && !ReadOnly_ && SkinData_->IsSkinned()) {
    Pressed_ = true;
    Change(true, aeMouseDown);
    if (!Focused() && CanFocus()) SetFocus();
  }
  TCheckBox::MouseDown(button, shift, x, y);
}

void TsCheckBox::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  if (button == mbLeft) Pressed_ = false;  // the framework's click then toggles
  TCheckBox::MouseUp(button, shift, x, y);
}

void TsCheckBox::ControlKeyDown(WORD key, TShiftState shift) {
  if (key == VK_SPACE && !ReadOnly_ && SkinData_->IsSkinned() && !Pressed_) {
    Pressed_ = true;
    SkinData_->Invalidate();
  }
  TCheckBox::ControlKeyDown(key, shift);
}

void TsCheckBox::ControlKeyUp(WORD key, TShiftState shift) {
  if (key == VK_SPACE) Pressed_ = false;
  TCheckBox::ControlKeyUp(key, shift);
}

void TsCheckBox::SkinChanging(TacCommand) { EndFade(Fade_, *SkinData_); }

void TsCheckBox::SkinChanged(TacCommand command) {
  DoAutoSize();
  if (command != AC_SETNEWSKIN) Invalidate();
}

void TsCheckBox::ParentPainted() {
  TsCommonData& d = *SkinData_;
  if (!d.Suspended() && !d.ParentChanged()) return;
  d.SetSuspended(false);
  Invalidate();
}

bool TsCheckBox::OwnCommand(TacCommand command, TMessage&) {
  if (command == AC_STOPFADING) {
    EndFade(Fade_, *SkinData_);
    SkinData_->SetDirty(true);
    Invalidate();
    return true;
  }
  if (command == AC_PREPARING) {
    RenderFace();
    return true;
  }
  return false;
}

void TsCheckBox::WndProc(TMessage& message) {
  TsCommonData& d = *SkinData_;
  const bool own = message.LParam == 0 || message.LParam == reinterpret_cast<LPARAM>(this);
  switch (message.Msg) {
    case SM_ALPHACMD:
      RunSkinCommand(d, message);
      return;
    case CM_MOUSEENTER: {
      const bool enter = own && Enabled() && !d.MouseAbove();
      TCheckBox::WndProc(message);
      if (!enter) return;
      d.SetMouseAbove(true);
      if (d.IsSkinned() && !ReadOnly_) Change(false, aeMouseEnter);
      return;
    }
    case CM_MOUSELEAVE: {
      const bool leave = own && (d.MouseAbove() || Pressed_);
      TCheckBox::WndProc(message);
      if (!leave) return;
      d.SetMouseAbove(false);
      Pressed_ = false;
      if (d.IsSkinned()) Change(false, aeMouseLeave);
      return;
    }
    case WM_SETFOCUS:
      d.HandleMessage(message);
      TCheckBox::WndProc(message);
      d.SetDirty(true);
      if (Fade_ && Fade_->Enabled())
        Fade_->Step();
      else
        Invalidate();
      return;
    case WM_KILLFOCUS:
      EndFade(Fade_, d);
      d.HandleMessage(message);
      TCheckBox::WndProc(message);
      d.SetFocused(false);
      d.SetMouseAbove(false);
      Invalidate();
      return;
    case WM_ERASEBKGND:
      if (!d.IsSkinned()) break;
      message.Result = 1;
      return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      d.HandleMessage(message);
      TCheckBox::WndProc(message);
      d.SetDirty(true);
      DoAutoSize();
      return;
    default:
      if (d.HandleMessage(message)) return;
      break;
  }
  TCheckBox::WndProc(message);
}

void TsCheckBox::RegisterDriverProperties() {
  TDriverProperties::Register<TsCheckBox>("ReadOnly",
                                          [](TsCheckBox& c) { return BoolText(c.ReadOnly()); });
  TDriverProperties::Register<TsCheckBox>("PaintState", [](TsCheckBox& c) { return std::to_string(StateNumber(c.PaintState())); });
}

