#pragma once
// A script run on a real X display: the program shows its windows through the
// SDL backend, and the driver's input goes through the X server with XTest,
// so it reaches the program by the way a person's does (window manager, focus,
// stacking). This display stands in front of the SDL backend: everything goes
// to it, except that waiting with nothing to do runs the driver's next line.
// Each input returns once SDL has received every event it makes (bounded) and
// the program has handled them; pictures are read back from the X server.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/backend/ScriptedDisplay.h"
#include "platform/backend/XTestInput.h"
#include "platform/win/Backend.h"

class TSdlBackend;
union SDL_Event;

class TXTestScriptedDisplay final : public TDisplayBackend, public TScriptedDisplay {
public:
  explicit TXTestScriptedDisplay(TSdlBackend& sdl);
  ~TXTestScriptedDisplay() override;
  bool Ok() const { return X_.Ok(); }
  const std::string& Error() const { return X_.Error(); }
  // Makes this the window system's display in place of the SDL backend.
  void Install();

  // TDisplayBackend (and the clock, shared with TScriptedDisplay)
  std::uint64_t Now() override;
  TSize ScreenSize() override;
  bool PerPixelAlphaAvailable() override;
  bool MinimizesNatively() override;
  void ActivateWindow(HWND window) override;
  void ShowWindow(const TTopLevelView& view) override;
  void HideWindow(HWND window) override;
  void DestroyWindow(HWND window) override;
  void Present(const TTopLevelView& view, const TRect& dirty) override;
  void SetZOrder(const std::vector<HWND>& topToBottom) override;
  void SetCursor(TCursorShape shape) override;
  void SetCapture(bool captured) override;
  void WaitForInput(int timeoutMs) override;
  void Wake() override;

  // TScriptedDisplay
  void SetIdleHandler(std::function<bool()> handler) override { Idle_ = std::move(handler); }
  void Advance(int ms) override;
  std::string MouseMove(TPoint p) override;
  std::string Click(TPoint p, TMouseButton button, int count) override;
  std::string Key(const std::vector<int>& modifiers, int virtualKey) override;
  std::string Text(const std::string& utf8) override;
  std::string RaiseFromOutside(HWND window) override;
  bool SaveDesktopPng(const std::string& path) override;
  bool SaveWindowPng(HWND window, const std::string& path) override;
  std::vector<HWND> Stacking() override;
  // The server's stacking of the program's windows, top first, as it is now.
  std::vector<HWND> ServerStacking();
  HWND KeyboardWindow() override;

  // How long one input may take to reach the program.
  static constexpr int InputLimitMs = 10000;

private:
  // Input events made and not yet seen by SDL, by kind.
  struct TAwaited {
    int Buttons = 0;
    int Keys = 0;
    int Texts = 0;
    bool Any() const { return Buttons > 0 || Keys > 0 || Texts > 0; }
  };
  static int Watch(void* self, SDL_Event* event);
  // Runs the program until SDL has seen the awaited events (and the program's
  // pointer stands at `pointer` when given), then until it is idle; an empty
  // string, or why the input did not arrive.
  std::string Deliver(const std::string& what, const TPoint* pointer = nullptr);
  // Handles everything the server has sent and the program posted, until idle.
  void Drain();
  // Waits (bounded) until the windows the program shows are viewable on the
  // server, a window manager having had its say, then drains.
  void Settle();
  bool SdlPending();
  // The program's shown top-level windows by their X windows.
  std::map<unsigned long, HWND> XWindows();
  HWND Owner(unsigned long xwindow);
  void SyncProgram();
  std::string MoveFirst(TPoint p);

  TSdlBackend& Sdl_;
  TXTestInput X_;
  std::function<bool()> Idle_;
  TAwaited Awaited_;
  bool Installed_ = false;
  bool Watching_ = false;
};
