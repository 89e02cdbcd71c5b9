#include "skin/controls/acSBUtils.h"

#include <algorithm>

#include "forms/WinControl.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Cursors.h"
#include "platform/win/Message.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Timer.h"
#include "platform/win/Win.h"
#include "skin/controls/acScrollWnd.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acParentBg.h"
#include "skin/paint/acTexture.h"
#include "skin/paint/sStyleSimply.h"
#include "skin/render/sBlend.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

int acMulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  const long long n = static_cast<long long>(a) * b;
  const long long an = n < 0 ? -n : n, ac = c < 0 ? -static_cast<long long>(c) : c;
  const long long q = (an + ac / 2) / ac;
  return static_cast<int>((n < 0) != (c < 0) ? -q : q);
}

// --- One bar ------------------------------------------------------------------------------

bool TacScrollBar::ReadInfo(HWND window) {
  Info = SCROLLINFO{};
  Info.fMask = SIF_ALL;
  HasInfo = GetScrollInfo(window, Orientation, &Info);
  return HasInfo;
}

int TacScrollBar::Thickness() const {
  if (ThicknessOverride >= 0) return ThicknessOverride;
  return -ThicknessOverride * GetSystemMetrics(Vertical() ? SM_CXVSCROLL : SM_CYHSCROLL);
}

int TacScrollBar::ArrowLength() const {
  if (ArrowLengthOverride >= 0) return ArrowLengthOverride;
  return -ArrowLengthOverride * GetSystemMetrics(SM_CXHSCROLL);
}

