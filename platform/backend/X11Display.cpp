#include "platform/backend/X11Display.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <poll.h>

#include <algorithm>
#include <cstdio>

#if defined(SDL_VIDEO_DRIVER_X11)

#include <X11/extensions/shape.h>

namespace {

int gErrors = 0;
bool gQuiet = false;  // an error expected by the caller (a window that may be gone)
bool gQuietHit = false;

int LogError(Display* display, XErrorEvent* error) {
  if (gQuiet) {
    gQuietHit = true;
    return 0;
  }
  ++gErrors;
  char text[256] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "textbook: X error ignored: %s (request %d.%d, resource 0x%lx)\n", text,
               error->request_code, error->minor_code, error->resourceid);
  return 0;
}

Display* DisplayOf(void* display) { return static_cast<Display*>(display); }

Atom AtomOf(Display* display, const char* name) { return XInternAtom(display, name, False); }

// The child of the root that holds the window (its frame under a window manager).
Window RootChild(Display* display, Window window, Window root) {
  for (int guard = 0; guard < 16 && window; ++guard) {
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &rootReturn, &parent, &children, &count)) return 0;
    if (children) XFree(children);
    if (parent == root || parent == 0) return window;
    window = parent;
  }
  return 0;
}

}  // namespace

TX11Display::TX11Display(SDL_Window* anyWindow) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!anyWindow || !SDL_GetWindowWMInfo(anyWindow, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Display_ = info.info.x11.display;
  Root_ = DefaultRootWindow(info.info.x11.display);
}

void TX11Display::InstallErrorHandler() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  XSetErrorHandler(&LogError);
}

int TX11Display::ErrorCount() { return gErrors; }

std::uint64_t TX11Display::WindowOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  return info.info.x11.window;
}

bool TX11Display::WindowManagerRunning() {
  if (!Display_) return false;
  Display* d = DisplayOf(Display_);
  const Atom check = AtomOf(d, "_NET_SUPPORTING_WM_CHECK");
  auto checkWindow = [&](Window w) -> Window {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window found = 0;
    if (XGetWindowProperty(d, w, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data && type == XA_WINDOW && format == 32 && count == 1)
      found = *reinterpret_cast<Window*>(data);
    if (data) XFree(data);
    return found;
  };
  const Window wm = checkWindow(Root_);
  if (!wm) return false;
  // A window manager that ended leaves the root's property behind: its own window answers.
  XSync(d, False);
  gQuiet = true;
  gQuietHit = false;
  const Window self = checkWindow(wm);
  XSync(d, False);
  gQuiet = false;
  return !gQuietHit && self == wm;
}

void TX11Display::SetOwner(std::uint64_t window, std::uint64_t owner) {
  if (!Display_ || !window) return;
  Display* d = DisplayOf(Display_);
  if (owner) XSetTransientForHint(d, window, owner);
  else XDeleteProperty(d, window, XA_WM_TRANSIENT_FOR);
  XFlush(d);
}

void TX11Display::SetModal(std::uint64_t window, bool modal) {
  if (!Display_ || !window) return;
  Display* d = DisplayOf(Display_);
  const Atom state = AtomOf(d, "_NET_WM_STATE");
  const Atom modalAtom = AtomOf(d, "_NET_WM_STATE_MODAL");
  XWindowAttributes attributes;
  const bool mapped = XGetWindowAttributes(d, window, &attributes) && attributes.map_state != IsUnmapped;
  if (mapped) {
    // A mapped window's state belongs to the window manager: ask it.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = state;
    e.xclient.format = 32;
    e.xclient.data.l[0] = modal ? 1 : 0;
    e.xclient.data.l[1] = static_cast<long>(modalAtom);
    e.xclient.data.l[3] = 1;
    XSendEvent(d, Root_, False, SubstructureNotifyMask | SubstructureRedirectMask, &e);
  } else if (modal) {
    XChangeProperty(d, window, state, XA_ATOM, 32, PropModeAppend, reinterpret_cast<const unsigned char*>(&modalAtom),
                    1);
  } else {
    XDeleteProperty(d, window, state);  // the window manager sets it anew when it maps the window
  }
  XFlush(d);
}

bool TX11Display::Viewable(std::uint64_t window) {
  if (!Display_ || !window) return false;
  XWindowAttributes attributes;
  return XGetWindowAttributes(DisplayOf(Display_), window, &attributes) && attributes.map_state == IsViewable;
}

bool TX11Display::CanShape() {
  int eventBase = 0, errorBase = 0;
  return Display_ && XShapeQueryExtension(DisplayOf(Display_), &eventBase, &errorBase);
}

void TX11Display::SetShape(std::uint64_t window, const std::vector<TRect>& rects) {
  if (!Display_ || !window) return;
  std::vector<XRectangle> xrects;
  xrects.reserve(rects.size());
  for (const TRect& r : rects)
    xrects.push_back({static_cast<short>(r.Left), static_cast<short>(r.Top), static_cast<unsigned short>(r.Width()),
                      static_cast<unsigned short>(r.Height())});
  Display* d = DisplayOf(Display_);
  XShapeCombineRectangles(d, window, ShapeBounding, 0, 0, xrects.data(), static_cast<int>(xrects.size()), ShapeSet,
                          Unsorted);
  XFlush(d);
}

bool TX11Display::Shaped(std::uint64_t window) {
  if (!Display_ || !window) return false;
  Bool bounding = False, clip = False;
  int x = 0, y = 0, cx = 0, cy = 0;
  unsigned w = 0, h = 0, cw = 0, ch = 0;
  return XShapeQueryExtents(DisplayOf(Display_), window, &bounding, &x, &y, &w, &h, &clip, &cx, &cy, &cw, &ch) &&
         bounding;
}

std::vector<std::uint64_t> TX11Display::Stacking(const std::vector<std::uint64_t>& windows) {
  std::vector<std::uint64_t> order;
  if (!Display_) return order;
  Display* d = DisplayOf(Display_);
  std::vector<std::pair<Window, std::uint64_t>> frames;
  for (std::uint64_t w : windows)
    if (Viewable(w))
      if (Window frame = RootChild(d, w, Root_)) frames.emplace_back(frame, w);
  Window rootReturn = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(d, Root_, &rootReturn, &parent, &children, &count)) return order;
  for (unsigned i = count; i-- > 0;)  // the server lists bottom first
    for (const auto& [frame, w] : frames)
      if (frame == children[i]) order.push_back(w);
  if (children) XFree(children);
  return order;
}

