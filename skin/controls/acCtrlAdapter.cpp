#include "skin/controls/acCtrlAdapter.h"

#include <array>
#include <optional>

#include "forms/CustomLabel.h"
#include "forms/DriverProperties.h"
#include "forms/Form.h"
#include "forms/WinControl.h"
#include "platform/gfx/SystemColors.h"
#include "platform/win/Message.h"
#include "skin/controls/acBtnWnd.h"
#include "skin/controls/acEditWnd.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

namespace {

constexpr int kOwnColourTag = 98;

// By list index (the ThirdParty table).
constexpr std::array<TacThirdPartyKind, kThirdPartyCount> kKinds{{
    {"EDIT", TacThirdPartyKind::Edit},             // ThirdEdits
    {"BUTTON", TacThirdPartyKind::Button},         // ThirdButtons
    {"BUTTON", TacThirdPartyKind::BitBtn},         // ThirdBitBtns
    {"CHECKBOX", TacThirdPartyKind::Base},         // ThirdCheckBoxes
    {"EDIT", TacThirdPartyKind::Edit},             // ThirdComboBoxes
    {"EDIT", TacThirdPartyKind::Edit},             // ThirdGrids
    {"GROUPBOX", TacThirdPartyKind::Base},         // ThirdGroupBoxes
    {"EDIT", TacThirdPartyKind::Edit},             // ThirdListViews
    {"PANEL", TacThirdPartyKind::Base},            // ThirdPanels
    {"EDIT", TacThirdPartyKind::Edit},             // ThirdTreeViews
    {"EDIT", TacThirdPartyKind::Edit},             // ThirdWWEdits
    {"EDIT", TacThirdPartyKind::Edit},             // ThirdGridEh
    {"EDIT", TacThirdPartyKind::Edit},             // ThirdVirtualTrees
    {"PAGECONTROL", TacThirdPartyKind::Base},      // ThirdPageControl
    {"PAGECONTROL", TacThirdPartyKind::Base},      // ThirdTabControl
    {"TOOLBAR", TacThirdPartyKind::Base},          // ThirdToolBar
    {"STATUSBAR", TacThirdPartyKind::Base},        // ThirdStatusBar
    {"SPEEDBUTTON", TacThirdPartyKind::SpeedButton},  // ThirdSpeedButton
}};

// Scans do not nest (adapting a control may make the form announce it again).
bool& Scanning() {
  static bool scanning = false;
  return scanning;
}

bool IsSkinnedLabel(TCustomLabel* label) { return dynamic_cast<IacSkinnedControl*>(label) != nullptr; }

}  // namespace

const TacThirdPartyKind& ThirdPartyKind(int listIndex) { return kKinds.at(static_cast<std::size_t>(listIndex)); }

int ThirdPartyIndexOf(const TsSkinManager& manager, const std::string& className) {
  if (className.find_first_not_of(' ') == std::string::npos) return -1;
  for (int i = 0; i < kThirdPartyCount; ++i)
    for (const std::string& name : manager.ThirdLists[static_cast<std::size_t>(i)])
      if (name == className) return i;
  return -1;
}

std::unique_ptr<TacMainWnd> MakeThirdPartySubclass(int listIndex, HWND window, TsCommonData* skinData,
                                                   TsSkinManager* manager) {
  const TacThirdPartyKind& kind = ThirdPartyKind(listIndex);
  switch (kind.Kind) {
    case TacThirdPartyKind::Edit:
      return InstallSubclass<TacEditWnd>(window, skinData, manager, kind.Section);
    case TacThirdPartyKind::Button:
      return InstallSubclass<TacBtnWnd>(window, skinData, manager, kind.Section);
    case TacThirdPartyKind::BitBtn:
      return InstallSubclass<TacBitBtnWnd>(window, skinData, manager, kind.Section);
    case TacThirdPartyKind::Base:
      return InstallSubclass<TacMainWnd>(window, skinData, manager, kind.Section);
    case TacThirdPartyKind::SpeedButton:
      return nullptr;  // speed buttons have no window
  }
  return nullptr;
}

