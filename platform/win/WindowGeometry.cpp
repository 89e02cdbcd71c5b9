// Positions, sizes, z-order, show states, coordinate mapping and window regions.
#include "platform/win/Window.h"

#include <algorithm>

#include "platform/gfx/Region.h"
#include "platform/win/HitTest.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/WindowManager.h"

namespace {

bool Visible(const TWindow& w) { return (w.Style & WS_VISIBLE) != 0; }

std::vector<HWND>* SiblingsOf(TWindow& w) {
  if (w.Parent) {
    TWindow* p = FindWindowObject(w.Parent);
    return p ? &p->Children : nullptr;
  }
  return &WM().TopLevels;
}

// Moves the window in its sibling list; returns true when the order changed.
bool Reorder(TWindow& w, HWND after) {
  std::vector<HWND>* list = SiblingsOf(w);
  if (!list) return false;
  std::vector<HWND> before = *list;
  HWND self = w.Handle;
  bool topLevel = !w.Parent;
  if (topLevel && after == HWND_TOPMOST) w.ExStyle |= WS_EX_TOPMOST;
  if (topLevel && after == HWND_NOTOPMOST) w.ExStyle &= ~WS_EX_TOPMOST;
  std::erase(*list, self);
  auto firstNonTopmost = [&]() {
    return std::find_if(list->begin(), list->end(), [](HWND h) {
      TWindow* o = FindWindowObject(h);
      return o && !(o->ExStyle & WS_EX_TOPMOST);
    });
  };
  bool topmost = topLevel && (w.ExStyle & WS_EX_TOPMOST);
  if (after == HWND_BOTTOM) {
    if (topmost) w.ExStyle &= ~WS_EX_TOPMOST;
    list->push_back(self);
  } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    list->insert(topLevel && !topmost ? firstNonTopmost() : list->begin(), self);
  } else {
    auto it = std::find(list->begin(), list->end(), after);
    if (it == list->end()) {
      list->insert(topLevel && !topmost ? firstNonTopmost() : list->begin(), self);
    } else {
      ++it;
      // A plain window never goes above topmost ones, nor a topmost one below plain ones.
      if (topLevel) {
        auto plain = firstNonTopmost();
        if (!topmost && it < plain) it = plain;
        if (topmost && it > plain) it = plain;
      }
      list->insert(it, self);
    }
  }
  if (topLevel) {
    // Shown modal windows stay above the rest of their band, in their own order.
    std::vector<HWND> modal;
    for (HWND h : *list) {
      TWindow* o = FindWindowObject(h);
      if (o && o->ModalDepth > 0 && (o->Style & WS_VISIBLE)) modal.push_back(h);
    }
    for (auto it = modal.rbegin(); it != modal.rend(); ++it) {
      TWindow* o = FindWindowObject(*it);
      const bool modalTopmost = (o->ExStyle & WS_EX_TOPMOST) != 0;
      std::erase(*list, *it);
      list->insert(modalTopmost ? list->begin() : firstNonTopmost(), *it);
    }
    // Owned windows stay above their owner.
    std::vector<HWND> owned;
    for (HWND h : *list) {
      if (TWindow* o = FindWindowObject(h); o && o->Owner == self) owned.push_back(h);
    }
    for (HWND h : owned) {
      auto ownerPos = std::find(list->begin(), list->end(), self);
      auto pos = std::find(list->begin(), list->end(), h);
      if (pos > ownerPos) {
        list->erase(pos);
        ownerPos = std::find(list->begin(), list->end(), self);
        list->insert(ownerPos, h);
      }
    }
  }
  return before != *list;
}

TRect MinimizedRect(HWND window) {
  TSize screen = WM().Backend().ScreenSize();
  int w = GetSystemMetrics(SM_CXMINIMIZED);
  int h = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
  // The display shows minimised windows its own way: ours is parked off the desktop.
  if (WM().Backend().MinimizesNatively()) return Bounds(-32000, -32000, w, h);
  int slot = 0;
  for (HWND top : WM().TopLevels) {
    if (top == window) continue;
    if (TWindow* t = FindWindowObject(top); t && (t->Style & WS_MINIMIZE)) ++slot;
  }
  return Bounds(slot * w, screen.cy - h, w, h);
}

TRect MaximizedRect(TWindow& w) {
  if (w.Parent) {
    TWindow* p = FindWindowObject(w.Parent);
    return p ? TRect{0, 0, p->Client.Width(), p->Client.Height()} : w.Rect;
  }
  TSize screen = WM().Backend().ScreenSize();
  return {0, 0, screen.cx, screen.cy};
}

