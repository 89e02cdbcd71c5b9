// The form provider: attaching to the form, its window procedure, the skin
// commands and the frame geometry.
#include "skin/frame/sSkinProvider.h"

#include <algorithm>

#include "forms/CustomLabel.h"
#include "forms/Form.h"
#include "platform/base/Exception.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"
#include "platform/win/HitTest.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Timer.h"
#include "platform/win/Win.h"
#include "skin/frame/acFormSkinning.h"
#include "skin/frame/acGlowEffect.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sSkinManager.h"

namespace {

// Button records by hit code: minimize, maximize, close, help, then the three of a
// maximised MDI child.
int ButtonSlot(int hitCode) {
  switch (hitCode) {
    case HTMINBUTTON: return 0;
    case HTMAXBUTTON: return 1;
    case HTCLOSE: return 2;
    case HTHELP: return 3;
    case 101: return 4;
    case 102: return 5;
    case 103: return 6;
    default: return -1;
  }
}

constexpr int kSlotHitCodes[7] = {HTMINBUTTON, HTMAXBUTTON, HTCLOSE, HTHELP, 101, 102, 103};

TacCtrlAdapterFactory& AdapterFactory() {
  static TacCtrlAdapterFactory factory;
  return factory;
}

}  // namespace

void SetCtrlAdapterFactory(TacCtrlAdapterFactory factory) { AdapterFactory() = std::move(factory); }

std::unique_ptr<IacCtrlAdapter> MakeCtrlAdapter(TsSkinProvider& provider) {
  return AdapterFactory() ? AdapterFactory()(provider) : nullptr;
}

// --- Creation --------------------------------------------------------------------------------

TsSkinProvider::TsSkinProvider(TComponent* owner) : TComponent(owner), SkinData_(this, true, this) {
  Form_ = dynamic_cast<TForm*>(owner);
  if (!Form_) throw Exception("TsSkinProvider component must be used with forms only!");
  // One provider per form: an older one goes.
  for (int i = Form_->ComponentCount() - 1; i >= 0; --i) {
    auto* other = dynamic_cast<TsSkinProvider*>(Form_->Components(i));
    if (other && other != this) delete other;
  }
  for (int i = 0; i < 7; ++i) Buttons_[static_cast<std::size_t>(i)].HitCode = kSlotHitCodes[i];
  SkinData_.SetSkinSection("FORM");
  Attach();
  if (!Form_->IsLoading()) Loaded();
}

TsSkinProvider::~TsSkinProvider() {
  if (Form_ && !Form_->IsDestroying() && FrameSkinned()) RemoveSkin();
  for (TsCaptionButton& b : Buttons_) HideButtonGlow(b);
  if (Adapter_) Adapter_->RemoveAllItems();
  Adapter_.reset();
  Detach();
  ForgetHookedProvider(this);
}

void TsSkinProvider::Attach() {
  if (Attached_) return;
  OldWndProc_ = Form_->WindowProc;
  Form_->WindowProc = [this](TMessage& message) { NewWndProc(message); };
  Attached_ = true;
  RegisterProviderForm(Form_, this);
}

void TsSkinProvider::Detach() {
  if (!Attached_) return;
  Attached_ = false;
  if (TimerOn_ && Form_->HandleAllocated()) KillTimer(Form_->Handle(), kCaptionAnimationTimer);
  TimerOn_ = false;
  Form_->WindowProc = OldWndProc_;
  UnregisterProviderForm(Form_);
}

void TsSkinProvider::Loaded() {
  TComponent::Loaded();
  if (Initialized_) return;
  Initialized_ = true;
  SkinData_.Loaded();
  InitButtons();
  Adapter_ = MakeCtrlAdapter(*this);
  if (Adapter_ && FrameSkinned()) Adapter_->AddAllItems();
  if (FrameSkinned() && UseGlobalColor && !SkinData_.CustomColor()) Form_->SetColor(SkinData_.GetColor(false));
  FormActive_ = Form_->HandleAllocated() && GetActiveWindow() == Form_->Handle();
  UpdateRegion();
}

