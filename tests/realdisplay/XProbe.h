#pragma once
// A private X server (Xvfb, optionally a window manager) looked at from outside
// the program: the screen's pixels, the pointer's picture, plain windows laid
// over others, the pointer moved and clicked through the server. Xlib stays in
// XProbe.cpp, out of the way of the window system's own names.
#include <memory>
#include <string>
#include <vector>

class TXSession;
struct _XDisplay;
struct SDL_Window;

class TXProbe {
public:
  // `windowManager`: empty for none, or the program to start ("openbox").
  explicit TXProbe(const std::string& windowManager);
  ~TXProbe();
  TXProbe(const TXProbe&) = delete;
  TXProbe& operator=(const TXProbe&) = delete;

  // Empty when the server, the manager, XTest and XFixes are all there.
  std::string Error() const;
  // ":N"
  std::string Display() const;

  // 0xRRGGBB at a screen point.
  unsigned long Pixel(int x, int y);
  // The pointer's picture as the server shows it: size, hot spot, then the pixels.
  std::vector<unsigned long> CursorPicture();
  // The picture of the server's own busy cursor (the cursor font's watch).
  std::vector<unsigned long> WatchPicture();
  // A window of one colour above everything, not managed by a window manager;
  // shown when this returns.
  unsigned long Cover(int left, int top, int width, int height, unsigned long pixel);
  void Uncover(unsigned long window);
  void MovePointer(int x, int y);
  void Click();
  // Asks for a top-level window to be closed as a person does with the window
  // manager's close button: through the manager (_NET_CLOSE_WINDOW, which then
  // sends the window WM_DELETE_WINDOW) when one runs, else WM_DELETE_WINDOW
  // sent straight to the window as a manager would.
  void RequestClose(unsigned long window);
  // Returns once the X server has carried out every request the program sent
  // so far (a round trip on the program's own connection, that of `native`).
  static void AwaitProgram(SDL_Window* native);

private:
  unsigned long MakeWindow(int left, int top, int width, int height, unsigned long pixel, unsigned long cursor);
  std::unique_ptr<TXSession> Session_;
  _XDisplay* X_ = nullptr;
  std::string Error_;
  bool Managed_ = false;
};
