// The standard scroll bars: scroll information, geometry and the default
// interaction (arrows, pages, thumb drag, auto-repeat).
#include "platform/win/ScrollInfo.h"

#include <algorithm>

#include "platform/win/HitTest.h"
#include "platform/win/Message.h"
#include "platform/win/NonClient.h"
#include "platform/win/SystemMetrics.h"

namespace {

// First repeat after the press, then steady repeats (classic timing).
constexpr UINT kScrollFirstDelay = 300;
constexpr UINT kScrollRepeat = 55;
constexpr UINT_PTR kScrollTimerId = 0xFFFE;
constexpr int kMinThumb = 8;

TScrollState* StateOf(TWindow* w, int bar) {
  if (!w) return nullptr;
  if (bar == SB_VERT) return &w->VScroll;
  if (bar == SB_HORZ) return &w->HScroll;
  return nullptr;
}

int MaxPos(const TScrollState& s) { return s.Max - std::max(0, static_cast<int>(s.Page) - 1); }

int MulDivRound(int a, int b, int c) {
  if (c == 0) return 0;
  long long n = static_cast<long long>(a) * b;
  long long half = (c > 0 ? c : -c) / 2;
  return static_cast<int>(n >= 0 ? (n + half) / c : (n - half) / c);
}

void RepaintBars(HWND window) { InvalidateWindowArea(window, TRegion(), false, true, false); }

class TScrollTracker final : public TSystemTracker {
public:
  int Bar = SB_VERT;
  int Part = -1;
  bool Shown = true;   // the pressed part is under the mouse
  int Grab = 0;        // mouse minus thumb start, along the bar
  UINT Message = WM_VSCROLL;

  void MouseMove(TPoint screen) override {
    TWindow* w = FindWindowObject(Window);
    if (!w) return;
    TFrameLayout l = ComputeFrameLayout(*w);
    TScrollGeometry g = ScrollGeometry(*w, Bar, l);
    TPoint o = WindowScreenOrigin(Window);
    TPoint p{screen.X - o.X, screen.Y - o.Y};
    if (Part == 5) {
      TScrollState& s = *StateOf(w, Bar);
      int len = g.Vertical ? g.Bar.Height() : g.Bar.Width();
      int along = g.Vertical ? p.Y - g.Bar.Top : p.X - g.Bar.Left;
      int track = len - 2 * g.Arrow - g.ThumbSize;
      int start = std::clamp(along - Grab, g.Arrow, g.Arrow + std::max(0, track));
      int pos = s.Min + (track > 0 ? MulDivRound(start - g.Arrow, MaxPos(s) - s.Min, track) : 0);
      pos = std::clamp(pos, s.Min, std::max(s.Min, MaxPos(s)));
      if (pos != s.TrackPos) {
        s.TrackPos = pos;
        RepaintBars(Window);
        SendMessage(Window, Message, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(pos)), 0);
      }
      return;
    }
    bool over = ScrollPartAt(g, p) == Part;
    if (over != Shown) {
      Shown = over;
      RepaintBars(Window);
    }
  }

  void ButtonUp(TPoint) override {
    HWND window = Window;
    int part = Part;
    UINT message = Message;
    KillSystemTimer(window, kScrollTimerId);
    TWindow* w = FindWindowObject(window);
    int trackPos = w ? StateOf(w, Bar)->TrackPos : 0;
    EndTracker();  // destroys this object
    RepaintBars(window);
    if (part == 5) SendMessage(window, message, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(trackPos)), 0);
    SendMessage(window, message, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
  }

  void Cancel() override {
    KillSystemTimer(Window, kScrollTimerId);
    RepaintBars(Window);
  }

  static void Send(HWND window, UINT message, int part) {
    static const int kCodes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN};
    if (part < 0 || part > 3) return;
    SendMessage(window, message, MAKEWPARAM(static_cast<WORD>(kCodes[part]), 0), 0);
  }

  // Auto-repeat tick: repeats while the pressed part is under the mouse.
  void Tick(bool first) {
    HWND window = Window;
    if (first) {
      SetSystemTimer(window, kScrollTimerId, kScrollRepeat, [window]() {
        auto* t = dynamic_cast<TScrollTracker*>(WM().Tracker.get());
        if (t && t->Window == window) t->Tick(false);
      });
      return;  // the first delay only switches to the repeat rate
    }
    TWindow* w = FindWindowObject(window);
    if (!w) return;
    TScrollGeometry g = ScrollGeometry(*w, Bar, ComputeFrameLayout(*w));
    TPoint o = WindowScreenOrigin(window);
    TPoint mouse = WM().MousePos;
    bool over = ScrollPartAt(g, {mouse.X - o.X, mouse.Y - o.Y}) == Part;
    if (over != Shown) {
      Shown = over;
      RepaintBars(window);
    }
    if (over) Send(window, Message, Part);
  }
};

}  // namespace

