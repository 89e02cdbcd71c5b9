#pragma once
// Glow windows: a soft halo around a hot control or caption button, shown as a
// small borderless, click-through, non-activating layered window of its own with
// per-pixel alpha. A process-wide list holds them; a glow's handle is its index
// there, -1 meaning no glow. Glows exist only where the display shows per-pixel
// alpha windows and the manager allows glowing.
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"
#include "platform/win/WinTypes.h"
#include "skin/runtime/Forward.h"

class TacGlowEffect {
public:
  TacGlowEffect(HWND owner, TBitmap image);
  ~TacGlowEffect();
  TacGlowEffect(const TacGlowEffect&) = delete;
  TacGlowEffect& operator=(const TacGlowEffect&) = delete;

  // Places the window with its top-left at `position` and shows it with one
  // layered update at `alpha`, without activating it.
  bool Show(TPoint position, int alpha);
  HWND Window() const { return Window_; }
  HWND Owner() const { return Owner_; }
  const TBitmap& Image() const { return Image_; }

private:
  HWND Window_ = nullptr;
  HWND Owner_ = nullptr;
  TBitmap Image_;  // 32 bits, premultiplied
};

// Shows a glow around `target` (screen coordinates) from the mask `keyName` + "0"
// of `section`; returns its handle or -1 when nothing is shown.
int ShowGlowEffect(const TRect& target, const std::string& section, TsSkinManager* manager, HWND owner, int alpha,
                   int margin, const std::string& keyName, const TRect* visible = nullptr);
void HideGlowEffect(int handle);
void ReleaseAllGlowEffects();
// The live glow of a handle (null for -1, a released slot or a bad handle).
TacGlowEffect* GlowEffect(int handle);
// How many glows are shown now.
int GlowCount();

// Hands the glow windows to the skin runtime, and takes them back after releasing
// every glow (the frame layer's engine part).
void StartGlowWindows();
void StopGlowWindows();