TsSkinProvider* TsSkinProvider::Of(TForm* form) {
  if (!form) return nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TsSkinProvider*>(form->Components(i))) return p;
  return nullptr;
}

TWinControl* TsSkinProvider::ProviderForm() const { return Form_; }

// --- Properties --------------------------------------------------------------------------------

void TsSkinProvider::SetDrawNonClientArea(bool value) {
  if (value == DrawNonClientArea_) return;
  DrawNonClientArea_ = value;
  UpdateRegion();
  Refresh(true);
}

void TsSkinProvider::SetGripMode(TsGripMode value) {
  if (value == GripMode_) return;
  GripMode_ = value;
  Refresh(false);
}

void TsSkinProvider::SetShowAppIcon(bool value) {
  if (value == ShowAppIcon_) return;
  ShowAppIcon_ = value;
  Refresh(false);
}

void TsSkinProvider::SetTitleSkin(const std::string& value) {
  if (value == TitleSkin_) return;
  TitleSkin_ = value;
  Refresh(false);
}

bool TsSkinProvider::FrameSkinned() const { return SkinnedNow(true); }

// While a new skin is announced the manager's ready mark is still off.
bool TsSkinProvider::SkinnedNow(bool checkReady) const {
  return Attached_ && DrawNonClientArea_ && SkinData_.IsSkinned(checkReady) && !SkinData_.IsSuspended();
}

std::string TsSkinProvider::TitleSectionName() const {
  if (!FrameSkinned() || !HasCaption() || TitleSectionIndex() < 0) return "";
  return TitleSkin_.empty() ? std::string("FORMTITLE") : TitleSkin_;
}

const TsCaptionButton& TsSkinProvider::Button(int hitCode) const {
  static const TsCaptionButton none;
  const int slot = ButtonSlot(hitCode);
  return slot < 0 ? none : Buttons_[static_cast<std::size_t>(slot)];
}

TsCaptionButton* TsSkinProvider::ButtonAt(int hitCode) {
  const int slot = ButtonSlot(hitCode);
  return slot < 0 ? nullptr : &Buttons_[static_cast<std::size_t>(slot)];
}

void TsSkinProvider::SectionChanged() {
  TitleBg_ = TBitmap();
  SkinData_.SetDirty(true);
  InitButtons();
  Refresh(true);
}

void TsSkinProvider::Refresh(bool all) {
  SkinData_.SetDirty(true);
  if (!Form_->HandleAllocated() || !IsWindowVisible(Form_->Handle())) return;
  UINT flags = RDW_INVALIDATE | RDW_FRAME;
  if (all) flags |= RDW_ERASE | RDW_ALLCHILDREN;
  RedrawWindow(Form_->Handle(), nullptr, nullptr, flags);
}

// --- Frame geometry -------------------------------------------------------------------------------

TPoint TsSkinProvider::ClientOffset() const {
  if (!Form_->HandleAllocated()) return {0, 0};
  HWND window = Form_->Handle();
  TRect bounds;
  GetWindowRect(window, &bounds);
  TPoint origin{0, 0};
  ClientToScreen(window, &origin);
  return {origin.X - bounds.Left, origin.Y - bounds.Top};
}

bool TsSkinProvider::HasCaption() const {
  if (!Form_->HandleAllocated() || Form_->BorderStyle() == bsNone) return false;
  return (static_cast<DWORD>(GetWindowLongPtr(Form_->Handle(), GWL_STYLE)) & WS_CAPTION) == WS_CAPTION;
}

