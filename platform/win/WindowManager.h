#pragma once
// Internal state of the window system: the window table, classes, the posted
// queue, timers, hooks, focus, capture and tracking. One instance per process,
// used only from the user-interface thread.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Region.h"
#include "platform/win/Backend.h"
#include "platform/win/Hooks.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Timer.h"
#include "platform/win/Window.h"

struct TWindowClass {
  std::string Name;
  UINT Style = 0;
  TWindowProc Proc;
  HBRUSH Background = nullptr;
  HCURSOR Cursor = nullptr;
  HICON Icon = nullptr;
  HICON IconSm = nullptr;
  int WndExtra = 0;
  HINSTANCE Instance = nullptr;
};

// TWindow::LayeredFlags bits.
constexpr DWORD kLayeredColorKey = 0x01;   // LWA_COLORKEY
constexpr DWORD kLayeredConstAlpha = 0x02; // LWA_ALPHA
constexpr DWORD kLayeredPerPixel = 0x100;  // UpdateLayeredWindow with AC_SRC_ALPHA

struct TScrollState {
  int Min = 0;
  int Max = 100;
  UINT Page = 0;
  int Pos = 0;
  int TrackPos = 0;
  UINT Disabled = ESB_ENABLE_BOTH;  // ESB_DISABLE_* arrows
  bool Has = false;                 // information was set
};

struct TWindow {
  HWND Handle = nullptr;
  std::shared_ptr<TWindowClass> Class;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  TWindowProc Proc;
  HWND Parent = nullptr;  // children only
  HWND Owner = nullptr;   // top-level only
  std::vector<HWND> Children;  // z-order, top first
  TRect Rect;        // parent client coordinates (screen for top-level windows)
  TRect Client;      // client rectangle in window coordinates
  std::string Text;
  LONG_PTR UserData = 0;
  LONG_PTR Id = 0;
  std::vector<std::uint8_t> Extra;
  std::map<std::string, void*> Props;
  HINSTANCE Instance = nullptr;

  // Painting. Update is in window coordinates (frame included).
  TRegion Update;
  bool NcDirty = false;
  bool EraseNeeded = false;
  bool InternalPaint = false;
  bool RedrawOff = false;  // WM_SETREDRAW FALSE
  std::optional<TRegion> WindowRegion;  // window coordinates

  // Top-level windows: the whole image and what the backend shows.
  std::unique_ptr<TBitmap> Image;
  TRect ImageDirty;  // window coordinates
  bool ShownOnBackend = false;

  // Layered windows.
  std::uint8_t Alpha = 255;
  DWORD LayeredFlags = 0;
  COLORREF ColorKey = 0;
  std::unique_ptr<TBitmap> LayeredImage;  // UpdateLayeredWindow mode when set

  // Show states.
  TRect NormalRect;  // restore position while minimised or maximised
  bool NormalValid = false;
  bool RestoreMaximized = false;  // minimised from the maximised state: restoring maximises

  TScrollState HScroll;
  TScrollState VScroll;

  bool NcActive = false;  // frame drawn active (last WM_NCACTIVATE)
  bool Destroying = false;
  bool Created = false;
  int ModalDepth = 0;
};

struct TTimerEntry {
  HWND Window = nullptr;
  UINT_PTR Id = 0;
  UINT Interval = 0;
  std::uint64_t Due = 0;
  std::uint64_t Seq = 0;
  TIMERPROC Proc = nullptr;
  std::function<void()> System;  // internal timers of default handling
};

struct THook {
  HHOOK Handle = nullptr;
  THookProcFn Fn = nullptr;
  void* Context = nullptr;
  HOOKPROC Plain = nullptr;
  bool Removed = false;
};

// An interaction owned by default handling (move, size, scroll bar, caption
// button): while one runs, mouse input goes to it instead of the windows.
class TSystemTracker {
public:
  virtual ~TSystemTracker() = default;
  virtual void MouseMove(TPoint screen) = 0;
  virtual void ButtonUp(TPoint screen) = 0;
  // Capture was taken away; end without committing anything more.
  virtual void Cancel() = 0;
  HWND Window = nullptr;
};

class TWindowManager {
public:
  static TWindowManager& Instance();

  TWindow* Find(HWND window) const;
  TWindow& Require(HWND window) const;  // only after Find succeeded

  TDisplayBackend& Backend();
  void SetBackend(TDisplayBackend* backend);

  HWND NewHandle() { return HandleFromId(NextId_++); }
  std::unordered_map<std::uintptr_t, std::unique_ptr<TWindow>> Windows;
  std::map<std::string, std::shared_ptr<TWindowClass>> Classes;
  std::vector<HWND> TopLevels;  // z-order, top first

  std::deque<MSG> Queue;
  bool QuitPosted = false;
  int QuitCode = 0;
  int SendDepth = 0;

