#include "skin/paint/acPaintEngine.h"

#include "skin/paint/acParentBg.h"
#include "skin/runtime/acRuntimeEngine.h"
#include "skin/runtime/sCommonData.h"

namespace {
void RefreshAllCorners(TsCommonData& skinData, TacPaintState state) { RefreshCorners(skinData, state, 15); }
}  // namespace

TEnginePart SkinPaintEnginePart() {
  return {"skin/paint", [] { TsCommonData::RefreshCornersHook() = RefreshAllCorners; },
          [] { TsCommonData::RefreshCornersHook() = nullptr; }};
}

std::vector<TEnginePart> SkinPaintEngineParts() {
  std::vector<TEnginePart> parts = SkinRuntimeEngineParts();
  parts.push_back(SkinPaintEnginePart());
  return parts;
}