void TX11Display::WatchStacking() {
  if (!Display_) return;
  Display* d = DisplayOf(Display_);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(d, Root_, &attributes)) return;
  XSelectInput(d, Root_, attributes.your_event_mask | SubstructureNotifyMask);
  XFlush(d);
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

bool TX11Display::IsStackingEvent(const SDL_Event& event) const {
  if (event.type != SDL_SYSWMEVENT || !event.syswm.msg || event.syswm.msg->subsystem != SDL_SYSWM_X11) return false;
  const XEvent& x = event.syswm.msg->msg.x11.event;
  return x.type == ConfigureNotify || x.type == MapNotify || x.type == CirculateNotify || x.type == ReparentNotify;
}

void TX11Display::Wait(int timeoutMs) {
  if (!Display_) return;
  Display* d = DisplayOf(Display_);
  // Events Xlib already read wait in its queue, not on the socket.
  if (XPending(d) > 0) return;
  pollfd fd{ConnectionNumber(d), POLLIN, 0};
  poll(&fd, 1, timeoutMs);
}

#else  // SDL without X11

TX11Display::TX11Display(SDL_Window*) {}
void TX11Display::InstallErrorHandler() {}
int TX11Display::ErrorCount() { return 0; }
std::uint64_t TX11Display::WindowOf(SDL_Window*) { return 0; }
bool TX11Display::WindowManagerRunning() { return false; }
void TX11Display::SetOwner(std::uint64_t, std::uint64_t) {}
void TX11Display::SetModal(std::uint64_t, bool) {}
bool TX11Display::Viewable(std::uint64_t) { return false; }
bool TX11Display::CanShape() { return false; }
void TX11Display::SetShape(std::uint64_t, const std::vector<TRect>&) {}
bool TX11Display::Shaped(std::uint64_t) { return false; }
std::vector<std::uint64_t> TX11Display::Stacking(const std::vector<std::uint64_t>&) { return {}; }
void TX11Display::WatchStacking() {}
bool TX11Display::IsStackingEvent(const SDL_Event&) const { return false; }
void TX11Display::Wait(int) {}

#endif