bool TacScrollBar::Enabled(HWND window) const {
  SCROLLBARINFO info;
  if (!GetScrollBarInfo(window, Vertical() ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) return false;
  return (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
}

TacThumb ThumbGeometry(const TacScrollBar& bar, const TRect& r, int arrow) {
  TacThumb thumb;
  const int len = bar.Vertical() ? r.Height() : r.Width();
  const int start = bar.Vertical() ? r.Top : r.Left;
  const int l = len - 2 * arrow;
  const int range = bar.Info.nMax - bar.Info.nMin + 1;
  const int page = static_cast<int>(bar.Info.nPage);
  // A page that shows the whole range leaves nothing to scroll: no thumb, as on a plain
  // bar. Without a page the thumb is an arrow long, whatever the range.
  const bool canScroll = page == 0 || range > page;
  if (!canScroll) {
    thumb.Start = start + arrow;
    return thumb;
  }
  if (page == 0)
    thumb.Size = arrow;
  else if (range > 0)
    thumb.Size = std::max(acMulDiv(page, l, range), bar.MinThumbSize);
  int offset = 0;
  if (range > 0) offset = acMulDiv(bar.Info.nPos - bar.Info.nMin, l - thumb.Size, range - std::max(page, 1));
  offset = std::max(0, std::min(offset, l - thumb.Size));
  thumb.Start = start + arrow + offset;
  return thumb;
}

int ScrollBarHitTest(const TacScrollBar& bar, const TRect& r, TPoint p, int arrow) {
  const bool v = bar.Vertical();
  const int across = v ? p.X : p.Y;
  if (across < (v ? r.Left : r.Top) || across >= (v ? r.Right : r.Bottom)) return kSBNone;
  const int len = v ? r.Height() : r.Width();
  const int t = v ? p.Y - r.Top : p.X - r.Left;
  if (t < 0 || t >= len) return kSBNone;
  const int e = 2 * arrow < len ? arrow : len / 2;
  if (t < e) return kSBFirstArrow;
  if (t >= len - e) return kSBSecondArrow;
  const TacThumb thumb = ThumbGeometry(bar, r, arrow);
  if (thumb.Size == 0 || thumb.Size >= len - 2 * arrow) return kSBNone;
  const int ts = thumb.Start - (v ? r.Top : r.Left);
  if (t >= ts && t < ts + thumb.Size) return kSBThumb;
  if (t < ts) return kSBTrackBefore;
  if (t >= ts + thumb.Size) return kSBTrackAfter;
  return kSBNone;
}

TacScrollInteraction& ScrollInteraction() {
  static TacScrollInteraction state;
  return state;
}

// --- Painting -------------------------------------------------------------------------------

namespace {

// What lies behind the window, and the window's top-left in that background's space.
BackgroundInfo WindowBackground(TacScrollWnd& wnd, TPoint& origin) {
  TacBGInfo request;
  if (TWinControl* control = wnd.Control()) {
    GetParentBackground(request, control, false);
    origin = {control->Left(), control->Top()};
    BackgroundInfo bg = BackgroundFromRequest(request);
    if (!bg.Ready && bg.FillColor == clFuchsia) {
      // A parent without its face yet answers "nothing known"; its own colour stands
      // in so that key pixels never show, and the bars are painted again once it
      // tells its children it has painted.
      wnd.BackgroundPending = true;
      bg.FillColor = control->Parent() ? ColorToRGB(control->Parent()->Color()) : ColorToRGB(clBtnFace);
    }
    return bg;
  }
  HWND parent = GetParent(wnd.Handle());
  TRect r;
  GetWindowRect(wnd.Handle(), &r);
  origin = {r.Left, r.Top};
  if (!parent) return BackgroundInfo::FromColor(ColorToRGB(clBtnFace));
  ScreenToClient(parent, &origin);
  SendMessage(parent, SM_ALPHACMD, MakeCommandWParam(AC_GETCACHE), reinterpret_cast<LPARAM>(&request));
  if (request.BgType == btCache && request.Bmp) return BackgroundFromRequest(request);
  if (request.BgType == btFill) return BackgroundInfo::FromColor(request.Color);
  const LRESULT colour = SendMessage(parent, SM_ALPHACMD, MakeCommandWParam(AC_GETCOLOR), clFuchsia);
  return BackgroundInfo::FromColor(colour != 0 ? static_cast<TColor>(colour) : ColorToRGB(clBtnFace));
}

struct TBarSections {
  const TacSectionMaskIndexes* Track1;
  const TacSectionMaskIndexes* Track2;
  const TacSectionMaskIndexes* Button1;
  const TacSectionMaskIndexes* Button2;
  const TacSectionMaskIndexes* Slider;
};

TBarSections SectionsOf(const TsSkinManager& manager, bool vertical) {
  const TacCommonIndexes& c = manager.CommonIndexes;
  if (vertical) return {&c.ScrollBar1V, &c.ScrollBar2V, &c.ScrollBtnTop, &c.ScrollBtnBottom, &c.ScrollSliderV};
  return {&c.ScrollBar1H, &c.ScrollBar2H, &c.ScrollBtnLeft, &c.ScrollBtnRight, &c.ScrollSliderH};
}

void PaintPart(TsSkinManager& manager, const TacSectionMaskIndexes& part, const BackgroundInfo& bg, TBitmap& bmp,
               TPoint offset, TRect rect, TacPaintState state) {
  if (part.Section < 0 || rect.IsEmpty()) return;
  PaintSectionByIndex(part.Section, "", bg, part.Texture, part.HotTexture, &manager, &bmp, offset, rect, state, true);
}

// The part's glyph centred in square.
void PaintGlyph(TsSkinManager& manager, const TacSectionMaskIndexes& part, TBitmap& bmp, TRect square, TacPaintState state) {
  if (!manager.Mask(part.Glyph)) return;
  const TsMaskData& mask = *manager.Mask(part.Glyph);
  const TSize size = StateImageSize(mask);
  const TPoint p{square.Left + (square.Width() - size.cx) / 2, square.Top + (square.Height() - size.cy) / 2};
  DrawGlyphMask(bmp, p, state, 1, mask, BackgroundInfo::FromBitmap(&bmp, 0, 0));
}

// The arrow length drawn: skins may ask for arrows as long as their button frame.
int PaintedArrowLength(TsSkinManager& manager, bool vertical, int arrow) {
  const TacCommonIndexes& c = manager.CommonIndexes;
  if (c.ScrollBtnLeft.Section < 0) return arrow;
  if (!manager.Section(c.ScrollBtnLeft.Section)->ReservedBoolean) return arrow;
  const int border = vertical ? c.ScrollBtnTop.Border : c.ScrollBtnLeft.Border;
  if (!manager.Mask(border)) return arrow;
  const TSize size = StateImageSize(*manager.Mask(border));
  return std::max(GetSystemMetrics(SM_CXHSCROLL), vertical ? size.cy : size.cx);
}

// States of the parts: first arrow, second arrow, track before, track after, thumb.
struct TPartStates {
  TacPaintState Arrow1 = TacPaintState::Normal, Arrow2 = TacPaintState::Normal, Track1 = TacPaintState::Normal, Track2 = TacPaintState::Normal, Thumb = TacPaintState::Normal;
  bool Dragging = false;
};

TPartStates StatesOf(TacScrollWnd& wnd, int orientation, bool enabled) {
  TPartStates s;
  const TacScrollInteraction& sb = ScrollInteraction();
  const HWND h = wnd.Handle();
  const int shown = sb.Window == h && sb.PressedBar == orientation ? sb.ShownPart : kSBNone;
  const int hovered = sb.HoverWindow == h && sb.HoverBar == orientation && enabled ? sb.HoverPart : kSBNone;
  auto arrow = [&](int part) { return shown == part ? TacPaintState::Pressed : HotIf(hovered == part); };
  s.Arrow1 = arrow(kSBFirstArrow);
  s.Arrow2 = arrow(kSBSecondArrow);
  s.Track1 = shown == kSBTrackBefore ? TacPaintState::Pressed : TacPaintState::Normal;
  s.Track2 = shown == kSBTrackAfter ? TacPaintState::Pressed : TacPaintState::Normal;
  s.Thumb = HotIf(hovered == kSBThumb);
  if (wnd.ThumbTracking && sb.Window == h && sb.PressedBar == orientation) {
    s.Dragging = true;
    s.Arrow1 = s.Arrow2 = TacPaintState::Normal;
    s.Thumb = TacPaintState::Pressed;
  }
  return s;
}

}  // namespace

void PaintScrollBar(TacScrollWnd& wnd, TacScrollBar& bar, HDC windowDc) {
  const HWND h = wnd.Handle();
  bar.ReadInfo(h);
  TsSkinManager* manager = wnd.SkinManager();
  if (!bar.Visible || !manager || !windowDc) return;
  const TBarSections sections = SectionsOf(*manager, bar.Vertical());
  if (sections.Track1->Section < 0) return;
  const TRect screen = wnd.BarRect(bar.Orientation);
  const bool v = bar.Vertical();
  const int len = v ? screen.Height() : screen.Width();
  if (len <= 1 || (v && wnd.ThumbTrackSending)) return;
  TRect window;
  GetWindowRect(h, &window);
  const TPoint barPos{screen.Left - window.Left, screen.Top - window.Top};
  TPoint origin;
  const BackgroundInfo bg = WindowBackground(wnd, origin);
  const TPoint offset{origin.X + barPos.X, origin.Y + barPos.Y};
  const int w = screen.Width(), hgt = screen.Height();
  TBitmap bmp(w, hgt, TPixelFormat::pf24bit);
  auto span = [&](int from, int to) { return v ? TRect{0, from, w, to} : TRect{from, 0, to, hgt}; };

  const bool enabled = wnd.BarDrawnEnabled(bar.Orientation);
  const TPartStates st = StatesOf(wnd, bar.Orientation, enabled);
  const int arrow = bar.ArrowLength();
  const int square = GetSystemMetrics(SM_CXHSCROLL);
  if (2 * arrow < len) {
    const int painted = std::min(PaintedArrowLength(*manager, v, arrow), len / 2);
    TacThumb thumb = ThumbGeometry(bar, span(0, len), arrow);
    if (st.Dragging) thumb.Start = ScrollInteraction().DragStart - (v ? screen.Top : screen.Left);
    const int split = thumb.Start + thumb.Size / 2;
    PaintPart(*manager, *sections.Track1, bg, bmp, offset, span(0, split), st.Track1);
    PaintPart(*manager, *sections.Track2, bg, bmp, offset, span(split, len), st.Track2);
    PaintPart(*manager, *sections.Button1, bg, bmp, offset, span(0, painted), st.Arrow1);
    PaintGlyph(*manager, *sections.Button1, bmp, span(0, std::min(square, len)), st.Arrow1);
    PaintPart(*manager, *sections.Button2, bg, bmp, offset, span(len - painted, len), st.Arrow2);
    PaintGlyph(*manager, *sections.Button2, bmp, span(std::max(0, len - square), len), st.Arrow2);
    const int l = len - 2 * arrow;
    const int needed = std::max(acMulDiv(static_cast<int>(bar.Info.nPage), l, bar.Info.nMax - bar.Info.nMin),
                                bar.MinThumbSize);
    if (enabled && thumb.Size > 0 && l >= needed) {
      const TRect t = span(thumb.Start, thumb.Start + thumb.Size);
      PaintPart(*manager, *sections.Slider, bg, bmp, offset, t, st.Thumb);
      PaintGlyph(*manager, *sections.Slider, bmp, t, st.Thumb);
    }
  } else {
    // Too short for two arrows: two half-length buttons over the two track halves.
    const int half = len / 2;
    PaintPart(*manager, *sections.Track1, bg, bmp, offset, span(0, half), st.Track1);
    PaintPart(*manager, *sections.Track2, bg, bmp, offset, span(half, len), st.Track2);
    PaintPart(*manager, *sections.Button1, bg, bmp, offset, span(0, half), st.Arrow1);
    PaintGlyph(*manager, *sections.Button1, bmp, span(0, half), st.Arrow1);
    PaintPart(*manager, *sections.Button2, bg, bmp, offset, span(half, len), st.Arrow2);
    PaintGlyph(*manager, *sections.Button2, bmp, span(half, len), st.Arrow2);
  }
  if (!enabled) {
    // 40 % bar over 60 % of what lies behind.
    if (bg.Ready)
      PaintDisabledLook(bmp, kDisabledBlend, bg.FillColor, offset, bg);
    else
      BlendColorRect(bmp, {0, 0, w - 1, hgt - 1}, 40, bg.FillColor);
  }
  BitBlt(windowDc, barPos.X, barPos.Y, w, hgt, &bmp.Canvas(), 0, 0, SRCCOPY);
}

TRect SizeBoxRect(TacScrollWnd& wnd) {
  if (!wnd.HBar().Visible || !wnd.VBar().Visible) return {};
  const TRect hr = wnd.BarRect(SB_HORZ), vr = wnd.BarRect(SB_VERT);
  return {vr.Left, hr.Top, vr.Right, hr.Bottom};
}

bool SizeBoxHasGrip(TacScrollWnd& wnd) {
  const TRect box = SizeBoxRect(wnd);
  if (box.IsEmpty()) return false;
  const HWND parent = GetParent(wnd.Handle());
  if (!parent || GetAncestor(wnd.Handle(), GA_ROOT) != parent) return false;
  TRect client;
  GetClientRect(parent, &client);
  TPoint corner{wnd.LeftScrollBar ? client.Left : client.Right, client.Bottom};
  ClientToScreen(parent, &corner);
  TRect window;
  GetWindowRect(wnd.Handle(), &window);
  return window.Bottom == corner.Y && (wnd.LeftScrollBar ? window.Left : window.Right) == corner.X;
}

void PaintSizeBox(TacScrollWnd& wnd, HDC windowDc) {
  const TRect box = SizeBoxRect(wnd);
  TsSkinManager* manager = wnd.SkinManager();
  if (box.IsEmpty() || !manager || !windowDc) return;
  TRect window;
  GetWindowRect(wnd.Handle(), &window);
  const TPoint pos{box.Left - window.Left, box.Top - window.Top};
  TPoint origin;
  BackgroundInfo bg = WindowBackground(wnd, origin);
  bg.OffsetX += origin.X + pos.X;
  bg.OffsetY += origin.Y + pos.Y;
  TBitmap bmp(box.Width(), box.Height(), TPixelFormat::pf24bit);
  PutBehind(bmp, {0, 0, box.Width(), box.Height()}, bg);
  if (SizeBoxHasGrip(wnd)) {
    const int grip = manager->MaskIndexOf("GLOBALINFO", "GRIPIMAGE");
    if (manager->Mask(grip)) {
      const TsMaskData& mask = *manager->Mask(grip);
      const TSize size = StateImageSize(mask);
      DrawGlyphMask(bmp, {box.Width() - size.cx, box.Height() - size.cy}, TacPaintState::Normal, 1, mask,
                    BackgroundInfo::FromBitmap(&bmp, 0, 0));
    }
  }
  BitBlt(windowDc, pos.X, pos.Y, box.Width(), box.Height(), &bmp.Canvas(), 0, 0, SRCCOPY);
}

// --- Requests ------------------------------------------------------------------------------

void SendScrollRequest(HWND window, UINT message, int code, int position) {
  const LRESULT answer = SendMessage(window, SM_ALPHACMD, MakeCommandWParam(AC_ADAPTER51),
                                     MAKELPARAM(static_cast<WORD>(code), static_cast<WORD>(message)));
  WPARAM wParam;
  LPARAM lParam = 0;
  if (answer != 1) {
    if (code == SB_THUMBTRACK) SetScrollPos(window, message == WM_VSCROLL ? SB_VERT : SB_HORZ, position, false);
    wParam = MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(std::clamp(position, 0, 65535)));
  } else {
    wParam = MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position & 0xFFFF));
    lParam = position;
  }
  SendMessage(window, message, wParam, lParam);
  SendMessage(window, SM_ALPHACMD, MakeCommandWParam(AC_ADAPTER52), 0);
}

