#pragma once
// The subclass part that takes over a window's scroll bars: the platform reserves
// no room for bars of its own (the style bits are hidden from the frame size
// calculation), the subclass takes the room itself, paints both bars from the skin
// in the non-client paint and runs their mouse interaction (acSBUtils).
#include <memory>

#include "platform/gfx/Types.h"
#include "skin/controls/acMainWnd.h"
#include "skin/controls/acSBUtils.h"

class TacScrollWnd : public TacMainWnd {
public:
  TacScrollWnd(HWND window, TsCommonData* skinData, TsSkinManager* manager, const std::string& section,
               bool recalculate = true);
  ~TacScrollWnd() override;

  TacScrollBar& HBar() { return *HBar_; }
  TacScrollBar& VBar() { return *VBar_; }
  TacScrollBar& Bar(int orientation) { return orientation == SB_VERT ? *VBar_ : *HBar_; }
  // Re-reads both bars' information and, when asked, repaints them (nothing while suspended).
  void RefreshBars(bool repaint);
  // Bar rectangle in screen coordinates (empty when the bar is not visible).
  TRect BarRect(int orientation) const;
  // Paints both bars and the size box into the window's device context.
  void PaintBars(HDC windowDc);
  // Repaints the non-client area now.
  void RepaintFrame();
  // The bar is drawn enabled: the platform says so and the framework control is enabled.
  bool BarDrawnEnabled(int orientation) const;

  // Frame edges found at the last size calculation.
  int EdgeLeft = 0, EdgeTop = 0, EdgeRight = 0, EdgeBottom = 0;
  bool LeftScrollBar = false;
  bool ThumbTracking = false;  // a thumb drag runs
  bool Busy = false;           // the subclass sends a line, page, position or end request
  bool ThumbTrackSending = false;
  bool StyleGuard = false;     // the style is being changed by the size calculation
  bool BackgroundPending = false;  // the bars were painted before the parent knew its background

protected:
  void AcWndProc(TMessage& message) override;
  void ParentPainted() override;
  bool AnswerColor(TMessage& message) override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  void AcUninstall() override;
  void Initialize() override;
  void HookInstalled() override;
  // The non-client paint; TacEditWnd adds the frame.
  virtual void PaintNonClient(HDC windowDc);
  void NcCalcSize(TMessage& message);
  LRESULT NcHitTest(TMessage& message);

private:
  std::unique_ptr<TacScrollBar> HBar_;
  std::unique_ptr<TacScrollBar> VBar_;
  bool Recalculate_ = true;
};
