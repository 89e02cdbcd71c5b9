#pragma once
// Scroll information of the standard scroll bars of WS_HSCROLL / WS_VSCROLL windows.
#include "platform/win/ScrollBars.h"

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, bool redraw);
bool GetScrollInfo(HWND window, int bar, SCROLLINFO* info);
int SetScrollPos(HWND window, int bar, int pos, bool redraw);
int GetScrollPos(HWND window, int bar);
bool SetScrollRange(HWND window, int bar, int minPos, int maxPos, bool redraw);
bool GetScrollRange(HWND window, int bar, int* minPos, int* maxPos);
// Shows or hides a bar by adding or removing WS_HSCROLL / WS_VSCROLL.
bool ShowScrollBar(HWND window, int bar, bool show);
bool EnableScrollBar(HWND window, UINT bar, UINT arrows);
bool GetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info);