// --- Interaction ---------------------------------------------------------------------------

namespace {

int OrientationOfHit(LRESULT hit) { return hit == HTVSCROLL ? SB_VERT : SB_HORZ; }

void Send(TacScrollWnd& wnd, UINT message, int code, int position) {
  wnd.Busy = true;
  SendScrollRequest(wnd.Handle(), message, code, position);
  wnd.Busy = false;
}

}  // namespace

bool ScrollNcMouseMove(TacScrollWnd& wnd, LRESULT hit) {
  if (hit != HTHSCROLL && hit != HTVSCROLL) return false;
  TacScrollInteraction& sb = ScrollInteraction();
  const int orientation = OrientationOfHit(hit);
  if (sb.HoverWindow == wnd.Handle() && sb.HoverBar == orientation) return false;
  sb.HoverWindow = wnd.Handle();
  sb.HoverBar = orientation;
  sb.HoverPart = sb.PrevHoverPart = kSBNone;
  sb.HoverRect = wnd.BarRect(orientation);
  SetTimer(wnd.Handle(), kSBHoverTimer, kSBHoverInterval, nullptr);
  sb.HoverTimer = true;
  wnd.RefreshBars(true);
  return false;
}

bool ScrollNcLButtonDown(TacScrollWnd& wnd, LRESULT hit, TPoint screen) {
  if (hit != HTHSCROLL && hit != HTVSCROLL) return false;
  TacScrollInteraction& sb = ScrollInteraction();
  const int orientation = OrientationOfHit(hit);
  TacScrollBar& bar = wnd.Bar(orientation);
  bar.ReadInfo(wnd.Handle());
  const TRect rect = wnd.BarRect(orientation);
  const int arrow = bar.ArrowLength();
  const int part = ScrollBarHitTest(bar, rect, screen, arrow);
  if (part == kSBNone) return false;
  if (!wnd.BarDrawnEnabled(orientation)) return true;
  const UINT message = hit == HTHSCROLL ? WM_HSCROLL : WM_VSCROLL;
  sb.Window = wnd.Handle();
  sb.ScrollMessage = message;
  sb.PressedBar = orientation;
  sb.PressedPart = sb.ShownPart = part;
  SetCapture(wnd.Handle());
  if (part == kSBThumb) {
    const TacThumb thumb = ThumbGeometry(bar, rect, arrow);
    sb.ThumbSize = thumb.Size;
    sb.ThumbStart = sb.DragStart = thumb.Start;
    sb.BarRect = rect;
    wnd.ThumbTracking = true;
    bar.Info.nTrackPos = bar.Info.nPos;
    sb.Grab = (bar.Vertical() ? screen.Y : screen.X) - thumb.Start;
    sb.LastPos = bar.Info.nPos;
    wnd.RefreshBars(true);
    return true;
  }
  wnd.RefreshBars(true);
  Send(wnd, message, part, 0);
  SetTimer(wnd.Handle(), kSBFirstRepeatTimer, kSBFirstRepeatDelay, nullptr);
  sb.Repeating = true;
  wnd.RefreshBars(true);
  return true;
}

