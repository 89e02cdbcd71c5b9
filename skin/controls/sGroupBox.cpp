#include "skin/controls/sGroupBox.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "skin/controls/sPanel.h"
#include "skin/paint/acParentBg.h"
#include "skin/paint/sStyleSimply.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sSkinManager.h"

TsGroupBox::TsGroupBox(TComponent* owner) : TGroupBox(owner), SkinData_(std::make_unique<TsCommonData>(this, true)) {
  SkinData_->SetControlKind(TacControlKind::GroupBox);
  SkinData_->InitSection();  // "GROUPBOX"
}

TsGroupBox::~TsGroupBox() { Destroying(); }

void TsGroupBox::Loaded() {
  TGroupBox::Loaded();
  SkinData_->Loaded();
}

void TsGroupBox::LookChanged() {
  SkinData_->SetDirty(true);
  Invalidate();
}

void TsGroupBox::SetCaptionLayout(TsCaptionLayout value) {
  if (value == CaptionLayout_) return;
  CaptionLayout_ = value;
  LookChanged();
}

void TsGroupBox::SetCaptionYOffset(int value) {
  if (value == CaptionYOffset_) return;
  CaptionYOffset_ = value;
  Realign();
  LookChanged();
}

void TsGroupBox::SetCaptionSkin(const std::string& value) {
  if (value == CaptionSkin_) return;
  CaptionSkin_ = value;
  LookChanged();
}

void TsGroupBox::SetBevelWidth(int value) {
  if (value == BevelWidth_) return;
  BevelWidth_ = value;
  LookChanged();
}

void TsGroupBox::SetBiDiMode(TBiDiMode value) {
  if (value == BiDiMode_) return;
  BiDiMode_ = value;
  LookChanged();
}

void TsGroupBox::AdjustClientRect(TRect& rect) const {
  TGroupBox::AdjustClientRect(rect);
  rect.Top += CaptionYOffset_;
}

int TsGroupBox::SkinCaptionHeight() const {
  TCanvas measure;
  measure.Font().Assign(Font());
  return std::max(4, measure.TextHeight("W")) + 2;
}

TRect TsGroupBox::CaptionRect() {
  TCanvas measure;
  measure.Font().Assign(Font());
  const int tw = measure.TextWidth(Caption());
  const int ch = SkinCaptionHeight();
  TRect r{0, 0, 0, ch};
  if (SkinData_->IsSkinned()) r.Bottom += CaptionYOffset_;
  if (CaptionYOffset_ < 0) r.Top += CaptionYOffset_;
  const int w = Width();
  // The layout names the side for left-to-right reading; right to left mirrors it.
  int left = w - tw - 14;
  if (CaptionLayout_ == clTopCenter)
    left = (w - tw - 10) / 2;
  else if ((CaptionLayout_ == clTopLeft) != UseRightToLeftReading())
    left = 6;
  r.Left = std::max(left, 0);
  r.Right = std::min(r.Left + tw + 8, w);
  if (r.Width() < 2 * BevelWidth_) {
    r.Left -= BevelWidth_;
    r.Right += BevelWidth_;
  }
  return r;
}