// --- Items -------------------------------------------------------------------------------------

TacAdapterItem::TacAdapterItem(TacCtrlAdapter& adapter, TWinControl* control)
    : Adapter(adapter), Control(control), SkinData(std::make_unique<TsCommonData>(control, true)) {
  SkinData->SetControlKind(TacControlKind::Adapter);
}

TacAdapterItem::~TacAdapterItem() {
  // A dead subclass must not touch its control: the control may be gone.
  if (Wnd && !Wnd->Destroyed()) Wnd->Uninstall();
  Wnd.reset();
}

bool TacAdapterItem::Hook() {
  if (!Control || !Control->HandleAllocated() || Control->Tag() == kNoSkinTag) return false;
  if (TacBroadcast::AnswersHandled(Control)) return Wnd != nullptr;
  TsSkinManager* manager = Adapter.Manager();
  if (!manager) return false;
  const int list = ThirdPartyIndexOf(*manager, Control->ClassName());
  if (list < 0 || ThirdPartyKind(list).Kind == TacThirdPartyKind::SpeedButton) return false;
  if (manager != TsSkinManager::DefaultManager()) SkinData->AssignManager(manager);
  SkinData->SetSkinSection(ThirdPartyKind(list).Section);
  Wnd = MakeThirdPartySubclass(list, Control->Handle(), SkinData.get(), manager);
  if (Wnd && Control->Visible()) Control->Invalidate();
  return Wnd != nullptr;
}

// --- Adapter -------------------------------------------------------------------------------------

TacCtrlAdapter::TacCtrlAdapter(TsSkinProvider& provider) : Provider_(provider) {}

TacCtrlAdapter::~TacCtrlAdapter() { RemoveAllItems(); }

TsSkinManager* TacCtrlAdapter::Manager() const { return Provider_.SkinData().GetManager(); }

TacAdapterItem* TacCtrlAdapter::ItemOf(const TControl* control) const {
  for (const auto& item : Items_)
    if (item->Control == control) return item.get();
  return nullptr;
}

void TacCtrlAdapter::AddAllItems() { ScanControls(nullptr); }

// Labels the scan made take the skin's colour get the window-text colour back,
// as the provider does for the form's own labels.
void TacCtrlAdapter::RestoreLabels(TWinControl* window) {
  for (int i = 0; i < window->ControlCount(); ++i) {
    TControl* control = window->Controls(i);
    if (control->IsDestroying()) continue;
    if (auto* label = dynamic_cast<TCustomLabel*>(control)) {
      if (!IsSkinnedLabel(label) && label->Tag() != kOwnColourTag && label->Tag() != kNoSkinTag)
        label->Font().SetColor(clWindowText);
    } else if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
      RestoreLabels(windowed);
    }
  }
}

void TacCtrlAdapter::RemoveAllItems() {
  if (Removing_) return;
  Removing_ = true;
  if (TForm* form = Provider_.Form(); form && !form->IsDestroying() && LabelsTreated_) RestoreLabels(form);
  LabelsTreated_ = false;
  // Each item unhooks its subclass; the list is emptied first so that messages
  // sent while unhooking find no half-freed items.
  std::vector<std::unique_ptr<TacAdapterItem>> items = std::move(Items_);
  Items_.clear();
  items.clear();
  Removing_ = false;
}

void TacCtrlAdapter::RemoveDeadItems() {
  std::erase_if(Items_, [](const std::unique_ptr<TacAdapterItem>& item) { return item->Dead(); });
}

void TacCtrlAdapter::SendToAll(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (const auto& item : Items_)
    if (item->Wnd && !item->Dead()) SendMessage(item->Wnd->Handle(), msg, wParam, lParam);
}

bool TacCtrlAdapter::ProviderAllows(TControl* control) const {
  bool canSkin = true;
  if (Provider_.OnSkinItem) Provider_.OnSkinItem(control, canSkin);
  return canSkin;
}

