#include "forms/PopupMenuWindow.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "forms/Menus.h"
#include "platform/gfx/SystemColors.h"
#include "platform/win/Win.h"

namespace {
constexpr unsigned kCaptionFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
}

TPopupMenuWindow::TPopupMenuWindow(TPopupMenu& menu) : TCustomControl(nullptr), Menu_(menu) {
  SetColor(clMenu);
  Font().SetColor(clMenuText);
  SetVisibleFlag(false);
}

void TPopupMenuWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style = WS_POPUP;
  params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  params.WndParent = nullptr;
}

int TPopupMenuWindow::RowHeight() const {
  TCanvas measure;
  measure.Font().Assign(const_cast<TPopupMenuWindow*>(this)->Font());
  return std::max(measure.TextHeight("Ag") + 6, 19);
}

TSize TPopupMenuWindow::MeasureItems() const {
  TCanvas measure;
  measure.Font().Assign(const_cast<TPopupMenuWindow*>(this)->Font());
  int width = 0, height = 0;
  const int row = RowHeight();
  for (int i = 0; i < Menu_.Count(); ++i) {
    const TMenuItem& item = Menu_.Items(i);
    if (item.IsLine()) {
      height += LineHeight();
      continue;
    }
    width = std::max(width, measure.TextWidth(MenuCaptionText(item.Caption())));
    height += row;
  }
  return {std::max(width + kTextIndent * 2, 120) + kMargin * 2, height + kMargin * 2};
}

TRect TPopupMenuWindow::ItemRect(int index) const {
  const int row = RowHeight();
  int top = kMargin;
  for (int i = 0; i < Menu_.Count(); ++i) {
    const int h = Menu_.Items(i).IsLine() ? LineHeight() : row;
    if (i == index) return {kMargin, top, Width() - kMargin, top + h};
    top += h;
  }
  return {};
}

int TPopupMenuWindow::ItemAt(int x, int y) const {
  for (int i = 0; i < Menu_.Count(); ++i)
    if (ItemRect(i).Contains({x, y})) return Menu_.Items(i).IsLine() ? -1 : i;
  return -1;
}

void TPopupMenuWindow::ShowAt(int x, int y) {
  const TSize size = MeasureItems();
  // A menu that would leave the screen opens to the other side of the point.
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  if (x + size.cx > screenW) x = std::max(0, x - size.cx);
  if (y + size.cy > screenH) y = std::max(0, y - size.cy);
  SetBounds(x, y, size.cx, size.cy);
  SetWindowPos(Handle(), HWND_TOPMOST, x, y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Invalidate();
}

void TPopupMenuWindow::CloseWindow() {
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

void TPopupMenuWindow::SetHotIndex(int index) {
  if (index != -1 && (index < 0 || index >= Menu_.Count() || Menu_.Items(index).IsLine())) index = -1;
  if (index == Hot_) return;
  Hot_ = index;
  Invalidate();
}

void TPopupMenuWindow::MoveHotTo(int index, int step) {
  const int count = Menu_.Count();
  for (int tries = 0; tries < count; ++tries) {
    const int i = ((index + step * tries) % count + count) % count;
    if (Menu_.Items(i).Selectable()) {
      SetHotIndex(i);
      return;
    }
  }
}

void TPopupMenuWindow::MoveHot(int step) {
  const int start = Hot_ < 0 ? (step > 0 ? 0 : Menu_.Count() - 1) : Hot_ + step;
  MoveHotTo(start, step);
}

void TPopupMenuWindow::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  const int index = ItemAt(x, y);
  SetHotIndex(index >= 0 && Menu_.Items(index).Selectable() ? index : -1);
}

void TPopupMenuWindow::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  Menu_.Choose(ItemAt(x, y));
}

void TPopupMenuWindow::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEACTIVATE:
      message.Result = MA_NOACTIVATE;
      return;
    case WM_ACTIVATEAPP:
      // Another program took the keyboard: the menu goes, as the desktop's own do.
      if (message.WParam == 0) Menu_.CloseMenu();
      break;
    case WM_CANCELMODE:
      Menu_.CloseMenu();
      break;
    default:
      break;
  }
  TCustomControl::WndProc(message);
}

TColor TPopupMenuWindow::TextColor(const TMenuItem& item, bool hot) const {
  if (!item.Enabled()) return clGrayText;
  return hot ? clHighlightText : clMenuText;
}

void TPopupMenuWindow::DrawCaption(TCanvas& canvas, const TMenuItem& item, const TRect& rect, TColor color) const {
  TRect text{rect.Left + kTextIndent, rect.Top, rect.Right - kTextIndent, rect.Bottom};
  canvas.Font().Assign(const_cast<TPopupMenuWindow*>(this)->Font());
  canvas.Brush().SetStyle(bsClear);
  if (!item.Enabled() && color == clGrayText) {
    // The classic engraved look of an unavailable command.
    TRect shadow = text.Offset(1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(item.Caption(), shadow, kCaptionFormat);
  }
  canvas.Font().SetColor(color);
  canvas.DrawText(item.Caption(), text, kCaptionFormat);
  canvas.Brush().SetStyle(bsSolid);
}

void TPopupMenuWindow::PaintBackground(TCanvas& canvas, const TRect& rect) {
  canvas.Brush().SetColor(Color());
  canvas.FillRect(rect);
  TRect frame = rect;
  canvas.Frame3D(frame, clBtnFace, cl3DDkShadow, 1);
  canvas.Frame3D(frame, clBtnHighlight, clBtnShadow, 1);
}

void TPopupMenuWindow::PaintLine(TCanvas& canvas, const TRect& rect) {
  const int y = rect.Top + rect.Height() / 2 - 1;
  canvas.Pen().SetColor(clBtnShadow);
  canvas.MoveTo(rect.Left + 1, y);
  canvas.LineTo(rect.Right - 1, y);
  canvas.Pen().SetColor(clBtnHighlight);
  canvas.MoveTo(rect.Left + 1, y + 1);
  canvas.LineTo(rect.Right - 1, y + 1);
}

void TPopupMenuWindow::PaintItem(TCanvas& canvas, const TMenuItem& item, const TRect& rect, bool hot) {
  if (hot) {
    canvas.Brush().SetColor(clHighlight);
    canvas.FillRect(rect);
  }
  DrawCaption(canvas, item, rect, TextColor(item, hot));
}

void TPopupMenuWindow::Paint() {
  TCanvas& canvas = Canvas();
  PaintBackground(canvas, ClientRect());
  for (int i = 0; i < Menu_.Count(); ++i) {
    const TMenuItem& item = Menu_.Items(i);
    if (item.IsLine()) PaintLine(canvas, ItemRect(i));
    else PaintItem(canvas, item, ItemRect(i), i == Hot_);
  }
}
