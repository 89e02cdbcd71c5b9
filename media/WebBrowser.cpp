#include "media/WebBrowser.h"

#include <algorithm>

#include "media/HtmlAddress.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Win.h"

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner) {
  TabStop_ = true;
  SetColor(clWhite);
}

TWebBrowser::~TWebBrowser() = default;

void TWebBrowser::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  // The vertical bar is always there (greyed when the page fits), so the
  // client width, and with it the layout, does not depend on the page.
  params.Style |= WS_VSCROLL | WS_CLIPCHILDREN;
}

void TWebBrowser::CreateWindowHandle(const TCreateParams& params) {
  TWinControl::CreateWindowHandle(params);
  UpdateScrollBars();
}

void TWebBrowser::Navigate(const std::string& address) {
  Location_ = address;
  Open(address, {});
}

void TWebBrowser::Open(const std::string& address, const std::string& baseDir) {
  Page_.Open(address, baseDir, THtmlLoad::FirstPartFirst);
  Tiles_.Clear();
  ScrollX_ = 0;
  ScrollY_ = 0;
  PendingAnchor_ = Page_.Fragment();
  if (HandleAllocated()) {
    EnsureLayout();
    UpdateScrollBars();
    UpdateCursor();
    InvalidateRect(Handle(), nullptr, false);
  }
  if (OnDocumentComplete) OnDocumentComplete(this);
}

void TWebBrowser::EnsureLayout() {
  if (!HandleAllocated()) return;
  const TRect client = ClientRect();
  if (client.Width() <= 0) return;
  const int before = Page_.LayoutCount();
  Page_.Layout(client.Width(), client.Height());
  if (Page_.LayoutCount() != before) {
    Tiles_.Clear();
    if (!PendingAnchor_.empty()) {
      const int top = Page_.AnchorTop(PendingAnchor_);
      if (top >= 0) ScrollY_ = std::min(top, MaxScrollY());
      PendingAnchor_.clear();
    }
    UpdateScrollBars();
    InvalidateRect(Handle(), nullptr, false);  // every line may have moved
  }
}

void TWebBrowser::CompletePage() {
  if (!Page_.Partial()) return;
  Page_.Complete();
  Tiles_.Clear();
  if (!HandleAllocated()) return;
  EnsureLayout();
  UpdateScrollBars();
  // What the first part showed stays as it is, unless the rest turned the page into an error page.
  if (Page_.IsErrorPage()) InvalidateRect(Handle(), nullptr, false);
}

int TWebBrowser::MaxScrollX() const { return std::max(0, Page_.Width() - ClientRect().Width()); }
int TWebBrowser::MaxScrollY() const { return std::max(0, Page_.Height() - ClientRect().Height()); }

