#include "skin/controls/sEdit.h"

#include <algorithm>

#include "forms/Application.h"
#include "forms/Canvas.h"
#include "forms/DriverProperties.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/Win.h"
#include "skin/core/sGeneralData.h"
#include "skin/paint/acParentBg.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sSkinManager.h"

namespace {

// The edit's font selected into the face's context while the text is drawn.
class TFaceFont {
public:
  TFaceFont(TDeviceContext& dc, const TFont& font) {
    Canvas_.SetHandle(&dc);
    Canvas_.Font().Assign(font);
    Canvas_.Brush().SetStyle(bsClear);
    TRect probe{0, 0, 0, 0};
    Canvas_.DrawText("", probe, DT_CALCRECT);  // makes the canvas select its font
  }
  ~TFaceFont() { Canvas_.SetHandle(nullptr); }

private:
  TCanvas Canvas_;
};

}  // namespace

TsEdit::TsEdit(TComponent* owner)
    : TEdit(owner), SkinData_(std::make_unique<TsCommonData>(this, true)),
      BoundLabel_(std::make_unique<TsBoundLabel>(this)) {
  SkinData_->SetControlKind(TacControlKind::Edit);
  SkinData_->InitSection();  // "EDIT"
}

TsEdit::~TsEdit() {
  Destroying();
  BoundLabel_.reset();
}

void TsEdit::Loaded() {
  TEdit::Loaded();
  SkinData_->Loaded();
}

void TsEdit::SetDisabledKind(TsDisabledKind value) {
  if (value == DisabledKind_) return;
  DisabledKind_ = value;
  SkinData_->Invalidate();
}

int TsEdit::BevelCount() const {
  if (BevelKind() == bkNone) return 0;
  return (BevelInner() != bvNone ? 1 : 0) + (BevelOuter() != bvNone ? 1 : 0);
}

int TsEdit::FrameRingWidth() const {
  if (BorderStyle() != bsNone) return Ctl3D() ? 2 : 1;
  // Without a border the bevels make the ring, one pixel each.
  return BevelCount();
}

void TsEdit::PaintText() {
  TsCommonData& d = *SkinData_;
  TBitmap& cache = *d.Cache();
  int b = 0;
  if (BorderStyle() != bsNone) b = Ctl3D() ? 2 : 1;
  b += BevelCount();
  const TRect rect{b + 1, b + 1, Width() - b, Height() - b};
  std::string text = Text();
  if (PasswordChar() != 0) {
    const std::u32string mask(Utf8ToUtf32(text).size(), PasswordChar());
    text = Utf32ToUtf8(mask);
  }
  if (text.empty()) return;
  TFaceFont font(cache.Canvas(), Font());
  DrawSectionText(cache.Canvas(), text, Enabled(), d, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP, rect);
}

void TsEdit::PrepareCache() {
  TsCommonData& d = *SkinData_;
  if (d.BackgroundLocked()) return;
  d.EnsureCache();
  TBitmap& cache = *d.Cache();
  if (cache.Empty()) return;
  const TacPaintState state = HotIf(d.IsHot());
  PaintSectionForControl(d, Parent(), true, state, {0, 0, Width(), Height()}, {Left(), Top()}, &cache, false);
  PaintText();
  if (!Enabled()) {
    TacBGInfo request;
    GetParentBackground(request, this, false);
    PaintDisabledLook(cache, DisabledFlags(DisabledKind_), this, {Left(), Top()}, BackgroundFromRequest(request));
  }
  d.SetDirty(false);
  ++RenderCount_;
}

void TsEdit::ApplySkinColors() {
  TsCommonData& d = *SkinData_;
  const TsGeneralData* section = d.Section();
  if (!section || ApplyingColors_) return;
  ApplyingColors_ = true;
  const bool hot = d.IsHot();
  const TColor color = hot ? section->HotColor : section->Color;
  const TColor fontColor = hot ? section->HotFontColor[0] : section->FontColor[0];
  if (!d.CustomColor() && Color() != color) SetColor(color == clFuchsia ? clWhite : color);
  if (!d.CustomFont() && Font().Color() != fontColor) Font().SetColor(fontColor);
  ApplyingColors_ = false;
}

void TsEdit::PaintFrame() {
  TsCommonData& d = *SkinData_;
  if (!HandleAllocated()) return;
  d.SetSuspended(d.IsSuspended());
  if (d.Suspended()) return;
  if (d.Dirty() || !d.CacheFits(Width(), Height())) PrepareCache();
  if (!d.HasCache()) return;
  RefreshCorners(d, TacPaintState::Normal);
  const int b = FrameRingWidth();
  if (b <= 0) return;
  HDC dc = GetWindowDC(Handle());
  if (!dc) return;
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, b, b, Width() - b, Height() - b);
  dc->DrawBitmap(0, 0, *d.Cache(), {0, 0, Width(), Height()});
  RestoreDC(dc, saved);
  ReleaseDC(Handle(), dc);
}

