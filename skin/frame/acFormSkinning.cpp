// The form-skinning hook and the driver's report of skinned frames.
#include "skin/frame/acFormSkinning.h"

#include <algorithm>

#include "forms/DriverProperties.h"
#include "forms/Form.h"
#include "platform/base/TextHelpers.h"
#include "platform/win/Icons.h"
#include "platform/win/Win.h"
#include "skin/frame/acAppIcon.h"
#include "skin/frame/acGlowEffect.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/acControlKinds.h"
#include "skin/runtime/acFormRegistry.h"
#include "skin/runtime/sSkinManager.h"

namespace {

std::vector<TsSkinProvider*>& Providers() {
  static std::vector<TsSkinProvider*> providers;
  return providers;
}

class TacFormSkinner final : public IacFormSkinningHook {
public:
  // Providers go with their forms (components the forms own), so a destroyed
  // window needs nothing here.
  void WindowActivated(TsSkinManager& /*manager*/, HWND window) override {
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(window));
    if (!form || !FormWantsSkin(form) || TsSkinProvider::Of(form)) return;
    auto* provider = new TsSkinProvider(form);  // owned by the form
    Providers().push_back(provider);
    provider->MakeSkinMenu = false;
    // Controls painted before the frame was skinned rebuild over the new background.
    for (TacCommand command : {AC_SETPARENTCHANGED, AC_SETDIRTY}) {
      TMessage message;
      message.Msg = SM_ALPHACMD;
      message.WParam = MakeCommandWParam(command);
      TacBroadcast::ToControls(form, message);
    }
    if (form->HandleAllocated() && IsWindowVisible(form->Handle()))
      RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  void HookRemoved() override {
    std::vector<TsSkinProvider*> gone;
    gone.swap(Providers());
    for (TsSkinProvider* provider : gone) delete provider;
  }
};

}  // namespace

void ForgetHookedProvider(TsSkinProvider* provider) { std::erase(Providers(), provider); }

const std::vector<TsSkinProvider*>& HookedProviders() { return Providers(); }

bool FormWantsSkin(TForm* form) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!form || !manager || form->Tag() == kNoSkinTag || form->IsDestroying()) return false;
  const std::string cls = form->ClassName();
  if (cls == "TApplication" || cls == "TQRStandardPreview" || cls == "TfcPopup") return false;
  if (cls == "TMessageForm") return manager->SkinningRules().Contains(srStdDialogs);
  return manager->SkinningRules().Contains(srStdForms);
}

namespace {
TacFormSkinner& Skinner() {
  static TacFormSkinner skinner;
  return skinner;
}
}  // namespace

void StartFormSkinning() {
  SetFormSkinningHook(&Skinner());
  StartGlowWindows();
  if (!ApplicationIcon()) SetApplicationIcon(CreateIconFromImage(DrawTextbookIcon(16)));
  TDriverProperties::Register<TForm>(
      "FrameSkinned",
      [](TForm& form) {
        TsSkinProvider* provider = TsSkinProvider::Of(&form);
        return BoolText(provider && provider->FrameSkinned());
      },
      TDumpAs::Raw, "frameSkinned");
  TDriverProperties::Register<TForm>(
      "TitleSection",
      [](TForm& form) {
        TsSkinProvider* provider = TsSkinProvider::Of(&form);
        return provider ? provider->TitleSectionName() : std::string();
      },
      TDumpAs::Text, "titleSection");
}

void StopFormSkinning() {
  StopGlowWindows();
  if (FormSkinningHook() != &Skinner()) return;
  Skinner().HookRemoved();
  SetFormSkinningHook(nullptr);
}
