#include "platform/backend/XTestInput.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>

namespace {

// Latin-1 characters are their own keysyms; every other character has the
// Unicode keysym 0x1000000 + its code point.
unsigned long KeysymOf(char32_t c) {
  if ((c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xFF)) return c;
  if (c == '\n' || c == '\r') return XK_Return;
  if (c == '\t') return XK_Tab;
  return 0x01000000UL | c;
}

int ChannelShift(unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

}  // namespace

TXTestInput::TXTestInput(const std::string& displayName) {
  Display* d = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
  if (!d) {
    Error_ = "cannot open the X display " + (displayName.empty() ? std::string("$DISPLAY") : displayName);
    return;
  }
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(d, &event, &error, &major, &minor)) {
    Error_ = "the X server has no XTest extension";
    XCloseDisplay(d);
    return;
  }
  // Our fake input must not wait behind another client's grab of the server.
  XTestGrabControl(d, True);
  Display_ = d;
}

TXTestInput::~TXTestInput() {
  if (!Display_) return;
  GiveBack();
  XSync(Display_, False);
  XCloseDisplay(Display_);
}

void TXTestInput::Sync() {
  if (Display_) XSync(Display_, False);
}

void TXTestInput::MoveTo(TPoint p) {
  if (!Display_) return;
  XTestFakeMotionEvent(Display_, -1, p.X, p.Y, CurrentTime);
  XFlush(Display_);
}

TPoint TXTestInput::Pointer() {
  if (!Display_) return {0, 0};
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  XQueryPointer(Display_, DefaultRootWindow(Display_), &root, &child, &rx, &ry, &wx, &wy, &mask);
  return {rx, ry};
}

void TXTestInput::Button(int button, bool down) {
  if (!Display_) return;
  XTestFakeButtonEvent(Display_, static_cast<unsigned>(button), down ? True : False, CurrentTime);
  XFlush(Display_);
}

void TXTestInput::Raise(TXWindow window) {
  if (!Display_) return;
  XRaiseWindow(Display_, window);
  XSync(Display_, False);
}

int TXTestInput::OwnKeycode(unsigned long keysym, bool& shifted) {
  shifted = false;
  const KeyCode code = XKeysymToKeycode(Display_, keysym);
  if (!code) return 0;
  if (XkbKeycodeToKeysym(Display_, code, 0, 0) == keysym) return code;
  if (XkbKeycodeToKeysym(Display_, code, 0, 1) == keysym) {
    shifted = true;
    return code;
  }
  return 0;
}

void TXTestInput::WriteSpares(const std::map<int, unsigned long>& symbols) {
  if (symbols.empty()) return;
  // The span from the first to the last keycode written, in one request.
  const int first = symbols.begin()->first, last = symbols.rbegin()->first;
  int perCode = 0;
  KeySym* map = XGetKeyboardMapping(Display_, static_cast<KeyCode>(first), last - first + 1, &perCode);
  if (!map) return;
  for (const auto& [code, sym] : symbols)
    for (int level = 0; level < perCode; ++level)
      map[static_cast<std::ptrdiff_t>(code - first) * perCode + level] = level < 2 ? sym : NoSymbol;
  XChangeKeyboardMapping(Display_, first, perCode, map, last - first + 1);
  XFree(map);
  XSync(Display_, False);
}

void TXTestInput::FindSpares() {
  if (SparesFound_) return;
  SparesFound_ = true;
  int low = 0, high = 0, perCode = 0;
  XDisplayKeycodes(Display_, &low, &high);
  if (KeySym* map = XGetKeyboardMapping(Display_, static_cast<KeyCode>(low), high - low + 1, &perCode)) {
    for (int code = low; code <= high; ++code) {
      const KeySym* syms = map + static_cast<std::ptrdiff_t>(code - low) * perCode;
      if (std::all_of(syms, syms + perCode, [](KeySym s) { return s == NoSymbol; })) Spares_.push_back(code);
    }
    XFree(map);
  }
}

