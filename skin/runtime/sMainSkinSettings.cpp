// The stored values of the main window's skin manager, and the "/acver" switch.
#include <cctype>

#include "skin/internal/InternalSkin.h"
#include "skin/runtime/sSkinManager.h"

void ApplyMainWindowSkinSettings(TsSkinManager& manager) {
  // Stored values are applied while the manager is read; a manager made outside a
  // window being read is read here.
  const bool ownReading = !manager.IsLoading();
  if (ownReading) manager.BeginLoading();
  AddInternalSkin(manager);
  manager.MenuSupport().IcoLineSkin = "ICOLINE";
  manager.MenuSupport().ExtraLineFont.SetName("MS Sans Serif");
  manager.MenuSupport().ExtraLineFont.SetHeight(-11);
  manager.SetSkinDirectory("C:\\Tessaly\\Skins");
  manager.SetSkinName("TheFrog");
  manager.SetSkinInfo("6.4");  // stored, and ignored on reading
  for (int i = 0; i < kThirdPartyCount; ++i) manager.ThirdParty().SetText(i, TacThirdPartyList::DefaultText(i));
  if (ownReading) manager.Loaded();
}

bool CheckVersionSwitch(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i] ? argv[i] : "";
    for (char& c : arg) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (arg == "/acver") {
      if (TsSkinManager::InfoMessageBox()) TsSkinManager::InfoMessageBox()(std::string("Skin engine v") + kSkinEngineVersion);
      return true;
    }
  }
  return false;
}
