#include "skin/runtime/acGlowEffects.h"

namespace {
IacGlowEffects* registeredGlow = nullptr;
}

IacGlowEffects* GlowEffects() { return registeredGlow; }

void SetGlowEffects(IacGlowEffects* effects) { registeredGlow = effects; }

void ReleaseAllGlows() {
  if (registeredGlow) registeredGlow->HideAllGlows();
}