bool TXTestInput::NeedsSpare(unsigned long keysym) {
  bool shifted = false;
  const int code = OwnKeycode(keysym, shifted);
  return !code || std::find(Spares_.begin(), Spares_.end(), code) != Spares_.end();
}

size_t TXTestInput::LendablePrefix(const std::u32string& characters) {
  if (!Display_) return 0;
  FindSpares();
  std::vector<unsigned long> keyless;
  for (size_t i = 0; i < characters.size(); ++i) {
    const unsigned long sym = KeysymOf(characters[i]);
    if (!NeedsSpare(sym) || std::find(keyless.begin(), keyless.end(), sym) != keyless.end()) continue;
    if (keyless.size() == Spares_.size()) return i;
    keyless.push_back(sym);
  }
  return characters.size();
}

bool TXTestInput::Lend(const std::u32string& characters) {
  if (!Display_) return false;
  FindSpares();
  std::vector<unsigned long> wanted;
  for (char32_t c : characters) {
    const unsigned long sym = KeysymOf(c);
    if (NeedsSpare(sym) && std::find(wanted.begin(), wanted.end(), sym) == wanted.end()) wanted.push_back(sym);
  }
  if (wanted.size() > Spares_.size()) return false;
  const auto isWanted = [&](unsigned long sym) { return std::find(wanted.begin(), wanted.end(), sym) != wanted.end(); };
  std::vector<unsigned long> missing;
  for (unsigned long sym : wanted)
    if (!Lent_.count(sym)) missing.push_back(sym);
  if (missing.empty()) return true;
  // Free keycodes first; when too few are free, those lent to characters not
  // wanted now are taken back (never one this text still needs).
  std::map<int, unsigned long> changes;
  const auto freeCodes = [&] {
    std::vector<int> free;
    for (int code : Spares_) {
      bool used = false;
      for (const auto& [sym, lent] : Lent_) used = used || lent == code;
      if (!used) free.push_back(code);
    }
    return free;
  };
  std::vector<int> free = freeCodes();
  if (free.size() < missing.size()) {
    for (auto it = Lent_.begin(); it != Lent_.end();) {
      if (isWanted(it->first)) {
        ++it;
        continue;
      }
      changes[it->second] = NoSymbol;
      it = Lent_.erase(it);
    }
    free = freeCodes();
  }
  for (size_t i = 0; i < missing.size(); ++i) {
    Lent_[missing[i]] = free[i];
    changes[free[i]] = missing[i];
  }
  WriteSpares(changes);
  return true;
}

void TXTestInput::GiveBack() {
  std::map<int, unsigned long> changes;
  for (const auto& [sym, code] : Lent_) changes[code] = NoSymbol;
  Lent_.clear();
  WriteSpares(changes);
}

int TXTestInput::KeycodeFor(unsigned long keysym, bool& shifted) {
  if (const int code = OwnKeycode(keysym, shifted)) return code;
  shifted = false;
  if (auto it = Lent_.find(keysym); it != Lent_.end()) return it->second;
  return 0;
}

bool TXTestInput::Key(unsigned long keysym, bool down) {
  if (!Display_) return false;
  bool shifted = false;
  const int code = KeycodeFor(keysym, shifted);
  if (!code) return false;
  XTestFakeKeyEvent(Display_, static_cast<unsigned>(code), down ? True : False, CurrentTime);
  XFlush(Display_);
  return true;
}

bool TXTestInput::TypeCharacter(char32_t character) {
  if (!Display_ || !Lend(std::u32string(1, character))) return false;
  bool shifted = false;
  const int code = KeycodeFor(KeysymOf(character), shifted);
  if (!code) return false;
  const KeyCode shift = XKeysymToKeycode(Display_, XK_Shift_L);
  if (shifted && shift) XTestFakeKeyEvent(Display_, shift, True, CurrentTime);
  XTestFakeKeyEvent(Display_, static_cast<unsigned>(code), True, CurrentTime);
  XTestFakeKeyEvent(Display_, static_cast<unsigned>(code), False, CurrentTime);
  if (shifted && shift) XTestFakeKeyEvent(Display_, shift, False, CurrentTime);
  XFlush(Display_);
  return true;
}

