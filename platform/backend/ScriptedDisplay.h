#pragma once
// What the scripting driver needs of a display: its clock, input at desktop
// coordinates that the program has received and handled when the call
// returns, pictures of what is shown, and the screen's own stacking and
// keyboard focus. Headless this is the virtual desktop; on a real X display
// the input goes through the X server as a person's does.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/Input.h"
#include "platform/win/WinTypes.h"

class TScriptedDisplay {
public:
  virtual ~TScriptedDisplay() = default;

  virtual std::uint64_t Now() = 0;
  // Called whenever the program waits with nothing to do; false ends the run.
  virtual void SetIdleHandler(std::function<bool()> handler) = 0;
  // Lets `ms` pass, running what falls due on the way.
  virtual void Advance(int ms) = 0;

  // Input. Each returns an empty string once the program has received and
  // handled it, or says why it did not arrive.
  virtual std::string MouseMove(TPoint p) = 0;
  // `count` clicks in a row (2: a double click).
  virtual std::string Click(TPoint p, TMouseButton button, int count) = 0;
  // A key with modifiers held (VK_CONTROL, VK_SHIFT, VK_MENU), pressed in order.
  virtual std::string Key(const std::vector<int>& modifiers, int virtualKey) = 0;
  virtual std::string Text(const std::string& utf8) = 0;
  // Another program (a window manager, a tool) raises `window` on the screen;
  // returns once the program has answered it.
  virtual std::string RaiseFromOutside(HWND window) = 0;

  // Pictures as shown; false when there is nothing to take.
  virtual bool SaveDesktopPng(const std::string& path) = 0;
  virtual bool SaveWindowPng(HWND window, const std::string& path) = 0;

  // The program's shown top-level windows as the screen stacks them, top first.
  virtual std::vector<HWND> Stacking() = 0;
  // The program's top-level window that gets the keyboard; null when none does.
  virtual HWND KeyboardWindow() = 0;
};
