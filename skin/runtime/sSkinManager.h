#pragma once
// The skin manager component: owns the current skin of the application (the loaded
// model of TacSkinModel, which painters read through it), applies the colour
// adjustments and announces every change to all windows and controls with SM_ALPHACMD.
// The first manager constructed is the default manager, used by every control that
// names none.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "forms/Component.h"
#include "forms/Font.h"
#include "forms/Sets.h"
#include "platform/win/WinTypes.h"
#include "skin/core/acSkinModel.h"
#include "skin/runtime/Forward.h"
#include "skin/runtime/acThirdParty.h"

enum TacBtnEvent { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
using TacBtnEvents = TSet<TacBtnEvent>;

struct TacBtnEffects {
  TacBtnEvents Events{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp};
};

struct TacFormAnimation {
  bool Active = true;
  int Time = 0;  // milliseconds
};

struct TacAnimEffects {
  TacBtnEffects Buttons;
  TacFormAnimation DialogShow;
  TacFormAnimation FormShow;
  TacFormAnimation PageChange;
  TacFormAnimation SkinChanging{true, 100};
};

struct TacMenuSupport {
  std::string IcoLineSkin;
  bool UseExtraLine = false;
  int ExtraLineWidth = 32;
  TFont ExtraLineFont;
};

enum TacSkinningRule { srStdForms, srStdDialogs, srThirdParty };
using TacSkinningRules = TSet<TacSkinningRule>;

class TsSkinManager : public TComponent, public TacSkinModel {
public:
  explicit TsSkinManager(TComponent* owner);
  ~TsSkinManager() override;
  std::string ClassName() const override { return "TsSkinManager"; }

  // --- Published properties (stored values are applied in this order) ----------------
  bool ExtendedBorders() const { return TacSkinModel::ExtendedBorders(); }
  void SetExtendedBorders(bool value);
  bool SkinnedPopups() const { return SkinnedPopups_; }
  void SetSkinnedPopups(bool value);
  bool AllowGlowing() const { return AllowGlowing_; }
  void SetAllowGlowing(bool value) { AllowGlowing_ = value; }
  TacAnimEffects& AnimEffects() { return AnimEffects_; }
  const TacAnimEffects& AnimEffects() const { return AnimEffects_; }
  // True only for the default manager.
  bool IsDefault() const { return DefaultManager() == this; }
  void SetIsDefault(bool value);
  bool Active() const { return TacSkinModel::Active(); }
  void SetActive(bool value);
  const std::vector<std::string>& CommonSections() const { return TacSkinModel::CommonSections(); }
  void SetCommonSections(const std::vector<std::string>& lines);
  int Saturation() const { return TacSkinModel::Saturation(); }
  void SetSaturation(int value);
  int HueOffset() const { return TacSkinModel::HueOffset(); }
  void SetHueOffset(int value);
  // InternalSkins() comes from the model.
  TacMenuSupport& MenuSupport() { return MenuSupport_; }
  const TacMenuSupport& MenuSupport() const { return MenuSupport_; }
  const std::string& SkinDirectory() const { return TacSkinModel::SkinDirectory(); }
  void SetSkinDirectory(const std::string& value);
  const std::string& SkinName() const { return TacSkinModel::SkinName(); }
  void SetSkinName(const std::string& value);
  // SkinInfo(), SetSkinInfo (does nothing), Version() come from the model.
  TacSkinningRules SkinningRules() const { return SkinningRules_; }
  void SetSkinningRules(TacSkinningRules value) { SkinningRules_ = value; }
  TacThirdPartyList& ThirdParty() { return ThirdParty_; }
  const TacThirdPartyList& ThirdParty() const { return ThirdParty_; }

  TNotifyEvent OnAfterChange;
  TNotifyEvent OnBeforeChange;
  std::function<void(TObject* sender, std::string& firstLine, std::string& secondLine)> OnGetMenuExtraLineData;

  // --- Run-time state ---------------------------------------------------------------------
  // The run-time class-name lists of ThirdParty, by index.
  std::array<std::vector<std::string>, kThirdPartyCount> ThirdLists;
  HWND HotControl() const { return HotControl_; }
  bool SkinHooked() const { return CbtHook_ != nullptr; }

  // --- Announcements --------------------------------------------------------------------
  void NotifyNewSkin(bool lockRedraw);
  void NotifySkinRemoved();
  void NotifyRefresh();
  void SuspendRedrawing();
  void ResumeRedrawing(bool animated);
  // Broadcasts SM_ALPHACMD with `command` and LParam = this manager to every window.
  void BroadcastCommand(TacCommand command);

  // Sends command 30 to the previous hot control and 29 to the new one.
  void SetHotControl(HWND window);
  // Fills list with the available skins; returns the first name found.
  std::string ListSkins(std::vector<std::string>& list, int mode) const { return TacSkinModel::ListSkins(list, mode); }

  // --- Colour queries ---------------------------------------------------------------------
  TColor GlobalColor() const;
  TColor GlobalFontColor() const;
  TColor GlobalHotColor() const;
  TColor EditHighlightTextColor() const;
  TColor MenuHighlightColor() const;
  TColor MenuHighlightTextColor() const;

  // Own manager of the skin data, else the default manager.
  static TsSkinManager* GetManager(const TsCommonData& skinData);

  // --- Process-wide state -------------------------------------------------------------------
  static TsSkinManager* DefaultManager();
  // Set while a skin is assigned and loaded; fades do not run meanwhile.
  static bool SkinChanging();
  // Set while redrawing is suspended for an animated skin change.
  static bool AnimationPending();

  // Shows the engine's informational messages (the version warning, "/acver");
  // the standard message box by default, replaceable by tests.
  static std::function<void(const std::string&)>& InfoMessageBox();

  void Loaded() override;

private:
  bool Reading() const { return IsLoading(); }
  void ReloadForAdjustment(bool rebuildBorders);
  void FinishLoadingDefaults();
  void LoadThirdLists();
  void StoreThirdLists();
  void InstallSkinHook();
  void RemoveSkinHook();
  void InstallAppHook();
  void RemoveAppHook();
  static LRESULT CbtHookProc(void* context, int code, WPARAM wParam, LPARAM lParam);
  LRESULT AppWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  bool SkinnedPopups_ = true;
  bool AllowGlowing_ = true;
  TacAnimEffects AnimEffects_;
  TacMenuSupport MenuSupport_;
  TacSkinningRules SkinningRules_{srStdForms, srStdDialogs, srThirdParty};
  TacThirdPartyList ThirdParty_;
  HWND HotControl_ = nullptr;
  HHOOK CbtHook_ = nullptr;
  HWND AppWindow_ = nullptr;  // hidden window that hears application activation
  int MenuBorderWidth_ = -1;  // cached border width of skinned menus
};

// Applies the stored values of the main window's manager, in stored order, while
// the manager is loading (the caller's form runs Loaded afterwards): the internal
// skin as the one stored skin, "ICOLINE", the extra line font, the skin directory
// "C:\Tessaly\Skins", the skin name "TheFrog" and the ThirdParty defaults.
void ApplyMainWindowSkinSettings(TsSkinManager& manager);

// True when an argument, lower-cased, is "/acver"; then shows "Skin engine v6.44".
bool CheckVersionSwitch(int argc, char** argv);
