#pragma once
// The skin runtime's engine part: the driver's skin report (section and index of
// every control) and its SkinSection/SkinIndex properties. The seams the layers
// above fill (form skinning, glow windows, corner refresh, adapter factory) are
// filled and emptied by their own parts.
#include <vector>

#include "forms/EngineScope.h"

TEnginePart SkinRuntimeEnginePart();
// The framework's and the runtime's parts, in start order.
std::vector<TEnginePart> SkinRuntimeEngineParts();
