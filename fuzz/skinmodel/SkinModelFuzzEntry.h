#pragma once
// One input for the options-plus-masks loader: the bytes are an options file,
// packed with a small master bitmap and pictures that image values can name.
// Load errors the skin engine raises are expected; anything else escapes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/gfx/ImageFile.h"
#include "skin/core/acMasks.h"
#include "skin/core/acSkinPackWriter.h"
#include "skin/core/acSkinModel.h"

struct TSkinModelFuzzResult {
  bool Loaded = false;
  std::size_t Sections = 0;
  std::size_t Masks = 0;
};

// The pictures' entries, packed once: every input's package is its options entry
// followed by these bytes.
inline const std::vector<std::uint8_t>& SkinModelFuzzPictures() {
  static const std::vector<std::uint8_t> packed = [] {
    TBitmap master(64, 48, TPixelFormat::pf24bit);
    master.Fill(0x3080C0);
    TBitmap glow(12, 10, TPixelFormat::pf32bit);
    glow.Fill(0x2040F0);
    TBitmap photo(20, 10, TPixelFormat::pf24bit);
    photo.Fill(0x808000);
    std::vector<std::uint8_t> bytes;
    AppendPackageEntry(bytes, {"Master.bmp", SaveBmpToMemory(master)}, 0);
    AppendPackageEntry(bytes, {"Glow.png", SavePngToMemory(glow)}, 0);
    AppendPackageEntry(bytes, {"Photo.jpg", SaveJpegToMemory(photo, 80)}, 0);
    return bytes;
  }();
  return packed;
}

inline void TouchModel(TacSkinModel& manager) {
  // Each lookup walks the section's parent chain: touching the first sections
  // covers every path without a skin of a thousand chained sections costing a
  // thousand walks of a thousand steps for every input.
  constexpr std::size_t kTouchedSections = 64;
  for (std::size_t i = 0; i < std::min(manager.Sections().size(), kTouchedSections); ++i) {
    const TsGeneralData& s = manager.Sections()[i];
    manager.InheritedMaskIndexOf(static_cast<int>(i), s.SectionName, "BORDERSMASK");
    manager.TextureIndexOf(static_cast<int>(i), s.SectionName, "PATTERN");
    manager.PatternIndexOf(static_cast<int>(i), s.SectionName, "PATTERN");
  }
  for (int i = 0; TsMaskData* mask = manager.Mask(i); ++i) {
    TsMaskData& m = *mask;
    MaskFrameWidth(m);
    MaskFrameHeight(m);
    MaskLeft(m);
    MaskTop(m);
    MaskRight(m);
    MaskBottom(m);
    MaskCellSize(m);
  }
}

inline TSkinModelFuzzResult FuzzSkinModel(const std::uint8_t* data, std::size_t size) {
  TSkinModelFuzzResult result;
  std::vector<std::uint8_t> package = PackageHeader(4);
  AppendPackageEntry(package, {"Options.dat", std::vector<std::uint8_t>(data, data + size)}, 0);
  package.insert(package.end(), SkinModelFuzzPictures().begin(), SkinModelFuzzPictures().end());
  try {
    TacSkinModel manager;
    // A package is looked for from the root and a folder skin beside the
    // program: looking for either reads one small folder, not whatever folder
    // the fuzzer was started in.
    manager.SetSkinDirectory("\\no skins here");
    manager.SetExtendedBorders(true);
    // Set before the load, so the colours cost no load of their own; a third of
    // the inputs load with the colours as they are.
    if (size % 3) manager.SetSaturation(size % 2 ? 150 : -40);
    TsStoredSkin& skin = manager.InternalSkins().Add();
    skin.Name = "Fuzz";
    skin.Data = TacMemoryStream(std::move(package));
    manager.SetSkinName("Fuzz");
    TouchModel(manager);
    result.Loaded = manager.Active();
    result.Sections = manager.Sections().size();
    result.Masks = manager.Masks().size();
    // A changed hue reloads the whole skin once more: for a quarter of the
    // inputs, which covers the reload without doubling every input's cost.
    if (size % 4 == 0) {
      manager.SetHueOffset(size % 8 ? 77 : -200);
      TouchModel(manager);
    }
  } catch (const Exception&) {
  }
  return result;
}
