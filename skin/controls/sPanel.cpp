#include "skin/controls/sPanel.h"

#include <algorithm>
#include <cstdlib>

#include "forms/Canvas.h"
#include "forms/DriverProperties.h"
#include "platform/base/TextHelpers.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Paint.h"
#include "platform/win/Win.h"
#include "skin/paint/acParentBg.h"
#include "skin/paint/sStyleSimply.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/runtime/sSkinManager.h"

namespace {

// Selects a font into a bitmap's context for the duration of a paint.
class TFontInBitmap {
public:
  TFontInBitmap(TDeviceContext& dc, const TFont& font) {
    Canvas_.SetHandle(&dc);
    Canvas_.Font().Assign(font);
    Canvas_.Brush().SetStyle(bsClear);
    TRect probe{0, 0, 0, 0};
    Canvas_.DrawText("", probe, DT_CALCRECT);  // makes the canvas select its font
  }
  ~TFontInBitmap() { Canvas_.SetHandle(nullptr); }
  TCanvas& Canvas() { return Canvas_; }

private:
  TCanvas Canvas_;
};

}  // namespace

void CopyFaceAroundChildren(TWinControl* control, const TBitmap& face, HDC dc) {
  if (!control || !dc) return;
  const int saved = SaveDC(dc);
  for (int i = 0; i < control->ControlCount(); ++i) {
    TControl* child = control->Controls(i);
    if (!child->Visible()) continue;
    const bool windowed = dynamic_cast<TWinControl*>(child) != nullptr;
    if (windowed || child->ControlStyle().Contains(csOpaque)) {
      const TRect r = child->BoundsRect();
      ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    }
  }
  BitBlt(dc, 0, 0, face.Width(), face.Height(), &const_cast<TBitmap&>(face).Canvas(), 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
  control->PaintControls(dc, nullptr);
}

bool ContainerSuspended(TsCommonData& data) {
  if (data.Suspended()) return true;
  TWinControl* parent = data.Control() ? data.Control()->Parent() : nullptr;
  if (!parent) return true;
  if (!dynamic_cast<TsPanel*>(parent) && !dynamic_cast<TsGroupBox*>(parent)) return false;
  return SendAlphaCmd(parent, AC_ISSUSPENDED) != 0;
}

void PaintContainerMessage(TWinControl* control, TMessage& message, const std::function<void(HDC dc, bool notify)>& paintTo) {
  if (message.WParam) {
    paintTo(reinterpret_cast<HDC>(message.WParam), false);
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(control->Handle(), &ps);
  if (dc) paintTo(dc, true);
  EndPaint(control->Handle(), &ps);
}

void ResumeContainer(TWinControl* control, TsCommonData& data) {
  data.SetSuspended(false);
  data.SetSuspended(ContainerSuspended(data));
  if (!data.Suspended() && control->HandleAllocated())
    RedrawWindow(control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

bool FromOwnManager(const TMessage& message, TsCommonData& data) {
  return reinterpret_cast<TsSkinManager*>(message.LParam) == data.GetManager();
}

void NotifyChildrenPainted(TWinControl* control) {
  for (int i = 0; i < control->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(control->Controls(i));
    if (child && child->HandleAllocated() && child->Showing())
      SendMessage(child->Handle(), SM_ALPHACMD, MakeCommandWParam(AC_PARENTPAINTED), 0);
  }
}

TsPanel::TsPanel(TComponent* owner) : TPanel(owner), SkinData_(std::make_unique<TsCommonData>(this, true)) {
  SkinData_->SetControlKind(TacControlKind::Panel);
  SkinData_->InitSection();  // "PANEL"; no parent yet, so nothing is announced
  ControlStyle_.Exclude(csOpaque);  // a skinned panel may show what lies behind it
}

TsPanel::~TsPanel() { Destroying(); }

void TsPanel::Loaded() {
  TPanel::Loaded();
  SkinData_->Loaded();
}

bool TsPanel::UsesCache() const {
  if (SkinData_->CustomColor()) return false;
  return (SkinData_->OpacityFlags() & 1) == 0 || SkinData_->IsHot();
}

TRect TsPanel::TextRect() const {
  const int w = FrameWidth();
  return ClientRect().Inflate(-w, -w);
}

void TsPanel::SetShrinkCaption(bool value) {
  if (value == ShrinkCaption_) return;
  ShrinkCaption_ = value;
  SkinData_->Invalidate();
}

int TsPanel::CaptionFontHeight(int room) {
  const int height = Font().Height();
  if (!ShrinkCaption_ || Caption().empty()) return height;
  TCanvas measure;
  measure.Font().Assign(Font());
  // One pixel of character height at a time, down to a size still worth reading.
  constexpr int kSmallest = 6;
  const int sign = height < 0 ? -1 : 1;
  int h = std::abs(height);
  while (h > kSmallest && measure.TextWidth(Caption()) > room) {
    --h;
    measure.Font().SetHeight(sign * h);
  }
  return sign * h;
}

void TsPanel::WriteText(TRect rect, TDeviceContext& dc) {
  if (Caption().empty()) return;
  TFont drawn;
  drawn.Assign(Font());
  drawn.SetHeight(CaptionFontHeight(rect.Width()));
  TFontInBitmap font(dc, drawn);
  const int h = font.Canvas().TextHeight("W");
  TRect r{rect.Left, (Height() - h) / 2, rect.Right, (Height() - h) / 2 + h};
  unsigned flags = DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
  switch (Alignment()) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
  }
  // Captions of containers never take the hot look.
  TsSkinManager* manager = SkinData_->GetManager();
  const TsGeneralData* section = SkinData_->Section();
  if (Enabled() || !manager || !section) {
    DrawSectionText(dc, Caption(), Enabled(), manager, TacPaintState::Normal, SkinData_->SkinIndex(), flags, r);
    return;
  }
  // A disabled caption fades towards the skin's window colour (GLOBALINFO), whatever the panel's own.
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  const TColor oldColor = dc.SetTextColor(DisabledMix(section->FontColor[0], manager->GlobalColor()));
  dc.DrawText(Caption(), r, flags);
  dc.SetTextColor(oldColor);
  dc.SetBkMode(oldMode);
}

void TsPanel::RebuildCache() {
  TsCommonData& d = *SkinData_;
  d.EnsureCache();
  PaintSectionForControl(d, Parent(), true, TacPaintState::Normal, {0, 0, Width(), Height()}, {Left(), Top()}, d.Cache(), true);
  WriteText(TextRect(), d.Cache()->Canvas());
  if (OnPaint) {
    TCanvas canvas;
    canvas.SetHandle(&d.Cache()->Canvas());
    OnPaint(this, canvas);
    canvas.SetHandle(nullptr);
  }
  d.SetDirty(false);
  ++RenderCount_;
}

void TsPanel::PaintDirect(HDC dc) {
  if (OnPaint) {
    Canvas().SetHandle(dc);
    OnPaint(this, Canvas());
    Canvas().SetHandle(nullptr);
    PaintControls(dc, nullptr);
    return;
  }
  SkinData_->SetSuspended(false);
  // A temporary face: plain looks are cheap to paint again, so nothing is kept.
  TBitmap face(std::max(Width(), 0), std::max(Height(), 0), TPixelFormat::pf24bit);
  PaintSectionForControl(*SkinData_, Parent(), true, TacPaintState::Normal, {0, 0, Width(), Height()}, {Left(), Top()}, &face, true);
  WriteText(TextRect(), face.Canvas());
  CopyFaceAroundChildren(this, face, dc);
}

void TsPanel::PaintTo(HDC dc, bool notify) {
  TsCommonData& d = *SkinData_;
  d.SetSuspended(ContainerSuspended(d));
  if (d.Suspended()) return;
  if (UsesCache()) {
    const bool rebuild = d.Dirty() || d.ParentChanged() || !d.CacheFits(Width(), Height());
    if (d.IsSeeThrough()) {
      RECT clip{};
      GetClipBox(dc, &clip);
      d.SetParentChanged(clip.Width() < Width() || clip.Height() < Height());
    } else {
      d.SetParentChanged(false);
    }
    if (rebuild && !d.BackgroundLocked()) RebuildCache();
    CopyFaceAroundChildren(this, *d.Cache(), dc);
  } else {
    PaintDirect(dc);
  }
  if (notify) NotifyChildren();
}

void TsPanel::NotifyChildren() { NotifyChildrenPainted(this); }

void TsPanel::SkinChanging(TacCommand command) {
  if (command != AC_REFRESH) ControlStyle_.Exclude(csOpaque);
}

void TsPanel::PassToChildren(const TMessage& message) { TacBroadcast::ToControls(this, message); }

void TsPanel::ShowSkinChange(TacCommand command) {
  if (command == AC_REMOVESKIN)
    Invalidate();
  else if (command == AC_REFRESH && HandleAllocated() && !IsLoading())
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME | RDW_ERASE);
}

void TsPanel::ParentPainted() {
  if (SkinData_->Suspended()) ResumeContainer(this, *SkinData_);
  NotifyChildren();
}

bool TsPanel::AnswerBackground(TMessage& message) {
  TsCommonData& d = *SkinData_;
  if (message.LParam == 0) return true;
  auto& request = *reinterpret_cast<TacBGInfo*>(message.LParam);
  const bool emptyCache = !d.CacheFits(Width(), Height());
  if (d.IsSkinned() && UsesCache() && (d.Dirty() || emptyCache) && !d.Suspended()) RebuildCache();
  d.AnswerBackground(request, false);
  // Children count from the client origin, which a border moves in.
  if (request.BgType == btCache && !request.PleaseDraw && ClientWidth() != Width()) {
    request.OffsetX += (Width() - ClientWidth()) / 2;
    request.OffsetY += (Height() - ClientHeight()) / 2;
  }
  message.Result = 0;
  return true;
}

bool TsPanel::OwnCommand(TacCommand command, TMessage& message) {
  if (command != AC_ISSUSPENDED) return false;
  message.Result = SkinData_->Suspended() ? 1 : 0;
  return true;
}

void TsPanel::WndProc(TMessage& message) {
  TsCommonData& d = *SkinData_;
  if (message.Msg == SM_ALPHACMD) {
    RunSkinCommand(d, message);
    return;
  }
  if (d.IsSkinned() && !IsDestroying()) {
    switch (message.Msg) {
      case WM_PAINT:
        PaintContainerMessage(this, message, [this](HDC dc, bool notify) { PaintTo(dc, notify); });
        return;
      case WM_ERASEBKGND:
        message.Result = 1;
        return;
      case WM_PRINTCLIENT: {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        if (!dc) return;
        if (!UsesCache()) d.EnsureCache();
        RebuildCache();
        RefreshCorners(d, TacPaintState::Normal);
        CopyFaceAroundChildren(this, *d.Cache(), dc);
        return;
      }
      default: break;
    }
  }
  if (d.HandleMessage(message)) return;
  switch (message.Msg) {
    case WM_SIZE: d.SetDirty(true); break;
    case WM_MOVE:
      if ((d.OpacityFlags() & 1) == 0) d.SetDirty(true);
      break;
    case CM_COLORCHANGED:
      if (d.CustomColor()) d.SetDirty(true);
      break;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
      d.SetDirty(true);
      TPanel::WndProc(message);
      if (Parent()) Invalidate();
      return;
    case CM_FONTCHANGED:
      if (!Caption().empty()) {
        d.SetDirty(true);
        TPanel::WndProc(message);
        Invalidate();
        return;
      }
      break;
    case CM_VISIBLECHANGED: d.SetSuspended(false); break;
    default: break;
  }
  TPanel::WndProc(message);
}

// --- What scripts can read of a finished face ---------------------------------------------
// Registered here because the panels' file is linked wherever skinned controls are used.
namespace {

// The colour a speed button's caption is written in now: its own font colour with
// CustomFont, else the section's font colour for its state.
TColor CaptionColor(TsSpeedButton& button) {
  TsCommonData& d = *button.SkinData();
  const TsGeneralData* section = d.IsSkinned() ? d.Section() : nullptr;
  if (!section || d.CustomFont()) return ColorToRGB(button.Font().Color());
  return ColorToRGB(UsesHotValues(button.PaintState()) ? section->HotFontColor[0] : section->FontColor[0]);
}

// Whether the cached face holds a pixel of exactly that colour.
bool FaceHolds(IacSkinnedControl& control, TColor color) {
  TsCommonData* d = control.SkinData();
  if (!d || !d->Cache()) return false;
  const TBitmap& face = *d->Cache();
  for (int y = 0; y < face.Height(); ++y)
    for (int x = 0; x < face.Width(); ++x)
      if (face.Pixel(x, y) == color) return true;
  return false;
}

TsAnimTimer* RunningFade(TsSpeedButton& button) {
  TsAnimTimer* fade = button.FadeTimer();
  return fade && fade->Enabled() && fade->StartImage && fade->FrameImage ? fade : nullptr;
}

// A fade frame lies between the face it left and the face it heads for, channel by
// channel, and is neither of them somewhere.
bool FrameBetweenFaces(TsSpeedButton& button) {
  TsAnimTimer* fade = RunningFade(button);
  const TBitmap* to = button.SkinData()->Cache();
  if (!fade || !to) return false;
  const TBitmap& from = *fade->StartImage;
  const TBitmap& frame = *fade->FrameImage;
  if (frame.Width() != to->Width() || frame.Height() != to->Height() || from.Width() != to->Width() ||
      from.Height() != to->Height())
    return false;
  bool strictlyBetween = false;
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) {
      const TColor a = from.Pixel(x, y), b = to->Pixel(x, y), f = frame.Pixel(x, y);
      bool inner = false;
      for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF, cf = (f >> shift) & 0xFF;
        if (cf < std::min(ca, cb) - 1 || cf > std::max(ca, cb) + 1) return false;
        if (cf > std::min(ca, cb) + 1 && cf < std::max(ca, cb) - 1) inner = true;
      }
      strictlyBetween = strictlyBetween || inner;
    }
  return strictlyBetween;
}

// Whether the top-level window's image shows exactly `image` where the control is.
bool ScreenShows(TControl& control, const TBitmap* image) {
  TWinControl* form = GetParentForm(&control);
  if (!image || !form || !form->HandleAllocated()) return false;
  const TBitmap* window = WindowImage(form->Handle());
  TRect frame;
  GetWindowRect(form->Handle(), &frame);
  if (!window || image->Width() != control.Width() || image->Height() != control.Height()) return false;
  const TPoint origin = control.ClientToScreen({0, 0});
  for (int y = 0; y < image->Height(); ++y)
    for (int x = 0; x < image->Width(); ++x) {
      const int wx = origin.X - frame.Left + x, wy = origin.Y - frame.Top + y;
      if (wx < 0 || wy < 0 || wx >= window->Width() || wy >= window->Height()) return false;
      if ((window->Pixel(wx, wy) & 0xFFFFFF) != (image->Pixel(x, y) & 0xFFFFFF)) return false;
    }
  return true;
}

}  // namespace