  std::vector<TTimerEntry> Timers;
  std::uint64_t TimerSeq = 0;
  UINT_PTR NextThreadTimerId = 0x7000;

  std::vector<THook> Hooks;  // installation order
  std::uintptr_t NextHookId = 1;
  int HookDepth = 0;

  HWND Active = nullptr;
  HWND Focus = nullptr;
  HWND Capture = nullptr;
  bool AppActive = false;
  std::unique_ptr<TSystemTracker> Tracker;

  // Mouse.
  TPoint MousePos{-1, -1};
  HWND MouseWindow = nullptr;
  LRESULT MouseHit = 0;
  HWND TrackLeave = nullptr;
  bool TrackNonClient = false;
  bool TrackClient = false;
  HWND TrackNcLeave = nullptr;
  HWND TrackHover = nullptr;
  UINT HoverTime = 400;
  HCURSOR Cursor = nullptr;
  // Double-click detection.
  UINT LastDownMsg = 0;
  HWND LastDownWindow = nullptr;
  std::uint64_t LastDownTime = 0;
  TPoint LastDownPos;
  bool LastWasDouble = false;
  UINT DoubleClickTime = 500;

  std::uint8_t KeyState[256] = {};

  // Resets everything (tests); destroys all windows without messages.
  void Reset();

private:
  TWindowManager();
  std::uintptr_t NextId_ = 0x10000;
  TDisplayBackend* Backend_ = nullptr;
  std::unique_ptr<TDisplayBackend> Fallback_;
};

inline TWindowManager& WM() { return TWindowManager::Instance(); }
inline TWindow* FindWindowObject(HWND window) { return TWindowManager::Instance().Find(window); }

// Internal helpers shared by the implementation files.
LRESULT CallCbtHook(int code, WPARAM wParam, LPARAM lParam);
bool IsTopLevel(const TWindow& w);
HWND TopLevelOf(HWND window);
// Window origin inside its top-level window's image.
TPoint OffsetInTopLevel(HWND window);
// Screen position of the window's top-left corner.
TPoint WindowScreenOrigin(HWND window);
// Visible region of the window in its top-level image coordinates (client only
// or whole window), children excluded when asked.
TRegion VisibleRegion(HWND window, bool clientOnly, bool excludeChildren);
// Marks image pixels changed so the backend is told at the next flush.
void MarkImageDirty(HWND topLevel, const TRect& windowRect);
// Tells the backend about visibility, bounds, alpha and z-order of every top-level window.
void SyncBackendWindow(HWND topLevel);
void SyncBackendZOrder();
// Sends dirty image parts to the backend.
void FlushPresents();
// Finds a window needing paint; sends WM_NCPAINT on the way. Fills msg with
// WM_PAINT and returns true when one is found. Windows that show nothing
// (PaintHeld) are passed over.
bool NextPaintMessage(MSG* msg, HWND filter);
// A top-level window at constant alpha 0 shows nothing: its paint waits until it
// can be seen, and whoever makes it visible paints it first (PaintHeldWindow).
bool PaintHeld(const TWindow& w);
// Paints a window that was held, before the display is told it can be seen.
void PaintHeldWindow(HWND window);
// Invalidate in window coordinates; frame tells whether the frame is included.
void InvalidateWindowArea(HWND window, const TRegion& area, bool erase, bool frame, bool children);
void InvalidateWhole(HWND window);
// Called after geometry changes: parent areas uncovered by the change.
void InvalidateUncovered(HWND window, const TRect& oldRectInParent);
void ActivateTopLevel(HWND window, bool byMouse);
void ActivateNextAfter(HWND window);
void WindowDestroyedInput(HWND window);
void KillWindowTimers(HWND window);
UINT_PTR SetSystemTimer(HWND window, UINT_PTR id, UINT interval, std::function<void()> callback);
void KillSystemTimer(HWND window, UINT_PTR id);
// Default frame metrics of a window (style based).
int FrameWidth(DWORD style, DWORD exStyle);
int CaptionHeight(DWORD style, DWORD exStyle);
int ClientEdge(DWORD exStyle);
// Starts a default-handling interaction (takes mouse input until release).
void StartTracker(std::unique_ptr<TSystemTracker> tracker);
void EndTracker();
// The window that takes the mouse at a screen point (WM_NCHITTEST asked,
// HTTRANSPARENT passes on to the window below) and its hit code.
HWND FindMouseTarget(TPoint screen, LRESULT* hit);
// Whether a point (window coordinates) lies in the window's shape: its rectangle,
// its region, and the not fully transparent pixels of a per-pixel layered window.
bool InWindowShape(const TWindow& w, TPoint windowPoint);
// Reallocates the image of a top-level window to its size.
void ResizeImage(TWindow& w);
