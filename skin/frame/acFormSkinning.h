#pragma once
// Automatic form skinning: the handler the default manager's window hook calls
// when a window is activated. It attaches a TsSkinProvider to every form that
// should be skinned and frees them all when the hook goes (the skin is removed).
#include <vector>

class TsSkinProvider;
class TForm;

// Registers the form skinning and the glow windows with the skin runtime and the
// driver's window report, and gives the program its icon when it has none
// (idempotent; call once before the first form is shown).
void RegisterFormSkinning();

// The providers the hook attached, in attaching order.
const std::vector<TsSkinProvider*>& HookedProviders();
// A provider going away leaves the hook's list.
void ForgetHookedProvider(TsSkinProvider* provider);
// Whether the hook would skin this form (Tag -98, class and SkinningRules).
bool FormWantsSkin(TForm* form);
