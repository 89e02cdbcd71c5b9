#pragma once
// A headless desktop with the main window's skin manager (the internal skin), the
// form skinning and the standard-control adapter registered, the virtual clock,
// and a spy that records the scroll requests a window receives.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "forms/Form.h"
#include "forms/Memo.h"
#include "platform/win/Win.h"
#include "skin/controls/acCtrlAdapter.h"
#include "skin/controls/acEditWnd.h"
#include "skin/controls/acSkinEngine.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/runtime/acCommands.h"
#include "tests/skincontrols/SkinnedFormTestKit.h"

class AdapterTestBase : public ::testing::Test, protected TSkinTestDesktop {
protected:
  void SetUp() override {
    OpenDesktop(WithFormSkinning ? SkinEngineParts() : UnframedSkinParts());
    AnnounceMainWindowSkin();
  }
  void TearDown() override { CloseDesktop(); }
  // Runs what is due now: posted messages, paints and timers.
  void Settle() { Backend->Advance(0); }
  void Wait(int ms) { Backend->Advance(ms); }

  TForm* MakeForm(const std::function<void(TForm*)>& build, TRect bounds = Bounds(100, 80, 420, 320)) {
    auto* form = new TForm(App.get());
    form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    form->SetCaption("Окно");
    form->SetColor(0x00D8E8F0);
    if (build) build(form);
    form->AfterConstruction();
    form->Show();
    Settle();
    return form;
  }

  bool WithFormSkinning = true;
};

// Records WM_VSCROLL / WM_HSCROLL requests behind whatever stands in front of the
// control's own handling.
struct TScrollSpy {
  struct TRequest {
    UINT Msg;
    int Code;
    int Pos;
    std::uint64_t Time;
    LPARAM LParam;
  };
  std::vector<TRequest> Requests;
  bool Answer51 = false;  // answer skin command 51 with 1 (positions travel whole in LParam)

  void Attach(TControl* control) {
    auto old = control->WindowProc;
    control->WindowProc = [this, old](TMessage& m) {
      if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL)
        Requests.push_back({m.Msg, static_cast<int>(LOWORD(m.WParam)), static_cast<int>(HIWORD(m.WParam)),
                            GetTickCount(), m.LParam});
      if (m.Msg == SM_ALPHACMD && (m.WParam >> 16) == 51 && Answer51) {
        m.Result = 1;
        return;
      }
      old(m);
    };
  }
  int Count(int code) const {
    int n = 0;
    for (const TRequest& r : Requests) n += r.Code == code ? 1 : 0;
    return n;
  }
};

inline int Channel(TColor c, int i) { return static_cast<int>((c >> (8 * i)) & 0xFF); }
