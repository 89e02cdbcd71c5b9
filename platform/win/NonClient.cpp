// The standard frame: layout, hit testing and a plain classic look.
#include <algorithm>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/SystemColors.h"
#include "platform/gfx/Text.h"
#include "platform/gfx/TextFlags.h"
#include "platform/win/HitTest.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"

int FrameWidth(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

int CaptionHeight(DWORD style, DWORD exStyle) {
  if ((style & WS_CAPTION) != WS_CAPTION) return 0;
  return GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int ClientEdge(DWORD exStyle) {
  if (exStyle & WS_EX_CLIENTEDGE) return GetSystemMetrics(SM_CXEDGE);
  if (exStyle & WS_EX_STATICEDGE) return 1;
  return 0;
}

TFrameLayout ComputeFrameLayout(const TWindow& w) {
  TFrameLayout l;
  int width = w.Rect.Width();
  int height = w.Rect.Height();
  l.Window = {0, 0, width, height};
  l.Border = FrameWidth(w.Style, w.ExStyle);
  l.Caption = CaptionHeight(w.Style, w.ExStyle);
  l.Edge = ClientEdge(w.ExStyle);
  TRect inner = l.Window.Inflate(-l.Border, -l.Border);
  if (l.Caption > 0) {
    l.CaptionBand = {inner.Left, inner.Top, inner.Right, inner.Top + l.Caption - 1};
    inner.Top += l.Caption;
    bool tool = (w.ExStyle & WS_EX_TOOLWINDOW) != 0;
    int bh = l.CaptionBand.Height() - 4;
    int bw = bh + 2;
    if (bh > 0 && (w.Style & WS_SYSMENU)) {
      int right = l.CaptionBand.Right - 2;
      int top = l.CaptionBand.Top + 2;
      l.Close = {right - bw, top, right, top + bh};
      right = l.Close.Left - 2;
      bool boxes = !tool && (w.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
      if (boxes) {
        l.Max = {right - bw, top, right, top + bh};
        l.Min = {l.Max.Left - bw, top, l.Max.Left, top + bh};
        l.MaxEnabled = (w.Style & WS_MAXIMIZEBOX) != 0;
        l.MinEnabled = (w.Style & WS_MINIMIZEBOX) != 0;
        right = l.Min.Left - 2;
      } else if (w.ExStyle & WS_EX_CONTEXTHELP) {
        l.Help = {right - bw, top, right, top + bh};
      }
      if (!tool && !(w.ExStyle & WS_EX_DLGMODALFRAME)) {
        int icon = std::min(GetSystemMetrics(SM_CXSMICON), l.CaptionBand.Height());
        int iy = l.CaptionBand.Top + (l.CaptionBand.Height() - icon) / 2;
        l.SysMenu = Bounds(l.CaptionBand.Left + 2, iy, icon, icon);
      }
    }
  }
  if (w.Style & WS_MINIMIZE) {
    l.Client = {inner.Left, inner.Top, inner.Left, inner.Top};
    return l;
  }
  inner = inner.Inflate(-l.Edge, -l.Edge);
  if (inner.Right < inner.Left) inner.Right = inner.Left;
  if (inner.Bottom < inner.Top) inner.Bottom = inner.Top;
  int vs = GetSystemMetrics(SM_CXVSCROLL);
  int hs = GetSystemMetrics(SM_CYHSCROLL);
  bool wantV = (w.Style & WS_VSCROLL) && inner.Width() >= vs;
  bool wantH = (w.Style & WS_HSCROLL) && inner.Height() >= hs;
  bool left = (w.ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  if (wantH) {
    l.HScroll = {inner.Left, inner.Bottom - hs, inner.Right, inner.Bottom};
    inner.Bottom -= hs;
  }
  if (wantV) {
    l.VScroll = left ? TRect{inner.Left, inner.Top, inner.Left + vs, inner.Bottom}
                     : TRect{inner.Right - vs, inner.Top, inner.Right, inner.Bottom};
    if (left) inner.Left += vs; else inner.Right -= vs;
  }
  if (wantH && wantV) {
    if (left) {
      l.HScroll.Left += vs;
      l.SizeBox = {l.VScroll.Left, l.HScroll.Top, l.VScroll.Right, l.HScroll.Bottom};
    } else {
      l.HScroll.Right -= vs;
      l.SizeBox = {l.VScroll.Left, l.HScroll.Top, l.VScroll.Right, l.HScroll.Bottom};
    }
  }
  l.Client = inner;
  return l;
}

TRect DefaultClientRect(const TWindow& w, const TRect& windowRect) {
  TWindow copy;
  copy.Style = w.Style;
  copy.ExStyle = w.ExStyle;
  copy.Rect = windowRect;
  TFrameLayout l = ComputeFrameLayout(copy);
  return l.Client.Offset(windowRect.Left, windowRect.Top);
}

LRESULT DefaultHitTest(const TWindow& w, TPoint p) {
  TFrameLayout l = ComputeFrameLayout(w);
  if (!l.Window.Contains(p)) return HTNOWHERE;
  if (w.WindowRegion && !w.WindowRegion->Contains(p)) return HTNOWHERE;
  if (l.Client.Contains(p)) return HTCLIENT;
  if (l.VScroll.Contains(p)) return HTVSCROLL;
  if (l.HScroll.Contains(p)) return HTHSCROLL;
  bool sizable = (w.Style & WS_THICKFRAME) && !(w.Style & (WS_MAXIMIZE | WS_MINIMIZE));
  if (l.SizeBox.Contains(p)) return sizable ? HTBOTTOMRIGHT : HTNOWHERE;
  if (l.Close.Contains(p)) return HTCLOSE;
  if (l.Max.Contains(p)) return HTMAXBUTTON;
  if (l.Min.Contains(p)) return HTMINBUTTON;
  if (l.Help.Contains(p)) return HTHELP;
  if (l.SysMenu.Contains(p)) return HTSYSMENU;
  if (l.CaptionBand.Contains(p)) return HTCAPTION;
  TRect inner = l.Window.Inflate(-l.Border, -l.Border);
  if (!inner.Contains(p)) {
    if (!sizable) return HTBORDER;
    int corner = GetSystemMetrics(SM_CYCAPTION) + l.Border;
    bool nearLeft = p.X < corner, nearRight = p.X >= l.Window.Right - corner;
    bool nearTop = p.Y < corner, nearBottom = p.Y >= l.Window.Bottom - corner;
    if (p.X < inner.Left) return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
    if (p.X >= inner.Right) return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
    if (p.Y < inner.Top) return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
    return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
  }
  return HTBORDER;
}

// --- drawing -----------------------------------------------------------------------------

namespace {

TColor Sys(int index) { return static_cast<TColor>(GetSysColor(index)); }

void Fill(HDC dc, const TRect& r, TColor c) {
  if (!r.IsEmpty()) dc->FillRect(r, c);
}

// A classic two-pixel edge: outer top-left, outer bottom-right, inner top-left, inner bottom-right.
void Edge(HDC dc, TRect r, TColor outerTL, TColor outerBR, TColor innerTL, TColor innerBR) {
  auto ring = [&](const TRect& q, TColor tl, TColor br) {
    if (q.IsEmpty()) return;
    Fill(dc, {q.Left, q.Top, q.Right, q.Top + 1}, tl);
    Fill(dc, {q.Left, q.Top, q.Left + 1, q.Bottom}, tl);
    Fill(dc, {q.Left, q.Bottom - 1, q.Right, q.Bottom}, br);
    Fill(dc, {q.Right - 1, q.Top, q.Right, q.Bottom}, br);
  };
  ring(r, outerTL, outerBR);
  ring(r.Inflate(-1, -1), innerTL, innerBR);
}

void RaisedBox(HDC dc, const TRect& r, bool pressed) {
  Fill(dc, r.Inflate(-2, -2), Sys(COLOR_BTNFACE));
  if (pressed) {
    Edge(dc, r, Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW), Sys(COLOR_3DLIGHT));
  } else {
    Edge(dc, r, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
  }
}

enum class TFrameGlyph { Close, Max, Restore, Min, Help, Up, Down, Left, Right };

void DrawGlyph(HDC dc, const TRect& r, TFrameGlyph glyph, bool pressed, bool enabled) {
  int s = std::min(r.Width(), r.Height());
  int cx = r.Left + r.Width() / 2 + (pressed ? 1 : 0);
  int cy = r.Top + r.Height() / 2 + (pressed ? 1 : 0);
  auto paint = [&](TColor color, int dx, int dy) {
    auto px = [&](int x, int y, int w, int h) { Fill(dc, Bounds(x + dx, y + dy, w, h), color); };
    switch (glyph) {
      case TFrameGlyph::Close: {
        int k = std::max(2, s / 2 - 3);
        for (int i = -k; i < k; ++i) {
          px(cx + i - 1, cy + i - 1, 2, 1);
          px(cx - i - 2, cy + i - 1, 2, 1);
        }
        break;
      }
      case TFrameGlyph::Max: {
        int k = std::max(3, s / 2 - 2);
        TRect b{cx - k, cy - k, cx + k - 1, cy + k - 1};
        px(b.Left, b.Top, b.Width(), 2);
        px(b.Left, b.Bottom - 1, b.Width(), 1);
        px(b.Left, b.Top, 1, b.Height());
        px(b.Right - 1, b.Top, 1, b.Height());
        break;
      }
      case TFrameGlyph::Restore: {
        int k = std::max(3, s / 2 - 2);
        TRect back{cx - k + 3, cy - k, cx + k - 1, cy + k - 4};
        TRect front{cx - k, cy - k + 3, cx + k - 4, cy + k - 1};
        for (const TRect& b : {back, front}) {
          px(b.Left, b.Top, b.Width(), 2);
          px(b.Left, b.Bottom - 1, b.Width(), 1);
          px(b.Left, b.Top, 1, b.Height());
          px(b.Right - 1, b.Top, 1, b.Height());
        }
        break;
      }
      case TFrameGlyph::Min: {
        int k = std::max(3, s / 2 - 3);
        px(cx - k, cy + k - 2, 2 * k - 1, 2);
        break;
      }
      case TFrameGlyph::Help: {
        px(cx - 2, cy - 4, 4, 1);
        px(cx - 3, cy - 3, 1, 2);
        px(cx + 2, cy - 3, 1, 2);
        px(cx + 1, cy - 1, 1, 1);
        px(cx, cy, 1, 2);
        px(cx, cy + 3, 1, 1);
        break;
      }
      case TFrameGlyph::Up:
      case TFrameGlyph::Down: {
        int k = std::max(2, s / 4);
        for (int i = 0; i < k; ++i) {
          int y = glyph == TFrameGlyph::Up ? cy - k / 2 + i : cy + k / 2 - i;
          px(cx - i, y, 2 * i + 1, 1);
        }
        break;
      }
      case TFrameGlyph::Left:
      case TFrameGlyph::Right: {
        int k = std::max(2, s / 4);
        for (int i = 0; i < k; ++i) {
          int x = glyph == TFrameGlyph::Left ? cx - k / 2 + i : cx + k / 2 - i;
          px(x, cy - i, 1, 2 * i + 1);
        }
        break;
      }
    }
  };
  if (enabled) {
    paint(Sys(COLOR_BTNTEXT), 0, 0);
  } else {
    paint(Sys(COLOR_BTNHIGHLIGHT), 1, 1);
    paint(Sys(COLOR_GRAYTEXT), 0, 0);
  }
}

HFONT CaptionFont(bool small) {
  static HFONT normal = nullptr;
  static HFONT smallFont = nullptr;
  HFONT& f = small ? smallFont : normal;
  if (!f) {
    TLogFont lf;
    lf.FaceName = "Tahoma";
    lf.Height = small ? -11 : -12;
    lf.Weight = FW_BOLD;
    f = CreateFontIndirect(lf);
  }
  return f;
}

void DrawWindowIcon(HDC dc, const TRect& r, bool active) {
  // A small window picture standing in for the program icon.
  TRect b = r.Inflate(-1, -2);
  Fill(dc, b, Sys(COLOR_WINDOW));
  Fill(dc, {b.Left, b.Top, b.Right, b.Top + 3}, active ? RGB(0xF0, 0xC0, 0x40) : Sys(COLOR_BTNSHADOW));
  Fill(dc, {b.Left, b.Top, b.Left + 1, b.Bottom}, Sys(COLOR_BTNSHADOW));
  Fill(dc, {b.Right - 1, b.Top, b.Right, b.Bottom}, Sys(COLOR_BTNSHADOW));
  Fill(dc, {b.Left, b.Bottom - 1, b.Right, b.Bottom}, Sys(COLOR_BTNSHADOW));
}

}  // namespace

void PaintDefaultFrame(HWND window, HDC dc, bool active) {
  TWindow* w = FindWindowObject(window);
  if (!w || !dc) return;
  TFrameLayout l = ComputeFrameLayout(*w);
  dc->Save();
  dc->ExcludeClip(l.Client);
  // Borders.
  if (w->Style & WS_THICKFRAME) {
    Edge(dc, l.Window, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
    TColor border = Sys(active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);
    TRect ring = l.Window.Inflate(-2, -2);
    for (int i = 2; i < l.Border; ++i) {
      Fill(dc, {ring.Left, ring.Top, ring.Right, ring.Top + 1}, border);
      Fill(dc, {ring.Left, ring.Bottom - 1, ring.Right, ring.Bottom}, border);
      Fill(dc, {ring.Left, ring.Top, ring.Left + 1, ring.Bottom}, border);
      Fill(dc, {ring.Right - 1, ring.Top, ring.Right, ring.Bottom}, border);
      ring = ring.Inflate(-1, -1);
    }
  } else if (l.Border >= 2) {
    Edge(dc, l.Window, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
    if (l.Border > 2) {
      TRect ring = l.Window.Inflate(-2, -2);
      Edge(dc, ring, Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE));
    }
  } else if (l.Border == 1) {
    TRect q = l.Window;
    TColor c = Sys(COLOR_WINDOWFRAME);
    Fill(dc, {q.Left, q.Top, q.Right, q.Top + 1}, c);
    Fill(dc, {q.Left, q.Bottom - 1, q.Right, q.Bottom}, c);
    Fill(dc, {q.Left, q.Top, q.Left + 1, q.Bottom}, c);
    Fill(dc, {q.Right - 1, q.Top, q.Right, q.Bottom}, c);
  }
  // Caption band.
  if (!l.CaptionBand.IsEmpty()) {
    COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    TRIVERTEX v[2];
    v[0] = {l.CaptionBand.Left, l.CaptionBand.Top, static_cast<COLOR16>(GetRValue(from) << 8),
            static_cast<COLOR16>(GetGValue(from) << 8), static_cast<COLOR16>(GetBValue(from) << 8), 0xFF00};
    v[1] = {l.CaptionBand.Right, l.CaptionBand.Bottom, static_cast<COLOR16>(GetRValue(to) << 8),
            static_cast<COLOR16>(GetGValue(to) << 8), static_cast<COLOR16>(GetBValue(to) << 8), 0xFF00};
    GRADIENT_RECT gr{0, 1};
    dc->GradientFill(v, 2, &gr, 1, GRADIENT_FILL_RECT_H);
    Fill(dc, {l.CaptionBand.Left, l.CaptionBand.Bottom, l.CaptionBand.Right, l.CaptionBand.Bottom + 1},
         Sys(COLOR_BTNFACE));
    int textLeft = l.CaptionBand.Left + 4;
    if (!l.SysMenu.IsEmpty()) {
      DrawWindowIcon(dc, l.SysMenu, active);
      textLeft = l.SysMenu.Right + 4;
    }
    int textRight = l.CaptionBand.Right - 4;
    for (const TRect* b : {&l.Help, &l.Min, &l.Max, &l.Close}) {
      if (!b->IsEmpty()) {
        textRight = b->Left - 4;
        break;
      }
    }
    TRect text{textLeft, l.CaptionBand.Top, textRight, l.CaptionBand.Bottom};
    if (!w->Text.empty() && text.Width() > 0) {
      HFONT old = dc->SelectFont(CaptionFont((w->ExStyle & WS_EX_TOOLWINDOW) != 0));
      dc->SetBkMode(TRANSPARENT);
      dc->SetTextColor(Sys(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
      dc->DrawText(w->Text, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      if (old) dc->SelectFont(old);
    }
    LRESULT pressed = PressedCaptionButton(window);
    auto button = [&](const TRect& r, LRESULT code, TFrameGlyph glyph, bool enabled) {
      if (r.IsEmpty()) return;
      bool down = pressed == code;
      RaisedBox(dc, r, down);
      DrawGlyph(dc, r, glyph, down, enabled);
    };
    button(l.Close, HTCLOSE, TFrameGlyph::Close, !(w->Class->Style & CS_NOCLOSE));
    button(l.Max, HTMAXBUTTON, (w->Style & WS_MAXIMIZE) ? TFrameGlyph::Restore : TFrameGlyph::Max, l.MaxEnabled);
    button(l.Min, HTMINBUTTON, (w->Style & WS_MINIMIZE) ? TFrameGlyph::Restore : TFrameGlyph::Min, l.MinEnabled);
    button(l.Help, HTHELP, TFrameGlyph::Help, true);
  }
  // Client edge.
  if (l.Edge >= 2) {
    TRect r = l.Client;
    if (!l.VScroll.IsEmpty()) {
      if (l.VScroll.Left < l.Client.Left) r.Left = l.VScroll.Left; else r.Right = l.VScroll.Right;
    }
    if (!l.HScroll.IsEmpty()) r.Bottom = l.HScroll.Bottom;
    Edge(dc, r.Inflate(2, 2), Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT));
  } else if (l.Edge == 1) {
    TRect r = l.Client.Inflate(1, 1);
    Edge(dc, r.Inflate(1, 1), Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
  }
  dc->Restore(-1);
  PaintScrollBars(window, dc);
}

void PaintScrollBars(HWND window, HDC dc) {
  TWindow* w = FindWindowObject(window);
  if (!w || !dc) return;
  TFrameLayout l = ComputeFrameLayout(*w);
  int pressedBar = -1, pressedPart = -1;
  PressedScrollPart(window, &pressedBar, &pressedPart);
  for (int bar : {SB_HORZ, SB_VERT}) {
    TScrollGeometry g = ScrollGeometry(*w, bar, l);
    if (g.Bar.IsEmpty()) continue;
    const TScrollState& s = bar == SB_VERT ? w->VScroll : w->HScroll;
    bool v = g.Vertical;
    int len = v ? g.Bar.Height() : g.Bar.Width();
    int a = g.Arrow;
    auto span = [&](int from, int to) {
      return v ? TRect{g.Bar.Left, g.Bar.Top + from, g.Bar.Right, g.Bar.Top + to}
               : TRect{g.Bar.Left + from, g.Bar.Top, g.Bar.Left + to, g.Bar.Bottom};
    };
    // Track: the classic light checker of highlight and face.
    TRect track = span(a, len - a);
    Fill(dc, track, Sys(COLOR_SCROLLBAR));
    auto pressedHere = [&](int part) { return pressedBar == bar && pressedPart == part; };
    if (g.ThumbSize > 0) {
      if (pressedHere(2)) Fill(dc, span(a, g.ThumbStart), Sys(COLOR_3DDKSHADOW));
      if (pressedHere(3)) Fill(dc, span(g.ThumbStart + g.ThumbSize, len - a), Sys(COLOR_3DDKSHADOW));
    }
    bool firstEnabled = g.Enabled && !(s.Disabled & ESB_DISABLE_LTUP);
    bool secondEnabled = g.Enabled && !(s.Disabled & ESB_DISABLE_RTDN);
    TRect first = span(0, a);
    TRect second = span(len - a, len);
    RaisedBox(dc, first, pressedHere(0));
    DrawGlyph(dc, first, v ? TFrameGlyph::Up : TFrameGlyph::Left, pressedHere(0), firstEnabled);
    RaisedBox(dc, second, pressedHere(1));
    DrawGlyph(dc, second, v ? TFrameGlyph::Down : TFrameGlyph::Right, pressedHere(1), secondEnabled);
    if (g.ThumbSize > 0 && g.Enabled) RaisedBox(dc, span(g.ThumbStart, g.ThumbStart + g.ThumbSize), false);
  }
  if (!l.SizeBox.IsEmpty()) Fill(dc, l.SizeBox, Sys(COLOR_BTNFACE));
}
