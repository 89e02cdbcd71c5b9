#pragma once
// Input entering the window system, from a backend or from tests. Positions
// are desktop (screen) coordinates; the window system finds the target window
// by z-order, window regions and hit testing, honours capture, and generates
// client and non-client mouse messages, double clicks, mouse leave, cursor
// requests, focus and activation.
#include <string>

#include "platform/win/WinTypes.h"

enum class TMouseButton { Left, Right, Middle };

void InputMouseMove(TPoint screen);
// `display` names the top-level window whose native window the display delivered
// the press to, where the display has native windows stacked by someone else (a
// window manager): that window is on top at the point, so it goes on top here too.
void InputMouseButton(TMouseButton button, bool down, TPoint screen, HWND display = nullptr);
// delta in multiples of WHEEL_DELTA (120) per notch; positive = away from the user.
void InputMouseWheel(int delta, TPoint screen, bool horizontal = false);
// A key by virtual-key code. Alt held (VK_MENU) turns messages into WM_SYSKEY*.
void InputKey(int virtualKey, bool down);
// Text typed (UTF-8); each code point becomes one WM_CHAR (UTF-16 units above
// the basic plane are sent as a surrogate pair).
void InputText(const std::string& utf8);
// The pointer left every window of the program.
void InputMouseLeftDesktop();
// The display raised a top-level window above the others (a window manager, or
// another program), and activated it when `activated`: the z-order follows, an
// open modal window stays above everything, and the display is told the order.
void InputWindowRaised(HWND window, bool activated);

// Keyboard state as the window system saw it (high bit = down, low bit = toggled).
short GetKeyState(int virtualKey);
short GetAsyncKeyState(int virtualKey);