bool TacCtrlAdapter::CanAdapt(TControl* control) const {
  if (!control || control->Tag() == kNoSkinTag) return false;
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (windowed && !windowed->HandleAllocated()) return false;
  if (TacBroadcast::AnswersHandled(control)) return false;
  if (auto* label = dynamic_cast<TCustomLabel*>(control)) return !IsSkinnedLabel(label) && ProviderAllows(control);
  TsSkinManager* manager = Manager();
  return manager && ThirdPartyIndexOf(*manager, control->ClassName()) >= 0;
}

void TacCtrlAdapter::AdaptWindowed(TWinControl* control, const std::string& section) {
  if (!control || control->Tag() == kNoSkinTag || !control->Parent()) return;
  if (TacBroadcast::AnswersHandled(control)) return;
  if (!ProviderAllows(control)) return;
  TacAdapterItem* item = ItemOf(control);
  if (!item) {
    Items_.push_back(std::make_unique<TacAdapterItem>(*this, control));
    item = Items_.back().get();
  } else if (item->Dead()) {
    item->Wnd.reset();
  }
  if (item->SkinData->SkinSection().empty()) item->SkinData->SetSkinSection(section);
  if (!item->Wnd) item->Hook();
  if (!item->Wnd) std::erase_if(Items_, [item](const std::unique_ptr<TacAdapterItem>& p) { return p.get() == item; });
}

void TacCtrlAdapter::TreatLabel(TCustomLabel* label) {
  if (IsSkinnedLabel(label) || label->Tag() == kOwnColourTag || label->Tag() == kNoSkinTag) return;
  if (!ProviderAllows(label)) return;
  TsSkinManager* manager = Manager();
  if (!manager || !manager->Active()) return;
  label->SetTransparent(true);
  LabelsTreated_ = true;
  const TColor colour = manager->GlobalFontColor();
  if (colour != clFuchsia) label->Font().SetColor(colour);
}

void TacCtrlAdapter::Treat(TControl* control) {
  if (!control || control->IsDestroying()) return;
  if (auto* label = dynamic_cast<TCustomLabel*>(control)) {
    TreatLabel(label);
    return;
  }
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (!windowed) return;  // speed buttons: no list names one in this program
  if (CanAdapt(windowed)) AdaptWindowed(windowed, DefaultSection);
  if (windowed->HandleAllocated() && windowed->Parent()) Scan(windowed);
}

void TacCtrlAdapter::Scan(TWinControl* window) {
  for (int i = 0; i < window->ControlCount(); ++i) Treat(window->Controls(i));
}

void TacCtrlAdapter::ScanControls(TWinControl* window) {
  TsSkinManager* manager = Manager();
  if (!manager || !manager->SkinningRules().Contains(srThirdParty) || Scanning()) return;
  Scanning() = true;
  RemoveDeadItems();
  TWinControl* target = window ? window : Provider_.Form();
  if (target == Provider_.Form()) {
    // Components the form owns but that sit elsewhere are reached through their
    // parents below; owned labels and windows directly on other parents are here.
    for (int i = 0; i < target->ComponentCount(); ++i)
      if (auto* control = dynamic_cast<TControl*>(target->Components(i));
          control && control->Parent() && GetParentForm(control) != target)
        Treat(control);
  }
  Scan(target);
  Scanning() = false;
}

void TacCtrlAdapter::AddNewItem(TControl* control) {
  if (!control || Scanning()) return;
  Scanning() = true;
  Treat(control);
  Scanning() = false;
}

void StopCtrlAdapter() { SetCtrlAdapterFactory(nullptr); }

void StartCtrlAdapter() {
  SetCtrlAdapterFactory([](TsSkinProvider& provider) { return std::make_unique<TacCtrlAdapter>(provider); });
  // "expect Form3.OKButton.AdapterSection == BUTTON": the section of the subclass on a plain control.
  TDriverProperties::RegisterOptional<TWinControl>("AdapterSection", [](TWinControl& c) -> std::optional<std::string> {
    TacMainWnd* wnd = c.HandleAllocated() ? TacMainWnd::Of(c.Handle()) : nullptr;
    if (!wnd || !wnd->Installed()) return std::nullopt;
    return wnd->SkinData().SkinSection();
  });
}
