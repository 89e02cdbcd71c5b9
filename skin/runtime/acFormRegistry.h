#pragma once
// Process-wide lists the form-skinning layer fills and the manager walks: the forms
// registered by form providers, the open skinned popup windows, and the handler that
// attaches providers to windows from the manager's window hook. The form-skinning
// layer sits above this one, so it reaches the manager only through these seams.
#include <vector>

#include "forms/Forward.h"
#include "platform/win/Hooks.h"
#include "platform/win/WinTypes.h"
#include "skin/runtime/Forward.h"

// What the manager asks of a form's provider when it suspends and resumes redrawing.
class IacProviderLink {
public:
  virtual ~IacProviderLink() = default;
  virtual TsSkinManager* LinkManager() const = 0;
  // The lock mark of a form whose redrawing is off for a skin change.
  virtual bool RedrawLocked() const = 0;
  virtual void SetRedrawLocked(bool locked) = 0;
  // Whether the provider paints the non-client area (no animation otherwise).
  virtual bool PaintsNonClient() const { return true; }
  // Plays the skin-change animation of the window for `milliseconds`.
  virtual void AnimateSkinChange(int /*milliseconds*/) {}
  // A maximised form with an extended border window is shown maximised again.
  virtual bool HasExtendedBorderWindow() const { return false; }
  // Rebuilds the frame after redrawing is turned back on.
  virtual void RebuildFrame() {}
};

struct TacRegisteredForm {
  TForm* Form = nullptr;
  IacProviderLink* Link = nullptr;
};

// A form provider registers its form once; registering again replaces the link.
void RegisterProviderForm(TForm* form, IacProviderLink* link);
void UnregisterProviderForm(TForm* form);
const std::vector<TacRegisteredForm>& ProviderForms();

void RegisterSkinnedPopup(HWND window);
void UnregisterSkinnedPopup(HWND window);
const std::vector<HWND>& SkinnedPopupWindows();
// Forgets every popup record (the default manager removing its window hook).
void ReleaseSkinnedPopups();

// Called by the default manager's window hook (after the event went on down the
// chain) once a skin is announced; the form-skinning layer registers one.
class IacFormSkinningHook {
public:
  virtual ~IacFormSkinningHook() = default;
  // A window is being activated; it does not answer command 7 yet and a default
  // manager exists. Attach a provider when the window's form should be skinned.
  virtual void WindowActivated(TsSkinManager& manager, HWND window) = 0;
  virtual void WindowCreated(TsSkinManager& /*manager*/, HWND /*window*/, const CBT_CREATEWND* /*info*/) {}
  virtual void WindowDestroyed(HWND /*window*/) {}
  // The hook is being removed: release the adapters it made.
  virtual void HookRemoved() {}
};

IacFormSkinningHook* FormSkinningHook();
void SetFormSkinningHook(IacFormSkinningHook* hook);
