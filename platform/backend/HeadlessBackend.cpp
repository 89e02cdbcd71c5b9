#include "platform/backend/HeadlessBackend.h"

#include "platform/backend/DesktopCompositor.h"
#include "platform/gfx/ImageFile.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/Timer.h"

THeadlessBackend::THeadlessBackend(TSize desktopSize) : Size_(desktopSize), DesktopColor_(RGB(0x3A, 0x6E, 0xA5)) {}

THeadlessBackend::~THeadlessBackend() {
  if (Installed_ && &DisplayBackend() == this) SetDisplayBackend(nullptr);
}

void THeadlessBackend::Install() {
  SetDisplayBackend(this);
  Installed_ = true;
}

void THeadlessBackend::Advance(int ms) {
  if (ms < 0) ms = 0;
  std::uint64_t target = Now_ + static_cast<std::uint64_t>(ms);
  ProcessPendingMessages();
  for (;;) {
    int delay = NextTimerDelay();
    if (delay < 0 || Now_ + static_cast<std::uint64_t>(delay) > target) break;
    Now_ += static_cast<std::uint64_t>(delay);
    ProcessPendingMessages();
  }
  Now_ = target;
  ProcessPendingMessages();
}

void THeadlessBackend::WaitForInput(int timeoutMs) {
  if (Idle_) {
    if (!Idle_()) PostQuitMessage(0);
    return;
  }
  if (timeoutMs >= 0) {
    Now_ += static_cast<std::uint64_t>(timeoutMs);
  } else {
    PostQuitMessage(0);
  }
}

void THeadlessBackend::MouseMove(TPoint p) {
  InputMouseMove(p);
  ProcessPendingMessages();
}

void THeadlessBackend::MouseDown(TPoint p, TMouseButton button) {
  InputMouseMove(p);
  InputMouseButton(button, true, p);
  ProcessPendingMessages();
}

void THeadlessBackend::MouseUp(TPoint p, TMouseButton button) {
  InputMouseMove(p);
  InputMouseButton(button, false, p);
  ProcessPendingMessages();
}

void THeadlessBackend::Click(TPoint p, TMouseButton button) {
  MouseDown(p, button);
  MouseUp(p, button);
}

void THeadlessBackend::Wheel(TPoint p, int delta) {
  InputMouseWheel(delta, p);
  ProcessPendingMessages();
}

void THeadlessBackend::KeyDown(int virtualKey) {
  InputKey(virtualKey, true);
  ProcessPendingMessages();
}

void THeadlessBackend::KeyUp(int virtualKey) {
  InputKey(virtualKey, false);
  ProcessPendingMessages();
}

void THeadlessBackend::Key(int virtualKey) {
  KeyDown(virtualKey);
  KeyUp(virtualKey);
}

void THeadlessBackend::Text(const std::string& utf8) {
  InputText(utf8);
  ProcessPendingMessages();
}

TBitmap THeadlessBackend::Desktop() {
  UpdateAllWindows();
  TBitmap desktop(Size_.cx, Size_.cy, TPixelFormat::pf32bit, true);
  ComposeDesktop(desktop, VisibleTopLevelViews(), DesktopColor_);
  return desktop;
}

void THeadlessBackend::SaveDesktopPng(const std::string& path) {
  TBitmap desktop = Desktop();
  desktop.SetPixelFormat(TPixelFormat::pf24bit);
  SavePngToFile(desktop, path);
}

bool THeadlessBackend::SaveWindowPng(HWND window, const std::string& path) {
  UpdateAllWindows();
  TTopLevelView view = TopLevelView(window);
  if (!view.Image) return false;
  TBitmap copy(*view.Image);
  if (!view.PerPixelAlpha) copy.SetPixelFormat(TPixelFormat::pf24bit);
  SavePngToFile(copy, path);
  return true;
}
