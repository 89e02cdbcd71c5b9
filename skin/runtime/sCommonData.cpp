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

TWinControl* AsWindowed(TControl* control) { return dynamic_cast<TWinControl*>(control); }

bool IsEditControl(const TsCommonData& data) {
  return dynamic_cast<TCustomEdit*>(data.Control) != nullptr || data.ControlKind == TacControlKind::EditWindow;
}

// A manager whose model holds a loaded skin (also while it is being announced).
bool HasLoadedSkin(const TsSkinManager* manager) { return manager && manager->Active() && !manager->Sections().empty(); }

}  // namespace

// --- Creation ------------------------------------------------------------------------------

TsCommonData::TsCommonData(TObject* owner, bool withCache, IacSkinDataOwner* ownerSeam)
    : Control(dynamic_cast<TControl*>(owner)), Owner(owner), OwnerSeam(ownerSeam) {
  if (withCache) CacheBmp = std::make_unique<TBitmap>(0, 0, TPixelFormat::pf24bit);
}

TsCommonData::~TsCommonData() { HideGlow(); }

TacRefreshCornersFn& TsCommonData::RefreshCornersHook() {
  static TacRefreshCornersFn hook = nullptr;
  return hook;
}

TsSkinManager* TsCommonData::GetManager() const { return Manager ? Manager : TsSkinManager::DefaultManager(); }

const TsGeneralData* TsCommonData::Section() const {
  const TsSkinManager* manager = GetManager();
  if (!manager || !manager->IsValidSection(SkinIndex)) return nullptr;
  return &*manager->Section(SkinIndex);
}

bool TsCommonData::IsSkinned(bool checkReady) const {
  const TsSkinManager* manager = GetManager();
  if (!manager || SkinIndex < 0 || manager->IsDestroying()) return false;
  if (Control && Control->IsDestroying()) return false;
  if (checkReady && !manager->SkinData.SkinReady) return false;
  return manager->IsValidSection(SkinIndex);
}

bool TsCommonData::IsSeeThrough() const {
  const TsGeneralData* section = Section();
  return section && section->Transparency > 0;
}

bool TsCommonData::IsHot() const {
  if (!Control || Control->IsDestroying() || !Control->Enabled()) return false;
  if (Focused) return true;
  if (auto* windowed = AsWindowed(Control); windowed && windowed->HandleAllocated() && windowed->Focused()) return true;
  if (!MouseAbove) return false;
  return !IsContainerKind(ControlKind);
}

bool TsCommonData::IsSuspended() const {
  if (!GetManager()) return false;
  if ((OpacityFlags & 1) != 0 && !IsHot() && !TsSkinManager::AnimationPending()) return Suspended;
  if (!Control || Control->IsDestroying()) return Suspended;
  if (Suspended || !Control->Parent()) return true;
  return SendAlphaCmd(Control->Parent(), AC_ISSUSPENDED) != 0;
}

int TsCommonData::BorderThickness() const {
  TsSkinManager* manager = GetManager();
  if (!manager || !manager->Mask(BorderIndex)) return 0;
  const TsMaskData& mask = *manager->Mask(BorderIndex);
  if ((mask.StretchMode & 2) != 0) return 0;
  return std::max({static_cast<int>(mask.WL), static_cast<int>(mask.WT), static_cast<int>(mask.WR),
                   static_cast<int>(mask.WB)});
}

// --- Binding -------------------------------------------------------------------------------

void TsCommonData::SendToOwner(TacCommand command, LPARAM lParam) {
  if (OwnerSeam && OwnerSeam->ProviderForm()) {
    TWinControl* form = OwnerSeam->ProviderForm();
    if (form->HandleAllocated())
      SendMessage(form->Handle(), SM_ALPHACMD, MakeCommandWParam(command), lParam);
    else
      form->Perform(SM_ALPHACMD, MakeCommandWParam(command), lParam);
  } else if (Control) {
    Control->Perform(SM_ALPHACMD, MakeCommandWParam(command), lParam);
  }
}

