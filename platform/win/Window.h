#pragma once
// Windows: classes, creation and destruction, styles, the parent/child tree,
// z-order, owners, properties, text, show states and geometry.
//
// All calls take handles; a handle that names no live window makes a call do
// nothing and return 0 / false / null.
#include <functional>
#include <string>

#include "platform/gfx/GdiObject.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowProc.h"
#include "platform/win/WindowStyles.h"

struct WNDCLASSEX {
  UINT cbSize = sizeof(WNDCLASSEX);
  UINT style = 0;
  TWindowProc lpfnWndProc;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  // A brush, or (HBRUSH)(COLOR_xxx + 1) for a system colour, or null (no erase).
  HBRUSH hbrBackground = nullptr;
  const char* lpszMenuName = nullptr;
  const char* lpszClassName = nullptr;
  HICON hIconSm = nullptr;
};
using WNDCLASS = WNDCLASSEX;

// Registers a class; 0 when the name is empty or already registered.
ATOM RegisterClassEx(const WNDCLASSEX& windowClass);
ATOM RegisterClass(const WNDCLASSEX& windowClass);
bool UnregisterClass(const char* className, HINSTANCE instance);
bool GetClassInfoEx(HINSTANCE instance, const char* className, WNDCLASSEX* out);
// Class name of a window (empty for a dead handle); classic form copies into a buffer.
std::string GetClassName(HWND window);
int GetClassName(HWND window, char* buffer, int size);
LONG_PTR GetClassLongPtr(HWND window, int index);
LONG_PTR SetClassLongPtr(HWND window, int index, LONG_PTR value);

// Classes every program has: "#32770" (dialog) and "Static" use DefWindowProc.
// Creation order of messages: HCBT_CREATEWND hook, WM_GETMINMAXINFO (overlapped),
// WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SHOWWINDOW/WM_WINDOWPOSCHANGING... when
// WS_VISIBLE, WM_SIZE and WM_MOVE. A child (WS_CHILD) needs a parent.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y, int width, int height,
                  HWND parent, HMENU menu, HINSTANCE instance, void* param);
// Children first, then owned windows, then the window; WM_DESTROY parent before
// children, WM_NCDESTROY children before parent. Safe from inside the window's
// own procedure.
bool DestroyWindow(HWND window);
bool IsWindow(HWND window);

LONG_PTR GetWindowLongPtr(HWND window, int index);
// GWL_STYLE / GWL_EXSTYLE send WM_STYLECHANGING and WM_STYLECHANGED.
// GWLP_WNDPROC values are handles from WindowProcHandle (see Message.h).
LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value);
LONG GetWindowLong(HWND window, int index);
LONG SetWindowLong(HWND window, int index, LONG value);
// Extra bytes (cbWndExtra) are addressed by non-negative byte offsets.

// Tree and z-order. Children and top-level windows keep a z-order, topmost first.
HWND GetParent(HWND window);   // parent of a child, owner of a top-level window
HWND SetParent(HWND window, HWND newParent);
HWND GetAncestor(HWND window, UINT flags);
HWND GetWindow(HWND window, UINT relation);
HWND GetTopWindow(HWND window);  // first child in z-order; null = top-level list
HWND GetDesktopWindow();
bool IsChild(HWND parent, HWND window);
HWND GetOwner(HWND window);
// Children in z-order, top first; the callback returns false to stop.
bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback);
bool EnumWindows(const std::function<bool(HWND)>& callback);
bool BringWindowToTop(HWND window);
// Marks a top-level window as holding up the rest of the program (a modal box, may
// nest): while it is shown no other window of its band goes above it.
void SetWindowModal(HWND window, bool modal);
bool IsWindowModal(HWND window);
HWND FindWindow(const char* className, const char* windowName);
int GetDlgCtrlID(HWND window);
HWND GetDlgItem(HWND parent, int id);

// Properties (SetProp family). Names compare exactly.
bool SetProp(HWND window, const char* name, void* data);
void* GetProp(HWND window, const char* name);
void* RemoveProp(HWND window, const char* name);

// Text (UTF-8), through WM_SETTEXT / WM_GETTEXT.
bool SetWindowText(HWND window, const std::string& text);
std::string GetWindowText(HWND window);
int GetWindowText(HWND window, char* buffer, int size);
int GetWindowTextLength(HWND window);

// Show states.
bool ShowWindow(HWND window, int command);  // returns whether it was visible before
bool IsWindowVisible(HWND window);          // the window and all its ancestors
bool IsIconic(HWND window);
bool IsZoomed(HWND window);
bool EnableWindow(HWND window, bool enable);  // returns whether it was disabled before
bool IsWindowEnabled(HWND window);
bool GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement);

// Geometry. Window rectangles are in screen coordinates, client rectangles have
// origin (0, 0). SetWindowPos x, y are in the parent's client coordinates.
bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint);
bool GetWindowRect(HWND window, TRect* rect);
bool GetClientRect(HWND window, TRect* rect);
TRect WindowRect(HWND window);
TRect ClientRect(HWND window);
bool ClientToScreen(HWND window, TPoint* point);
bool ScreenToClient(HWND window, TPoint* point);
// Maps points from one window's client coordinates to another's (null = screen).
int MapWindowPoints(HWND from, HWND to, TPoint* points, UINT count);
int MapWindowPoints(HWND from, HWND to, TRect* rect);
bool AdjustWindowRectEx(TRect* rect, DWORD style, bool menu, DWORD exStyle);
// The topmost visible, enabled-or-not window at a screen point (children
// included, HTTRANSPARENT honoured); null for the desktop.
HWND WindowFromPoint(TPoint screen);
HWND ChildWindowFromPoint(HWND parent, TPoint client);
HWND RealChildWindowFromPoint(HWND parent, TPoint client);

// Window regions in window coordinates; the window owns the region afterwards
// (null removes it). Regions clip painting, composition and hit testing.
int SetWindowRgn(HWND window, HRGN region, bool redraw);
// Copies the window's region into `region`; returns the region type (0 = ERROR
// when the window has none).
int GetWindowRgn(HWND window, HRGN region);

// Focus, activation, capture.
HWND SetFocus(HWND window);
HWND GetFocus();
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND SetCapture(HWND window);
bool ReleaseCapture();
HWND GetCapture();
bool TrackMouseEvent(TRACKMOUSEEVENT* track);

// The window currently under the mouse (last input position).
HWND WindowUnderMouse();
