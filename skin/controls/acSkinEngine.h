#pragma once
// The whole skin engine's wiring, started and stopped in one order: the framework,
// the data-aware controls, the skin runtime, the painter, the frames, and the
// skinned controls (adapter factory, driver reports and properties). The program,
// the tests and the benchmarks hold a TEngineScope over these parts.
#include <vector>

#include "forms/EngineScope.h"

TEnginePart SkinControlsEnginePart();
// Every part of the skin engine, in start order.
std::vector<TEnginePart> SkinEngineParts();
