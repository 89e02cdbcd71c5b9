#pragma once
// A headless desktop with the internal skin announced, a form to put buttons on,
// the virtual clock, and pixel helpers for the skinned-button tests.
#include <gtest/gtest.h>

#include "SkinnedFormTestKit.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Win.h"
#include "skin/internal/InternalSkin.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acParentBg.h"
#include "skin/paint/sFade.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

class ButtonTestBase : public SkinnedFormTestBase {
protected:
  ButtonTestBase() : SkinnedFormTestBase({360, 260}) {}
  // Shows the form and lets every pending paint run.
  void ShowForm() {
    if (Form->IsLoading()) Form->AfterConstruction();  // the end of loading, as for a stored design
    Form->Show();
    Drain();
    UpdateAllWindows();
  }
  template <class T>
  T* Add(int left, int top, int width, int height, TWinControl* parent = nullptr) {
    auto* c = new T(Form);
    c->SetBounds(left, top, width, height);
    c->SetParent(parent ? parent : Form);
    return c;
  }
  // Advances the virtual clock in fade steps.
  void Tick(int steps = 1) {
    for (int i = 0; i < steps; ++i) {
      Backend->Advance(static_cast<int>(kFadeInterval));
      Drain();
    }
  }
  TPoint Screen(TControl* control, int x, int y) const {
    const TPoint origin = control->Parent()->ClientToScreen({control->Left(), control->Top()});
    return {origin.X + x, origin.Y + y};
  }
  // The pixel on screen at a control's client point.
  TColor ScreenPixel(TControl* control, int x, int y) {
    UpdateAllWindows();
    const TPoint p = Screen(control, x, y);
    return Backend->Desktop().Pixel(p.X, p.Y);
  }
  void MoveTo(TControl* control, int x, int y) {
    Backend->MouseMove(Screen(control, x, y));
    Drain();
  }
};

// Face positions of the key-coloured pixels (holes) in the top-left corner slice of a
// border mask drawn over a w x h face in a state.
inline std::vector<TPoint> CornerHoles(const TsSkinManager& manager, int maskIndex, int w, int h, TacPaintState state) {
  std::vector<TPoint> holes;
  if (maskIndex < 0) return holes;
  const TsMaskData& mask = *manager.Mask(maskIndex);
  TacBorderSlices s;
  const TBitmap* picture = MaskPicture(mask);
  if (!picture || !ComputeBorderSlices(mask, {0, 0, w, h}, state, s)) return holes;
  for (int y = 0; y < s.T; ++y)
    for (int x = 0; x < s.L; ++x)
      if (picture->Pixel(s.X0 + x, s.Y0 + y) == kTransparentKey) holes.push_back({x, y});
  return holes;
}

inline int Channel(TColor c, int i) { return static_cast<int>((c >> (8 * i)) & 0xFF); }

// True when every channel of c lies between those of a and b (inclusive, with a slack).
inline bool Between(TColor c, TColor a, TColor b, int slack = 1) {
  for (int i = 0; i < 3; ++i) {
    const int lo = std::min(Channel(a, i), Channel(b, i)) - slack, hi = std::max(Channel(a, i), Channel(b, i)) + slack;
    if (Channel(c, i) < lo || Channel(c, i) > hi) return false;
  }
  return true;
}

inline int ColourDistance(TColor a, TColor b) {
  int d = 0;
  for (int i = 0; i < 3; ++i) d = std::max(d, std::abs(Channel(a, i) - Channel(b, i)));
  return d;
}

// Pixels of a bitmap within tolerance of a colour.
inline int CountNear(const TBitmap& b, TColor color, int tolerance = 8) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (ColourDistance(b.Pixel(x, y), color) <= tolerance) ++n;
  return n;
}
