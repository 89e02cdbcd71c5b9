#pragma once
// The frame layer's engine part: form skinning (a provider for every form the
// default manager's hook activates), the glow windows and the program's icon.
#include <vector>

#include "forms/EngineScope.h"

TEnginePart SkinFrameEnginePart();
// Every part up to the frames', in start order.
std::vector<TEnginePart> SkinFrameEngineParts();
