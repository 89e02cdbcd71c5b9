#pragma once
// Skinned scroll bars: one TacScrollBar per orientation of a subclassed window
// (owned by its TacScrollWnd), their geometry and hit test, their painting from
// the skin's scroll-bar sections, and the mouse interaction (hover, arrows and
// track with auto-repeat, thumb drag) that sends the window the same WM_HSCROLL /
// WM_VSCROLL requests the platform's own bars would send.
#include "platform/gfx/GdiObject.h"
#include "platform/gfx/Types.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/WinTypes.h"
#include "skin/controls/Forward.h"

// Timers on the bar's window.
constexpr UINT_PTR kSBHoverTimer = 0xFFF2;
constexpr UINT_PTR kSBFirstRepeatTimer = 0xFFFD;
constexpr UINT_PTR kSBRepeatTimer = 0xFFFE;
constexpr UINT kSBHoverInterval = 20;
constexpr UINT kSBFirstRepeatDelay = 300;
constexpr UINT kSBRepeatInterval = 55;

// Parts of a bar, numbered as the request codes they send.
constexpr int kSBNone = -1;
constexpr int kSBFirstArrow = 0;
constexpr int kSBSecondArrow = 1;
constexpr int kSBTrackBefore = 2;
constexpr int kSBTrackAfter = 3;
constexpr int kSBThumb = 5;

// a * b / c rounded to nearest; 0 when c is 0 (a failed division counts as 0).
int acMulDiv(int a, int b, int c);

class TacScrollBar {
public:
  TacScrollBar(TacScrollWnd* owner, int orientation) : Owner(owner), Orientation(orientation) {}

  bool Vertical() const { return Orientation == SB_VERT; }
  // Reads the window's scroll information (all fields); false when it reports none.
  bool ReadInfo(HWND window);
  // Thickness T and arrow length A (the platform metrics unless overridden).
  int Thickness() const;
  int ArrowLength() const;
  // The platform reports information for the bar and does not mark it unavailable.
  bool Enabled(HWND window) const;

  TacScrollWnd* Owner = nullptr;
  SCROLLINFO Info;
  bool HasInfo = false;
  bool Wanted = false;
  bool Visible = false;
  int Orientation = SB_VERT;  // SB_HORZ or SB_VERT
  int ArrowLengthOverride = -1;
  int ThicknessOverride = -1;
  int MinThumbSize = 10;
};

// Size of the thumb and its start along the bar (in the bar rectangle's
// coordinate system: screen or window, whatever r is given in).
struct TacThumb {
  int Size = 0;
  int Start = 0;
};
TacThumb ThumbGeometry(const TacScrollBar& bar, const TRect& r, int arrow);
// The part of the bar rectangle r under p (same coordinates), kSBNone for none.
int ScrollBarHitTest(const TacScrollBar& bar, const TRect& r, TPoint p, int arrow);

// Paints one bar into the window's device context (window coordinates).
void PaintScrollBar(TacScrollWnd& wnd, TacScrollBar& bar, HDC windowDc);
// Fills the square between two visible bars and draws the size grip when it has one.
void PaintSizeBox(TacScrollWnd& wnd, HDC windowDc);
// The square between two visible bars (screen); empty when one is missing.
TRect SizeBoxRect(TacScrollWnd& wnd);
// Whether the size box sits on the corner of its top-level window's client area.
bool SizeBoxHasGrip(TacScrollWnd& wnd);

// Sends a scroll request as the platform would: command 51 first, the scroll
// message (the position clamped to 16 bits), then command 52.
void SendScrollRequest(HWND window, UINT message, int code, int position);

// The process-wide interaction: only one bar of one window is operated or hovered.
struct TacScrollInteraction {
  HWND Window = nullptr;       // the window under interaction
  UINT ScrollMessage = 0;      // WM_HSCROLL or WM_VSCROLL of the pressed bar
  int PressedBar = -1;         // orientation of the pressed bar
  int PressedPart = kSBNone;
  int ShownPart = kSBNone;     // the pressed part shown pressed (cursor over it)
  bool Repeating = false;      // a repeat timer runs
  HWND HoverWindow = nullptr;
  int HoverBar = -1;
  TRect HoverRect;             // screen
  int HoverPart = kSBNone;
  int PrevHoverPart = kSBNone;
  bool HoverTimer = false;
  // Thumb drag.
  int ThumbSize = 0;
  int ThumbStart = 0;          // screen coordinate along the bar
  TRect BarRect;               // screen, at the press
  int Grab = 0;                // mouse minus thumb start at the press
  int LastPos = 0;
  int DragStart = 0;           // dragged thumb start (screen, along the bar)
};
TacScrollInteraction& ScrollInteraction();

// The interaction handlers TacScrollWnd calls; each returns true when it consumed
// the message.
bool ScrollNcMouseMove(TacScrollWnd& wnd, LRESULT hit);
bool ScrollNcLButtonDown(TacScrollWnd& wnd, LRESULT hit, TPoint screen);
bool ScrollTimer(TacScrollWnd& wnd, UINT_PTR id);
bool ScrollMouseMove(TacScrollWnd& wnd, TPoint screen);
bool ScrollLButtonUp(TacScrollWnd& wnd);
// Drops the interaction state that refers to the window (it goes away).
void ForgetScrollInteraction(HWND window);