void TsCommonData::AnnounceBinding(TsSkinManager* manager, bool viaProvider) {
  TMessage message;
  message.Msg = SM_ALPHACMD;
  message.WParam = MakeCommandWParam(HasLoadedSkin(manager) && SkinIndex >= 0 ? AC_REFRESH : AC_REMOVESKIN);
  message.LParam = reinterpret_cast<LPARAM>(manager);
  if (viaProvider && OwnerSeam && OwnerSeam->ProviderForm()) {
    OwnerSeam->OwnerCommand(message);
    return;
  }
  if (!Control || !Control->Parent() || Control->IsDestroying()) return;
  try {
    Control->Perform(message.Msg, message.WParam, message.LParam);
  } catch (...) {
    // The owner's handler may fail on a half-built look; the binding stands.
  }
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
  TsSkinManager* stored = value == TsSkinManager::DefaultManager() ? nullptr : value;
  if (value == Manager || stored == Manager) return;
  Manager = stored;
  if (Control && Control->IsLoading()) return;
  if (HasLoadedSkin(value))
    ResolveSection();
  else
    SkinIndex = -1;
  AnnounceBinding(value, true);
}

void TsCommonData::SetSkinSection(const std::string& value) {
  const std::string stored = value.empty() ? std::string("UNKNOWN") : UpperCaseUtf8(value);
  if (stored == SkinSection_) return;
  SkinSection_ = stored;
  if (HasLoadedSkin(GetManager()))
    ResolveSection();
  else
    SkinIndex = -1;
  if (OwnerSeam && OwnerSeam->ProviderForm()) {
    Dirty = true;
    OwnerSeam->SectionChanged();
  } else if (Control && !Control->IsLoading() && Control->Parent() && !Control->IsDestroying()) {
    SendToOwner(SkinIndex >= 0 ? AC_REFRESH : AC_REMOVESKIN, reinterpret_cast<LPARAM>(GetManager()));
  }
}

void TsCommonData::RestoreEditColors() {
  const TsGeneralData* section = Section();
  if (!section || !Control) return;
  if (!CustomColor_) Control->SetColor(section->Color);
  if (!CustomFont_) Control->Font().SetColor(section->FontColor[0]);
}

void TsCommonData::SetCustomColor(bool value) {
  CustomColor_ = value;
  if (IsEditControl(*this) && IsSkinned() && !Control->IsLoading()) {
    if (!value) RestoreEditColors();
    Invalidate();
  }
}

void TsCommonData::SetCustomFont(bool value) {
  CustomFont_ = value;
  if (IsEditControl(*this) && IsSkinned() && !Control->IsLoading()) {
    if (!value) RestoreEditColors();
    Invalidate();
  }
}

void TsCommonData::Loaded() {
  InitSection();
  if (!IsSkinned(false) || !Control || !Control->Parent() || Control->IsLoading()) return;
  if (AsWindowed(Control)) {
    if (TWinControl* form = GetParentForm(Control); form && form != Control)
      SendAlphaCmd(form, AC_CONTROLLOADED, reinterpret_cast<LPARAM>(Control));
  }
  if (IsEditControl(*this)) RestoreEditColors();
}

void TsCommonData::InitSection() {
  if (!SkinSection_.empty()) {
    if (HasLoadedSkin(GetManager()))
      ResolveSection();
    else
      SkinIndex = -1;
    return;
  }
  const std::string_view section = DefaultSectionOfKind(ControlKind);
  SetSkinSection(section.empty() ? (Owner ? Owner->ClassName() : std::string()) : std::string(section));
}

void TsCommonData::ComputeBackgroundKind() {
  BackgroundKind = 0;
  const TsGeneralData* section = Section();
  if (!section) return;
  if (section->ImagePercent != 0) BackgroundKind |= 4;
  if (section->GradientPercent != 0 && !section->GradientStops.empty()) {
    switch (section->GradientStops.front().Mode) {
      case 0: BackgroundKind |= 2; break;
      case 1: BackgroundKind |= 1; break;
      case 2: BackgroundKind |= 3; break;
      default: break;
    }
  }
}