void RegisterFaceDriverProperties() {
  TDriverProperties::Register<IacSkinnedControl>(
      "CustomFont", [](IacSkinnedControl& c) { return BoolText(c.SkinData() && c.SkinData()->CustomFont()); });
  TDriverProperties::Register<TsSpeedButton>("CaptionColor",
                                             [](TsSpeedButton& b) { return std::to_string(CaptionColor(b)); });
  TDriverProperties::Register<TsSpeedButton>("FaceHasCaptionColor",
                                             [](TsSpeedButton& b) { return BoolText(FaceHolds(b, CaptionColor(b))); });
  TDriverProperties::Register<TsSpeedButton>(
      "FaceHasFontColor", [](TsSpeedButton& b) { return BoolText(FaceHolds(b, ColorToRGB(b.Font().Color()))); });
  TDriverProperties::Register<TsSpeedButton>("Fading", [](TsSpeedButton& b) { return BoolText(RunningFade(b) != nullptr); });
  TDriverProperties::Register<TsSpeedButton>("FadeFrameBetweenFaces",
                                             [](TsSpeedButton& b) { return BoolText(FrameBetweenFaces(b)); });
  TDriverProperties::Register<TsSpeedButton>("ScreenShowsFadeFrame", [](TsSpeedButton& b) {
    TsAnimTimer* fade = RunningFade(b);
    UpdateAllWindows();
    return BoolText(fade && ScreenShows(b, fade->FrameImage.get()));
  });
  TDriverProperties::Register<TsSpeedButton>("ScreenShowsFace", [](TsSpeedButton& b) {
    UpdateAllWindows();
    return BoolText(ScreenShows(b, b.SkinData()->Cache()));
  });
}

