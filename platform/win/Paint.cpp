// Update regions, the paint cycle, device contexts and what the backend shows.
#include "platform/win/Paint.h"

#include <algorithm>
#include <map>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Region.h"
#include "platform/win/Message.h"
#include "platform/win/WindowManager.h"

namespace {

struct TDcRecord {
  std::unique_ptr<TDeviceContext> Dc;
  HWND Window = nullptr;
  HWND TopLevel = nullptr;
};

std::map<HDC, TDcRecord>& LiveDcs() {
  static std::map<HDC, TDcRecord> dcs;
  return dcs;
}

TBitmap& ScratchBitmap() {
  static TBitmap bitmap(1, 1, TPixelFormat::pf32bit, true);
  return bitmap;
}

bool AncestorsVisible(const TWindow* w) {
  while (w) {
    if (!(w->Style & WS_VISIBLE)) return false;
    if (!w->Parent) return true;
    w = FindWindowObject(w->Parent);
  }
  return false;
}

TRegion ShapeInTopLevel(const TWindow& w, TPoint offset) {
  TRegion shape(Bounds(offset.X, offset.Y, w.Rect.Width(), w.Rect.Height()));
  if (w.WindowRegion) shape = shape.Intersect(w.WindowRegion->Offsetted(offset.X, offset.Y));
  return shape;
}

HDC MakeDc(HWND window, bool clientOnly, bool clipChildren, const TRegion* extraClip) {
  TWindow* w = FindWindowObject(window);
  if (!w) return nullptr;
  HWND top = TopLevelOf(window);
  TWindow* t = FindWindowObject(top);
  if (!t || !t->Image) return nullptr;
  auto dc = std::make_unique<TDeviceContext>(*t->Image);
  TPoint off = OffsetInTopLevel(window);
  if (clientOnly) {
    off.X += w->Client.Left;
    off.Y += w->Client.Top;
  }
  dc->SetDeviceOrg(off);
  TRegion clip = VisibleRegion(window, clientOnly, clipChildren);
  if (extraClip) clip = clip.Intersect(*extraClip);
  dc->SetSystemClip(&clip);
  HDC handle = dc.get();
  LiveDcs()[handle] = TDcRecord{std::move(dc), window, top};
  return handle;
}

void ReleaseDcRecord(HDC dc, bool markDirty) {
  auto& dcs = LiveDcs();
  auto it = dcs.find(dc);
  if (it == dcs.end()) return;
  if (markDirty && it->second.Dc->SystemClip()) {
    MarkImageDirty(it->second.TopLevel, it->second.Dc->SystemClip()->Bounds());
  }
  dcs.erase(it);
}

TTopLevelView MakeView(TWindow& w) {
  TTopLevelView v;
  v.Window = w.Handle;
  v.Bounds = w.Rect;
  bool layered = (w.ExStyle & WS_EX_LAYERED) != 0;
  v.Image = (layered && w.LayeredImage) ? w.LayeredImage.get() : w.Image.get();
  v.Topmost = (w.ExStyle & WS_EX_TOPMOST) != 0;
  v.ToolWindow = (w.ExStyle & WS_EX_TOOLWINDOW) != 0;
  v.NoActivate = (w.ExStyle & WS_EX_NOACTIVATE) != 0;
  v.ClickThrough = layered && (w.ExStyle & WS_EX_TRANSPARENT);
  v.PerPixelAlpha = layered && w.LayeredImage && (w.LayeredFlags & kLayeredPerPixel);
  v.Alpha = layered ? w.Alpha : 255;
  v.HasColorKey = layered && (w.LayeredFlags & kLayeredColorKey);
  v.ColorKey = w.ColorKey;
  v.Region = w.WindowRegion ? &w.WindowRegion->Rects() : nullptr;
  v.Owner = w.Owner;
  v.Modal = w.ModalDepth > 0;
  v.Minimized = (w.Style & WS_MINIMIZE) != 0;
  return v;
}

}  // namespace

// --- images ---------------------------------------------------------------------------

