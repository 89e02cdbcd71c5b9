#pragma once
// The media layer's engine part: what scripts can read of the document view and
// the video player.
#include "forms/EngineScope.h"

TEnginePart MediaEnginePart();
