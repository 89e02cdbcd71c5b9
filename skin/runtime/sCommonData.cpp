#include "skin/runtime/sCommonData.h"

#include <algorithm>
#include <vector>

#include "forms/Application.h"
#include "forms/CustomEdit.h"
#include "forms/CustomLabel.h"
#include "forms/DriverProperties.h"
#include "forms/Menus.h"
#include "forms/ScriptDriver.h"
#include "forms/WinControl.h"
#include "platform/base/Cp1251.h"
#include "platform/win/Win.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/acGlowEffects.h"
#include "skin/runtime/sSkinManager.h"

namespace {

// The system's font-table change (the window system does not send it yet).
constexpr unsigned kFontChangeMessage = 0x001D;

bool IsEditControl(const TsCommonData& data) {
  return dynamic_cast<TCustomEdit*>(data.Control()) != nullptr || data.ControlKind() == TacControlKind::EditWindow;
}

// A manager whose model holds a loaded skin (also while it is being announced).
bool HasLoadedSkin(const TsSkinManager* manager) { return manager && manager->Active() && !manager->Sections().empty(); }

}  // namespace

// --- Creation ------------------------------------------------------------------------------

TsCommonData::TsCommonData(TObject* owner, bool withCache, IacSkinDataOwner* ownerSeam)
    : Control_(dynamic_cast<TControl*>(owner)), Windowed_(dynamic_cast<TWinControl*>(owner)), Owner_(owner),
      OwnerSeam_(ownerSeam) {
  if (withCache) Cache_ = std::make_unique<TBitmap>(0, 0, TPixelFormat::pf24bit);
}

TsCommonData::~TsCommonData() { HideGlow(); }

TacRefreshCornersFn& TsCommonData::RefreshCornersHook() {
  static TacRefreshCornersFn hook = nullptr;
  return hook;
}

TsSkinManager* TsCommonData::GetManager() const { return Manager_ ? Manager_ : TsSkinManager::DefaultManager(); }

const TsGeneralData* TsCommonData::Section() const {
  const TsSkinManager* manager = GetManager();
  if (!manager || !manager->IsValidSection(SkinIndex_)) return nullptr;
  return &*manager->Section(SkinIndex_);
}

bool TsCommonData::IsSkinned(bool checkReady) const {
  const TsSkinManager* manager = GetManager();
  if (!manager || SkinIndex_ < 0 || manager->IsDestroying()) return false;
  if (Control_ && Control_->IsDestroying()) return false;
  if (checkReady && !manager->SkinData.SkinReady) return false;
  return manager->IsValidSection(SkinIndex_);
}

bool TsCommonData::IsSeeThrough() const {
  const TsGeneralData* section = Section();
  return section && section->Transparency > 0;
}

bool TsCommonData::IsHot() const {
  if (!Control_ || Control_->IsDestroying() || !Control_->Enabled()) return false;
  if (Focused_) return true;
  if (Windowed_ && Windowed_->HandleAllocated() && Windowed_->Focused()) return true;
  if (!MouseAbove_) return false;
  return !IsContainerKind(ControlKind_);
}

bool TsCommonData::IsSuspended() const {
  if (!GetManager()) return false;
  if ((OpacityFlags_ & 1) != 0 && !IsHot() && !TsSkinManager::AnimationPending()) return Suspended_;
  if (!Control_ || Control_->IsDestroying()) return Suspended_;
  if (Suspended_ || !Control_->Parent()) return true;
  return SendAlphaCmd(Control_->Parent(), AC_ISSUSPENDED) != 0;
}

int TsCommonData::BorderThickness() const {
  TsSkinManager* manager = GetManager();
  if (!manager || !manager->Mask(BorderIndex_)) return 0;
  const TsMaskData& mask = *manager->Mask(BorderIndex_);
  if ((mask.StretchMode & 2) != 0) return 0;
  return std::max({static_cast<int>(mask.WL), static_cast<int>(mask.WT), static_cast<int>(mask.WR),
                   static_cast<int>(mask.WB)});
}

// --- Binding -------------------------------------------------------------------------------

