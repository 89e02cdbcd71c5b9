#pragma once
// The push-button subclass: the button's whole face comes from the skin section
// ("BUTTON") over what lies behind it, with the caption in the section's font
// colours; it is rebuilt on every paint and copied in one block.
#include <string>

#include "platform/gfx/GdiObject.h"
#include "skin/controls/acMainWnd.h"

class TacBtnWnd : public TacMainWnd {
public:
  TacBtnWnd(HWND window, TsCommonData* skinData, TsSkinManager* manager, const std::string& section = "BUTTON");
  ~TacBtnWnd() override;

  // 0 normal, 1 hot (focused, hovered or the default button), 2 pushed.
  TacPaintState PaintState() const;
  // The mouse is over the button as the manager tracks it.
  bool Hovered() const { return Hovered_; }
  // Rebuilds the face into the skin data's cache.
  void RebuildFace();
  // How many times the face was rebuilt.
  int RenderCount() const { return RenderCount_; }

protected:
  void AcWndProc(TMessage& message) override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  void AcUninstall() override;
  void RepaintAll() override;

private:
  bool Pushed() const;
  bool IsDefault() const;
  bool CursorInside() const;
  void PaintWindow(HDC dc);
  // Runs the previous handler with window redrawing switched off, then repaints.
  void Quietly(TMessage& message);

  bool Hovered_ = false;
  int RenderCount_ = 0;
};

// Bit buttons take the push-button subclass; their glyph is left to the platform.
class TacBitBtnWnd : public TacBtnWnd {
public:
  using TacBtnWnd::TacBtnWnd;
};
