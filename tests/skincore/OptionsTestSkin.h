#pragma once
// Builds managers whose skin is a stored package holding only the given options text.
#include <memory>
#include <string>

#include "platform/base/Cp1251.h"
#include "skin/core/acSkinPackWriter.h"
#include "skin/core/acSkinModel.h"

inline std::unique_ptr<TacSkinModel> ManagerWithOptions(const std::string& optionsUtf8,
                                                         const std::vector<std::string>& commonSections = {}) {
  auto manager = std::make_unique<TacSkinModel>();
  manager->SetSkinDirectory("Z:\\no such skins");
  TsStoredSkin& skin = manager->InternalSkins().Add();
  skin.Name = "Test";
  const std::string cp1251 = Utf8ToCp1251(optionsUtf8);
  skin.Data = TacMemoryStream(WritePackage({{"Options.dat", std::vector<std::uint8_t>(cp1251.begin(), cp1251.end())}}));
  if (!commonSections.empty()) manager->SetCommonSections(commonSections);
  manager->SetSkinName("Test");
  return manager;
}

inline const TsGeneralData& Section(const TacSkinModel& manager, const std::string& name) {
  static const TsGeneralData kMissing;
  const int index = manager.SectionIndexOf(name);
  return index < 0 ? kMissing : *manager.Section(index);
}
