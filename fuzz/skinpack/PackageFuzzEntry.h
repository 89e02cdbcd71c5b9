#pragma once
// One input for the package reader: parse it, list it, and load it as a stored skin.
// Errors the reader is meant to raise are expected; anything else escapes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/Exception.h"
#include "skin/core/acIniFile.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acSkinModel.h"

inline void FuzzPackageReader(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  try {
    TacSkinConvertor reader;
    reader.OwnSource(std::make_unique<TacMemoryStream>(bytes));
    reader.ParsePackage();
    if (reader.OptionsStream) {
      TacIniFile ini;
      ini.LoadFromCp1251(reader.OptionsStream->View());
      for (const auto& section : ini.SectionNames()) ini.KeyNames(section);
    }
  } catch (const Exception&) {
  }
  try {
    TacMemoryStream source(bytes);
    ReadPackageEntries(source);
  } catch (const Exception&) {
  }
  try {
    TacSkinModel manager;
    manager.SetSkinDirectory("Z:\\no skins here");
    TsStoredSkin& skin = manager.InternalSkins().Add();
    skin.Name = "Fuzz";
    skin.Data = TacMemoryStream(bytes);
    manager.SetSkinName("Fuzz");
  } catch (const Exception&) {
  }
}
