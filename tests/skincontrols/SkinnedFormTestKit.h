#pragma once
// A headless desktop with the internal skin announced and a form to put skinned
// controls on; the button and the container tests build on it.
#include <gtest/gtest.h>

#include <memory>

#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Win.h"
#include "skin/internal/InternalSkin.h"
#include "skin/paint/acParentBg.h"
#include "skin/runtime/sSkinManager.h"

class SkinnedFormTestBase : public ::testing::Test {
protected:
  explicit SkinnedFormTestBase(TSize formSize) : FormSize_(formSize) {}
  void SetUp() override {
    Backend = std::make_unique<THeadlessBackend>(TSize{800, 600});
    Backend->Install();
    App = std::make_unique<TApplication>();
    RegisterPainterHooks();
    Manager = std::make_unique<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory("Z:\\no such skins");
    AddInternalSkin(*Manager);
    Manager->SetSkinName(kInternalSkinName);
    Form = new TForm(App.get());
    Form->SetBounds(40, 40, FormSize_.cx, FormSize_.cy);
    Form->SetColor(0x00C0E0F0);
  }
  void TearDown() override {
    Form = nullptr;
    App.reset();
    Manager.reset();
    Drain();
    Backend.reset();
  }
  static void Drain() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }

  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TsSkinManager> Manager;
  TForm* Form = nullptr;

private:
  TSize FormSize_;
};
