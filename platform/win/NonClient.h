#pragma once
// Layout of the standard frame in window coordinates: borders, caption band,
// caption buttons, scroll bars and the client edge. Shared by hit testing,
// painting and the default interactions.
#include "platform/win/WindowManager.h"

struct TFrameLayout {
  int Border = 0;
  int Caption = 0;   // caption height (0 without caption)
  int Edge = 0;      // client edge width
  TRect Window;      // (0, 0, width, height)
  TRect CaptionBand; // empty without caption
  TRect SysMenu;     // icon rectangle, empty when none
  TRect Close, Max, Min, Help;  // empty when absent
  bool MaxEnabled = true;
  bool MinEnabled = true;
  TRect VScroll, HScroll, SizeBox;  // empty when absent
  TRect Client;
};

TFrameLayout ComputeFrameLayout(const TWindow& w);
// Client rectangle the standard frame leaves inside a window rectangle.
TRect DefaultClientRect(const TWindow& w, const TRect& windowRect);
LRESULT DefaultHitTest(const TWindow& w, TPoint windowPoint);
void PaintDefaultFrame(HWND window, HDC windowDc, bool active);
// Draws the standard scroll bars (part pressed: 0 none; see ScrollInfo.cpp).
void PaintScrollBars(HWND window, HDC windowDc);
// The frame is drawn active while this window or an owned popup is active.
bool FrameActive(HWND window);

// Default interactions started by WM_NCLBUTTONDOWN.
void StartMoveSize(HWND window, LRESULT hit, TPoint screen);
void StartCaptionButton(HWND window, LRESULT hit);
void StartScrollTracking(HWND window, int bar, TPoint screen);
// The pressed caption button while one is held (HTNOWHERE otherwise).
LRESULT PressedCaptionButton(HWND window);
// The pressed scroll part (bar, part) while a bar is operated.
bool PressedScrollPart(HWND window, int* bar, int* part);

// Scroll bar geometry in window coordinates along one bar.
struct TScrollGeometry {
  TRect Bar;
  bool Vertical = true;
  int Arrow = 0;       // arrow length
  int ThumbStart = 0;  // offset from Bar start
  int ThumbSize = 0;   // 0 = no thumb
  bool Enabled = true;
};
TScrollGeometry ScrollGeometry(const TWindow& w, int bar, const TFrameLayout& layout);
// Scroll part under a window point: 0 first arrow, 1 second arrow, 2 page before
// thumb, 3 page after, 5 thumb, -1 nothing.
int ScrollPartAt(const TScrollGeometry& g, TPoint windowPoint);