bool ScrollMouseMove(TacScrollWnd& wnd, TPoint screen) {
  TacScrollInteraction& sb = ScrollInteraction();
  if (sb.Window != wnd.Handle() || sb.PressedPart == kSBNone) return false;
  TacScrollBar& bar = wnd.Bar(sb.PressedBar);
  const int arrow = bar.ArrowLength();
  if (!wnd.ThumbTracking) {
    const int part = ScrollBarHitTest(bar, wnd.BarRect(sb.PressedBar), screen, arrow);
    const int shown = part == sb.PressedPart ? sb.PressedPart : kSBNone;
    if (shown != sb.ShownPart) {
      sb.ShownPart = shown;
      wnd.RefreshBars(true);
    }
    return true;
  }
  const bool v = bar.Vertical();
  const int trackStart = (v ? sb.BarRect.Top : sb.BarRect.Left) + arrow;
  const int trackLength = (v ? sb.BarRect.Height() : sb.BarRect.Width()) - 2 * arrow;
  int start = (v ? screen.Y : screen.X) - sb.Grab;
  start = std::min(start, trackStart + trackLength - sb.ThumbSize);
  start = std::max(start, trackStart);
  sb.DragStart = start;
  wnd.RefreshBars(true);
  const int r = bar.Info.nMax - bar.Info.nMin;
  const int page = static_cast<int>(bar.Info.nPage);
  const int travel = start - trackStart;
  int position;
  if (r < 1)
    position = travel;
  else if (v && travel == trackLength - sb.ThumbSize)
    position = r - page + 2;
  else
    position = acMulDiv(travel, r - page + (v ? 2 : 1), trackLength - sb.ThumbSize);
  if (position != sb.LastPos) {
    bar.Info.nTrackPos = position;
    wnd.ThumbTrackSending = true;
    SendScrollRequest(wnd.Handle(), sb.ScrollMessage, SB_THUMBTRACK, position);
    wnd.ThumbTrackSending = false;
    sb.LastPos = position;
  }
  return true;
}

