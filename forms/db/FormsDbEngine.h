#pragma once
// The data-aware controls' engine part: what scripts can read of them and of the
// dataset components.
#include "forms/EngineScope.h"

TEnginePart FormsDbEnginePart();
