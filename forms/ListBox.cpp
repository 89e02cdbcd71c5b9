#include "forms/ListBox.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/VirtualKeys.h"

TCustomListBox::TCustomListBox(TComponent* owner)
    : TCustomControl(owner), Items_(std::make_unique<TStringList>()) {
  ControlStyle_ = {csSetCaption, csDoubleClicks, csCaptureMouse, csOpaque};
  SetBounds(0, 0, 121, 97);
  TabStop_ = true;
  SetColor(clWindow);
  SetParentColor(false);
  Items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomListBox::~TCustomListBox() {
  Destroying();
  Items_->OnChange = nullptr;
}

void TCustomListBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_VSCROLL;
  if (BorderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::SetBorderStyle(TBorderStyle value) {
  if (value == BorderStyle_) return;
  BorderStyle_ = value;
  RecreateWnd();
}

int TCustomListBox::ItemHeight() {
  if (ItemHeight_ > 0) return ItemHeight_;
  TCanvas measure;
  measure.Font().Assign(Font());
  return std::max(1, measure.TextHeight("Ag") + 1);
}

int TCustomListBox::VisibleItemCount() { return std::max(1, ClientHeight() / ItemHeight()); }

void TCustomListBox::ItemsChanged() {
  if (IsDestroying()) return;
  if (ItemIndex_ >= Items_->Count()) ItemIndex_ = -1;
  int maxTop = std::max(0, Items_->Count() - VisibleItemCount());
  TopIndex_ = std::clamp(TopIndex_, 0, maxTop);
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::SetItemIndex(int index) {
  if (index < -1 || index >= Items_->Count()) index = -1;
  if (index == ItemIndex_) return;
  ItemIndex_ = index;
  if (index >= 0) ScrollIntoView(index);
  Invalidate();
}

void TCustomListBox::SetTopIndex(int index) {
  int maxTop = std::max(0, Items_->Count() - VisibleItemCount());
  index = std::clamp(index, 0, maxTop);
  if (index == TopIndex_) return;
  TopIndex_ = index;
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::ScrollIntoView(int index) {
  int visible = VisibleItemCount();
  if (index < TopIndex_) SetTopIndex(index);
  else if (index >= TopIndex_ + visible) SetTopIndex(index - visible + 1);
}

void TCustomListBox::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO si;
  si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(0, Items_->Count() - 1);
  si.nPage = static_cast<UINT>(VisibleItemCount());
  si.nPos = TopIndex_;
  SetScrollInfo(Handle(), SB_VERT, &si, true);
}

void TCustomListBox::Resize() {
  TCustomControl::Resize();
  ItemsChanged();
}

int TCustomListBox::ItemAtPos(TPoint pos, bool existing) {
  if (pos.Y < 0) return existing ? -1 : TopIndex_;
  int index = TopIndex_ + pos.Y / ItemHeight();
  if (index >= Items_->Count()) return existing ? -1 : Items_->Count() - 1;
  return index;
}

TRect TCustomListBox::ItemRect(int index) {
  int h = ItemHeight();
  int y = (index - TopIndex_) * h;
  return {0, y, ClientWidth(), y + h};
}

void TCustomListBox::SelectByUser(int index) {
  if (index < 0 || index >= Items_->Count() || index == ItemIndex_) return;
  SetItemIndex(index);
  Click();
}

void TCustomListBox::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  Tracking_ = true;
  SelectByUser(ItemAtPos({x, y}, true));
}

void TCustomListBox::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (Tracking_ && shift.Contains(ssLeft)) {
    int index = ItemAtPos({x, y}, false);
    if (index >= 0) SelectByUser(index);
  } else {
    Tracking_ = false;
  }
}

void TCustomListBox::ControlKeyDown(WORD key, TShiftState) {
  int n = Items_->Count();
  if (n == 0) return;
  int page = std::max(1, VisibleItemCount() - 1);
  int i = ItemIndex_;
  switch (key) {
    case VK_UP: i = std::max(0, i - 1); break;
    case VK_DOWN: i = std::min(n - 1, i + 1); break;
    case VK_HOME: i = 0; break;
    case VK_END: i = n - 1; break;
    case VK_PRIOR: i = std::max(0, i - page); break;
    case VK_NEXT: i = std::min(n - 1, (i < 0 ? 0 : i) + page); break;
    default: return;
  }
  SelectByUser(i);
}

void TCustomListBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_VSCROLL: {
      int page = std::max(1, VisibleItemCount() - 1);
      switch (static_cast<int>(LOWORD(message.WParam))) {
        case SB_LINEUP: SetTopIndex(TopIndex_ - 1); break;
        case SB_LINEDOWN: SetTopIndex(TopIndex_ + 1); break;
        case SB_PAGEUP: SetTopIndex(TopIndex_ - page); break;
        case SB_PAGEDOWN: SetTopIndex(TopIndex_ + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTopIndex(static_cast<int>(HIWORD(message.WParam))); break;
        case SB_TOP: SetTopIndex(0); break;
        case SB_BOTTOM: SetTopIndex(Items_->Count()); break;
        default: break;
      }
      return;
    }
    case WM_MOUSEWHEEL: SetTopIndex(TopIndex_ - 3 * GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA); return;
    case WM_LBUTTONUP:
      Tracking_ = false;
      break;
    case WM_CREATE:
      TCustomControl::WndProc(message);
      UpdateScrollBar();
      return;
    default: break;
  }
  TCustomControl::WndProc(message);
}

void TCustomListBox::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  c.Brush().SetColor(Enabled() ? Color() : clBtnFace);
  c.FillRect(r);
  c.Font().Assign(Font());
  int h = ItemHeight();
  int n = Items_->Count();
  bool focused = Focused();
  for (int i = TopIndex_; i < n && (i - TopIndex_) * h < r.Height(); ++i) {
    TRect ir = ItemRect(i);
    bool selected = i == ItemIndex_;
    if (selected) {
      c.Brush().SetColor(focused ? clHighlight : clBtnFace);
      c.FillRect(ir);
    }
    c.Font().SetColor(!Enabled() ? clGrayText : selected && focused ? clHighlightText : Font().Color());
    c.Brush().SetStyle(bsClear);
    TRect tr{ir.Left + 2, ir.Top, ir.Right - 2, ir.Bottom};
    c.DrawText(Items_->Get(i), tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    if (selected && focused) c.DrawFocusRect(ir);
  }
}