void ResizeImage(TWindow& w) {
  int width = std::clamp(w.Rect.Width(), 0, kMaxBitmapSide);
  int height = std::clamp(w.Rect.Height(), 0, kMaxBitmapSide);
  if (!w.Image) {
    w.Image = std::make_unique<TBitmap>(width, height, TPixelFormat::pf32bit, true);
  } else if (w.Image->Width() != width || w.Image->Height() != height) {
    w.Image->SetSize(width, height);
  }
  w.ImageDirty = {0, 0, width, height};
}

void MarkImageDirty(HWND topLevel, const TRect& rect) {
  TWindow* t = FindWindowObject(topLevel);
  if (!t || t->Parent || rect.IsEmpty()) return;
  if (t->ImageDirty.IsEmpty()) {
    t->ImageDirty = rect;
  } else {
    t->ImageDirty = {std::min(t->ImageDirty.Left, rect.Left), std::min(t->ImageDirty.Top, rect.Top),
                     std::max(t->ImageDirty.Right, rect.Right), std::max(t->ImageDirty.Bottom, rect.Bottom)};
  }
}

TTopLevelView TopLevelView(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w || w->Parent) return {};
  return MakeView(*w);
}

std::vector<TTopLevelView> VisibleTopLevelViews() {
  std::vector<TTopLevelView> views;
  auto& tops = WM().TopLevels;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    TWindow* w = FindWindowObject(*it);
    if (w && (w->Style & WS_VISIBLE)) views.push_back(MakeView(*w));
  }
  return views;
}

void SyncBackendWindow(HWND topLevel) {
  TWindow* t = FindWindowObject(topLevel);
  if (!t || t->Parent) return;
  auto& backend = WM().Backend();
  if (t->Style & WS_VISIBLE) {
    backend.ShowWindow(MakeView(*t));
    if (!t->ShownOnBackend) {
      t->ShownOnBackend = true;
      SyncBackendZOrder();
    }
  } else if (t->ShownOnBackend) {
    t->ShownOnBackend = false;
    backend.HideWindow(topLevel);
  }
}

void SyncBackendZOrder() {
  std::vector<HWND> order;
  for (HWND h : WM().TopLevels) {
    TWindow* w = FindWindowObject(h);
    if (w && (w->Style & WS_VISIBLE)) order.push_back(h);
  }
  WM().Backend().SetZOrder(order);
}

void FlushPresents() {
  auto& wm = WM();
  for (HWND h : wm.TopLevels) {
    TWindow* w = wm.Find(h);
    if (!w || w->ImageDirty.IsEmpty()) continue;
    TRect dirty = w->ImageDirty;
    w->ImageDirty = {};
    if ((w->Style & WS_VISIBLE) && w->ShownOnBackend) wm.Backend().Present(MakeView(*w), dirty);
  }
}

const TBitmap* WindowImage(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w || w->Parent) return nullptr;
  return w->Image.get();
}

// --- visible regions ---------------------------------------------------------------------

TRegion VisibleRegion(HWND window, bool clientOnly, bool excludeChildren) {
  TWindow* w = FindWindowObject(window);
  if (!w || !AncestorsVisible(w)) return {};
  TPoint off = OffsetInTopLevel(window);
  TRegion region(clientOnly ? w->Client.Offset(off.X, off.Y) : Bounds(off.X, off.Y, w->Rect.Width(), w->Rect.Height()));
  if (w->WindowRegion) region = region.Intersect(w->WindowRegion->Offsetted(off.X, off.Y));
  TWindow* cur = w;
  while (cur->Parent) {
    TWindow* p = FindWindowObject(cur->Parent);
    if (!p) return {};
    TPoint poff = OffsetInTopLevel(p->Handle);
    region = region.Intersect(p->Client.Offset(poff.X, poff.Y));
    if (p->WindowRegion) region = region.Intersect(p->WindowRegion->Offsetted(poff.X, poff.Y));
    if (cur->Style & WS_CLIPSIBLINGS) {
      for (HWND sib : p->Children) {
        if (sib == cur->Handle) break;  // siblings above come first
        TWindow* s = FindWindowObject(sib);
        if (!s || !(s->Style & WS_VISIBLE)) continue;
        TPoint soff{poff.X + p->Client.Left + s->Rect.Left, poff.Y + p->Client.Top + s->Rect.Top};
        region = region.Subtract(ShapeInTopLevel(*s, soff));
      }
    }
    cur = p;
  }
  if (cur->Image) region = region.Intersect(TRect{0, 0, cur->Image->Width(), cur->Image->Height()});
  if (excludeChildren) {
    for (HWND child : w->Children) {
      TWindow* c = FindWindowObject(child);
      if (!c || !(c->Style & WS_VISIBLE)) continue;
      TPoint coff{off.X + w->Client.Left + c->Rect.Left, off.Y + w->Client.Top + c->Rect.Top};
      region = region.Subtract(ShapeInTopLevel(*c, coff));
    }
  }
  return region;
}

