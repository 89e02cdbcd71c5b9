#pragma once
// Window timers: WM_TIMER(wParam = id, lParam = TIMERPROC or 0) on the UI thread.
// A timer is due every `interval` ms of GetTickCount time; a late timer fires
// once, not once per missed interval.
#include "platform/win/WinTypes.h"

using TIMERPROC = void (*)(HWND window, UINT message, UINT_PTR id, DWORD time);

// Re-setting an existing (window, id) restarts it with the new interval.
// A null window makes a thread timer with a fresh id (returned).
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT interval, TIMERPROC proc);
bool KillTimer(HWND window, UINT_PTR id);
// Milliseconds until the next timer is due (-1 when there is none).
int NextTimerDelay();
