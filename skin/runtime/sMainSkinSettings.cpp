// The stored values of the main window's skin manager, and the "/acver" switch.
#include <cctype>
#include <cstdio>
#include <exception>

#include "skin/internal/InternalSkin.h"
#include "skin/core/acSkinSource.h"
#include "skin/runtime/sSkinManager.h"

namespace {

constexpr const char* kStoredSkinName = "TheFrog";

// Where the named skin came from: its package, else its folder.
std::string SkinSourceText(const TsSkinManager& manager) {
  if (SkinFileExists(manager.PackagePath())) return manager.PackagePath();
  return manager.ResolvedSkinDirectory() + "\\" + manager.SkinName();
}

}  // namespace

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
  // A broken skin on disk must not stop the textbook: it starts with the internal
  // skin and says once which skin failed and why.
  try {
    manager.SetSkinName(kStoredSkinName);
  } catch (const std::exception& e) {
    const std::string text = "Не удалось загрузить скин «" + std::string(kStoredSkinName) + "» (" + SkinSourceText(manager) +
                             "): " + e.what() + "\nИспользуется внутренний скин «" + kInternalSkinName + "».";
    std::fprintf(stderr, "%s\n", text.c_str());
    if (TsSkinManager::InfoMessageBox()) TsSkinManager::InfoMessageBox()(text);
    manager.SetSkinName(kInternalSkinName);
  }
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
