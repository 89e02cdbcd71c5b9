#include "skin/controls/acButtonLook.h"

#include <algorithm>

void TacButtonLookProperties::SetBlend(int value) { Change(Look_.Blend, std::clamp(value, 0, 100)); }
