// The skin engine's wiring as the program starts and stops it: every seam filled
// while the scope lives, all of them emptied in reverse when it ends, even with the
// application, the manager and a skinned window still alive (as when a program's
// statics outlive main), and nothing of the stopped engine reached afterwards.
#include "AdapterTestKit.h"

#include "forms/Button.h"
#include "forms/DriverProperties.h"
#include "forms/ScriptDriver.h"
#include "skin/frame/acFormSkinning.h"
#include "skin/runtime/acFormRegistry.h"
#include "skin/runtime/acGlowEffects.h"
#include "skin/runtime/sCommonData.h"

namespace {

class EngineTest : public AdapterTestBase {};

TEST_F(EngineTest, EverySeamIsFilledWhileTheEngineRuns) {
  TForm* form = MakeForm([](TForm* f) {
    auto* button = new TButton(f);
    button->SetParent(f);
    button->SetBounds(20, 20, 90, 26);
  });
  EXPECT_NE(FormSkinningHook(), nullptr);
  EXPECT_NE(GlowEffects(), nullptr);
  EXPECT_NE(TsCommonData::RefreshCornersHook(), nullptr);
  EXPECT_TRUE(static_cast<bool>(TScriptDriver::SkinInfo()));
  TsSkinProvider* provider = TsSkinProvider::Of(form);
  ASSERT_NE(provider, nullptr);
  EXPECT_NE(MakeCtrlAdapter(*provider), nullptr);
  EXPECT_EQ(TDriverProperties::Read(*form, "FrameSkinned").value_or(""), "true");
  EXPECT_EQ(TDriverProperties::Read(*Manager, "Active").value_or(""), "true");
  for (const char* part : {"forms", "forms/db", "skin/runtime", "skin/paint", "skin/frame", "skin/controls"})
    EXPECT_TRUE(TEngineScope::Running(part)) << part;
}

TEST_F(EngineTest, StoppingBeforeTheWindowsEmptiesEverySeamAndLeavesTheWindowsWhole) {
  TForm* form = MakeForm([](TForm* f) {
    auto* button = new TButton(f);
    button->SetParent(f);
    button->SetBounds(20, 20, 90, 26);
  });
  ASSERT_NE(TsSkinProvider::Of(form), nullptr);
  Engine.reset();
  EXPECT_EQ(FormSkinningHook(), nullptr);
  EXPECT_EQ(GlowEffects(), nullptr);
  EXPECT_EQ(TsCommonData::RefreshCornersHook(), nullptr);
  EXPECT_FALSE(static_cast<bool>(TScriptDriver::SkinInfo()));
  EXPECT_TRUE(HookedProviders().empty());
  EXPECT_EQ(TsSkinProvider::Of(form), nullptr);
  EXPECT_FALSE(TDriverProperties::Read(*form, "Caption").has_value());
  // The window still works without the engine: it repaints and closes.
  form->SetCaption("Без оформления");
  Settle();
  UpdateAllWindows();
  form->Close();
  Settle();
  // The manager and the application go after the engine (the fixture's teardown).
}

TEST_F(EngineTest, ARestartedEngineSkinsNewWindowsAgain) {
  Engine.reset();
  Manager.reset();
  Engine = std::make_unique<TEngineScope>(SkinEngineParts());
  AnnounceMainWindowSkin();
  TForm* form = MakeForm(nullptr);
  ASSERT_NE(TsSkinProvider::Of(form), nullptr);
  EXPECT_EQ(TDriverProperties::Read(*form, "FrameSkinned").value_or(""), "true");
  EXPECT_EQ(HookedProviders().size(), 1u);
}

}  // namespace
