#include "skin/runtime/acRuntimeEngine.h"

#include "skin/runtime/sCommonData.h"

TEnginePart SkinRuntimeEnginePart() { return {"skin/runtime", RegisterSkinInfoForDriver, UnregisterSkinInfoForDriver}; }

std::vector<TEnginePart> SkinRuntimeEngineParts() { return {FormsEnginePart(), SkinRuntimeEnginePart()}; }