void TsCommonData::SendToOwner(TacCommand command, LPARAM lParam) {
  if (OwnerSeam_ && OwnerSeam_->ProviderForm()) {
    TWinControl* form = OwnerSeam_->ProviderForm();
    if (form->HandleAllocated())
      SendMessage(form->Handle(), SM_ALPHACMD, MakeCommandWParam(command), lParam);
    else
      form->Perform(SM_ALPHACMD, MakeCommandWParam(command), lParam);
  } else if (Control_) {
    Control_->Perform(SM_ALPHACMD, MakeCommandWParam(command), lParam);
  }
}

void TsCommonData::AnnounceBinding(TsSkinManager* manager, bool viaProvider) {
  TMessage message;
  message.Msg = SM_ALPHACMD;
  message.WParam = MakeCommandWParam(HasLoadedSkin(manager) && SkinIndex_ >= 0 ? AC_REFRESH : AC_REMOVESKIN);
  message.LParam = reinterpret_cast<LPARAM>(manager);
  if (viaProvider && OwnerSeam_ && OwnerSeam_->ProviderForm()) {
    OwnerSeam_->OwnerCommand(message);
    return;
  }
  if (!Control_ || !Control_->Parent() || Control_->IsDestroying()) return;
  try {
    Control_->Perform(message.Msg, message.WParam, message.LParam);
  } catch (...) {
    // The owner's handler may fail on a half-built look; the binding stands.
  }
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
  TsSkinManager* stored = value == TsSkinManager::DefaultManager() ? nullptr : value;
  if (value == Manager_ || stored == Manager_) return;
  Manager_ = stored;
  if (Control_ && Control_->IsLoading()) return;
  if (HasLoadedSkin(value))
    ResolveSection();
  else
    SkinIndex_ = -1;
  AnnounceBinding(value, true);
}

void TsCommonData::SetSkinSection(const std::string& value) {
  const std::string stored = value.empty() ? std::string("UNKNOWN") : UpperCaseUtf8(value);
  if (stored == SkinSection_) return;
  SkinSection_ = stored;
  if (HasLoadedSkin(GetManager()))
    ResolveSection();
  else
    SkinIndex_ = -1;
  if (OwnerSeam_ && OwnerSeam_->ProviderForm()) {
    Dirty_ = true;
    OwnerSeam_->SectionChanged();
  } else if (Control_ && !Control_->IsLoading() && Control_->Parent() && !Control_->IsDestroying()) {
    SendToOwner(SkinIndex_ >= 0 ? AC_REFRESH : AC_REMOVESKIN, reinterpret_cast<LPARAM>(GetManager()));
  }
}

void TsCommonData::RestoreEditColors() {
  const TsGeneralData* section = Section();
  if (!section || !Control_) return;
  if (!CustomColor_) Control_->SetColor(section->Color);
  if (!CustomFont_) Control_->Font().SetColor(section->FontColor[0]);
}

void TsCommonData::SetCustomColor(bool value) {
  CustomColor_ = value;
  if (IsEditControl(*this) && IsSkinned() && !Control_->IsLoading()) {
    if (!value) RestoreEditColors();
    Invalidate();
  }
}

void TsCommonData::SetCustomFont(bool value) {
  CustomFont_ = value;
  if (IsEditControl(*this) && IsSkinned() && !Control_->IsLoading()) {
    if (!value) RestoreEditColors();
    Invalidate();
  }
}

void TsCommonData::Loaded() {
  InitSection();
  if (!IsSkinned(false) || !Control_ || !Control_->Parent() || Control_->IsLoading()) return;
  if (Windowed_) {
    if (TWinControl* form = GetParentForm(Control_); form && form != Control_)
      SendAlphaCmd(form, AC_CONTROLLOADED, reinterpret_cast<LPARAM>(Control_));
  }
  if (IsEditControl(*this)) RestoreEditColors();
}

void TsCommonData::InitSection() {
  if (!SkinSection_.empty()) {
    if (HasLoadedSkin(GetManager()))
      ResolveSection();
    else
      SkinIndex_ = -1;
    return;
  }
  const std::string_view section = DefaultSectionOfKind(ControlKind_);
  SetSkinSection(section.empty() ? (Owner_ ? Owner_->ClassName() : std::string()) : std::string(section));
}