// --- invalidation ---------------------------------------------------------------------------

void InvalidateWindowArea(HWND window, const TRegion& area, bool erase, bool frame, bool children) {
  TWindow* w = FindWindowObject(window);
  if (!w || w->RedrawOff) return;
  if (frame) w->NcDirty = true;
  TRegion clientPart = area.Intersect(w->Client);
  if (!clientPart.IsEmpty()) {
    w->Update = w->Update.Union(clientPart);
    if (erase) w->EraseNeeded = true;
  }
  if (!children) return;
  for (HWND child : w->Children) {
    TWindow* c = FindWindowObject(child);
    if (!c || !(c->Style & WS_VISIBLE)) continue;
    TRegion childArea = area.Offsetted(-(w->Client.Left + c->Rect.Left), -(w->Client.Top + c->Rect.Top))
                            .Intersect(TRect{0, 0, c->Rect.Width(), c->Rect.Height()});
    if (childArea.IsEmpty()) continue;
    InvalidateWindowArea(child, childArea, erase, true, true);
  }
}

void InvalidateWhole(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return;
  InvalidateWindowArea(window, TRegion(TRect{0, 0, w->Rect.Width(), w->Rect.Height()}), true, true, true);
}

void InvalidateUncovered(HWND window, const TRect& oldRectInParent) {
  TWindow* w = FindWindowObject(window);
  if (!w || !w->Parent) return;
  TWindow* p = FindWindowObject(w->Parent);
  if (!p) return;
  TRegion area(oldRectInParent.Offset(p->Client.Left, p->Client.Top));
  InvalidateWindowArea(w->Parent, area, true, false, true);
}

bool InvalidateRect(HWND window, const TRect* rect, bool erase) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  TRect area = rect ? rect->Offset(w->Client.Left, w->Client.Top) : w->Client;
  InvalidateWindowArea(window, TRegion(area), erase, false, !(w->Style & WS_CLIPCHILDREN));
  return true;
}

bool InvalidateRgn(HWND window, HRGN region, bool erase) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  if (!region) return InvalidateRect(window, nullptr, erase);
  InvalidateWindowArea(window, region->Region.Offsetted(w->Client.Left, w->Client.Top), erase, false,
                       !(w->Style & WS_CLIPCHILDREN));
  return true;
}

bool ValidateRect(HWND window, const TRect* rect) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  if (!rect) {
    w->Update.Clear();
    w->EraseNeeded = false;
  } else {
    w->Update = w->Update.Subtract(TRegion(rect->Offset(w->Client.Left, w->Client.Top)));
  }
  return true;
}

bool ValidateRgn(HWND window, HRGN region) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  if (!region) return ValidateRect(window, nullptr);
  w->Update = w->Update.Subtract(region->Region.Offsetted(w->Client.Left, w->Client.Top));
  return true;
}

