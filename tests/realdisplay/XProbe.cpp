#include "tests/realdisplay/XProbe.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include "tests/realdisplay/XSession.h"

TXProbe::TXProbe(const std::string& windowManager)
    : Session_(std::make_unique<TXSession>(windowManager)), Managed_(!windowManager.empty()) {
  if (!Session_->Ok()) {
    Error_ = Session_->Error();
    return;
  }
  X_ = XOpenDisplay(Session_->Display().c_str());
  int event = 0, error = 0, major = 0, minor = 0;
  if (!X_) Error_ = "cannot open " + Session_->Display();
  else if (!XTestQueryExtension(X_, &event, &error, &major, &minor)) Error_ = "no XTest";
  else if (!XFixesQueryExtension(X_, &event, &error)) Error_ = "no XFixes";
}

TXProbe::~TXProbe() {
  if (X_) XCloseDisplay(X_);
}

std::string TXProbe::Error() const { return Error_; }
std::string TXProbe::Display() const { return Session_->Display(); }

unsigned long TXProbe::Pixel(int x, int y) {
  XImage* image = XGetImage(X_, DefaultRootWindow(X_), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return ~0ul;
  const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  return pixel;
}

std::vector<unsigned long> TXProbe::CursorPicture() {
  XFixesCursorImage* image = XFixesGetCursorImage(X_);
  if (!image) return {};
  std::vector<unsigned long> out = {image->width, image->height, image->xhot, image->yhot};
  out.insert(out.end(), image->pixels, image->pixels + image->width * image->height);
  XFree(image);
  return out;
}

std::vector<unsigned long> TXProbe::WatchPicture() {
  int x = 0, y = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  Window root = 0, child = 0;
  XQueryPointer(X_, DefaultRootWindow(X_), &root, &child, &x, &y, &wx, &wy, &mask);
  const Cursor watch = XCreateFontCursor(X_, XC_watch);
  const unsigned long w = MakeWindow(0, 0, 40, 40, 0xFFFFFF, watch);
  MovePointer(20, 20);
  std::vector<unsigned long> picture = CursorPicture();
  Uncover(w);
  XFreeCursor(X_, watch);
  MovePointer(x, y);
  return picture;
}

unsigned long TXProbe::MakeWindow(int left, int top, int width, int height, unsigned long pixel, unsigned long cursor) {
  XSetWindowAttributes a;
  a.background_pixel = pixel;
  a.override_redirect = True;
  a.event_mask = ExposureMask;
  a.cursor = cursor;
  const Window w = XCreateWindow(X_, DefaultRootWindow(X_), left, top, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                 CWBackPixel | CWOverrideRedirect | CWEventMask | (cursor ? CWCursor : 0), &a);
  XMapRaised(X_, w);
  XEvent e;
  XWindowEvent(X_, w, ExposureMask, &e);
  return w;
}

unsigned long TXProbe::Cover(int left, int top, int width, int height, unsigned long pixel) {
  return MakeWindow(left, top, width, height, pixel, 0);
}

void TXProbe::Uncover(unsigned long window) {
  XDestroyWindow(X_, window);
  XSync(X_, False);
}

void TXProbe::MovePointer(int x, int y) {
  XTestFakeMotionEvent(X_, -1, x, y, CurrentTime);
  XSync(X_, False);
}

void TXProbe::Click() {
  XTestFakeButtonEvent(X_, 1, True, CurrentTime);
  XTestFakeButtonEvent(X_, 1, False, CurrentTime);
  XSync(X_, False);
}

void TXProbe::RequestClose(unsigned long window) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.format = 32;
  if (Managed_) {
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(X_, "_NET_CLOSE_WINDOW", False);
    e.xclient.data.l[0] = CurrentTime;
    e.xclient.data.l[1] = 2;  // from a pager or taskbar, acting for the user
    XSendEvent(X_, DefaultRootWindow(X_), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  } else {
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(X_, "WM_PROTOCOLS", False);
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(X_, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(X_, window, False, NoEventMask, &e);
  }
  XSync(X_, False);
}

void TXProbe::AwaitProgram(SDL_Window* native) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (native && SDL_GetWindowWMInfo(native, &info) && info.subsystem == SDL_SYSWM_X11)
    XSync(info.info.x11.display, False);
}