bool ScrollLButtonUp(TacScrollWnd& wnd) {
  TacScrollInteraction& sb = ScrollInteraction();
  if (sb.Window != wnd.Handle() || sb.PressedPart == kSBNone) return false;
  const HWND h = wnd.Handle();
  const UINT message = sb.ScrollMessage;
  const bool dragged = wnd.ThumbTracking;
  const int last = sb.LastPos;
  // The state goes first: releasing the capture comes back here as a capture change.
  sb.Window = nullptr;
  sb.PressedBar = -1;
  sb.PressedPart = sb.ShownPart = kSBNone;
  if (sb.Repeating) {
    KillTimer(h, kSBFirstRepeatTimer);
    KillTimer(h, kSBRepeatTimer);
    sb.Repeating = false;
  }
  if (GetCapture() == h) ReleaseCapture();
  wnd.Busy = true;
  if (dragged) {
    SendScrollRequest(h, message, SB_THUMBPOSITION, last);
    wnd.ThumbTracking = false;
  }
  SendScrollRequest(h, message, SB_ENDSCROLL, dragged ? last : 0);
  wnd.Busy = false;
  wnd.RefreshBars(true);
  return true;
}

bool ScrollTimer(TacScrollWnd& wnd, UINT_PTR id) {
  TacScrollInteraction& sb = ScrollInteraction();
  const HWND h = wnd.Handle();
  switch (id) {
    case kSBHoverTimer: {
      if (sb.HoverWindow != h) {
        KillTimer(h, kSBHoverTimer);
        wnd.RefreshBars(true);
        return true;
      }
      if (wnd.ThumbTracking) return true;
      TPoint p;
      GetCursorPos(&p);
      if (sb.HoverRect.Contains(p)) {
        TacScrollBar& bar = wnd.Bar(sb.HoverBar);
        const int part = ScrollBarHitTest(bar, sb.HoverRect, p, bar.ArrowLength());
        sb.PrevHoverPart = sb.HoverPart;
        if (part != sb.HoverPart) {
          sb.HoverPart = part;
          wnd.RefreshBars(true);
        }
      } else {
        KillTimer(h, kSBHoverTimer);
        sb.HoverTimer = false;
        sb.HoverWindow = nullptr;
        sb.HoverBar = -1;
        sb.HoverPart = sb.PrevHoverPart = kSBNone;
        wnd.RefreshBars(true);
      }
      return true;
    }
    case kSBFirstRepeatTimer:
      KillTimer(h, kSBFirstRepeatTimer);
      if (sb.Window == h && sb.PressedPart != kSBNone) SetTimer(h, kSBRepeatTimer, kSBRepeatInterval, nullptr);
      return true;
    case kSBRepeatTimer: {
      if (sb.Window != h || sb.PressedPart == kSBNone || wnd.ThumbTracking) {
        KillTimer(h, kSBRepeatTimer);
        return true;
      }
      // The cursor is taken as it is; a left-hand bar lies at negative client x.
      TPoint p;
      GetCursorPos(&p);
      ScrollMouseMove(wnd, p);
      if (sb.ShownPart == sb.PressedPart) Send(wnd, sb.ScrollMessage, sb.PressedPart, 0);
      wnd.RefreshBars(true);
      return true;
    }
    default:
      return false;
  }
}

void ForgetScrollInteraction(HWND window) {
  TacScrollInteraction& sb = ScrollInteraction();
  if (sb.Window == window) {
    KillTimer(window, kSBFirstRepeatTimer);
    KillTimer(window, kSBRepeatTimer);
    sb.Window = nullptr;
    sb.PressedBar = -1;
    sb.PressedPart = sb.ShownPart = kSBNone;
    sb.Repeating = false;
    if (GetCapture() == window) ReleaseCapture();
  }
  if (sb.HoverWindow == window) {
    KillTimer(window, kSBHoverTimer);
    sb.HoverWindow = nullptr;
    sb.HoverBar = -1;
    sb.HoverPart = sb.PrevHoverPart = kSBNone;
    sb.HoverTimer = false;
  }
}
