#pragma once
// The skin carried by the main window: the package of "Lumen", compiled in.
#include <vector>

class TacSkinModel;

// The stored skin's name as the main window's design names it.
inline constexpr const char* kInternalSkinName = "Lumen (внутренний)";

// The bytes of the internal skin package.
const std::vector<unsigned char>& InternalSkinPackage();

// Adds the internal skin to a manager's stored skins, with the values the main
// window's design gives it (shadow colour black, offset and transparency 0).
void AddInternalSkin(TacSkinModel& manager);
