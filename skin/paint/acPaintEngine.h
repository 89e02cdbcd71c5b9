#pragma once
// The section painter's engine part: the corner refresh the skin data calls when it
// copies a cached face over a parent that changed.
#include <vector>

#include "forms/EngineScope.h"

TEnginePart SkinPaintEnginePart();
// Every part up to the painter's, in start order.
std::vector<TEnginePart> SkinPaintEngineParts();
