#include "platform/backend/HeadlessScriptedDisplay.h"

#include "platform/win/Window.h"

std::string THeadlessScriptedDisplay::MouseMove(TPoint p) {
  Backend_.MouseMove(p);
  return "";
}

std::string THeadlessScriptedDisplay::Click(TPoint p, TMouseButton button, int count) {
  for (int i = 0; i < count; ++i) Backend_.Click(p, button);
  return "";
}

std::string THeadlessScriptedDisplay::Key(const std::vector<int>& modifiers, int virtualKey) {
  for (int m : modifiers) Backend_.KeyDown(m);
  Backend_.Key(virtualKey);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) Backend_.KeyUp(*it);
  return "";
}

std::string THeadlessScriptedDisplay::Text(const std::string& utf8) {
  Backend_.Text(utf8);
  return "";
}

std::string THeadlessScriptedDisplay::RaiseFromOutside(HWND window) {
  // Headless, the desktop itself is the other party: it tells the program as
  // the real display's backend does when it sees our windows restacked.
  InputWindowRaised(window, false);
  return "";
}

bool THeadlessScriptedDisplay::SaveDesktopPng(const std::string& path) {
  Backend_.SaveDesktopPng(path);
  return true;
}

std::vector<HWND> THeadlessScriptedDisplay::Stacking() {
  // The composed desktop stacks the visible windows in the window system's
  // order; a fully transparent one shows nothing.
  std::vector<HWND> out;
  const std::vector<TTopLevelView> views = VisibleTopLevelViews();
  for (auto it = views.rbegin(); it != views.rend(); ++it)
    if (it->Alpha > 0) out.push_back(it->Window);
  return out;
}

HWND THeadlessScriptedDisplay::KeyboardWindow() { return GetForegroundWindow(); }
