#include "skin/frame/acFrameEngine.h"

#include "skin/frame/acFormSkinning.h"
#include "skin/paint/acPaintEngine.h"

TEnginePart SkinFrameEnginePart() { return {"skin/frame", StartFormSkinning, StopFormSkinning}; }

std::vector<TEnginePart> SkinFrameEngineParts() {
  std::vector<TEnginePart> parts = SkinPaintEngineParts();
  parts.push_back(SkinFrameEnginePart());
  return parts;
}