namespace {

void PaintNow(HWND window, bool withChildren, bool eraseOnly);

void ValidateTree(HWND window, const TRegion& area, UINT flags, bool children) {
  TWindow* w = FindWindowObject(window);
  if (!w) return;
  w->Update = w->Update.Subtract(area);
  if (flags & RDW_NOFRAME) w->NcDirty = false;
  if (flags & RDW_NOERASE) w->EraseNeeded = false;
  if (flags & RDW_NOINTERNALPAINT) w->InternalPaint = false;
  if (!children) return;
  for (HWND child : w->Children) {
    TWindow* c = FindWindowObject(child);
    if (!c) continue;
    ValidateTree(child, area.Offsetted(-(w->Client.Left + c->Rect.Left), -(w->Client.Top + c->Rect.Top)), flags, true);
  }
}

void SendNcPaint(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return;
  w->NcDirty = false;
  SendMessage(window, WM_NCPAINT, 1, 0);
}

void EraseIfNeeded(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w || !w->EraseNeeded || w->Update.IsEmpty()) return;
  w->EraseNeeded = false;
  TRegion clip = w->Update.Offsetted(-w->Client.Left, -w->Client.Top);
  TPoint off = OffsetInTopLevel(window);
  clip = clip.Offsetted(off.X + w->Client.Left, off.Y + w->Client.Top);
  HDC dc = MakeDc(window, true, (w->Style & WS_CLIPCHILDREN) != 0, &clip);
  if (!dc) return;
  SendMessage(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ReleaseDcRecord(dc, true);
}

void PaintNow(HWND window, bool withChildren, bool eraseOnly) {
  TWindow* w = FindWindowObject(window);
  if (!w || !AncestorsVisible(w)) return;
  if (w->NcDirty) SendNcPaint(window);
  if (eraseOnly) {
    EraseIfNeeded(window);
  } else if ((w = FindWindowObject(window)) && (!w->Update.IsEmpty() || w->InternalPaint)) {
    MSG msg{window, WM_PAINT, 0, 0, GetTickCount(), {}};
    DispatchMessage(&msg);
  }
  if (!withChildren) return;
  if (!(w = FindWindowObject(window))) return;
  std::vector<HWND> children(w->Children.rbegin(), w->Children.rend());
  for (HWND child : children) PaintNow(child, true, eraseOnly);
}

bool FindPaintInTree(HWND window, MSG* msg) {
  TWindow* w = FindWindowObject(window);
  if (!w || !(w->Style & WS_VISIBLE)) return false;
  if (w->NcDirty) {
    SendNcPaint(window);
    if (!(w = FindWindowObject(window))) return false;
  }
  if (!w->Update.IsEmpty() || w->InternalPaint) {
    *msg = MSG{window, WM_PAINT, 0, 0, GetTickCount(), WM().MousePos};
    return true;
  }
  std::vector<HWND> children(w->Children.rbegin(), w->Children.rend());
  for (HWND child : children) {
    if (FindPaintInTree(child, msg)) return true;
  }
  return false;
}

}  // namespace

bool PaintHeld(const TWindow& w) {
  return !w.Parent && (w.ExStyle & WS_EX_LAYERED) && !w.LayeredImage && (w.LayeredFlags & kLayeredConstAlpha) &&
         w.Alpha == 0;
}

void PaintHeldWindow(HWND window) { PaintNow(window, true, false); }

bool NextPaintMessage(MSG* msg, HWND filter) {
  if (filter) {
    const TWindow* top = FindWindowObject(TopLevelOf(filter));
    return !(top && PaintHeld(*top)) && FindPaintInTree(filter, msg);
  }
  std::vector<HWND> tops = WM().TopLevels;
  for (HWND top : tops) {
    const TWindow* w = FindWindowObject(top);
    if (w && PaintHeld(*w)) continue;
    if (FindPaintInTree(top, msg)) return true;
  }
  return false;
}

bool RedrawWindow(HWND window, const TRect* rect, HRGN region, UINT flags) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  TRegion area;
  if (region) {
    area = region->Region.Offsetted(w->Client.Left, w->Client.Top);
  } else if (rect) {
    area = TRegion(rect->Offset(w->Client.Left, w->Client.Top));
  } else {
    area = TRegion(TRect{0, 0, w->Rect.Width(), w->Rect.Height()});
  }
  bool children = (flags & RDW_ALLCHILDREN) ? true : (flags & RDW_NOCHILDREN) ? false : !(w->Style & WS_CLIPCHILDREN);
  if (flags & RDW_INVALIDATE) {
    InvalidateWindowArea(window, area, (flags & RDW_ERASE) != 0, (flags & RDW_FRAME) != 0, children);
    if (!(w = FindWindowObject(window))) return false;
    if (flags & RDW_ERASE) w->EraseNeeded = true;
  }
  if (flags & RDW_INTERNALPAINT) w->InternalPaint = true;
  if (flags & RDW_VALIDATE) ValidateTree(window, area, flags, children);
  if (flags & RDW_UPDATENOW) {
    PaintNow(window, children || (flags & RDW_ALLCHILDREN), false);
  } else if (flags & RDW_ERASENOW) {
    PaintNow(window, children, true);
  }
  return true;
}