void TsEdit::PaintDisabled(HDC given) {
  TsCommonData& d = *SkinData_;
  if (d.Dirty() || !d.CacheFits(Width(), Height())) PrepareCache();
  PAINTSTRUCT ps;
  HDC dc = given ? given : BeginPaint(Handle(), &ps);
  if (dc && d.HasCache()) {
    // The client's origin sits inside the frame ring.
    const int b = FrameRingWidth();
    dc->DrawBitmap(-b, -b, *d.Cache(), {0, 0, Width(), Height()});
  }
  if (!given) EndPaint(Handle(), &ps);
}

void TsEdit::PrintClient(HDC dc) {
  TsCommonData& d = *SkinData_;
  PrepareCache();
  RefreshCorners(d, TacPaintState::Normal);
  const int b = FrameRingWidth();
  dc->DrawBitmap(0, 0, *d.Cache(), {0, 0, Width(), Height()});
  const int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, b, b, nullptr);
  IntersectClipRect(dc, 0, 0, Width() - 2 * b, Height() - 2 * b);
  if (Enabled()) {
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    TEdit::WndProc(paint);
  }
  RestoreDC(dc, saved);
}

void TsEdit::RepaintAll() {
  if (!HandleAllocated() || IsLoading()) return;
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

void TsEdit::SkinChanged(TacCommand command) {
  if (command == AC_REMOVESKIN) {
    // The platform computes and paints its own frame again.
    if (HandleAllocated())
      SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SkinData_->SetDirty(true);
  }
  RepaintAll();
}

void TsEdit::ParentPainted() {
  if (!SkinData_->Suspended()) return;
  SkinData_->SetSuspended(false);
  RepaintAll();
}

bool TsEdit::AnswerColor(TMessage& message) {
  if (SkinData_->IsSkinned()) return false;
  message.Result = static_cast<LRESULT>(ColorToRGB(Color()));
  return true;
}

bool TsEdit::OwnCommand(TacCommand command, TMessage& message) {
  if (command != AC_GETBGCHANGED) return false;
  message.Result = 0;
  return true;
}

void TsEdit::WndProc(TMessage& message) {
  TsCommonData& d = *SkinData_;
  if (message.Msg == SM_ALPHACMD) {
    RunSkinCommand(d, message);
    return;
  }
  const bool skinned = d.IsSkinned() && !IsDestroying();
  if (skinned) {
    switch (message.Msg) {
      case WM_NCPAINT:
        PaintFrame();
        message.Result = 0;
        return;
      case WM_PAINT:
        if (!d.Suspended()) ApplySkinColors();
        if (!Enabled()) {
          PaintDisabled(reinterpret_cast<HDC>(message.WParam));
          message.Result = 0;
          return;
        }
        break;
      case WM_PRINTCLIENT:
        if (message.WParam) {
          PrintClient(reinterpret_cast<HDC>(message.WParam));
          return;
        }
        break;
      case WM_ERASEBKGND:
        if (!Enabled() || d.Suspended()) {
          message.Result = 1;
          return;
        }
        break;
      default:
        break;
    }
  }
  if (d.HandleMessage(message)) return;
  switch (message.Msg) {
    case WM_SIZE:
    case WM_MOVE:
      TEdit::WndProc(message);
      if (BoundLabel_->Active()) BoundLabel_->UpdatePosition();
      if (skinned && message.Msg == WM_SIZE) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return;
    case WM_KILLFOCUS:
    case CM_EXIT:
      TEdit::WndProc(message);
      d.SetFocused(false);
      d.SetMouseAbove(false);
      d.SetDirty(true);
      if (skinned && Visible()) RepaintAll();
      return;
    case CM_COLORCHANGED:
      if (d.CustomColor()) d.SetDirty(true);
      break;
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
      TEdit::WndProc(message);
      if (TsEditLabel* label = BoundLabel_->Label()) {
        if (message.Msg == CM_VISIBLECHANGED)
          label->SetVisible(Visible());
        else
          label->SetEnabled(Enabled() || !DisabledKind_.Contains(dkBlended));
      }
      d.SetDirty(true);
      if (skinned) RepaintAll();
      return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TEdit::WndProc(message);
      if (!ApplyingColors_) d.SetDirty(true);
      if (skinned && !IsLoading() && !ApplyingColors_) RepaintAll();
      return;
    default:
      break;
  }
  TEdit::WndProc(message);
}

void TsEdit::RegisterDriverProperties() {
  TDriverProperties::Register<TsEdit>("RenderCount", [](TsEdit& e) { return std::to_string(e.RenderCount()); });
}