TSize TXTestInput::ScreenSize() {
  if (!Display_) return {0, 0};
  return {DisplayWidth(Display_, DefaultScreen(Display_)), DisplayHeight(Display_, DefaultScreen(Display_))};
}

TBitmap TXTestInput::Grab(const TRect& area) {
  const TSize screen = ScreenSize();
  const TRect r = area.Intersect({0, 0, screen.cx, screen.cy});
  if (r.IsEmpty()) return TBitmap();
  XImage* image = XGetImage(Display_, DefaultRootWindow(Display_), r.Left, r.Top, static_cast<unsigned>(r.Width()),
                            static_cast<unsigned>(r.Height()), AllPlanes, ZPixmap);
  if (!image) return TBitmap();
  TBitmap out(r.Width(), r.Height(), TPixelFormat::pf32bit, true);
  const int rs = ChannelShift(image->red_mask), gs = ChannelShift(image->green_mask), bs = ChannelShift(image->blue_mask);
  const unsigned long rm = image->red_mask >> rs, gm = image->green_mask >> gs, bm = image->blue_mask >> bs;
  auto scale = [](unsigned long v, unsigned long max) {
    return static_cast<std::uint8_t>(max ? (v * 255 + max / 2) / max : 0);
  };
  for (int y = 0; y < r.Height(); ++y) {
    std::uint8_t* row = out.ScanLine(y);
    for (int x = 0; x < r.Width(); ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      row[x * 4 + 0] = scale((pixel >> bs) & bm, bm);
      row[x * 4 + 1] = scale((pixel >> gs) & gm, gm);
      row[x * 4 + 2] = scale((pixel >> rs) & rm, rm);
      row[x * 4 + 3] = 255;
    }
  }
  XDestroyImage(image);
  return out;
}

TRect TXTestInput::Bounds(TXWindow window) {
  if (!Display_ || !window) return {};
  XWindowAttributes a;
  if (!XGetWindowAttributes(Display_, window, &a) || a.map_state != IsViewable) return {};
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(Display_, window, DefaultRootWindow(Display_), 0, 0, &x, &y, &child);
  return {x, y, x + a.width, y + a.height};
}

std::vector<TXTestInput::TXWindow> TXTestInput::TopLevelsTopFirst() {
  std::vector<TXWindow> out;
  if (!Display_) return out;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(Display_, DefaultRootWindow(Display_), &root, &parent, &children, &count)) return out;
  for (unsigned i = count; i-- > 0;) {
    XWindowAttributes a;
    if (XGetWindowAttributes(Display_, children[i], &a) && a.map_state == IsViewable) out.push_back(children[i]);
  }
  if (children) XFree(children);
  return out;
}

std::vector<TXTestInput::TXWindow> TXTestInput::Lineage(TXWindow window) {
  std::vector<TXWindow> out;
  const Window rootWindow = DefaultRootWindow(Display_);
  while (Display_ && window && window != rootWindow) {
    out.push_back(window);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(Display_, window, &root, &parent, &children, &count)) break;
    if (children) XFree(children);
    window = parent;
  }
  return out;
}

TXTestInput::TXWindow TXTestInput::UnderPointer() {
  if (!Display_) return 0;
  Window w = DefaultRootWindow(Display_);
  for (;;) {
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    if (!XQueryPointer(Display_, w, &root, &child, &rx, &ry, &wx, &wy, &mask) || !child) break;
    w = child;
  }
  return w == DefaultRootWindow(Display_) ? 0 : w;
}

TXTestInput::TXWindow TXTestInput::KeyboardFocus() {
  if (!Display_) return 0;
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(Display_, &focus, &revert);
  // Focus on the root (or following the pointer) sends keys to the window under the pointer.
  if (focus == PointerRoot || focus == DefaultRootWindow(Display_)) return UnderPointer();
  if (focus == None) return 0;
  return focus;
}
