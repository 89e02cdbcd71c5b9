#pragma once
// The test desktop with a skin manager: the main window's manager (the internal
// skin, announced) or one that finds no skin on disk, for tests that add their own.
#include <memory>
#include <string>

#include "skin/runtime/sSkinManager.h"
#include "tests/support/TestDesktop.h"

class TSkinTestDesktop : public TTestDesktop {
protected:
  // The main window's manager with its skin announced to every form.
  void AnnounceMainWindowSkin() {
    Manager = std::make_unique<TsSkinManager>(nullptr);
    ApplyMainWindowSkinSettings(*Manager);
    Manager->NotifyNewSkin(false);
  }
  // A manager with no skin folder on disk; the test adds and chooses its skin.
  void MakeBareManager() {
    Manager = std::make_unique<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory("Z:\\no such skins");
  }
  // The manager goes first, announcing the skin's removal to forms still there.
  void CloseDesktop() {
    Manager.reset();
    TTestDesktop::CloseDesktop();
  }

  std::unique_ptr<TsSkinManager> Manager;
};