void TsGroupBox::PrepareCache() {
  TsCommonData& d = *SkinData_;
  TsSkinManager* manager = d.GetManager();
  d.EnsureCache();
  TBitmap& cache = *d.Cache();
  const int w = Width(), h = Height();
  TacBGInfo request;
  GetParentBackground(request, this, false);
  BackgroundInfo bg = BackgroundFromRequest(request);
  const int ch = SkinCaptionHeight();

  // The caption band shows what lies behind the box.
  if (bg.Ready && bg.Bitmap)
    BitBlt(&cache.Canvas(), 0, 0, w, ch, &const_cast<TBitmap*>(bg.Bitmap)->Canvas(), bg.OffsetX + Left(),
           bg.OffsetY + Top(), SRCCOPY);
  else
    FillRectColor(&cache.Canvas(), {0, 0, w, ch}, bg.FillColor == clFuchsia ? ControlColor(Parent()) : bg.FillColor);

  const int frameTop = CaptionYOffset_ < 0 ? 0 : ch / 2;
  if (frameTop < h)
    PaintSection(d, bg, false, TacPaintState::Normal, {0, frameTop, w, h}, {Left(), Top() + frameTop}, &cache, false);

  if (!Caption().empty()) {
    const TRect cr = CaptionRect().Intersect({0, 0, w, h});
    const int captionSection = CaptionSkin_.empty() ? -1 : manager->SectionIndexOf(CaptionSkin_);
    if (captionSection >= 0) {
      PaintSectionByIndex(captionSection, CaptionSkin_, BackgroundInfo::FromBitmap(&cache, 0, 0), -1, -1, manager,
                          &cache, {cr.Left, cr.Top}, cr, HotIf(Focused()), true);
    } else if (bg.Ready && bg.Bitmap) {
      const int checkBox = manager->SectionIndexOf("CHECKBOX");
      if (checkBox >= 0)
        PaintSectionByIndex(checkBox, "CHECKBOX", bg, -1, -1, manager, &cache, {Left() + cr.Left, Top() + cr.Top}, cr,
                            HotIf(Focused()), true);
    } else {
      FillRectColor(&cache.Canvas(), cr, bg.FillColor == clFuchsia ? ControlColor(Parent()) : bg.FillColor);
    }
    TCanvas font;
    font.SetHandle(&cache.Canvas());
    font.Font().Assign(Font());
    font.Brush().SetStyle(bsClear);
    TRect probe{0, 0, 0, 0};
    font.DrawText("", probe, DT_CALCRECT);  // selects the font
    DrawSectionText(cache.Canvas(), Caption(), true, manager, TacPaintState::Normal, d.SkinIndex(), DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                    cr);
    font.SetHandle(nullptr);
  }
  d.SetDirty(false);
  ++RenderCount_;
}

void TsGroupBox::PaintTo(HDC dc, bool notify) {
  TsCommonData& d = *SkinData_;
  d.SetSuspended(ContainerSuspended(d));
  if (d.Suspended()) return;
  if (d.IsSeeThrough() && Parent()) {
    const TRect client = Parent()->ClientRect();
    d.SetParentChanged(!client.Contains({Left() + 1, Top() + 1}) || !client.Contains({Left() + Width() - 1, Top() + Height() - 1}));
  }
  if (!d.BackgroundLocked()) PrepareCache();
  CopyFaceAroundChildren(this, *d.Cache(), dc);
  if (notify) NotifyChildrenPainted(this);
}

void TsGroupBox::PassToChildren(const TMessage& message) { TacBroadcast::ToControls(this, message); }

void TsGroupBox::ShowSkinChange(TacCommand command) {
  if (command != AC_SETNEWSKIN && HandleAllocated() && !IsLoading())
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

void TsGroupBox::ParentPainted() {
  if (SkinData_->Suspended() && Showing()) ResumeContainer(this, *SkinData_);
}

bool TsGroupBox::AnswerBackground(TMessage& message) {
  TsCommonData& d = *SkinData_;
  if (message.LParam == 0 || CaptionSkin_.empty() || !d.IsSkinned()) return false;
  if (d.Dirty() || !d.HasCache()) PrepareCache();
  auto& request = *reinterpret_cast<TacBGInfo*>(message.LParam);
  request.BgType = btCache;
  request.Bmp = d.Cache();
  request.OffsetX = 0;
  request.OffsetY = 0;
  return true;
}

bool TsGroupBox::OwnCommand(TacCommand command, TMessage& message) {
  if (command != AC_LOCKBACKGROUND) return false;
  TsCommonData& d = *SkinData_;
  d.HandleCommand(message);
  if (d.BackgroundLocked() && d.IsSkinned()) PrepareCache();
  return true;
}

void TsGroupBox::WndProc(TMessage& message) {
  TsCommonData& d = *SkinData_;
  if (message.Msg == SM_ALPHACMD) {
    RunSkinCommand(d, message);
    return;
  }
  if (d.IsSkinned() && !IsDestroying()) {
    switch (message.Msg) {
      case WM_PAINT:
        if (!Visible()) return;
        PaintContainerMessage(this, message, [this](HDC dc, bool notify) { PaintTo(dc, notify); });
        return;
      case WM_ERASEBKGND:
        message.Result = 1;
        return;
      case WM_PRINTCLIENT:
        if (HDC dc = reinterpret_cast<HDC>(message.WParam)) {
          PrepareCache();
          CopyFaceAroundChildren(this, *d.Cache(), dc);
        }
        return;
      default: break;
    }
  }
  if (d.HandleMessage(message)) return;
  switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED: d.SetDirty(true); break;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      d.SetDirty(true);
      TGroupBox::WndProc(message);
      if (!Caption().empty() || message.Msg == CM_TEXTCHANGED) Invalidate();
      return;
    default: break;
  }
  TGroupBox::WndProc(message);
}