int TsSkinProvider::BorderWidth() const {
  if (!Form_->HandleAllocated()) return 0;
  TRect bounds, client;
  GetWindowRect(Form_->Handle(), &bounds);
  GetClientRect(Form_->Handle(), &client);
  const DWORD style = static_cast<DWORD>(GetWindowLongPtr(Form_->Handle(), GWL_STYLE));
  const int vscroll = (style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  return std::max(0, (bounds.Width() - client.Width() - vscroll) / 2);
}

int TsSkinProvider::CaptionHeight() const {
  if (!HasCaption()) return 0;
  return std::max(0, ClientOffset().Y - BorderWidth());
}

TRect TsSkinProvider::CaptionBand() const {
  if (!HasCaption()) return {};
  const int b = BorderWidth();
  TRect bounds;
  GetWindowRect(Form_->Handle(), &bounds);
  return {b, b, bounds.Width() - b, b + CaptionHeight()};
}

// --- The window procedure ------------------------------------------------------------------------

void TsSkinProvider::CallOld(TMessage& message) {
  if (OldWndProc_) OldWndProc_(message);
}

void TsSkinProvider::NewWndProc(TMessage& message) {
  if (message.Msg == SM_ALPHACMD) {
    OwnerCommand(message);
    return;
  }
  if (!FrameSkinned() || !Form_->HandleAllocated()) {
    CallOld(message);
    return;
  }
  HWND window = Form_->Handle();
  switch (message.Msg) {
    case WM_NCPAINT:
      if (RedrawLocked_) return;
      if (SkinData_.Dirty()) PaintAll();
      CopyFrameToWindow(nullptr);
      message.Result = 0;
      return;
    case WM_NCACTIVATE:
      CallOld(message);  // the window system keeps its own active flag
      FormActive_ = message.WParam != 0;
      for (TsCaptionButton& b : Buttons_) HideButtonGlow(b);
      Refresh(false);
      message.Result = 1;
      return;
    case WM_ERASEBKGND:
      PaintClientBackground(reinterpret_cast<HDC>(message.WParam));
      message.Result = 1;
      return;
    case WM_NCHITTEST:
      if (!HasCaption()) break;
    {
      const LRESULT skinned = HitTest({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
      message.Result = skinned;
      if (skinned != HTNOWHERE && skinned != HTCLIENT && skinned != HTCAPTION && skinned != HTMENU) return;
      // Nowhere, client, caption and menu go to the saved procedure, so that the form's
      // own handling and the system's moving and menus apply. Over the caption or menu
      // band an answer naming a part of the standard frame is not taken: its buttons and
      // icon lie elsewhere than the skin's.
      CallOld(message);
      const LRESULT old = message.Result;
      if ((skinned == HTCAPTION || skinned == HTMENU) && old != HTNOWHERE && old != HTCLIENT && old != HTCAPTION &&
          old != HTMENU && old != HTTRANSPARENT)
        message.Result = skinned;
      return;
    }
    case WM_NCMOUSEMOVE: {
      TRACKMOUSEEVENT track;
      track.dwFlags = TME_LEAVE | TME_NONCLIENT;
      track.hwndTrack = window;
      TrackMouseEvent(&track);
      break;
    }
    case WM_NCMOUSELEAVE:
      // Only leaving the frame ends a hover: the client's own leave comes when the
      // pointer moves from the client onto the title band.
      PressedButton_ = -1;
      SetHotButton(-1);
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (NcButtonDown(static_cast<int>(message.WParam))) {
        message.Result = 0;
        return;
      }
      break;
    case WM_NCLBUTTONUP:
      if (NcButtonUp(static_cast<int>(message.WParam))) {
        message.Result = 0;
        return;
      }
      break;
    case WM_TIMER:
      if (message.WParam == kCaptionAnimationTimer) {
        AnimationStep();
        return;
      }
      break;
    case WM_SETTEXT:
      CallOld(message);
      Refresh(false);
      return;
    case WM_SIZE:
      SkinData_.SetDirty(true);
      for (TsCaptionButton& b : Buttons_) HideButtonGlow(b);
      CallOld(message);
      LayoutButtons();
      UpdateRegion();
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
      return;
    case WM_MOVE:
      for (TsCaptionButton& b : Buttons_) HideButtonGlow(b);
      break;
    case WM_SETICON:
      CallOld(message);
      Refresh(false);
      return;
    default:
      break;
  }
  CallOld(message);
}

void TsSkinProvider::OwnerCommand(TMessage& message) {
  if (!RunSkinCommand(&SkinData_, message, SkinData_.GetManager())) CallOld(message);
}

void TsSkinProvider::TakeSkinChange(TsCommonData* data, TMessage& message, TacCommand command) {
  // The removal hands the form its standard frame back; the skin data's part is in there.
  if (command == AC_REMOVESKIN)
    RemoveSkin();
  else
    TacSkinCommands::TakeSkinChange(data, message, command);
}

void TsSkinProvider::SkinChanged(TacCommand command) {
  if (command == AC_REFRESH) {
    UpdateRegion();
    Refresh(true);
    return;
  }
  if (command != AC_SETNEWSKIN) return;
  TitleBg_ = TBitmap();
  InitButtons();
  SkinData_.SetDirty(true);
  if (SkinnedNow(false) && UseGlobalColor && !SkinData_.CustomColor()) Form_->SetColor(SkinData_.GetColor(false));
  if (Adapter_ && SkinnedNow(false)) Adapter_->AddAllItems();
  UpdateRegion();
}

bool TsSkinProvider::AnswerBackground(TMessage& message) {
  if (!FrameSkinned() || message.LParam == 0) return false;
  if (SkinData_.Dirty()) PaintAll();
  auto& request = *reinterpret_cast<TacBGInfo*>(message.LParam);
  const TPoint offset = ClientOffset();
  request.BgType = btCache;
  if (request.PleaseDraw && request.DrawDC) {
    BitBlt(request.DrawDC, request.R.Left, request.R.Top, request.R.Width(), request.R.Height(),
           &SkinData_.Cache()->Canvas(), request.R.Left + request.OffsetX + offset.X,
           request.R.Top + request.OffsetY + offset.Y, SRCCOPY);
  } else {
    request.Bmp = SkinData_.Cache();
    request.OffsetX = offset.X;
    request.OffsetY = offset.Y;
  }
  message.Result = 0;
  return true;
}

bool TsSkinProvider::AnswerColor(TMessage& message) {
  message.Result = SkinData_.IsSkinned() ? SkinData_.GetColor(false) : ColorToRGB(Form_->Color());
  return true;
}

bool TsSkinProvider::OwnCommand(TacCommand command, TMessage& message) {
  if (command == AC_GETPROVIDER) {
    message.Result = reinterpret_cast<LRESULT>(this);
  } else if (command == AC_GETCLIENTOFFSET) {
    const TPoint offset = ClientOffset();
    message.Result = static_cast<LRESULT>(MAKELPARAM(static_cast<WORD>(offset.X), static_cast<WORD>(offset.Y)));
  } else if (command == AC_SETDIRTY) {
    SkinData_.SetDirty(true);
  } else if (command == AC_REPAINT) {
    Refresh(true);
  } else {
    return false;
  }
  return true;
}

// Back to the standard frame: the image, the region, the form's colours.
void TsSkinProvider::RemoveSkin() {
  for (TsCaptionButton& b : Buttons_) HideButtonGlow(b);
  if (TimerOn_ && Form_->HandleAllocated()) KillTimer(Form_->Handle(), kCaptionAnimationTimer);
  TimerOn_ = false;
  for (TsCaptionButton& b : Buttons_) {
    b.State = TacPaintState::Normal;
    b.Level = b.Target = 0;
  }
  HotButton_ = PressedButton_ = -1;
  MenuRows_ = -1;
  if (Adapter_) Adapter_->RemoveAllItems();
  TMessage remove;
  remove.Msg = SM_ALPHACMD;
  remove.WParam = MakeCommandWParam(AC_REMOVESKIN);
  remove.LParam = reinterpret_cast<LPARAM>(SkinData_.GetManager());
  SkinData_.HandleCommand(remove);
  for (int i = 0; i < Form_->ControlCount(); ++i)
    if (auto* label = dynamic_cast<TCustomLabel*>(Form_->Controls(i)); label && label->ClassName() == "TLabel")
      label->Font().SetColor(clWindowText);
  if (UseGlobalColor && !SkinData_.CustomColor()) Form_->SetColor(clBtnFace);
  SkinData_.ClearCache();
  TitleBg_ = TBitmap();
  if (Form_->HandleAllocated() && RegionSet_) SetWindowRgn(Form_->Handle(), nullptr, false);
  RegionSet_ = false;
  if (Form_->HandleAllocated() && IsWindowVisible(Form_->Handle()))
    RedrawWindow(Form_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
