#pragma once
// A headless desktop with the internal skin announced and a form to put skinned
// controls on; the button and the container tests build on it.
#include <gtest/gtest.h>

#include <memory>

#include "forms/Form.h"
#include "platform/win/Win.h"
#include "forms/db/FormsDbEngine.h"
#include "skin/controls/acSkinEngine.h"
#include "skin/internal/InternalSkin.h"
#include "skin/paint/acPaintEngine.h"
#include "tests/support/SkinTestDesktop.h"

// The skinned controls without form skinning: forms keep their plain frames.
inline std::vector<TEnginePart> UnframedSkinParts() {
  std::vector<TEnginePart> parts = SkinPaintEngineParts();
  parts.push_back(FormsDbEnginePart());
  parts.push_back(SkinControlsEnginePart());
  return parts;
}

class SkinnedFormTestBase : public ::testing::Test, protected TSkinTestDesktop {
protected:
  explicit SkinnedFormTestBase(TSize formSize) : FormSize_(formSize) {}
  void SetUp() override {
    OpenDesktop(UnframedSkinParts(), {800, 600});
    MakeBareManager();
    AddInternalSkin(*Manager);
    Manager->SetSkinName(kInternalSkinName);
    Form = new TForm(App.get());
    Form->SetBounds(40, 40, FormSize_.cx, FormSize_.cy);
    Form->SetColor(0x00C0E0F0);
  }
  void TearDown() override {
    Form = nullptr;
    CloseDesktop();
  }
  static void Drain() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }

  TForm* Form = nullptr;

private:
  TSize FormSize_;
};