void TsCommonData::ComputeBackgroundKind() {
  BackgroundKind_ = 0;
  const TsGeneralData* section = Section();
  if (!section) return;
  if (section->ImagePercent != 0) BackgroundKind_ |= 4;
  if (section->GradientPercent != 0 && !section->GradientStops.empty()) {
    switch (section->GradientStops.front().Mode) {
      case 0: BackgroundKind_ |= 2; break;
      case 1: BackgroundKind_ |= 1; break;
      case 2: BackgroundKind_ |= 3; break;
      default: break;
    }
  }
}

void TsCommonData::ResolveSection() {
  Dirty_ = true;
  TsSkinManager* manager = GetManager();
  SkinIndex_ = manager ? manager->SectionIndexOf(SkinSection_) : -1;
  ComputeBackgroundKind();
  OpacityFlags_ = 0;
  if (SkinIndex_ >= 0) {
    BorderIndex_ = manager->Section(SkinIndex_)->BorderIndex;
    TextureIndex_ = manager->TextureIndexOf(SkinIndex_, SkinSection_, "PATTERN");
    HotTextureIndex_ = manager->TextureIndexOf(SkinIndex_, SkinSection_, "HOTPATTERN");
    UpdateOpacity(false);
  } else {
    // The border index of an earlier skin would point into another mask array.
    BorderIndex_ = -1;
    TextureIndex_ = -1;
    HotTextureIndex_ = -1;
  }
}

namespace {

bool KeepsOpacityFlag(const TsCommonData& data) {
  if (data.OwnerSeam()) return data.OwnerSeam()->KeepsOpacityFlag();
  return KeepsOpacityKind(data.ControlKind());
}

}  // namespace

void TsCommonData::UpdateOpacity(bool passOn) {
  if (KeepsOpacityFlag(*this)) {
    bool plain = false;
    TsSkinManager* manager = GetManager();
    if (const TsGeneralData* section = Section()) {
      plain = true;
      if (manager->Mask(BorderIndex_)) {
        const TsMaskData& mask = *manager->Mask(BorderIndex_);
        if (mask.WL + mask.WR > 30 || mask.WT + mask.WB > 30) plain = false;
      }
      const int t = section->Transparency;
      if (t != 0 && t != 100) plain = false;
      if (t == 100) {
        TControl* parent = Control_ ? Control_->Parent() : nullptr;
        if (!parent || (SendAlphaCmd(parent, AC_UPDATEOPACITY, 0) & 1) == 0) plain = false;
      }
      if (section->ImagePercent > 0 || section->GradientPercent > 0) plain = false;
    }
    OpacityFlags_ = static_cast<std::uint16_t>(plain ? (OpacityFlags_ | 1) : (OpacityFlags_ & ~1));
  }
  if (passOn) {
    if (Windowed_)
      for (int i = 0; i < Windowed_->ControlCount(); ++i) SendAlphaCmd(Windowed_->Controls(i), AC_UPDATEOPACITY, 1);
  }
}

// --- Painting state ------------------------------------------------------------------------

void TsCommonData::Invalidate() {
  if (!Control_ || Control_->IsDestroying() || Control_->IsLoading()) return;
  Dirty_ = true;
  if (!Control_->Visible() || !Control_->Parent()) return;
  if (Windowed_ && !Windowed_->HandleAllocated()) return;
  Control_->Repaint();
}

void TsCommonData::BeginSuspend() {
  Suspended_ = true;
  SendToOwner(AC_SUSPENDED, 0);
}

void TsCommonData::EndSuspend() {
  Suspended_ = false;
  SendToOwner(AC_RESUMED, 0);
}

void TsCommonData::EnsureCache() {
  if (!Cache_) Cache_ = std::make_unique<TBitmap>(0, 0, TPixelFormat::pf24bit);
  if (Cache_->PixelFormat() != TPixelFormat::pf24bit && Cache_->PixelFormat() != TPixelFormat::pf32bit)
    Cache_->SetPixelFormat(TPixelFormat::pf24bit);
  if (Control_ && (Cache_->Width() != Control_->Width() || Cache_->Height() != Control_->Height()))
    Cache_->SetSize(std::max(Control_->Width(), 0), std::max(Control_->Height(), 0));
}

