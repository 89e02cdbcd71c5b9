#pragma once
// A headless desktop, an application object and a captured message box for each
// runtime test, with skins built from options text as stored packages.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/base/Cp1251.h"
#include "platform/gfx/ImageFile.h"
#include "platform/win/Win.h"
#include "skin/core/acSkinPackWriter.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acRuntimeEngine.h"
#include "skin/runtime/sSkinManager.h"
#include "tests/skinruntime/RuntimeTestControls.h"
#include "tests/support/TestDesktop.h"

struct TSkinEntry {
  std::string Name;
  std::vector<std::uint8_t> Bytes;
};

inline std::vector<std::uint8_t> OptionsBytes(const std::string& utf8) {
  const std::string cp = Utf8ToCp1251(utf8);
  return {cp.begin(), cp.end()};
}

inline std::vector<std::uint8_t> BmpBytes(int w, int h, TColor color) {
  TBitmap b(w, h, TPixelFormat::pf24bit);
  b.Fill(color);
  return SaveBmpToMemory(b);
}

// Adds a stored skin made of an options text and pictures to a manager.
inline void AddStoredSkin(TsSkinManager& manager, const std::string& name, const std::string& options,
                          const std::vector<TSkinEntry>& images = {}) {
  std::vector<TacPackEntry> entries{{"Options.dat", OptionsBytes(options)}};
  for (const auto& e : images) entries.push_back({e.Name, e.Bytes});
  TsStoredSkin& skin = manager.InternalSkins().Add();
  skin.Name = name;
  skin.Data = TacMemoryStream(WritePackage(entries));
}

// A small skin whose sections the colour and background tests need.
inline const char* kColourSkin = R"([GLOBALINFO]
VERSION=6.4
COLOR=12632256
FONTCOLOR=255
HOTCOLOR=65280
[PANEL]
COLOR=16777215
TRANSPARENCY=0
[SEETHROUGH]
COLOR=0
TRANSPARENCY=20
[GROUPBOX]
TRANSPARENCY=100
COLOR=255
[GRADIENT]
COLOR=255
GRADIENTPERCENT=60
GRADIENTDATA=255;16711680;100;1;0
[EDIT]
COLOR=16777215
FONTCOLOR=128
HOTFONTCOLOR=32768
[MENUITEM]
HOTCOLOR=8421376
HOTFONTCOLOR=65535
[SPEEDBUTTON]
COLOR=8421504
HOTCOLOR=12632256
TRANSPARENCY=0
)";

class SkinRuntimeTest : public ::testing::Test, protected TTestDesktop {
protected:
  void SetUp() override {
    OpenDesktop(SkinRuntimeEngineParts());
    SavedBox = TsSkinManager::InfoMessageBox();
    TsSkinManager::InfoMessageBox() = [this](const std::string& text) { Messages.push_back(text); };
  }
  void TearDown() override {
    TacBroadcast::Observer() = nullptr;
    Managers.clear();
    TsSkinManager::InfoMessageBox() = SavedBox;
    CloseDesktop();
  }
  static void Drain() { DropPending(); }
  // A manager that finds no skin on disk; destroyed before the application.
  TsSkinManager* NewManager() {
    Managers.push_back(std::make_unique<TsSkinManager>(nullptr));
    Managers.back()->SetSkinDirectory("Z:\\no such skins");
    return Managers.back().get();
  }
  // A manager showing the stored colour skin.
  TsSkinManager* NewColourManager() {
    TsSkinManager* manager = NewManager();
    AddStoredSkin(*manager, "Colours", kColourSkin);
    manager->SetSkinName("Colours");
    return manager;
  }
  // A form built as a stored design would be: created loading, then Loaded.
  TForm* NewForm(const std::function<void(TForm*)>& build = {}) {
    auto* form = new TForm(App.get());
    form->SetBounds(10, 10, 400, 300);
    if (build) build(form);
    form->AfterConstruction();
    return form;
  }

  std::vector<std::unique_ptr<TsSkinManager>> Managers;
  std::vector<std::string> Messages;
  std::function<void(const std::string&)> SavedBox;
};

