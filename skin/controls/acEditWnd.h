#pragma once
// The edit subclass: the platform (here: the framework control) keeps drawing and
// editing the text in the client area; the subclass gives the control its colours
// from the skin section, paints the frame ring from a cached face and draws the
// skinned scroll bars in the non-client area. Memos, list boxes and the data-aware
// edit, memo and lookup list box use it.
#include <string>

#include "platform/gfx/SystemColors.h"
#include "platform/gfx/Types.h"
#include "skin/controls/acScrollWnd.h"

// The common base of the scrolling subclasses (edits, lists, grids, trees).
class TacBaseWnd : public TacScrollWnd {
public:
  using TacScrollWnd::TacScrollWnd;
};

class TacEditWnd : public TacBaseWnd {
public:
  TacEditWnd(HWND window, TsCommonData* skinData, TsSkinManager* manager, const std::string& section = "EDIT",
             bool recalculate = true);
  ~TacEditWnd() override;

  // The control's colours before the subclass changed them (restored at removal).
  TColor SavedColor() const { return SavedColor_; }
  TColor SavedFontColor() const { return SavedFontColor_; }
  // The colour a window without a framework control paints with.
  TColor OwnColor() const { return OwnColor_; }
  // Paint state of the frame: 1 while focused or under the mouse.
  TacPaintState FrameState() const;
  // Rebuilds the frame face into the skin data's cache.
  void RebuildFace();

protected:
  void AcWndProc(TMessage& message) override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  void Initialize() override;
  void AcUninstall() override;
  void PaintNonClient(HDC windowDc) override;

private:
  void ApplyColors();
  TRect ClientInWindow() const;

  TColor SavedColor_ = clWindow;
  TColor SavedFontColor_ = clWindowText;
  TColor OwnColor_ = clWindow;
  bool ColorsSaved_ = false;
};