void TWebBrowser::UpdateScrollBars() {
  if (!HandleAllocated() || UpdatingBars_) return;
  UpdatingBars_ = true;
  HWND wnd = Handle();
  // The horizontal bar comes and goes with wide pages; it changes only the client height.
  const bool wide = Page_.LayoutWidth() > 0 && Page_.Width() > ClientRect().Width();
  ShowScrollBar(wnd, SB_HORZ, wide);
  const TRect client = ClientRect();
  ScrollY_ = std::clamp(ScrollY_, 0, MaxScrollY());
  ScrollX_ = wide ? std::clamp(ScrollX_, 0, MaxScrollX()) : 0;
  SCROLLINFO vert;
  vert.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  vert.nMin = 0;
  vert.nMax = std::max(0, Page_.Height() - 1);
  vert.nPage = static_cast<UINT>(std::max(0, client.Height()));
  vert.nPos = ScrollY_;
  SetScrollInfo(wnd, SB_VERT, &vert, true);
  EnableScrollBar(wnd, SB_VERT, MaxScrollY() > 0 ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
  if (wide) {
    SCROLLINFO horz;
    horz.fMask = SIF_ALL;
    horz.nMin = 0;
    horz.nMax = std::max(0, Page_.Width() - 1);
    horz.nPage = static_cast<UINT>(std::max(0, client.Width()));
    horz.nPos = ScrollX_;
    SetScrollInfo(wnd, SB_HORZ, &horz, true);
  }
  UpdatingBars_ = false;
}

void TWebBrowser::PaintWindow(HDC dc) {
  if (!dc || !dc->Target()) return;
  EnsureLayout();
  const TPoint org = dc->ViewportOrg();
  const TRegion clip = dc->EffectiveClip();
  const TPoint pageOrigin{org.X - ScrollX_, org.Y - ScrollY_};
  const int width = ClientRect().Width();
  for (const TRect& rect : clip.Rects()) Tiles_.Draw(Page_, *dc->Target(), pageOrigin, rect, width);
  LastPaint_ = clip.IsEmpty() ? TRect{} : clip.Bounds().Offset(-org.X, -org.Y);
  ++PaintCount_;
  if (Page_.Partial() && !CompletePosted_) CompletePosted_ = PostMessage(Handle(), kCompletePageMessage, 0, 0);
}

void TWebBrowser::ScrollTo(int x, int y) {
  CompletePage();
  EnsureLayout();
  ScrollView(std::clamp(x, 0, MaxScrollX()), std::clamp(y, 0, MaxScrollY()));
}

bool TWebBrowser::ScrollToAnchor(const std::string& name) {
  CompletePage();
  EnsureLayout();
  const int top = Page_.AnchorTop(name);
  if (top < 0) return false;
  ScrollTo(ScrollX_, top);
  return true;
}

void TWebBrowser::ScrollView(int x, int y) {
  const int dx = x - ScrollX_;
  const int dy = y - ScrollY_;
  if (dx == 0 && dy == 0) return;
  ScrollX_ = x;
  ScrollY_ = y;
  if (!HandleAllocated()) return;
  HWND wnd = Handle();
  SetScrollPos(wnd, SB_VERT, ScrollY_, true);
  if (GetWindowLongPtr(wnd, GWL_STYLE) & WS_HSCROLL) SetScrollPos(wnd, SB_HORZ, ScrollX_, true);
  const TRect client = ClientRect();
  const int w = client.Width();
  const int h = client.Height();
  TRect pending;
  const bool painted = IsWindowVisible(wnd) && !GetUpdateRect(wnd, &pending, false);
  if (!painted || std::abs(dx) >= w || std::abs(dy) >= h) {
    InvalidateRect(wnd, nullptr, false);
    UpdateWindow(wnd);
    return;
  }
  // Shift what is on screen, when all of it is really on screen (nothing covers it).
  HDC dc = GetDC(wnd);
  bool shifted = false;
  if (dc) {
    const TRegion visible = dc->EffectiveClip();
    const TPoint org = dc->ViewportOrg();
    if (visible == TRegion(client.Offset(org.X, org.Y))) {
      BitBlt(dc, std::max(0, -dx), std::max(0, -dy), w - std::abs(dx), h - std::abs(dy), dc, std::max(0, dx),
             std::max(0, dy), SRCCOPY);
      shifted = true;
    }
    ReleaseDC(wnd, dc);
  }
  if (!shifted) {
    InvalidateRect(wnd, nullptr, false);
  } else {
    if (dy > 0) {
      const TRect band{0, h - dy, w, h};
      InvalidateRect(wnd, &band, false);
    } else if (dy < 0) {
      const TRect band{0, 0, w, -dy};
      InvalidateRect(wnd, &band, false);
    }
    if (dx > 0) {
      const TRect band{w - dx, 0, w, h};
      InvalidateRect(wnd, &band, false);
    } else if (dx < 0) {
      const TRect band{0, 0, -dx, h};
      InvalidateRect(wnd, &band, false);
    }
  }
  UpdateWindow(wnd);
}

void TWebBrowser::HandleScroll(int bar, int code) {
  CompletePage();
  EnsureLayout();
  const bool vertical = bar == SB_VERT;
  const TRect client = ClientRect();
  const int page = std::max(kLineStep, (vertical ? client.Height() : client.Width()) - kLineStep);
  const int pos = vertical ? ScrollY_ : ScrollX_;
  const int max = vertical ? MaxScrollY() : MaxScrollX();
  int next = pos;
  switch (code) {
    case SB_LINEUP: next = pos - kLineStep; break;
    case SB_LINEDOWN: next = pos + kLineStep; break;
    case SB_PAGEUP: next = pos - page; break;
    case SB_PAGEDOWN: next = pos + page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 16-bit position of the message is too small for long pages.
      SCROLLINFO si;
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(Handle(), bar, &si)) next = si.nTrackPos;
      break;
    }
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = max; break;
    default: return;
  }
  next = std::clamp(next, 0, max);
  if (vertical)
    ScrollView(ScrollX_, next);
  else
    ScrollView(next, ScrollY_);
}

