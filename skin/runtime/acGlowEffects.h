#pragma once
// The seam to glow windows. The runtime decides when a control's glow shows or goes;
// the glow windows themselves live in the form-skinning layer, which registers an
// implementation. Until one is registered nothing shows and every id stays -1.
#include <string>

#include "platform/gfx/Types.h"
#include "platform/win/WinTypes.h"
#include "skin/runtime/Forward.h"

struct TacGlowRequest {
  TRect ScreenRect;      // the control's rectangle on the screen
  TRect VisibleRect;     // its visible part (screen coordinates)
  HWND TopWindow = nullptr;  // the control's top-level window (or MDI client)
  std::string Section;
  TsSkinManager* Manager = nullptr;
  int Opacity = 255;
  int Margin = 0;
  std::string MaskKey = "GLOW";
};

class IacGlowEffects {
public:
  virtual ~IacGlowEffects() = default;
  // Shows a glow; returns its id, or -1 when none could be made.
  virtual int ShowGlow(const TacGlowRequest& request) = 0;
  virtual void HideGlow(int id) = 0;
  virtual void HideAllGlows() = 0;
};

// The registered glow windows, or null.
IacGlowEffects* GlowEffects();
void SetGlowEffects(IacGlowEffects* effects);
// Releases every glow effect (nothing without glow windows).
void ReleaseAllGlows();
