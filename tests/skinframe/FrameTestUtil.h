#pragma once
// A headless desktop, an application, the main window's skin manager (the internal
// skin) and the form skinning for each frame test.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Form.h"
#include "platform/win/Win.h"
#include "skin/frame/acFormSkinning.h"
#include "skin/frame/acFrameEngine.h"
#include "skin/frame/acGlowEffect.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/runtime/sSkinManager.h"
#include "tests/support/SkinTestDesktop.h"

class FrameTest : public ::testing::Test, protected TSkinTestDesktop {
public:
  // A window point of the form on the screen.
  static TPoint Screen(TForm* form, TPoint windowPoint) {
    TRect r;
    GetWindowRect(form->Handle(), &r);
    return {r.Left + windowPoint.X, r.Top + windowPoint.Y};
  }

protected:
  void SetUp() override {
    OpenDesktop(SkinFrameEngineParts());
    AnnounceMainWindowSkin();
  }
  void TearDown() override { CloseDesktop(); }
  static void Drain() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
  }
  // Runs what is due: posted messages, paints and timers at the current time.
  void Settle() { Backend->Advance(0); }

  // A form built like the program's windows, shown and activated.
  TForm* ShowForm(const std::function<void(TForm*)>& build = {}, TRect bounds = Bounds(100, 80, 400, 300)) {
    auto* form = new TForm(App.get());
    form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    form->SetCaption("Окно");
    if (build) build(form);
    form->AfterConstruction();
    form->Show();
    Settle();
    return form;
  }
  static TsSkinProvider* ProviderOf(TForm* form) { return TsSkinProvider::Of(form); }
  static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  static TColor ImagePixel(TForm* form, TPoint p) {
    const TBitmap* image = WindowImage(form->Handle());
    return image ? image->Pixel(p.X, p.Y) : clFuchsia;
  }

};
