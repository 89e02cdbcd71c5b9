#pragma once
// What TsButton and TsBitBtn publish beyond the shared look: the focus rectangle,
// the permanent press and the state tests and scripts read. Both keep it in their
// shared logic, which this block owns; the button creates the logic in its
// constructor and frees it first in its destructor.
#include <memory>

#include "skin/controls/Forward.h"
#include "skin/paint/Forward.h"
#include "skin/runtime/acPaintState.h"

class TacPushButtonProperties {
public:
  virtual ~TacPushButtonProperties();

  bool ShowFocus() const;
  void SetShowFocus(bool value);
  int FocusMargin() const;
  void SetFocusMargin(int value);
  // Shows the pressed face permanently.
  bool Down() const;
  void SetDown(bool value);
  // The face shown now (normal, hot, pressed).
  TacPaintState PaintState() const;
  // How many times the face was rebuilt.
  int RenderCount() const;
  TsFadeTimer* FadeTimer() const;

protected:
  TacPushButtonProperties();

  std::unique_ptr<TacButtonLogic> Logic_;
};