TScrollGeometry ScrollGeometry(const TWindow& w, int bar, const TFrameLayout& l) {
  TScrollGeometry g;
  g.Vertical = bar == SB_VERT;
  g.Bar = g.Vertical ? l.VScroll : l.HScroll;
  if (g.Bar.IsEmpty()) return g;
  const TScrollState& s = g.Vertical ? w.VScroll : w.HScroll;
  int len = g.Vertical ? g.Bar.Height() : g.Bar.Width();
  g.Arrow = GetSystemMetrics(g.Vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
  if (2 * g.Arrow > len) g.Arrow = len / 2;
  g.Enabled = s.Disabled != ESB_DISABLE_BOTH && !(w.Style & WS_DISABLED);
  int range = s.Max - s.Min + 1;
  int track = len - 2 * g.Arrow;
  if (range <= 0 || track <= 0 || static_cast<int>(s.Page) >= range) return g;
  int size = s.Page ? std::max(MulDivRound(static_cast<int>(s.Page), track, range), kMinThumb)
                    : GetSystemMetrics(g.Vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  if (size > track) return g;
  int pos = s.Pos;
  int pressedBar = -1, pressedPart = -1;
  if (PressedScrollPart(w.Handle, &pressedBar, &pressedPart) && pressedBar == bar && pressedPart == 5) pos = s.TrackPos;
  int span = MaxPos(s) - s.Min;
  int offset = span > 0 ? MulDivRound(pos - s.Min, track - size, span) : 0;
  g.ThumbSize = size;
  g.ThumbStart = g.Arrow + std::clamp(offset, 0, track - size);
  return g;
}

int ScrollPartAt(const TScrollGeometry& g, TPoint p) {
  if (g.Bar.IsEmpty() || !g.Bar.Contains(p)) return -1;
  int len = g.Vertical ? g.Bar.Height() : g.Bar.Width();
  int t = g.Vertical ? p.Y - g.Bar.Top : p.X - g.Bar.Left;
  if (t < g.Arrow) return 0;
  if (t >= len - g.Arrow) return 1;
  if (g.ThumbSize == 0) return -1;
  if (t < g.ThumbStart) return 2;
  if (t >= g.ThumbStart + g.ThumbSize) return 3;
  return 5;
}

bool PressedScrollPart(HWND window, int* bar, int* part) {
  auto* t = dynamic_cast<TScrollTracker*>(WM().Tracker.get());
  if (!t || t->Window != window || !t->Shown) return false;
  if (bar) *bar = t->Bar;
  if (part) *part = t->Part;
  return true;
}

void StartScrollTracking(HWND window, int bar, TPoint screen) {
  TWindow* w = FindWindowObject(window);
  if (!w) return;
  TScrollGeometry g = ScrollGeometry(*w, bar, ComputeFrameLayout(*w));
  if (!g.Enabled) return;
  TPoint o = WindowScreenOrigin(window);
  TPoint p{screen.X - o.X, screen.Y - o.Y};
  int part = ScrollPartAt(g, p);
  if (part < 0) return;
  const TScrollState& s = *StateOf(w, bar);
  if ((part == 0 && (s.Disabled & ESB_DISABLE_LTUP)) || (part == 1 && (s.Disabled & ESB_DISABLE_RTDN))) return;
  auto tracker = std::make_unique<TScrollTracker>();
  tracker->Window = window;
  tracker->Bar = bar;
  tracker->Part = part;
  tracker->Message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  if (part == 5) {
    int along = g.Vertical ? p.Y - g.Bar.Top : p.X - g.Bar.Left;
    tracker->Grab = along - g.ThumbStart;
    StateOf(w, bar)->TrackPos = s.Pos;
  }
  UINT message = tracker->Message;
  StartTracker(std::move(tracker));
  RepaintBars(window);
  if (part == 5) return;
  TScrollTracker::Send(window, message, part);
  SetSystemTimer(window, kScrollTimerId, kScrollFirstDelay, [window]() {
    auto* t = dynamic_cast<TScrollTracker*>(WM().Tracker.get());
    if (t && t->Window == window) t->Tick(true);
  });
}

// --- scroll information ---------------------------------------------------------------------

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, bool redraw) {
  TScrollState* s = StateOf(FindWindowObject(window), bar);
  if (!s || !info) return 0;
  if (info->fMask & SIF_RANGE) {
    s->Min = info->nMin;
    s->Max = std::max(info->nMin, info->nMax);
  }
  if (info->fMask & SIF_PAGE) {
    long long range = static_cast<long long>(s->Max) - s->Min + 1;
    s->Page = static_cast<UINT>(std::min<long long>(info->nPage, range));
  }
  if (info->fMask & SIF_POS) s->Pos = info->nPos;
  s->Pos = std::clamp(s->Pos, s->Min, std::max(s->Min, MaxPos(*s)));
  s->Has = true;
  if (redraw) RepaintBars(window);
  return s->Pos;
}

bool GetScrollInfo(HWND window, int bar, SCROLLINFO* info) {
  TWindow* w = FindWindowObject(window);
  TScrollState* s = StateOf(w, bar);
  if (!s || !info) return false;
  DWORD flag = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  if (!s->Has && !(w->Style & flag)) return false;
  if (info->fMask & SIF_RANGE) {
    info->nMin = s->Min;
    info->nMax = s->Max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s->Page;
  if (info->fMask & SIF_POS) info->nPos = s->Pos;
  if (info->fMask & SIF_TRACKPOS) {
    int pb = -1, pp = -1;
    bool dragging = PressedScrollPart(window, &pb, &pp) && pb == bar && pp == 5;
    info->nTrackPos = dragging ? s->TrackPos : s->Pos;
  }
  return true;
}

int SetScrollPos(HWND window, int bar, int pos, bool redraw) {
  TScrollState* s = StateOf(FindWindowObject(window), bar);
  if (!s) return 0;
  int old = s->Pos;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(window, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND window, int bar) {
  TScrollState* s = StateOf(FindWindowObject(window), bar);
  return s ? s->Pos : 0;
}

bool SetScrollRange(HWND window, int bar, int minPos, int maxPos, bool redraw) {
  if (!StateOf(FindWindowObject(window), bar)) return false;
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = minPos;
  si.nMax = maxPos;
  SetScrollInfo(window, bar, &si, redraw);
  return true;
}

bool GetScrollRange(HWND window, int bar, int* minPos, int* maxPos) {
  TScrollState* s = StateOf(FindWindowObject(window), bar);
  if (!s) return false;
  if (minPos) *minPos = s->Min;
  if (maxPos) *maxPos = s->Max;
  return true;
}

bool ShowScrollBar(HWND window, int bar, bool show) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  DWORD bits = bar == SB_VERT ? WS_VSCROLL : bar == SB_HORZ ? WS_HSCROLL : bar == SB_BOTH ? (WS_VSCROLL | WS_HSCROLL) : 0;
  if (!bits) return false;
  DWORD style = show ? (w->Style | bits) : (w->Style & ~bits);
  if (style == w->Style) return true;
  SetWindowLongPtr(window, GWL_STYLE, static_cast<LONG_PTR>(style));
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

bool EnableScrollBar(HWND window, UINT bar, UINT arrows) {
  TWindow* w = FindWindowObject(window);
  if (!w) return false;
  bool changed = false;
  for (int b : {SB_HORZ, SB_VERT}) {
    if (static_cast<int>(bar) != b && bar != SB_BOTH) continue;
    TScrollState* s = StateOf(w, b);
    if (s->Disabled != arrows) {
      s->Disabled = arrows;
      changed = true;
    }
  }
  if (changed) RepaintBars(window);
  return changed;
}

bool GetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info) {
  TWindow* w = FindWindowObject(window);
  if (!w || !info) return false;
  int bar = objectId == OBJID_VSCROLL ? SB_VERT : objectId == OBJID_HSCROLL ? SB_HORZ : -1;
  if (bar < 0) return false;
  TScrollGeometry g = ScrollGeometry(*w, bar, ComputeFrameLayout(*w));
  TPoint o = WindowScreenOrigin(window);
  *info = SCROLLBARINFO{};
  info->rcScrollBar = g.Bar.Offset(o.X, o.Y);
  info->dxyLineButton = g.Arrow;
  info->xyThumbTop = g.ThumbStart;
  info->xyThumbBottom = g.ThumbStart + g.ThumbSize;
  if (g.Bar.IsEmpty()) info->rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  if (!g.Enabled) info->rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  return true;
}
