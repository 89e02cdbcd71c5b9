#pragma once
// Every engine part the textbook uses, in start order: the skin engine's and the
// media layer's. main holds a scope over them for the program's whole run, and
// tests that build the program's windows do the same.
#include <vector>

#include "forms/EngineScope.h"

std::vector<TEnginePart> TextbookEngineParts();
