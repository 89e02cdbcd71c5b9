#pragma once
// The scripted display over the headless backend: virtual time, input handed
// straight to the window system and run at once, the composed desktop.
#include "platform/backend/HeadlessBackend.h"
#include "platform/backend/ScriptedDisplay.h"

class THeadlessScriptedDisplay final : public TScriptedDisplay {
public:
  explicit THeadlessScriptedDisplay(THeadlessBackend& backend) : Backend_(backend) {}

  std::uint64_t Now() override { return Backend_.Now(); }
  void SetIdleHandler(std::function<bool()> handler) override { Backend_.SetIdleHandler(std::move(handler)); }
  void Advance(int ms) override { Backend_.Advance(ms); }
  std::string MouseMove(TPoint p) override;
  std::string Click(TPoint p, TMouseButton button, int count) override;
  std::string Key(const std::vector<int>& modifiers, int virtualKey) override;
  std::string Text(const std::string& utf8) override;
  bool SaveDesktopPng(const std::string& path) override;
  bool SaveWindowPng(HWND window, const std::string& path) override { return Backend_.SaveWindowPng(window, path); }
  std::string RaiseFromOutside(HWND window) override;
  std::vector<HWND> Stacking() override;
  HWND KeyboardWindow() override;

private:
  THeadlessBackend& Backend_;
};
