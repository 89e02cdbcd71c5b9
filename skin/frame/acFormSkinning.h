#pragma once
// Automatic form skinning: the handler the default manager's window hook calls
// when a window is activated. It attaches a TsSkinProvider to every form that
// should be skinned and frees them all when the hook goes (the skin is removed).
#include <vector>

#include "forms/Forward.h"
#include "skin/frame/Forward.h"

// Hands the form skinning and the glow windows to the skin runtime, registers the
// driver's window report and gives the program its icon when it has none; the stop
// frees the providers the hook made and takes both seams back (the frame layer's
// engine part, skin/frame/acFrameEngine.h).
void StartFormSkinning();
void StopFormSkinning();

// The providers the hook attached, in attaching order.
const std::vector<TsSkinProvider*>& HookedProviders();
// A provider going away leaves the hook's list.
void ForgetHookedProvider(TsSkinProvider* provider);
// Whether the hook would skin this form (Tag -98, class and SkinningRules).
bool FormWantsSkin(TForm* form);
