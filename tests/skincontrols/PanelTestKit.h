#pragma once
// A headless desktop with the internal skin, a form to build containers on and
// helpers to read what the containers painted.
#include <gtest/gtest.h>

#include "SkinnedFormTestKit.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Win.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/internal/InternalSkin.h"
#include "skin/paint/acParentBg.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

class PanelTestBase : public SkinnedFormTestBase {
protected:
  PanelTestBase() : SkinnedFormTestBase({420, 300}) {}
  void ShowForm() {
    Form->Show();
    Drain();
    UpdateAllWindows();
  }
  template <class T>
  T* Add(TWinControl* parent, int left, int top, int width, int height) {
    auto* c = new T(Form);
    c->SetBounds(left, top, width, height);
    c->SetParent(parent);
    return c;
  }
  // The pixel of the form's window image at a control's client point.
  TColor FormPixel(TControl* control, int x, int y) {
    UpdateAllWindows();
    const TPoint screen = control->ClientToScreen({x, y});
    TRect window;
    GetWindowRect(Form->Handle(), &window);
    const TBitmap* image = WindowImage(Form->Handle());
    return image ? image->Pixel(screen.X - window.Left, screen.Y - window.Top) : clFuchsia;
  }
  const TsGeneralData& Section(const char* name) const {
    return *Manager->Section(Manager->SectionIndexOf(name));
  }
};

inline int PanelChannel(TColor c, int i) { return static_cast<int>((c >> (8 * i)) & 0xFF); }