void SetPlacement(HWND window, DWORD setFlag, const TRect& rect, UINT extraFlags) {
  TWindow* w = FindWindowObject(window);
  if (!w) return;
  if (!(w->Style & (WS_MINIMIZE | WS_MAXIMIZE))) {
    w->NormalRect = w->Rect;
    w->NormalValid = true;
  }
  if (setFlag == WS_MINIMIZE) w->RestoreMaximized = (w->Style & WS_MAXIMIZE) != 0;
  w->Style = (w->Style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | setFlag;
  SetWindowPos(window, HWND_TOP, rect.Left, rect.Top, rect.Width(), rect.Height(), SWP_FRAMECHANGED | extraFlags);
}

}  // namespace

bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  auto& wm = WM();
  TWindow* w = wm.Find(window);
  if (!w) return false;
  WINDOWPOS wp{window, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    wp.x = w->Rect.Left;
    wp.y = w->Rect.Top;
  }
  if (flags & SWP_NOSIZE) {
    wp.cx = w->Rect.Width();
    wp.cy = w->Rect.Height();
  }
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!(w = wm.Find(window))) return false;
  }
  flags = wp.flags;
  TRect oldRect = w->Rect;
  bool wasVisible = Visible(*w);
  TRect newRect = oldRect;
  if (!(flags & SWP_NOMOVE)) newRect = newRect.Offset(wp.x - oldRect.Left, wp.y - oldRect.Top);
  if (!(flags & SWP_NOSIZE)) {
    newRect.Right = newRect.Left + std::max(0, wp.cx);
    newRect.Bottom = newRect.Top + std::max(0, wp.cy);
  }
  bool moved = newRect.Left != oldRect.Left || newRect.Top != oldRect.Top;
  bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();

  TRect newClient = w->Client;
  if (sized || (flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS params;
    params.rgrc[0] = newRect;
    params.rgrc[1] = oldRect;
    params.rgrc[2] = w->Client.Offset(oldRect.Left, oldRect.Top);
    params.lppos = &wp;
    SendMessage(window, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&params));
    if (!(w = wm.Find(window))) return false;
    newClient = params.rgrc[0].Offset(-newRect.Left, -newRect.Top);
    if (newClient.Right < newClient.Left) newClient.Right = newClient.Left;
    if (newClient.Bottom < newClient.Top) newClient.Bottom = newClient.Top;
  }
  bool clientChanged = newClient != w->Client;

  if (w->Parent && wasVisible && !(flags & SWP_NOREDRAW) && (moved || sized || (flags & SWP_HIDEWINDOW))) {
    InvalidateUncovered(window, oldRect);
  }
  w->Rect = newRect;
  w->Client = newClient;
  bool zChanged = false;
  if (!(flags & SWP_NOZORDER)) zChanged = Reorder(*w, insertAfter);
  if (flags & SWP_SHOWWINDOW) w->Style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->Style &= ~WS_VISIBLE;
  bool visible = Visible(*w);

  if (!w->Parent && sized) ResizeImage(*w);
  if (flags & SWP_FRAMECHANGED) w->NcDirty = true;
  if (visible && !(flags & SWP_NOREDRAW)) {
    if (sized || clientChanged || (!wasVisible) || (w->Parent && (moved || zChanged))) {
      InvalidateWhole(window);
    } else if (flags & SWP_FRAMECHANGED) {
      InvalidateWindowArea(window, TRegion(), false, true, false);
    }
  }
  if (!w->Parent && !visible) w->Update.Clear();
  if (w->Parent && !(flags & SWP_NOREDRAW) && wasVisible != visible && !visible) {
    // Already handled by InvalidateUncovered above.
  }
  HWND top = TopLevelOf(window);
  SyncBackendWindow(top);
  if (zChanged && !w->Parent) SyncBackendZOrder();

  if (!moved) wp.flags |= SWP_NOMOVE;
  if (!sized) wp.flags |= SWP_NOSIZE;
  wp.x = newRect.Left;
  wp.y = newRect.Top;
  wp.cx = newRect.Width();
  wp.cy = newRect.Height();
  if (clientChanged && sized == false) wp.flags &= ~SWP_NOSIZE;  // client changed with the frame
  SendMessage(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  if (!(w = wm.Find(window))) return true;

  if (!w->Parent) {
    if (visible && !(flags & SWP_NOACTIVATE) && !(w->ExStyle & WS_EX_NOACTIVATE) &&
        ((flags & SWP_SHOWWINDOW) || !(flags & SWP_NOZORDER)) && wm.Active != window) {
      ActivateTopLevel(window, false);
    } else if (!visible && wasVisible && wm.Active == window) {
      ActivateNextAfter(window);
    }
  }
  return true;
}

bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint) {
  return SetWindowPos(window, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

bool ShowWindow(HWND window, int command) {
  auto& wm = WM();
  TWindow* w = wm.Find(window);
  if (!w) return false;
  bool wasVisible = Visible(*w);
  bool child = w->Parent != nullptr;
  UINT noActivate = 0;
  switch (command) {
    case SW_HIDE:
      if (!wasVisible) return false;
      SendMessage(window, WM_SHOWWINDOW, 0, 0);
      SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return wasVisible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: {
      if (!wasVisible) SendMessage(window, WM_SHOWWINDOW, 1, 0);
      if (!(w = wm.Find(window))) return wasVisible;
      if (!(w->Style & WS_MINIMIZE)) {
        TRect r = child ? Bounds(0, 0, GetSystemMetrics(SM_CXMINIMIZED), GetSystemMetrics(SM_CYCAPTION) + 8)
                        : MinimizedRect(window);
        SetPlacement(window, WS_MINIMIZE, r, SWP_SHOWWINDOW | SWP_NOACTIVATE);
      } else {
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      if (wm.Active == window) ActivateNextAfter(window);
      return wasVisible;
    }
    case SW_SHOWMAXIMIZED: {
      if (!wasVisible) SendMessage(window, WM_SHOWWINDOW, 1, 0);
      if (!(w = wm.Find(window))) return wasVisible;
      SetPlacement(window, WS_MAXIMIZE, MaximizedRect(*w), SWP_SHOWWINDOW);
      return wasVisible;
    }
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
      noActivate = SWP_NOACTIVATE;
      [[fallthrough]];
    case SW_SHOW:
    case SW_SHOWDEFAULT:
    case SW_SHOWNORMAL:
    case SW_RESTORE: {
      bool restore = (command == SW_SHOWNORMAL || command == SW_RESTORE || command == SW_SHOWNOACTIVATE) &&
                     (w->Style & (WS_MINIMIZE | WS_MAXIMIZE));
      if (!wasVisible) {
        SendMessage(window, WM_SHOWWINDOW, 1, 0);
        if (!(w = wm.Find(window))) return wasVisible;
      }
      if (restore && (w->Style & WS_MINIMIZE) && w->RestoreMaximized && command != SW_SHOWNORMAL) {
        // A window minimised from the maximised state comes back maximised.
        w->RestoreMaximized = false;
        SetPlacement(window, WS_MAXIMIZE, MaximizedRect(*w), SWP_SHOWWINDOW | noActivate);
      } else if (restore) {
        TRect r = w->NormalValid ? w->NormalRect : w->Rect;
        w->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        SetWindowPos(window, HWND_TOP, r.Left, r.Top, r.Width(), r.Height(),
                     SWP_FRAMECHANGED | SWP_SHOWWINDOW | noActivate);
      } else {
        UINT z = (child && wasVisible) ? SWP_NOZORDER : 0;
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | noActivate | z);
      }
      return wasVisible;
    }
    default:
      return wasVisible;
  }
}

void SetWindowModal(HWND window, bool modal) {
  TWindow* w = FindWindowObject(window);
  if (!w || w->Parent) return;
  w->ModalDepth = std::max(0, w->ModalDepth + (modal ? 1 : -1));
  if (modal && (w->Style & WS_VISIBLE))
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SyncBackendWindow(window);
}

bool IsWindowModal(HWND window) {
  TWindow* w = FindWindowObject(window);
  return w && w->ModalDepth > 0;
}

bool IsWindowVisible(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  while (w) {
    if (!Visible(*w)) return false;
    if (!w->Parent) return true;
    w = FindWindowObject(w->Parent);
  }
  return false;
}

bool IsIconic(HWND window) {
  TWindow* w = FindWindowObject(window);
  return w && (w->Style & WS_MINIMIZE);
}

bool IsZoomed(HWND window) {
  TWindow* w = FindWindowObject(window);
  return w && (w->Style & WS_MAXIMIZE);
}

bool EnableWindow(HWND window, bool enable) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  bool wasDisabled = (w->Style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    w->Style &= ~WS_DISABLED;
  } else {
    w->Style |= WS_DISABLED;
    auto& wm = WM();
    if (wm.Focus == window || IsChild(window, wm.Focus)) SetFocus(nullptr);
    // A disabled window keeps no mouse capture, nor does any window inside it: a
    // modal box that disables its owner must get the next click itself.
    if (wm.Capture && (wm.Capture == window || IsChild(window, wm.Capture))) {
      SendMessage(wm.Capture, WM_CANCELMODE, 0, 0);
      if (wm.Capture == window || IsChild(window, wm.Capture)) ReleaseCapture();
    }
  }
  SendMessage(window, WM_ENABLE, enable ? 1 : 0, 0);
  return wasDisabled;
}

bool IsWindowEnabled(HWND window) {
  TWindow* w = FindWindowObject(window);
  return w && !(w->Style & WS_DISABLED);
}

bool GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) {
  TWindow* w = FindWindowObject(window);
  if (!w || !placement) return false;
  placement->showCmd = !Visible(*w) ? SW_HIDE
                       : (w->Style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                       : (w->Style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                 : SW_SHOWNORMAL;
  placement->rcNormalPosition = (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) && w->NormalValid ? w->NormalRect : w->Rect;
  return true;
}

// --- coordinates ----------------------------------------------------------------

TPoint WindowScreenOrigin(HWND window) {
  TWindow* w = FindWindowObject(window);
  TPoint p;
  while (w) {
    p.X += w->Rect.Left;
    p.Y += w->Rect.Top;
    if (!w->Parent) break;
    w = FindWindowObject(w->Parent);
    if (w) {
      p.X += w->Client.Left;
      p.Y += w->Client.Top;
    }
  }
  return p;
}

TPoint OffsetInTopLevel(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return {};
  if (!w->Parent) return {};
  TPoint screen = WindowScreenOrigin(window);
  TPoint top = WindowScreenOrigin(TopLevelOf(window));
  return {screen.X - top.X, screen.Y - top.Y};
}

TRect WindowRect(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return {};
  TPoint o = WindowScreenOrigin(window);
  return Bounds(o.X, o.Y, w->Rect.Width(), w->Rect.Height());
}

TRect ClientRect(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return {};
  return {0, 0, w->Client.Width(), w->Client.Height()};
}

bool GetWindowRect(HWND window, TRect* rect) {
  if (!rect || !IsWindow(window)) return false;
  *rect = WindowRect(window);
  return true;
}

bool GetClientRect(HWND window, TRect* rect) {
  if (!rect || !IsWindow(window)) return false;
  *rect = ClientRect(window);
  return true;
}

namespace {

TPoint ClientScreenOrigin(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return {};
  TPoint o = WindowScreenOrigin(window);
  return {o.X + w->Client.Left, o.Y + w->Client.Top};
}

}  // namespace

bool ClientToScreen(HWND window, TPoint* point) {
  if (!point || !IsWindow(window)) return false;
  TPoint o = ClientScreenOrigin(window);
  point->X += o.X;
  point->Y += o.Y;
  return true;
}

bool ScreenToClient(HWND window, TPoint* point) {
  if (!point || !IsWindow(window)) return false;
  TPoint o = ClientScreenOrigin(window);
  point->X -= o.X;
  point->Y -= o.Y;
  return true;
}

int MapWindowPoints(HWND from, HWND to, TPoint* points, UINT count) {
  if ((from && !IsWindow(from)) || (to && !IsWindow(to))) return 0;
  TPoint a = from ? ClientScreenOrigin(from) : TPoint{};
  TPoint b = to ? ClientScreenOrigin(to) : TPoint{};
  int dx = a.X - b.X;
  int dy = a.Y - b.Y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].X += dx;
    points[i].Y += dy;
  }
  return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

int MapWindowPoints(HWND from, HWND to, TRect* rect) {
  if (!rect) return 0;
  TPoint pts[2] = {{rect->Left, rect->Top}, {rect->Right, rect->Bottom}};
  int r = MapWindowPoints(from, to, pts, 2);
  *rect = {pts[0].X, pts[0].Y, pts[1].X, pts[1].Y};
  return r;
}

bool AdjustWindowRectEx(TRect* rect, DWORD style, bool menu, DWORD exStyle) {
  if (!rect) return false;
  int frame = FrameWidth(style, exStyle) + ClientEdge(exStyle);
  int caption = CaptionHeight(style, exStyle);
  rect->Left -= frame;
  rect->Right += frame;
  rect->Top -= frame + caption + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
  rect->Bottom += frame;
  return true;
}

// --- hit search ----------------------------------------------------------------------

bool InWindowShape(const TWindow& w, TPoint windowPoint) {
  if (windowPoint.X < 0 || windowPoint.Y < 0 || windowPoint.X >= w.Rect.Width() || windowPoint.Y >= w.Rect.Height()) {
    return false;
  }
  if (w.WindowRegion && !w.WindowRegion->Contains(windowPoint)) return false;
  if (!w.Parent && w.LayeredImage && (w.ExStyle & WS_EX_LAYERED)) {
    const TBitmap& img = *w.LayeredImage;
    if (windowPoint.X < img.Width() && windowPoint.Y < img.Height() &&
        img.ScanLine(windowPoint.Y)[windowPoint.X * 4 + 3] == 0) {
      return false;  // fully transparent pixels of per-pixel windows let the mouse through
    }
  }
  return true;
}

namespace {

// Deepest visible, enabled window under the point, skipping excluded subtrees.
HWND SearchChildren(HWND parent, TPoint screen, const std::vector<HWND>& excluded) {
  TWindow* p = FindWindowObject(parent);
  if (!p) return nullptr;
  TPoint origin = WindowScreenOrigin(parent);
  TPoint inParent{screen.X - origin.X, screen.Y - origin.Y};
  if (!p->Client.Contains(inParent)) return parent;
  TPoint inClient{inParent.X - p->Client.Left, inParent.Y - p->Client.Top};
  for (HWND child : p->Children) {
    TWindow* c = FindWindowObject(child);
    if (!c || !(c->Style & WS_VISIBLE) || (c->Style & WS_DISABLED)) continue;
    if (std::find(excluded.begin(), excluded.end(), child) != excluded.end()) continue;
    if (!InWindowShape(*c, {inClient.X - c->Rect.Left, inClient.Y - c->Rect.Top})) continue;
    return SearchChildren(child, screen, excluded);
  }
  return parent;
}

}  // namespace

HWND FindMouseTarget(TPoint screen, LRESULT* hitOut) {
  std::vector<HWND> excluded;
  for (int guard = 0; guard < 64; ++guard) {
    HWND found = nullptr;
    for (HWND top : WM().TopLevels) {
      TWindow* t = FindWindowObject(top);
      if (!t || !(t->Style & WS_VISIBLE)) continue;
      if ((t->ExStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT)) continue;
      if (std::find(excluded.begin(), excluded.end(), top) != excluded.end()) continue;
      if (!InWindowShape(*t, {screen.X - t->Rect.Left, screen.Y - t->Rect.Top})) continue;
      found = SearchChildren(top, screen, excluded);
      break;
    }
    if (!found) {
      if (hitOut) *hitOut = HTNOWHERE;
      return nullptr;
    }
    LRESULT hit = SendMessage(found, WM_NCHITTEST, 0, PointToLParam(screen));
    if (hit != HTTRANSPARENT) {
      if (hitOut) *hitOut = hit;
      return found;
    }
    excluded.push_back(found);
  }
  if (hitOut) *hitOut = HTNOWHERE;
  return nullptr;
}

HWND WindowFromPoint(TPoint screen) { return FindMouseTarget(screen, nullptr); }

HWND ChildWindowFromPoint(HWND parent, TPoint client) {
  TWindow* p = FindWindowObject(parent);
  if (!p) return nullptr;
  TRect r = ClientRect(parent);
  if (!r.Contains(client)) return nullptr;
  for (HWND child : p->Children) {
    TWindow* c = FindWindowObject(child);
    if (c && InWindowShape(*c, {client.X - c->Rect.Left, client.Y - c->Rect.Top})) return child;
  }
  return parent;
}

HWND RealChildWindowFromPoint(HWND parent, TPoint client) {
  TWindow* p = FindWindowObject(parent);
  if (!p) return nullptr;
  for (HWND child : p->Children) {
    TWindow* c = FindWindowObject(child);
    if (c && (c->Style & WS_VISIBLE) && InWindowShape(*c, {client.X - c->Rect.Left, client.Y - c->Rect.Top})) {
      return child;
    }
  }
  return parent;
}

// --- window regions -----------------------------------------------------------------------

int SetWindowRgn(HWND window, HRGN region, bool redraw) {
  TWindow* w = FindWindowObject(window);
  if (!w) return 0;
  std::optional<TRegion> old = w->WindowRegion;
  if (region) {
    w->WindowRegion = region->Region;
    DeleteObject(region);
  } else {
    w->WindowRegion.reset();
  }
  if (w->Parent && (w->Style & WS_VISIBLE)) InvalidateUncovered(window, w->Rect);
  if (redraw) InvalidateWhole(window);
  SyncBackendWindow(TopLevelOf(window));
  return 1;
}

int GetWindowRgn(HWND window, HRGN region) {
  TWindow* w = FindWindowObject(window);
  if (!w || !region || !w->WindowRegion) return ERROR;
  region->Region = *w->WindowRegion;
  return region->Region.Complexity();
}
