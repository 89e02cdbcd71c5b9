#pragma once
// Per-control skin data: binds its owner (a skinned control or a form provider) to a
// section of the current skin, keeps the resolved indexes and the finished face
// (Cache(), rebuilt only when Dirty), and answers the skin commands every skinned
// control answers alike. Controls pass each message they receive to HandleMessage.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "forms/Forward.h"
#include "forms/Messages.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"
#include "platform/win/WinTypes.h"
#include "skin/core/Forward.h"
#include "skin/runtime/Forward.h"
#include "skin/runtime/acControlKinds.h"
#include "skin/runtime/acPaintState.h"
#include "skin/runtime/sBackground.h"

// --- Owner seam --------------------------------------------------------------------
// What the skin data needs from an owner that is not a plain framework control (a
// form provider), and from controls that want a say. Controls that do not implement
// it get the framework's behaviour.
class IacSkinDataOwner {
public:
  virtual ~IacSkinDataOwner() = default;
  // The form a provider skins; null for controls.
  virtual TWinControl* ProviderForm() const { return nullptr; }
  // A command for the owner by direct call (a provider's own handler).
  virtual void OwnerCommand(TMessage& message) = 0;
  // The section or manager of a provider changed: its cached title image goes.
  virtual void SectionChanged() {}
  // Panels, scrolling containers and providers keep the plain-colour opacity bit.
  virtual bool KeepsOpacityFlag() const { return ProviderForm() != nullptr; }
  // Edit kinds repaint their frame (the non-client part) at once.
  virtual void RepaintFrame() {}
};

// What a painter does for the skin data (the section painter registers it): re-composite
// the cache's four corners over the current parent background for a state.
using TacRefreshCornersFn = void (*)(class TsCommonData& skinData, TacPaintState state);

class TsCommonData {
public:
  // owner: the control or form provider; withCache makes an empty 24-bit cache at once.
  TsCommonData(TObject* owner, bool withCache, IacSkinDataOwner* ownerSeam = nullptr);
  TsCommonData(const TsCommonData&) = delete;
  TsCommonData& operator=(const TsCommonData&) = delete;
  ~TsCommonData();

  // --- Published ----------------------------------------------------------------------
  const std::string& SkinSection() const { return SkinSection_; }
  // Stores the upper-cased value ("UNKNOWN" for an empty one) and resolves again.
  void SetSkinSection(const std::string& value);
  // The own manager (null: the default manager is used).
  TsSkinManager* SkinManager() const { return Manager_; }
  void SetSkinManager(TsSkinManager* value);
  // Binds to a manager without announcing it (a window subclass resolves itself after).
  void AssignManager(TsSkinManager* value) { Manager_ = value; }
  bool CustomColor() const { return CustomColor_; }
  void SetCustomColor(bool value);
  bool CustomFont() const { return CustomFont_; }
  void SetCustomFont(bool value);

  // --- Run-time state (painters read it) -------------------------------------------------
  // The skin's section, border mask and textures for the owner (-1: none).
  int SkinIndex() const { return SkinIndex_; }
  void SetSkinIndex(int value) { SkinIndex_ = value; }
  int BorderIndex() const { return BorderIndex_; }
  void SetBorderIndex(int value) { BorderIndex_ = value; }
  int TextureIndex() const { return TextureIndex_; }
  int HotTextureIndex() const { return HotTextureIndex_; }
  // The cached face must be rebuilt before it is shown.
  bool Dirty() const { return Dirty_; }
  void SetDirty(bool value) { Dirty_ = value; }
  // The owner waits for its parent's paint (command 6); IsSuspended also asks the state.
  bool Suspended() const { return Suspended_; }
  void SetSuspended(bool value) { Suspended_ = value; }
  bool ParentChanged() const { return ParentChanged_; }
  void SetParentChanged(bool value) { ParentChanged_ = value; }
  bool BackgroundLocked() const { return BackgroundLocked_; }
  bool Focused() const { return Focused_; }
  void SetFocused(bool value) { Focused_ = value; }
  bool MouseAbove() const { return MouseAbove_; }
  void SetMouseAbove(bool value) { MouseAbove_ = value; }
  int GlowId() const { return GlowId_; }
  void SetGlowId(int value) { GlowId_ = value; }
  TacControlKind ControlKind() const { return ControlKind_; }
  void SetControlKind(TacControlKind value) { ControlKind_ = value; }
  std::uint16_t OpacityFlags() const { return OpacityFlags_; }
  std::uint16_t BackgroundKind() const { return BackgroundKind_; }
  // The owner when it is a control (null for a form provider), and the owner itself.
  TControl* Control() const { return Control_; }
  TObject* Owner() const { return Owner_; }
  IacSkinDataOwner* OwnerSeam() const { return OwnerSeam_; }

  // --- The cached face ------------------------------------------------------------------
  // The owner's face as last built (null for data made without one until EnsureCache);
  // painters draw into it and copy from it.
  TBitmap* Cache() { return Cache_.get(); }
  const TBitmap* Cache() const { return Cache_.get(); }
  // A face is there and not empty.
  bool HasCache() const { return Cache_ && !Cache_->Empty(); }
  // A face is there and has this size.
  bool CacheFits(int width, int height) const {
    return Cache_ && Cache_->Width() == width && Cache_->Height() == height;
  }
  // Empties the face; the next paint builds it again.
  void ClearCache() {
    if (Cache_) Cache_->SetSize(0, 0);
  }

