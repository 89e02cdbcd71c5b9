#include "skin/runtime/acFormRegistry.h"

#include <algorithm>

namespace {

std::vector<TacRegisteredForm>& Forms() {
  static std::vector<TacRegisteredForm> forms;
  return forms;
}

std::vector<HWND>& Popups() {
  static std::vector<HWND> popups;
  return popups;
}

IacFormSkinningHook* skinningHook = nullptr;

}  // namespace

void RegisterProviderForm(TForm* form, IacProviderLink* link) {
  if (!form) return;
  for (TacRegisteredForm& entry : Forms())
    if (entry.Form == form) {
      entry.Link = link;
      return;
    }
  Forms().push_back({form, link});
}

void UnregisterProviderForm(TForm* form) {
  auto& forms = Forms();
  forms.erase(std::remove_if(forms.begin(), forms.end(), [form](const TacRegisteredForm& e) { return e.Form == form; }),
              forms.end());
}

const std::vector<TacRegisteredForm>& ProviderForms() { return Forms(); }

void RegisterSkinnedPopup(HWND window) {
  if (window && std::find(Popups().begin(), Popups().end(), window) == Popups().end()) Popups().push_back(window);
}

void UnregisterSkinnedPopup(HWND window) { std::erase(Popups(), window); }

const std::vector<HWND>& SkinnedPopupWindows() { return Popups(); }

void ReleaseSkinnedPopups() { Popups().clear(); }

IacFormSkinningHook* FormSkinningHook() { return skinningHook; }

void SetFormSkinningHook(IacFormSkinningHook* hook) { skinningHook = hook; }
