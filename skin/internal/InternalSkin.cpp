#include "skin/internal/InternalSkin.h"

#include <cstddef>

#include "skin/core/acSkinModel.h"

extern const unsigned char kInternalSkinBytes[];
extern const std::size_t kInternalSkinSize;

const std::vector<unsigned char>& InternalSkinPackage() {
  static const std::vector<unsigned char> bytes(kInternalSkinBytes, kInternalSkinBytes + kInternalSkinSize);
  return bytes;
}

void AddInternalSkin(TacSkinModel& manager) {
  TsStoredSkin& skin = manager.InternalSkins().Add();
  skin.Name = kInternalSkinName;
  skin.Shadow1Color = 0;
  skin.Shadow1Offset = 0;
  skin.Shadow1Transparency = 0;
  const auto& bytes = InternalSkinPackage();
  skin.Data = TacMemoryStream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}
