#include "skin/runtime/sSkinManager.h"

#include "forms/Dialogs.h"
#include "forms/Form.h"
#include "platform/gfx/SystemColors.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/Win.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/acFormRegistry.h"
#include "skin/runtime/acGlowEffects.h"
#include "skin/runtime/sCommonData.h"

namespace {

TsSkinManager* defaultManager = nullptr;
bool skinChanging = false;
bool animationPending = false;

constexpr const char* kAppWindowClass = "TacAppHookWindow";

std::string RemoveSpaces(const std::string& line) {
  std::string out;
  out.reserve(line.size());
  for (char c : line)
    if (c != ' ') out.push_back(c);
  return out;
}

// A colour read from the skin as RGB (-1 stays -1).
TColor SkinRgb(std::int32_t value) { return value == -1 ? -1 : ColorToRGB(value); }

bool UsableMenuColor(std::int32_t value) { return value != -1 && value != 0xFF00FF && value != 0xFFFFFF && value != 0; }

}  // namespace

// --- Construction and destruction --------------------------------------------------------

TsSkinManager::TsSkinManager(TComponent* owner) : TComponent(owner) {
  TacSkinModel::OnShowMessage = [](const std::string& text) {
    if (InfoMessageBox()) InfoMessageBox()(text);
  };
  MenuSupport_.ExtraLineFont.SetName("MS Sans Serif");
  MenuSupport_.ExtraLineFont.SetHeight(-11);
  if (!defaultManager) {
    defaultManager = this;
    InstallAppHook();
  }
  ThirdParty_.FillDefaults();
  LoadThirdLists();
  if (TacSkinModel::SkinDirectory().empty()) TacSkinModel::SetSkinDirectory(kDefaultSkinDirectory);
}

TsSkinManager::~TsSkinManager() {
  Destroying();
  try {
    SetActive(false);
  } catch (...) {
    // Removing a skin reports nothing; a receiver's failure must not stop destruction.
  }
  StoreExtendedBorders(false);
  ReleaseImages();
  ClearSections();
  RemoveSkinHook();
  if (defaultManager == this) {
    RemoveAppHook();
    defaultManager = nullptr;
  }
  StoreThirdLists();
}

TsSkinManager* TsSkinManager::DefaultManager() { return defaultManager; }
bool TsSkinManager::SkinChanging() { return skinChanging; }
bool TsSkinManager::AnimationPending() { return animationPending; }

std::function<void(const std::string&)>& TsSkinManager::InfoMessageBox() {
  static std::function<void(const std::string&)> show = [](const std::string& text) {
    MessageDlg(text, mtInformation, {mbOK});
  };
  return show;
}

TsSkinManager* TsSkinManager::GetManager(const TsCommonData& skinData) {
  return skinData.SkinManager() ? skinData.SkinManager() : defaultManager;
}

void TsSkinManager::LoadThirdLists() {
  for (int i = 0; i < kThirdPartyCount; ++i) ThirdLists[static_cast<std::size_t>(i)] = SplitLines(ThirdParty_.Text(i));
}

void TsSkinManager::StoreThirdLists() {
  for (int i = 0; i < kThirdPartyCount; ++i) ThirdParty_.SetText(i, JoinLines(ThirdLists[static_cast<std::size_t>(i)]));
}

void TsSkinManager::FinishLoadingDefaults() {
  if (TacSkinModel::SkinDirectory().empty()) TacSkinModel::SetSkinDirectory(kDefaultSkinDirectory);
  if (MenuSupport_.IcoLineSkin.empty()) MenuSupport_.IcoLineSkin = "ICOLINE";
  ThirdParty_.FillDefaults();
  LoadThirdLists();
}

void TsSkinManager::Loaded() {
  TComponent::Loaded();
  FinishLoadingDefaults();
  if (Active() && !SkinName().empty()) NotifyNewSkin(false);
}

// --- Assignments -------------------------------------------------------------------------

void TsSkinManager::SetSkinName(const std::string& value) {
  StoreSkinName(value);
  if (!Active()) return;
  if (OnBeforeChange) OnBeforeChange(this);
  skinChanging = true;
  SkinData.SkinReady = false;
  LoadNewSkin();  // a bad skin raises here: the flag stays set until the next change
  if (!Active())
    NotifySkinRemoved();
  else
    NotifyNewSkin(true);
  skinChanging = false;
  if (OnAfterChange) OnAfterChange(this);
}