void TsCommonData::ResolveSection() {
  Dirty = true;
  TsSkinManager* manager = GetManager();
  SkinIndex = manager ? manager->SectionIndexOf(SkinSection_) : -1;
  ComputeBackgroundKind();
  OpacityFlags = 0;
  if (SkinIndex >= 0) {
    BorderIndex = manager->Section(SkinIndex)->BorderIndex;
    TextureIndex = manager->TextureIndexOf(SkinIndex, SkinSection_, "PATTERN");
    HotTextureIndex = manager->TextureIndexOf(SkinIndex, SkinSection_, "HOTPATTERN");
    UpdateOpacity(false);
  } else {
    // The border index of an earlier skin would point into another mask array.
    BorderIndex = -1;
    TextureIndex = -1;
    HotTextureIndex = -1;
  }
}

namespace {

bool KeepsOpacityFlag(const TsCommonData& data) {
  if (data.OwnerSeam) return data.OwnerSeam->KeepsOpacityFlag();
  return KeepsOpacityKind(data.ControlKind);
}

}  // namespace

void TsCommonData::UpdateOpacity(bool passOn) {
  if (KeepsOpacityFlag(*this)) {
    bool plain = false;
    TsSkinManager* manager = GetManager();
    if (const TsGeneralData* section = Section()) {
      plain = true;
      if (manager->Mask(BorderIndex)) {
        const TsMaskData& mask = *manager->Mask(BorderIndex);
        if (mask.WL + mask.WR > 30 || mask.WT + mask.WB > 30) plain = false;
      }
      const int t = section->Transparency;
      if (t != 0 && t != 100) plain = false;
      if (t == 100) {
        TControl* parent = Control ? Control->Parent() : nullptr;
        if (!parent || (SendAlphaCmd(parent, AC_UPDATEOPACITY, 0) & 1) == 0) plain = false;
      }
      if (section->ImagePercent > 0 || section->GradientPercent > 0) plain = false;
    }
    OpacityFlags = static_cast<std::uint16_t>(plain ? (OpacityFlags | 1) : (OpacityFlags & ~1));
  }
  if (passOn) {
    if (auto* windowed = AsWindowed(Control))
      for (int i = 0; i < windowed->ControlCount(); ++i) SendAlphaCmd(windowed->Controls(i), AC_UPDATEOPACITY, 1);
  }
}

// --- Painting state ------------------------------------------------------------------------

void TsCommonData::Invalidate() {
  if (!Control || Control->IsDestroying() || Control->IsLoading()) return;
  Dirty = true;
  if (!Control->Visible() || !Control->Parent()) return;
  if (auto* windowed = AsWindowed(Control); windowed && !windowed->HandleAllocated()) return;
  Control->Repaint();
}

void TsCommonData::BeginSuspend() {
  Suspended = true;
  SendToOwner(AC_SUSPENDED, 0);
}

void TsCommonData::EndSuspend() {
  Suspended = false;
  SendToOwner(AC_RESUMED, 0);
}

void TsCommonData::EnsureCache() {
  if (!CacheBmp) CacheBmp = std::make_unique<TBitmap>(0, 0, TPixelFormat::pf24bit);
  if (CacheBmp->PixelFormat() != TPixelFormat::pf24bit && CacheBmp->PixelFormat() != TPixelFormat::pf32bit)
    CacheBmp->SetPixelFormat(TPixelFormat::pf24bit);
  if (Control && (CacheBmp->Width() != Control->Width() || CacheBmp->Height() != Control->Height()))
    CacheBmp->SetSize(std::max(Control->Width(), 0), std::max(Control->Height(), 0));
}

