#pragma once
// A headless desktop, a skin manager with a stored skin and a windowed button that
// fades: it rebuilds its face through the painter on command 23, records each frame
// it is handed (command 24) and ends the fade on command 16.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/Application.h"
#include "forms/CustomControl.h"
#include "forms/Form.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/base/Cp1251.h"
#include "platform/win/Win.h"
#include "skin/core/acSkinPackWriter.h"
#include "skin/paint/acPaintEngine.h"
#include "skin/paint/acParentBg.h"
#include "skin/paint/sFade.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"
#include "tests/support/SkinTestDesktop.h"

class TFadeButton : public TCustomControl, public IacSkinnedControl {
public:
  explicit TFadeButton(TComponent* owner) : TCustomControl(owner), Data(this, true) { Data.SetControlKind(TacControlKind::Button); }
  ~TFadeButton() override { EndFade(Fade, Data); }
  std::string ClassName() const override { return "TFadeButton"; }
  TsCommonData* SkinData() override { return &Data; }

  void Enter() { Change(1, false, aeMouseEnter, true); }
  void Leave() { Change(0, false, aeMouseLeave, false); }
  void Down() { Change(2, true, aeMouseDown, true); }
  void Up() { Change(1, true, aeMouseUp, true); }

  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD) {
      switch (CommandOf(message.WParam)) {
        case AC_PREPARING:
          RebuildFace();
          return;
        case AC_SCROLLS:
          Frames.push_back(*reinterpret_cast<TBitmap*>(message.LParam));
          message.Result = 1;
          return;
        case AC_STOPFADING:
          ++Stops;
          EndFade(Fade, Data);
          return;
        case AC_SETNEWSKIN: case AC_REMOVESKIN: case AC_REFRESH: case AC_GETPROVIDER:
        case AC_SETCHANGEDIFNECESSARY: case AC_PARENTPAINTED: case AC_CTRLHANDLED: case AC_SETSUSPENDED:
        case AC_LOCKBACKGROUND: case AC_ISSUSPENDED: case AC_GETPARENTCHANGED: case AC_SECTIONCHANGED:
        case AC_MENUS: case AC_SETDIRTY: case AC_REPAINT: case AC_GETBGCHANGED: case AC_PARENTMOVED:
        case AC_GETCOLOR: case AC_SETPARENTCHANGED: case AC_CONTROLLOADED: case AC_GETSKININDEX:
        case AC_ADAPTERQUERY: case AC_MOUSEENTER: case AC_MOUSELEAVE: case AC_SUSPENDED: case AC_RESUMED:
        case AC_GETCACHE: case AC_SCROLLBARS: case AC_UPDATEOPACITY: case AC_ADAPTER51: case AC_ADAPTER52:
        case AC_GETAPPLICATION: case AC_GETCLIENTOFFSET:
        default:
          if (Data.HandleCommand(message)) return;
      }
    }
    TCustomControl::WndProc(message);
  }
  void RebuildFace() {
    Data.EnsureCache();
    PaintSectionForControl(Data, Parent(), true, static_cast<TacPaintState>(State), {0, 0, Width(), Height()}, {Left(), Top()},
                           Data.Cache(), false);
    Data.SetDirty(false);
    ++FacesBuilt;
  }

  TsCommonData Data;
  TsFadeTimer* Fade = nullptr;
  TacAnimatEvents Events{aeGlobalDef};
  int State = 0;
  std::vector<TBitmap> Frames;
  int Stops = 0;
  int FacesBuilt = 0;

private:
  void Change(int state, bool half, TacAnimatEvent event, bool above) {
    State = state;
    Data.SetMouseAbove(above);
    FadeOrRepaint(Fade, Data, half, 1, AnimationWanted(event, Events));
  }
};

inline std::vector<std::uint8_t> Cp1251Bytes(const std::string& utf8) {
  const std::string cp = Utf8ToCp1251(utf8);
  return {cp.begin(), cp.end()};
}

class FadeTest : public ::testing::Test, protected TSkinTestDesktop {
protected:
  void SetUp() override { OpenDesktop(SkinPaintEngineParts(), {800, 600}); }
  void TearDown() override {
    Form = nullptr;
    CloseDesktop();
  }
  // A manager whose skin has the BUTTON section of the text; a form with one button.
  TFadeButton* Build(const std::string& buttonKeys) {
    MakeBareManager();
    const std::string options =
        "[GLOBALINFO]\nVERSION=6.4\n[BUTTON]\nCOLOR=255\nHOTCOLOR=65280\n" + buttonKeys + "\n";
    TsStoredSkin& skin = Manager->InternalSkins().Add();
    skin.Name = "Fades";
    skin.Data = TacMemoryStream(WritePackage({{"Options.dat", Cp1251Bytes(options)}}));
    Manager->SetSkinName("Fades");
    Form = new TForm(App.get());
    Form->SetBounds(10, 10, 300, 200);
    auto* button = new TFadeButton(Form);
    button->SetBounds(20, 30, 40, 20);
    button->SetParent(Form);
    button->Data.SetSkinSection("BUTTON");
    Form->AfterConstruction();  // the end of loading, as for a stored design
    Form->Show();
    ProcessPendingMessages();
    button->RebuildFace();
    return button;
  }
  void Tick(int times) {
    for (int i = 0; i < times; ++i) Backend->Advance(static_cast<int>(kFadeInterval));
  }

  TForm* Form = nullptr;
};