void TsCommonData::RepaintFrame() {
  if (OwnerSeam_) {
    OwnerSeam_->RepaintFrame();
  } else if (Windowed_ && Windowed_->HandleAllocated()) {
    RedrawWindow(Windowed_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

// --- Glow ------------------------------------------------------------------------------------

void TsCommonData::HideGlow() {
  if (GlowId_ < 0) return;
  if (IacGlowEffects* glow = GlowEffects()) glow->HideGlow(GlowId_);
  GlowId_ = -1;
}

void TsCommonData::ShowGlow(bool refresh, HWND window) {
  TsSkinManager* manager = GetManager();
  if (!manager || !manager->AllowGlowing() || !IsSkinned()) return;
  const TsGeneralData* section = Section();
  if (!section || section->GlowCount < 1) return;
  IacGlowEffects* glow = GlowEffects();
  if (!Control_) {
    (void)window;  // glows of windows without a control come with the window adapters
    return;
  }
  const bool buttonDown = Control_->ControlState().Contains(csLButtonDown);
  if (!MouseAbove_ || buttonDown || (refresh && GlowId_ >= 0)) {
    HideGlow();
    return;
  }
  if (!glow || GlowId_ >= 0) return;
  TacGlowRequest request;
  const TPoint origin = Control_->ClientToScreen({0, 0});
  request.ScreenRect = Bounds(origin.X, origin.Y, Control_->Width(), Control_->Height());
  request.VisibleRect = request.ScreenRect;
  for (TWinControl* parent = Control_->Parent(); parent; parent = parent->Parent()) {
    const TPoint p = parent->ClientToScreen({0, 0});
    request.VisibleRect = request.VisibleRect.Intersect(Bounds(p.X, p.Y, parent->ClientWidth(), parent->ClientHeight()));
  }
  if (TWinControl* top = GetParentForm(Control_); top && top->HandleAllocated()) request.TopWindow = top->Handle();
  request.Section = SkinSection_;
  request.Manager = manager;
  request.Opacity = 255;
  request.Margin = section->GlowMargin;
  request.MaskKey = "GLOW";
  GlowId_ = glow->ShowGlow(request);
}

// --- Commands ----------------------------------------------------------------------------------

void TsCommonData::CommandRemoveSkin(TsSkinManager* manager) {
  if (manager && manager->IsDestroying()) Manager_ = nullptr;
  SkinIndex_ = -1;
  BorderIndex_ = -1;
  TextureIndex_ = -1;
  HotTextureIndex_ = -1;
  Suspended_ = true;
  ClearCache();
  if (!Control_) return;
  if (IsEditControl(*this)) {
    if (!CustomColor_) Control_->SetColor(clWindow);
    if (!CustomFont_) Control_->Font().SetColor(clWindowText);
    RepaintFrame();
  } else if (Windowed_) {
    for (int i = 0; i < Windowed_->ControlCount(); ++i)
      if (auto* label = dynamic_cast<TCustomLabel*>(Windowed_->Controls(i))) label->Font().SetColor(clWindowText);
  }
}

void TsCommonData::CommandRefresh() {
  Dirty_ = true;
  Suspended_ = false;
  if (IsSkinned() && IsEditControl(*this)) {
    RestoreEditColors();
    RepaintFrame();
  }
  UpdateOpacity(false);
}

void TsCommonData::CommandParentMoved(TMessage& message) {
  const bool changed = BackgroundChanged();
  Dirty_ = Dirty_ || changed;
  if (!Windowed_) return;
  if (message.WParamLo() == 1 && Windowed_->HandleAllocated())
    RedrawWindow(Windowed_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  if (changed)
    for (int i = 0; i < Windowed_->ControlCount(); ++i)
      if (TControl* child = Windowed_->Controls(i); !child->IsDestroying()) SendAlphaCmd(child, AC_PARENTMOVED, 0, 0);
}

bool TsCommonData::HandleCommand(TMessage& message) {
  const TacCommand command = CommandOf(message.WParam);
  auto* messageManager = reinterpret_cast<TsSkinManager*>(message.LParam);
  switch (command) {
    case AC_SETNEWSKIN:
      if (messageManager != GetManager()) return false;
      ResolveSection();
      UpdateOpacity(false);
      return false;
    case AC_REMOVESKIN:
      if (messageManager != GetManager()) return false;
      CommandRemoveSkin(messageManager);
      return false;
    case AC_REFRESH:
      if (messageManager != GetManager()) return false;
      CommandRefresh();
      return false;
    case AC_CTRLHANDLED:
      message.Result = 1;
      return true;
    case AC_SETSUSPENDED:
      Suspended_ = message.WParamLo() == 1;
      message.Result = 0;
      return false;
    case AC_LOCKBACKGROUND:
      BackgroundLocked_ = message.WParamLo() == 1;
      message.Result = 0;
      return false;
    case AC_ISSUSPENDED:
      message.Result = Dirty_ || Suspended_ ? 1 : 0;
      return true;
    case AC_GETPARENTCHANGED:
      message.Result = ParentChanged_ ? 1 : 0;
      return true;
    case AC_SETDIRTY:
      Dirty_ = true;
      return false;
    case AC_GETBGCHANGED: {
      const TsGeneralData* section = IsSkinned(false) ? Section() : nullptr;
      if (!section) return false;
      TControl* parent = Control_ ? Control_->Parent() : nullptr;
      if (section->Transparency == 100 && parent)
        message.Result = SendAlphaCmd(parent, AC_GETBGCHANGED);
      else
        message.Result = section->GradientPercent + section->ImagePercent > 0 || BackgroundChanged() ? 1 : 0;
      return true;
    }
    case AC_PARENTMOVED:
      CommandParentMoved(message);
      return false;
    case AC_GETCOLOR:
      if (!Control_) return false;
      message.Result = AnswerGetColor();
      return true;
    case AC_SETPARENTCHANGED:
      ParentChanged_ = true;
      return false;
    case AC_GETSKININDEX:
      message.Result = SkinIndex_ + 1;
      return true;
    case AC_GETCACHE:
      if (message.LParam != 0) AnswerBackground(*reinterpret_cast<TacBGInfo*>(message.LParam), false);
      return true;
    case AC_UPDATEOPACITY:
      if (message.LParam == 1) {
        UpdateOpacity(true);
        return false;
      }
      message.Result = OpacityFlags_;
      return true;
    case AC_GETAPPLICATION:
      message.Result = reinterpret_cast<LRESULT>(Application);
      return true;
    case AC_GETPROVIDER: case AC_SETCHANGEDIFNECESSARY: case AC_PARENTPAINTED: case AC_SECTIONCHANGED:
    case AC_MENUS: case AC_STOPFADING: case AC_REPAINT: case AC_PREPARING: case AC_SCROLLS:
    case AC_CONTROLLOADED: case AC_ADAPTERQUERY: case AC_MOUSEENTER: case AC_MOUSELEAVE: case AC_SUSPENDED:
    case AC_RESUMED: case AC_SCROLLBARS: case AC_ADAPTER51: case AC_ADAPTER52: case AC_GETCLIENTOFFSET:
    default:
      return false;
  }
}

// --- Window messages ---------------------------------------------------------------------------

bool TsCommonData::HandleMessage(TMessage& message) {
  switch (message.Msg) {
    case SM_ALPHACMD:
      return HandleCommand(message);
    case WM_MOVE:
      if (BackgroundChanged()) {
        Dirty_ = true;
        if (Control_) Control_->Perform(SM_ALPHACMD, MakeCommandWParam(AC_PARENTMOVED, 1), 0);
      }
      HideGlow();
      return false;
    case WM_SIZE:
      if (const TsGeneralData* section = IsSkinned(false) ? Section() : nullptr) {
        Dirty_ = true;
        if (section->GradientPercent > 0 && Windowed_)
          for (int i = 0; i < Windowed_->ControlCount(); ++i) {
            TControl* child = Windowed_->Controls(i);
            if (child->IsDestroying() || child->Anchors().Contains(akRight) || child->Anchors().Contains(akBottom)) continue;
            SendAlphaCmd(child, AC_PARENTMOVED, 0, 1);
          }
      }
      HideGlow();
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (Windowed_ && Windowed_->HandleAllocated()) {
        Dirty_ = true;
        Focused_ = message.Msg == WM_SETFOCUS;
        if (IsEditKind(ControlKind_) && (Focused_ || Control_->Visible())) RepaintFrame();
      }
      return false;
    case kFontChangeMessage:
    case CM_ENABLEDCHANGED:
      MouseAbove_ = false;
      Focused_ = false;
      if (Control_ && !Control_->Enabled()) HideGlow();
      return false;
    case WM_CONTEXTMENU:
      // The menu the control is about to open is drawn by the skin while it runs.
      if (Control_)
        if (TPopupMenu* menu = Control_->ContextMenu()) {
          TsSkinManager* manager = GetManager();
          menu->SetOwnerDraw(manager && manager->Active());
        }
      return false;
    case WM_UPDATEUISTATE:
      // Visual themes are off on this platform, so an unskinned control has nothing to do here.
      return IsSkinned();
    case WM_PARENTNOTIFY:
      if (Windowed_ && message.WParamLo() == 1)
        if (TWinControl* form = GetParentForm(Control_); form && form != Control_)
          SendAlphaCmd(form, AC_CONTROLLOADED, reinterpret_cast<LPARAM>(Control_));
      return false;
    case CM_VISIBLECHANGED:
      if (Cache_) {
        if (message.WParam != 0) {
          Suspended_ = false;
          Dirty_ = true;
        } else {
          ClearCache();
        }
      }
      return false;
    case CM_MOUSEENTER:
      if (Windowed_ && TsSkinManager::DefaultManager()) {
        for (int i = 0; i < Windowed_->ControlCount(); ++i) {
          TControl* child = Windowed_->Controls(i);
          if (child == reinterpret_cast<TControl*>(message.LParam)) continue;
          TsCommonData* data = SkinDataOf(child);
          if (data && data->ControlKind() == TacControlKind::SpeedButton && data->MouseAbove()) child->Perform(CM_MOUSELEAVE, 0, 0);
        }
        if (!IsContainerKind(ControlKind_)) MouseAbove_ = true;
        if (TsSkinManager* manager = GetManager(); manager && Windowed_->HandleAllocated())
          manager->SetHotControl(Windowed_->Handle());
        if (!IsNoGlowKind(ControlKind_) && !IsButtonKind(ControlKind_)) ShowGlow(false);
        if (IsEditKind(ControlKind_)) {
          Dirty_ = true;
          RepaintFrame();
        }
      } else if (!IsContainerKind(ControlKind_)) {
        MouseAbove_ = true;
      }
      return false;
    case CM_MOUSELEAVE:
      if (!IsContainerKind(ControlKind_)) MouseAbove_ = false;
      if (!IsNoGlowKind(ControlKind_) && !IsButtonKind(ControlKind_)) {
        HideGlow();
        ReleaseAllGlows();
      }
      if (IsEditKind(ControlKind_) && Control_ && Control_->Visible()) {
        Dirty_ = true;
        RepaintFrame();
      }
      return false;
    default:
      return false;
  }
}

// --- The driver's view ----------------------------------------------------------------------

TsCommonData* SkinDataOf(TControl* control) {
  auto* skinned = dynamic_cast<IacSkinnedControl*>(control);
  return skinned ? skinned->SkinData() : nullptr;
}

namespace {
std::vector<TacSkinReportFn>& SkinReporters() {
  static std::vector<TacSkinReportFn> reporters;
  return reporters;
}
}  // namespace

void AddSkinReporter(TacSkinReportFn reporter) {
  auto& reporters = SkinReporters();
  if (reporter && std::find(reporters.begin(), reporters.end(), reporter) == reporters.end())
    reporters.push_back(reporter);
}

void SkinReportOf(TControl* control, std::string& section, int& index) {
  section.clear();
  index = -1;
  if (!control) return;
  if (TsCommonData* data = SkinDataOf(control)) {
    section = data->SkinSection();
    index = data->SkinIndex();
    return;
  }
  for (TacSkinReportFn reporter : SkinReporters())
    if (reporter(control, section, index)) return;
}

void UnregisterSkinInfoForDriver() {
  TScriptDriver::SkinInfo() = nullptr;
  SkinReporters().clear();
}

void RegisterSkinInfoForDriver() {
  TScriptDriver::SkinInfo() = [](TControl* control, std::string& section, int& index) {
    SkinReportOf(control, section, index);
  };
  // Also readable one by one: "expect Form1.sPanel1.SkinSection == PANEL".
  TDriverProperties::Register<IacSkinnedControl>(
      "SkinSection", [](IacSkinnedControl& c) { return c.SkinData() ? c.SkinData()->SkinSection() : std::string(); });
  TDriverProperties::Register<IacSkinnedControl>(
      "SkinIndex", [](IacSkinnedControl& c) { return std::to_string(c.SkinData() ? c.SkinData()->SkinIndex() : -1); });
}