bool UpdateWindow(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  PaintNow(window, true, false);
  return true;
}

void UpdateAllWindows() {
  std::vector<HWND> tops = WM().TopLevels;
  for (HWND top : tops) PaintNow(top, true, false);
  FlushPresents();
}

bool GetUpdateRect(HWND window, TRect* rect, bool erase) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  TRect bounds = w->Update.Bounds().Offset(-w->Client.Left, -w->Client.Top);
  if (w->Update.IsEmpty()) bounds = {};
  if (rect) *rect = bounds;
  if (erase) EraseIfNeeded(window);
  return !bounds.IsEmpty();
}

int GetUpdateRgn(HWND window, HRGN region, bool erase) {
  TWindow* w = FindWindowObject(window);
  if (!w || !region) return ERROR;
  region->Region = w->Update.Offsetted(-w->Client.Left, -w->Client.Top);
  if (erase) EraseIfNeeded(window);
  return region->Region.Complexity();
}

// --- device contexts ---------------------------------------------------------------------------

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  TWindow* w = FindWindowObject(window);
  if (!w || !paint) return nullptr;
  if (w->NcDirty) {
    SendNcPaint(window);
    if (!(w = FindWindowObject(window))) return nullptr;
  }
  TRegion update = w->Update;
  bool erase = w->EraseNeeded;
  w->Update.Clear();
  w->InternalPaint = false;
  w->EraseNeeded = false;
  TPoint off = OffsetInTopLevel(window);
  TRegion clip = update.Offsetted(off.X, off.Y);
  HDC dc = MakeDc(window, true, (w->Style & WS_CLIPCHILDREN) != 0, &clip);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->rcPaint = update.IsEmpty() ? TRect{} : update.Bounds().Offset(-w->Client.Left, -w->Client.Top);
  paint->fErase = erase;
  if (dc && erase) paint->fErase = SendMessage(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
  return dc;
}

bool EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (!paint || !paint->hdc) return false;
  ReleaseDcRecord(paint->hdc, true);
  return true;
}

HDC GetDC(HWND window) {
  if (!window) {
    auto dc = std::make_unique<TDeviceContext>(ScratchBitmap());
    HDC handle = dc.get();
    LiveDcs()[handle] = TDcRecord{std::move(dc), nullptr, nullptr};
    return handle;
  }
  TWindow* w = FindWindowObject(window);
  if (!w) return nullptr;
  return MakeDc(window, true, (w->Style & WS_CLIPCHILDREN) != 0, nullptr);
}

HDC GetWindowDC(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return nullptr;
  return MakeDc(window, false, (w->Style & WS_CLIPCHILDREN) != 0, nullptr);
}

HDC GetDCEx(HWND window, HRGN clip, DWORD flags) {
  TWindow* w = FindWindowObject(window);
  if (!w) return nullptr;
  bool whole = (flags & DCX_WINDOW) != 0;
  bool clipChildren = (flags & DCX_CLIPCHILDREN) || (w->Style & WS_CLIPCHILDREN);
  std::optional<TRegion> extra;
  if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    TPoint off = OffsetInTopLevel(window);
    if (!whole) {
      off.X += w->Client.Left;
      off.Y += w->Client.Top;
    }
    TRegion r = clip->Region.Offsetted(off.X, off.Y);
    if (flags & DCX_INTERSECTRGN) {
      extra = r;
    } else {
      TRegion all = VisibleRegion(window, !whole, clipChildren);
      extra = all.Subtract(r);
    }
  }
  return MakeDc(window, !whole, clipChildren, extra ? &*extra : nullptr);
}

int ReleaseDC(HWND, HDC dc) {
  auto& dcs = LiveDcs();
  if (dcs.find(dc) == dcs.end()) return 0;
  ReleaseDcRecord(dc, true);
  return 1;
}

void PrintWindow(HWND window, HDC dc, UINT flags) {
  SendMessage(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), static_cast<LPARAM>(flags));
}