void TsSkinManager::SetActive(bool value) {
  if (value == Active()) return;
  StoreActive(value);
  if (value) {
    SetSkinName(SkinName());
  } else {
    if (!Reading()) NotifySkinRemoved();
    CacheCommonIndexes();
  }
}

void TsSkinManager::ReloadForAdjustment(bool rebuildBorders) {
  if (!SkinData.SkinReady) return;
  skinChanging = true;
  if (rebuildBorders) BuildExtendedBorders();
  SkinData.SkinReady = false;
  LoadNewSkin();
  if (!Active()) {
    // The skin went away meanwhile (no stored skin either).
    NotifySkinRemoved();
    skinChanging = false;
    return;
  }
  SkinData.SkinReady = true;
  skinChanging = false;
  if (!Reading()) NotifyRefresh();
}

void TsSkinManager::SetHueOffset(int value) {
  if (value == HueOffset()) return;
  StoreHueOffset(value);
  ReloadForAdjustment(false);
}

void TsSkinManager::SetSaturation(int value) {
  if (value == Saturation()) return;
  StoreSaturation(value);
  ReloadForAdjustment(false);
}

void TsSkinManager::SetExtendedBorders(bool value) {
  if (value == ExtendedBorders()) return;
  StoreExtendedBorders(value);
  ReloadForAdjustment(true);
}

void TsSkinManager::SetSkinDirectory(const std::string& value) { TacSkinModel::SetSkinDirectory(value); }

void TsSkinManager::SetCommonSections(const std::vector<std::string>& lines) {
  std::vector<std::string> cleaned;
  cleaned.reserve(lines.size());
  for (const std::string& line : lines) cleaned.push_back(line.empty() || line.front() == ';' ? line : RemoveSpaces(line));
  StoreCommonSections(std::move(cleaned));
  SetSkinName(SkinName());
}

void TsSkinManager::SetIsDefault(bool value) {
  if (!value && defaultManager) return;  // reads true only for the default manager
  if (defaultManager != this) {
    // The application hook belongs to the default manager.
    if (defaultManager) defaultManager->RemoveAppHook();
    defaultManager = this;
    InstallAppHook();
  }
  if (!Active())
    NotifySkinRemoved();
  else
    NotifyNewSkin(true);
}

void TsSkinManager::SetSkinnedPopups(bool value) {
  // Skinned menus would be re-skinned here; the program's windows have none.
  SkinnedPopups_ = value;
}

// --- Announcements ------------------------------------------------------------------------

void TsSkinManager::BroadcastCommand(TacCommand command) {
  TacBroadcast::ToApplication(command, reinterpret_cast<LPARAM>(this));
}

