#pragma once
// A display without a screen: a virtual clock that only moves when told, a
// desktop composed on request, input injected by code. Everything is
// deterministic, for tests and for the scripted driver.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"

class THeadlessBackend final : public TDisplayBackend {
public:
  explicit THeadlessBackend(TSize desktopSize = {1280, 800});
  ~THeadlessBackend() override;

  // Makes this the window system's backend (until destroyed or another is installed).
  void Install();

  // --- clock ---
  // Moves virtual time forward, running every timer that falls due on the way
  // at its own due time, in due order, with the messages it causes.
  void Advance(int ms);
  // What the idle loop does when the program waits with nothing to do: called
  // from WaitForInput; return false when there is nothing more to do (the
  // program is then told to quit). Without a handler, waiting jumps the clock
  // to the next timer, and with no timer posts WM_QUIT (0) rather than hang.
  void SetIdleHandler(std::function<bool()> handler) { Idle_ = std::move(handler); }

  // --- input at desktop coordinates; each runs what it causes ---
  void MouseMove(TPoint p);
  void MouseDown(TPoint p, TMouseButton button = TMouseButton::Left);
  void MouseUp(TPoint p, TMouseButton button = TMouseButton::Left);
  void Click(TPoint p, TMouseButton button = TMouseButton::Left);
  void Wheel(TPoint p, int delta);
  void KeyDown(int virtualKey);
  void KeyUp(int virtualKey);
  void Key(int virtualKey);
  void Text(const std::string& utf8);

  // --- pictures ---
  TBitmap Desktop();
  void SaveDesktopPng(const std::string& path);
  // The whole image of one top-level window (frame included); false for a bad handle.
  bool SaveWindowPng(HWND window, const std::string& path);
  TColor DesktopColor() const { return DesktopColor_; }
  void SetDesktopColor(TColor color) { DesktopColor_ = color; }

  // --- what the window system told the display ---
  TCursorShape Cursor() const { return Cursor_; }
  bool Captured() const { return Captured_; }
  const std::vector<HWND>& ZOrder() const { return ZOrder_; }
  int PresentCount() const { return Presents_; }

  // TDisplayBackend
  std::uint64_t Now() override { return Now_; }
  TSize ScreenSize() override { return Size_; }
  bool PerPixelAlphaAvailable() override { return true; }
  void ShowWindow(const TTopLevelView&) override {}
  void HideWindow(HWND) override {}
  void DestroyWindow(HWND) override {}
  void Present(const TTopLevelView&, const TRect&) override { ++Presents_; }
  void SetZOrder(const std::vector<HWND>& topToBottom) override { ZOrder_ = topToBottom; }
  void SetCursor(TCursorShape shape) override { Cursor_ = shape; }
  void SetCapture(bool captured) override { Captured_ = captured; }
  void WaitForInput(int timeoutMs) override;
  void Wake() override {}

private:
  TSize Size_;
  std::uint64_t Now_ = 0;
  std::function<bool()> Idle_;
  TColor DesktopColor_;
  TCursorShape Cursor_ = TCursorShape::Arrow;
  bool Captured_ = false;
  std::vector<HWND> ZOrder_;
  int Presents_ = 0;
  bool Installed_ = false;
};
