#pragma once
// Skins for the image tests: a stored package with an options text and pictures.
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Cp1251.h"
#include "platform/gfx/ImageFile.h"
#include "skin/core/acSkinPackWriter.h"
#include "skin/core/acSkinModel.h"

struct TTestEntry {
  std::string Name;
  std::vector<std::uint8_t> Bytes;
};

inline std::vector<std::uint8_t> TextBytes(const std::string& utf8) {
  const std::string cp = Utf8ToCp1251(utf8);
  return {cp.begin(), cp.end()};
}

// A bitmap filled with one colour, for masters and mask files.
inline TBitmap Plain(int w, int h, TColor color, TPixelFormat format = TPixelFormat::pf24bit) {
  TBitmap b(w, h, format);
  b.Fill(color);
  return b;
}

// A manager whose only (stored) skin is a package of the options and entries.
inline std::unique_ptr<TacSkinModel> ManagerWithPackage(const std::string& options,
                                                         const std::vector<TTestEntry>& images,
                                                         int hue = 0, int saturation = 0) {
  auto manager = std::make_unique<TacSkinModel>();
  manager->SetSkinDirectory("Z:\\no such skins");
  if (hue != 0) manager->SetHueOffset(hue);
  if (saturation != 0) manager->SetSaturation(saturation);
  std::vector<TacPackEntry> entries{{"Options.dat", TextBytes(options)}};
  for (const auto& e : images) entries.push_back({e.Name, e.Bytes});
  TsStoredSkin& skin = manager->InternalSkins().Add();
  skin.Name = "Images";
  skin.Data = TacMemoryStream(WritePackage(entries));
  manager->SetSkinName("Images");
  return manager;
}

inline const TsMaskData* FindMask(const TacSkinModel& m, const std::string& section, const std::string& key) {
  const int i = m.MaskIndexOf(section, key);
  return i < 0 ? nullptr : m.Mask(i);
}