void TWebBrowser::ControlKeyDown(WORD key, TShiftState shift) {
  switch (key) {
    case VK_UP: HandleScroll(SB_VERT, SB_LINEUP); break;
    case VK_DOWN: HandleScroll(SB_VERT, SB_LINEDOWN); break;
    case VK_PRIOR: HandleScroll(SB_VERT, SB_PAGEUP); break;
    case VK_NEXT: HandleScroll(SB_VERT, SB_PAGEDOWN); break;
    case VK_SPACE: HandleScroll(SB_VERT, shift.Contains(ssShift) ? SB_PAGEUP : SB_PAGEDOWN); break;
    case VK_HOME: HandleScroll(SB_VERT, SB_TOP); break;
    case VK_END: HandleScroll(SB_VERT, SB_BOTTOM); break;
    case VK_LEFT: HandleScroll(SB_HORZ, SB_LINEUP); break;
    case VK_RIGHT: HandleScroll(SB_HORZ, SB_LINEDOWN); break;
    default: break;
  }
}

void TWebBrowser::FollowLink(const std::string& href) {
  if (href.empty()) return;
  if (href[0] == '#') {
    ScrollToAnchor(PercentDecode(href.substr(1)));
    return;
  }
  const std::string folder = Page_.Path().empty() ? std::string() : FolderOf(Page_.Path());
  const THtmlAddress target = ParseHtmlAddress(href, folder);
  if (target.Kind == THtmlAddress::TKind::File && !Page_.IsErrorPage() && target.Path == Page_.Path()) {
    if (!target.Fragment.empty()) ScrollToAnchor(target.Fragment);
    return;
  }
  Location_ = href;
  Open(href, folder);
}

void TWebBrowser::PageChanged() {
  Tiles_.Clear();
  Invalidate();
}

void TWebBrowser::UpdateCursor() {
  const TCursor wanted = Page_.OverLink() ? crHandPoint : crDefault;
  if (Cursor() == wanted) return;
  SetCursor(wanted);
  TPoint pt;
  if (HandleAllocated() && GetCursorPos(&pt) && WindowFromPoint(pt) == Handle())
    ::SetCursor(CursorHandle(wanted == crDefault ? crArrow : wanted));
}

void TWebBrowser::WndProc(TMessage& message) {
  switch (message.Msg) {
    case kCompletePageMessage:
      CompletePosted_ = false;
      CompletePage();
      return;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP: CompletePage(); break;
    default: break;
  }
  switch (message.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
      HandleScroll(message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, static_cast<int>(LOWORD(message.WParam)));
      return;
    case WM_MOUSEWHEEL: {
      const int notches = GET_WHEEL_DELTA_WPARAM(message.WParam);
      EnsureLayout();
      const int step = kWheelLines * kLineStep * notches / WHEEL_DELTA;
      ScrollView(ScrollX_, std::clamp(ScrollY_ - step, 0, MaxScrollY()));
      return;
    }
    case WM_MOUSEHWHEEL: {  // tilting the wheel to the right scrolls right
      const int notches = GET_WHEEL_DELTA_WPARAM(message.WParam);
      EnsureLayout();
      const int step = kWheelLines * kLineStep * notches / WHEEL_DELTA;
      ScrollView(std::clamp(ScrollX_ + step, 0, MaxScrollX()), ScrollY_);
      return;
    }
    case WM_SIZE:
      TWinControl::WndProc(message);
      EnsureLayout();
      UpdateScrollBars();
      return;
    case WM_MOUSEMOVE: {
      TWinControl::WndProc(message);
      const int x = GET_X_LPARAM(message.LParam);
      const int y = GET_Y_LPARAM(message.LParam);
      if (Page_.MouseMove(x + ScrollX_, y + ScrollY_, x, y)) PageChanged();
      UpdateCursor();
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {  // a quick second click is a click on the page all the same
      TWinControl::WndProc(message);
      if (CanFocus() && !Focused()) SetFocus();
      const int x = GET_X_LPARAM(message.LParam);
      const int y = GET_Y_LPARAM(message.LParam);
      // litehtml clicks the element it last saw the mouse over: tell it where the mouse is.
      bool changed = Page_.MouseMove(x + ScrollX_, y + ScrollY_, x, y);
      changed = Page_.MouseDown(x + ScrollX_, y + ScrollY_, x, y) || changed;
      if (changed) PageChanged();
      return;
    }
    case WM_LBUTTONUP: {
      TWinControl::WndProc(message);
      const int x = GET_X_LPARAM(message.LParam);
      const int y = GET_Y_LPARAM(message.LParam);
      bool changed = Page_.MouseMove(x + ScrollX_, y + ScrollY_, x, y);
      changed = Page_.MouseUp(x + ScrollX_, y + ScrollY_, x, y) || changed;
      if (changed) PageChanged();
      // The page is replaced only after litehtml has finished with the click.
      FollowLink(Page_.TakeClickedLink());
      return;
    }
    case CM_MOUSELEAVE:
      TWinControl::WndProc(message);
      if (Page_.MouseLeave()) PageChanged();
      UpdateCursor();
      return;
    default: break;
  }
  TWinControl::WndProc(message);
}