  // --- Queries ------------------------------------------------------------------------
  // Own manager, else the default manager (null when there is none).
  TsSkinManager* GetManager() const;
  bool IsSkinned(bool checkReady = true) const;
  bool IsSeeThrough() const;
  bool IsHot() const;
  bool IsSuspended() const;
  // The resolved section, or null when not skinned.
  const TsGeneralData* Section() const;
  // 0 without a border mask or when its StretchMode has bit 2; else the widest margin.
  int BorderThickness() const;

  // --- Binding ----------------------------------------------------------------------
  // The owner finished loading: InitSection, then the announcements of a loaded control.
  void Loaded();
  // Resolves SkinSection when set, else assigns the kind's default section.
  void InitSection();
  void ResolveSection();
  void UpdateOpacity(bool passOn);

  // --- Painting state --------------------------------------------------------------------
  void Invalidate();
  void BeginSuspend();
  void EndSuspend();
  // Creates the 24-bit cache when missing and gives it the control's size.
  void EnsureCache();

  // Colour of the owner for a state (used by painters; command 21 answers differently).
  TColor GetColor(bool hot, HWND window = nullptr) const;
  // The answer to a background request (command 34).
  void AnswerBackground(TacBGInfo& request, bool hot, HWND window = nullptr) const;
  bool BackgroundChanged() const;
  void ShowGlow(bool refresh, HWND window = nullptr);
  void HideGlow();

  // --- Messages -------------------------------------------------------------------------
  // The common answers to SM_ALPHACMD; true when the command was handled.
  bool HandleCommand(TMessage& message);
  // The window messages every skinned control treats alike; SM_ALPHACMD goes to
  // HandleCommand. True when the message must not reach the control's own handling.
  bool HandleMessage(TMessage& message);

  // --- Copying the cache --------------------------------------------------------------------
  void CopyCacheToControls(TWinControl* control, const TRect& source, bool refreshCorners, HDC dc,
                           const TRect& destination);
  void CopyCacheToWindows(HWND window, const TRect& source, bool refreshCorners, HDC dc, const TRect& destination);

  // The painter's corner refresh, registered by the section painter (null: none).
  static TacRefreshCornersFn& RefreshCornersHook();

private:
  void ComputeBackgroundKind();
  // Sends command 3 or 2 to the owner after a change of manager or section.
  void AnnounceBinding(TsSkinManager* manager, bool viaProvider);
  void SendToOwner(TacCommand command, LPARAM lParam);
  TColor OwnColor() const;
  TColor ParentColorForCommand() const;
  LRESULT AnswerGetColor() const;
  void CommandRemoveSkin(TsSkinManager* manager);
  void CommandRefresh();
  void CommandParentMoved(TMessage& message);
  void RestoreEditColors();
  void RepaintFrame();

  std::string SkinSection_;
  bool CustomColor_ = false;
  bool CustomFont_ = false;
  TsSkinManager* Manager_ = nullptr;
  TControl* Control_ = nullptr;
  TWinControl* Windowed_ = nullptr;  // Control_ when it has a window: asked on every face drawn
  TObject* Owner_ = nullptr;
  IacSkinDataOwner* OwnerSeam_ = nullptr;
  int GlowId_ = -1;
  int BorderIndex_ = -1;
  int SkinIndex_ = -1;
  int TextureIndex_ = -1;
  int HotTextureIndex_ = -1;
  bool Suspended_ = false;
  bool Dirty_ = true;
  std::unique_ptr<TBitmap> Cache_;
  bool ParentChanged_ = true;
  bool BackgroundLocked_ = false;
  bool Focused_ = false;
  bool MouseAbove_ = false;
  TacControlKind ControlKind_ = TacControlKind::Unknown;
  std::uint16_t OpacityFlags_ = 0;
  std::uint16_t BackgroundKind_ = 0;
};

// Implemented by every skinned control, so that the engine and the driver find its
// skin data.
class IacSkinnedControl {
public:
  virtual ~IacSkinnedControl() = default;
  virtual TsCommonData* SkinData() = 0;
};

// The skin data of a skinned control; null for others.
TsCommonData* SkinDataOf(TControl* control);

// Font source of a caption: the parent chain decides whose section's font colours a
// see-through control uses (-1 when none).
int FontSourceIndex(TControl* control, int index);

// Installs the driver's skin report (section and index of each control's skin data)
// and removes it with every reporter (the runtime's engine part).
void RegisterSkinInfoForDriver();
void UnregisterSkinInfoForDriver();
// Controls skinned without a skin data of their own (labels over a section, plain
// controls under an adapter's window subclass) report their section through these;
// a reporter answers true when it knows the control.
using TacSkinReportFn = bool (*)(TControl* control, std::string& section, int& index);
void AddSkinReporter(TacSkinReportFn reporter);
// The section and index the driver reports for a control ("" and -1 when none).
void SkinReportOf(TControl* control, std::string& section, int& index);