void TsCommonData::RepaintFrame() {
  if (OwnerSeam) {
    OwnerSeam->RepaintFrame();
  } else if (auto* windowed = AsWindowed(Control); windowed && windowed->HandleAllocated()) {
    RedrawWindow(windowed->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

// --- Glow ------------------------------------------------------------------------------------

void TsCommonData::HideGlow() {
  if (GlowId < 0) return;
  if (IacGlowEffects* glow = GlowEffects()) glow->HideGlow(GlowId);
  GlowId = -1;
}

void TsCommonData::ShowGlow(bool refresh, HWND window) {
  TsSkinManager* manager = GetManager();
  if (!manager || !manager->AllowGlowing() || !IsSkinned()) return;
  const TsGeneralData* section = Section();
  if (!section || section->GlowCount < 1) return;
  IacGlowEffects* glow = GlowEffects();
  if (!Control) {
    (void)window;  // glows of windows without a control come with the window adapters
    return;
  }
  const bool buttonDown = Control->ControlState().Contains(csLButtonDown);
  if (!MouseAbove || buttonDown || (refresh && GlowId >= 0)) {
    HideGlow();
    return;
  }
  if (!glow || GlowId >= 0) return;
  TacGlowRequest request;
  const TPoint origin = Control->ClientToScreen({0, 0});
  request.ScreenRect = Bounds(origin.X, origin.Y, Control->Width(), Control->Height());
  request.VisibleRect = request.ScreenRect;
  for (TWinControl* parent = Control->Parent(); parent; parent = parent->Parent()) {
    const TPoint p = parent->ClientToScreen({0, 0});
    request.VisibleRect = request.VisibleRect.Intersect(Bounds(p.X, p.Y, parent->ClientWidth(), parent->ClientHeight()));
  }
  if (TWinControl* top = GetParentForm(Control); top && top->HandleAllocated()) request.TopWindow = top->Handle();
  request.Section = SkinSection_;
  request.Manager = manager;
  request.Opacity = 255;
  request.Margin = section->GlowMargin;
  request.MaskKey = "GLOW";
  GlowId = glow->ShowGlow(request);
}

// --- Commands ----------------------------------------------------------------------------------

void TsCommonData::CommandRemoveSkin(TsSkinManager* manager) {
  if (manager && manager->IsDestroying()) Manager = nullptr;
  SkinIndex = -1;
  BorderIndex = -1;
  TextureIndex = -1;
  HotTextureIndex = -1;
  Suspended = true;
  if (CacheBmp) CacheBmp->SetSize(0, 0);
  if (!Control) return;
  if (IsEditControl(*this)) {
    if (!CustomColor_) Control->SetColor(clWindow);
    if (!CustomFont_) Control->Font().SetColor(clWindowText);
    RepaintFrame();
  } else if (auto* windowed = AsWindowed(Control)) {
    for (int i = 0; i < windowed->ControlCount(); ++i)
      if (auto* label = dynamic_cast<TCustomLabel*>(windowed->Controls(i))) label->Font().SetColor(clWindowText);
  }
}

void TsCommonData::CommandRefresh() {
  Dirty = true;
  Suspended = false;
  if (IsSkinned() && IsEditControl(*this)) {
    RestoreEditColors();
    RepaintFrame();
  }
  UpdateOpacity(false);
}

void TsCommonData::CommandParentMoved(TMessage& message) {
  const bool changed = BackgroundChanged();
  Dirty = Dirty || changed;
  auto* windowed = AsWindowed(Control);
  if (!windowed) return;
  if (message.WParamLo() == 1 && windowed->HandleAllocated())
    RedrawWindow(windowed->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  if (changed)
    for (int i = 0; i < windowed->ControlCount(); ++i)
      if (TControl* child = windowed->Controls(i); !child->IsDestroying()) SendAlphaCmd(child, AC_PARENTMOVED, 0, 0);
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
      Suspended = message.WParamLo() == 1;
      message.Result = 0;
      return false;
    case AC_LOCKBACKGROUND:
      BackgroundLocked = message.WParamLo() == 1;
      message.Result = 0;
      return false;
    case AC_ISSUSPENDED:
      message.Result = Dirty || Suspended ? 1 : 0;
      return true;
    case AC_GETPARENTCHANGED:
      message.Result = ParentChanged ? 1 : 0;
      return true;
    case AC_SETDIRTY:
      Dirty = true;
      return false;
    case AC_GETBGCHANGED: {
      const TsGeneralData* section = IsSkinned(false) ? Section() : nullptr;
      if (!section) return false;
      TControl* parent = Control ? Control->Parent() : nullptr;
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
      if (!Control) return false;
      message.Result = AnswerGetColor();
      return true;
    case AC_SETPARENTCHANGED:
      ParentChanged = true;
      return false;
    case AC_GETSKININDEX:
      message.Result = SkinIndex + 1;
      return true;
    case AC_GETCACHE:
      if (message.LParam != 0) AnswerBackground(*reinterpret_cast<TacBGInfo*>(message.LParam), false);
      return true;
    case AC_UPDATEOPACITY:
      if (message.LParam == 1) {
        UpdateOpacity(true);
        return false;
      }
      message.Result = OpacityFlags;
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
  auto* windowed = AsWindowed(Control);
  switch (message.Msg) {
    case SM_ALPHACMD:
      return HandleCommand(message);
    case WM_MOVE:
      if (BackgroundChanged()) {
        Dirty = true;
        if (Control) Control->Perform(SM_ALPHACMD, MakeCommandWParam(AC_PARENTMOVED, 1), 0);
      }
      HideGlow();
      return false;
    case WM_SIZE:
      if (const TsGeneralData* section = IsSkinned(false) ? Section() : nullptr) {
        Dirty = true;
        if (section->GradientPercent > 0 && windowed)
          for (int i = 0; i < windowed->ControlCount(); ++i) {
            TControl* child = windowed->Controls(i);
            if (child->IsDestroying() || child->Anchors().Contains(akRight) || child->Anchors().Contains(akBottom)) continue;
            SendAlphaCmd(child, AC_PARENTMOVED, 0, 1);
          }
      }
      HideGlow();
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (windowed && windowed->HandleAllocated()) {
        Dirty = true;
        Focused = message.Msg == WM_SETFOCUS;
        if (IsEditKind(ControlKind) && (Focused || Control->Visible())) RepaintFrame();
      }
      return false;
    case kFontChangeMessage:
    case CM_ENABLEDCHANGED:
      MouseAbove = false;
      Focused = false;
      if (Control && !Control->Enabled()) HideGlow();
      return false;
    case WM_CONTEXTMENU:
      // The menu the control is about to open is drawn by the skin while it runs.
      if (Control)
        if (TPopupMenu* menu = Control->ContextMenu()) {
          TsSkinManager* manager = GetManager();
          menu->SetOwnerDraw(manager && manager->Active());
        }
      return false;
    case WM_UPDATEUISTATE:
      // Visual themes are off on this platform, so an unskinned control has nothing to do here.
      return IsSkinned();
    case WM_PARENTNOTIFY:
      if (windowed && message.WParamLo() == 1)
        if (TWinControl* form = GetParentForm(Control); form && form != Control)
          SendAlphaCmd(form, AC_CONTROLLOADED, reinterpret_cast<LPARAM>(Control));
      return false;
    case CM_VISIBLECHANGED:
      if (CacheBmp) {
        if (message.WParam != 0) {
          Suspended = false;
          Dirty = true;
        } else {
          CacheBmp->SetSize(0, 0);
        }
      }
      return false;
    case CM_MOUSEENTER:
      if (windowed && TsSkinManager::DefaultManager()) {
        for (int i = 0; i < windowed->ControlCount(); ++i) {
          TControl* child = windowed->Controls(i);
          if (child == reinterpret_cast<TControl*>(message.LParam)) continue;
          TsCommonData* data = SkinDataOf(child);
          if (data && data->ControlKind == TacControlKind::SpeedButton && data->MouseAbove) child->Perform(CM_MOUSELEAVE, 0, 0);
        }
        if (!IsContainerKind(ControlKind)) MouseAbove = true;
        if (TsSkinManager* manager = GetManager(); manager && windowed->HandleAllocated())
          manager->SetHotControl(windowed->Handle());
        if (!IsNoGlowKind(ControlKind) && !IsButtonKind(ControlKind)) ShowGlow(false);
        if (IsEditKind(ControlKind)) {
          Dirty = true;
          RepaintFrame();
        }
      } else if (!IsContainerKind(ControlKind)) {
        MouseAbove = true;
      }
      return false;
    case CM_MOUSELEAVE:
      if (!IsContainerKind(ControlKind)) MouseAbove = false;
      if (!IsNoGlowKind(ControlKind) && !IsButtonKind(ControlKind)) {
        HideGlow();
        ReleaseAllGlows();
      }
      if (IsEditKind(ControlKind) && Control && Control->Visible()) {
        Dirty = true;
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
    index = data->SkinIndex;
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
      "SkinIndex", [](IacSkinnedControl& c) { return std::to_string(c.SkinData() ? c.SkinData()->SkinIndex : -1); });
}