void TsSkinManager::NotifyNewSkin(bool lockRedraw) {
  if (Reading()) return;
  ReleaseAllGlows();
  if (lockRedraw) SuspendRedrawing();
  MenuBorderWidth_ = -1;
  SkinData.SkinReady = false;
  CacheCommonIndexes();
  BroadcastCommand(AC_SETNEWSKIN);
  SkinData.SkinReady = true;
  std::vector<TForm*> reattached;
  if (IsDefault() && !CbtHook_) {
    InstallSkinHook();
    // Windows already shown (the skin applied again after its removal) are not
    // activated again: they get their skinned frames now.
    if (IacFormSkinningHook* hook = FormSkinningHook())
      for (int i = 0; i < Screen()->FormCount(); ++i) {
        TForm* form = Screen()->Forms(i);
        if (!form->HandleAllocated() || !IsWindowVisible(form->Handle()) || TacBroadcast::AnswersHandled(form))
          continue;
        hook->WindowActivated(*this, form->Handle());
        reattached.push_back(form);
      }
  }
  if (lockRedraw) NotifyRefresh();
  // Their controls painted while the new frames were not ready and wait for the
  // word that the window behind them has painted.
  for (TForm* form : reattached) {
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    for (int i = 0; i < form->ControlCount(); ++i)
      if (auto* child = dynamic_cast<TWinControl*>(form->Controls(i)); child && child->HandleAllocated())
        SendMessage(child->Handle(), SM_ALPHACMD, MakeCommandWParam(AC_PARENTPAINTED), 0);
    // Controls that only skipped their paint while a parent was suspended paint now.
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

void TsSkinManager::NotifySkinRemoved() {
  ReleaseAllGlows();
  RemoveSkinHook();
  SkinData.SkinReady = false;
  BroadcastCommand(AC_REMOVESKIN);
  ReleaseImages();
  ClearSections();
  // The cached indexes would point into the arrays just emptied.
  CacheCommonIndexes();
}

void TsSkinManager::NotifyRefresh() {
  BroadcastCommand(AC_STOPFADING);
  if (!Reading()) SuspendRedrawing();
  BroadcastCommand(AC_REFRESH);
  if (!Reading()) ResumeRedrawing(true);
  for (HWND popup : std::vector<HWND>(SkinnedPopupWindows()))
    if (IsWindow(popup) && IsWindowVisible(popup))
      RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

namespace {

// The registered forms whose redrawing a skin change of `manager` locks.
bool LockableForm(const TacRegisteredForm& entry, const TsSkinManager* manager) {
  TForm* form = entry.Form;
  return entry.Link && entry.Link->LinkManager() == manager && !form->IsDestroying() && form->Visible() &&
         form->Parent() == nullptr && form->FormStyle() != fsMDIChild && form->WindowState() != wsMinimized &&
         form->HandleAllocated();
}

}  // namespace

void TsSkinManager::SuspendRedrawing() {
  if (IsDefault() && AnimEffects_.SkinChanging.Active) animationPending = true;
  for (const TacRegisteredForm& entry : std::vector<TacRegisteredForm>(ProviderForms())) {
    if (!LockableForm(entry, this) || entry.Link->RedrawLocked()) continue;
    entry.Link->SetRedrawLocked(true);
    SendMessage(entry.Form->Handle(), WM_SETREDRAW, 0, 0);
  }
}

void TsSkinManager::ResumeRedrawing(bool animated) {
  if (IsDefault()) animationPending = false;
  for (const TacRegisteredForm& entry : std::vector<TacRegisteredForm>(ProviderForms())) {
    if (!LockableForm(entry, this) || !entry.Link->RedrawLocked()) continue;
    HWND window = entry.Form->Handle();
    if (animated && AnimEffects_.SkinChanging.Active)
      entry.Link->AnimateSkinChange(entry.Link->PaintsNonClient() ? AnimEffects_.SkinChanging.Time : 0);
    if (entry.Form->WindowState() == wsMaximized && entry.Link->HasExtendedBorderWindow())
      ShowWindow(window, SW_SHOWMAXIMIZED);
    SendMessage(window, WM_SETREDRAW, 1, 0);
    entry.Link->SetRedrawLocked(false);
    entry.Link->RebuildFrame();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

void TsSkinManager::SetHotControl(HWND window) {
  if (window == HotControl_) return;
  HWND previous = HotControl_;
  HotControl_ = window;  // stored first: a receiver may ask again
  const LPARAM self = reinterpret_cast<LPARAM>(this);
  if (previous && IsWindow(previous)) SendMessage(previous, SM_ALPHACMD, MakeCommandWParam(AC_MOUSELEAVE), self);
  if (window && IsWindow(window)) SendMessage(window, SM_ALPHACMD, MakeCommandWParam(AC_MOUSEENTER), self);
}

// --- Colour queries ------------------------------------------------------------------------

TColor TsSkinManager::GlobalColor() const {
  const int index = CommonIndexes.GlobalInfo;
  return IsValidSection(index) ? ColorToRGB(Section(index)->Color) : ColorToRGB(clBtnFace);
}

TColor TsSkinManager::GlobalFontColor() const {
  const int index = CommonIndexes.GlobalInfo;
  if (!IsValidSection(index)) return clFuchsia;
  const TColor c = SkinRgb(Section(index)->FontColor[0]);
  return c == -1 ? clFuchsia : c;
}

TColor TsSkinManager::GlobalHotColor() const {
  const int index = CommonIndexes.GlobalInfo;
  if (!IsValidSection(index)) return ColorToRGB(clWindow);
  const TColor c = SkinRgb(Section(index)->HotColor);
  return c == -1 ? ColorToRGB(clWindow) : c;
}

TColor TsSkinManager::EditHighlightTextColor() const {
  const int index = SectionIndexOf("EDIT");
  if (index < 0) return clFuchsia;
  const TColor c = SkinRgb(Section(index)->HotFontColor[0]);
  return c == -1 ? clFuchsia : c;
}

TColor TsSkinManager::MenuHighlightColor() const {
  const int index = SectionIndexOf("MENUITEM");
  if (index >= 0) {
    const std::int32_t c = Section(index)->HotColor;
    if (c != -1 && c != 0xFF00FF && c != 0xFFFFFF) return ColorToRGB(c);
  }
  return ColorToRGB(clHighlight);
}

TColor TsSkinManager::MenuHighlightTextColor() const {
  const int index = SectionIndexOf("MENUITEM");
  if (index >= 0) {
    const TsGeneralData& s = *Section(index);
    if (UsableMenuColor(s.HotFontColor[0]) && UsableMenuColor(s.HotColor)) return ColorToRGB(s.HotFontColor[0]);
  }
  return ColorToRGB(clHighlightText);
}

// --- Hooks -----------------------------------------------------------------------------------

void TsSkinManager::InstallSkinHook() {
  if (CbtHook_) return;
  CbtHook_ = SetWindowsHookEx(WH_CBT, &TsSkinManager::CbtHookProc, this);
}

void TsSkinManager::RemoveSkinHook() {
  if (!CbtHook_) return;
  UnhookWindowsHookEx(CbtHook_);
  CbtHook_ = nullptr;
  if (FormSkinningHook()) FormSkinningHook()->HookRemoved();
  if (defaultManager == this) ReleaseSkinnedPopups();
}

LRESULT TsSkinManager::CbtHookProc(void* context, int code, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<TsSkinManager*>(context);
  const LRESULT result = CallNextHookEx(self->CbtHook_, code, wParam, lParam);
  IacFormSkinningHook* skinner = FormSkinningHook();
  if (result != 0 || !skinner || defaultManager != self) return result;
  HWND window = reinterpret_cast<HWND>(wParam);
  switch (code) {
    case HCBT_ACTIVATE:
      if (!TacBroadcast::AnswersHandled(window)) skinner->WindowActivated(*self, window);
      break;
    case HCBT_CREATEWND:
      skinner->WindowCreated(*self, window, reinterpret_cast<const CBT_CREATEWND*>(lParam));
      break;
    case HCBT_DESTROYWND:
      skinner->WindowDestroyed(window);
      break;
    default:
      break;
  }
  return result;
}

// The framework has no hidden application window; a hidden top-level window of our
// own hears application activation (WM_ACTIVATEAPP reaches every top-level window).
void TsSkinManager::InstallAppHook() {
  if (AppWindow_) return;
  WNDCLASSEX wc;
  if (!GetClassInfoEx(nullptr, kAppWindowClass, &wc)) {
    wc = WNDCLASSEX{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = kAppWindowClass;
    RegisterClassEx(wc);
  }
  AppWindow_ = CreateWindowEx(WS_EX_TOOLWINDOW, kAppWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (AppWindow_) SetWindowProc(AppWindow_, MakeWindowProc<&TsSkinManager::AppWindowProc>(this));
}

void TsSkinManager::RemoveAppHook() {
  if (!AppWindow_) return;
  HWND window = AppWindow_;
  AppWindow_ = nullptr;
  DestroyWindow(window);
}

LRESULT TsSkinManager::AppWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (SkinnedPopups_) {
    if (msg == WM_THEMECHANGED) return 1;
    if (msg == WM_ACTIVATEAPP && wParam != 0 && Screen()) {
      for (int i = Screen()->FormCount() - 1; i >= 0; --i) {
        TForm* form = Screen()->Forms(i);
        const WPARAM repaint = MakeCommandWParam(AC_REPAINT);
        if (form->HandleAllocated())
          SendMessage(form->Handle(), SM_ALPHACMD, repaint, 0);
        else
          form->Perform(SM_ALPHACMD, repaint, 0);
      }
    }
  }
  return DefWindowProc(window, msg, wParam, lParam);
}
