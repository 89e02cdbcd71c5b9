#pragma once
// The window of an open popup menu: one row per item, the hot row highlighted.
// It never takes the activation; its menu's loop feeds it the keys. Skinned menus
// derive from it and paint the rows their own way.
#include "forms/CustomControl.h"
#include "forms/Forward.h"

class TPopupMenuWindow : public TCustomControl {
public:
  explicit TPopupMenuWindow(TPopupMenu& menu);
  std::string ClassName() const override { return "TPopupMenuWindow"; }

  TPopupMenu& Menu() const { return Menu_; }
  // Sizes itself to the items and shows at the screen point, kept on the screen.
  void ShowAt(int x, int y);
  void CloseWindow();

  // The highlighted item, -1 when none.
  int HotIndex() const { return Hot_; }
  void SetHotIndex(int index);
  // The item at a point of the window's client area, -1 for none or a margin.
  int ItemAt(int x, int y) const;
  TRect ItemRect(int index) const;
  // Arrow keys, Home, End: the next selectable item in that direction, wrapping.
  void MoveHot(int step);
  void MoveHotTo(int index, int step);

  // Rows and margins, in pixels.
  int RowHeight() const;
  int LineHeight() const { return 7; }
  static constexpr int kMargin = 2;
  static constexpr int kTextIndent = 24;

protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void Paint() override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  // The whole face behind the rows, and one row (hot or not) with its caption.
  virtual void PaintBackground(TCanvas& canvas, const TRect& rect);
  virtual void PaintItem(TCanvas& canvas, const TMenuItem& item, const TRect& rect, bool hot);
  virtual void PaintLine(TCanvas& canvas, const TRect& rect);
  // The colours rows are drawn in; a skin answers its own.
  virtual TColor TextColor(const TMenuItem& item, bool hot) const;
  void DrawCaption(TCanvas& canvas, const TMenuItem& item, const TRect& rect, TColor color) const;

private:
  TSize MeasureItems() const;

  TPopupMenu& Menu_;
  int Hot_ = -1;
};
