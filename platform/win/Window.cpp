// Window classes, creation and destruction, window longs, properties, text and the tree.
#include "platform/win/Window.h"

#include <algorithm>
#include <cstring>

#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/WindowManager.h"

namespace {

const char* const kBuiltInClasses[] = {"#32770", "Static", "#32768"};

std::shared_ptr<TWindowClass> FindClass(const char* name) {
  if (!name) return nullptr;
  auto& wm = WM();
  auto it = wm.Classes.find(name);
  if (it != wm.Classes.end()) return it->second;
  for (const char* builtIn : kBuiltInClasses) {
    if (std::strcmp(builtIn, name) == 0) {
      auto cls = std::make_shared<TWindowClass>();
      cls->Name = name;
      cls->Proc = TWindowProc(&DefWindowProc);
      wm.Classes[name] = cls;
      return cls;
    }
  }
  return nullptr;
}

// Puts a top-level window into the z-order: topmost windows stay above the rest.
void InsertTopLevel(HWND window, bool topmost) {
  auto& list = WM().TopLevels;
  auto pos = list.begin();
  if (!topmost) {
    pos = std::find_if(list.begin(), list.end(), [](HWND h) {
      TWindow* w = FindWindowObject(h);
      return w && !(w->ExStyle & WS_EX_TOPMOST);
    });
  }
  list.insert(pos, window);
}

void SendDestroyTree(HWND window) {
  SendMessage(window, WM_DESTROY, 0, 0);
  TWindow* w = FindWindowObject(window);
  if (!w) return;
  std::vector<HWND> children = w->Children;
  for (HWND child : children) {
    if (TWindow* c = FindWindowObject(child)) {
      c->Destroying = true;
      SendDestroyTree(child);
    }
  }
}

void FinalDestroy(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return;
  std::vector<HWND> children = w->Children;
  for (HWND child : children) FinalDestroy(child);
  SendMessage(window, WM_NCDESTROY, 0, 0);
  w = FindWindowObject(window);
  if (!w) return;
  auto& wm = WM();
  KillWindowTimers(window);
  if (w->Parent) {
    if (TWindow* p = wm.Find(w->Parent)) std::erase(p->Children, window);
  } else {
    std::erase(wm.TopLevels, window);
    wm.Backend().DestroyWindow(window);
  }
  std::erase_if(wm.Queue, [window](const MSG& m) { return m.hwnd == window; });
  if (wm.MouseWindow == window) wm.MouseWindow = nullptr;
  if (wm.TrackLeave == window) wm.TrackLeave = nullptr;
  if (wm.TrackNcLeave == window) wm.TrackNcLeave = nullptr;
  if (wm.LastDownWindow == window) wm.LastDownWindow = nullptr;
  wm.Windows.erase(IdFromHandle(window));
}

TRect DefaultTopLevelRect(int& x, int& y, int& cx, int& cy) {
  static int cascade = 0;
  if (x == CW_USEDEFAULT) {
    x = 40 + (cascade % 8) * 26;
    y = (y == CW_USEDEFAULT || y == 0) ? 40 + (cascade % 8) * 26 : y;
    ++cascade;
  }
  if (cx == CW_USEDEFAULT) {
    const TSize screen = WM().Backend().ScreenSize();
    cx = screen.cx * 3 / 5;
    cy = (cy == CW_USEDEFAULT || cy == 0) ? screen.cy * 3 / 5 : cy;
  }
  return {x, y, x + cx, y + cy};
}

}  // namespace

// --- classes -------------------------------------------------------------------

ATOM RegisterClassEx(const WNDCLASSEX& wc) {
  if (!wc.lpszClassName || !*wc.lpszClassName) return 0;
  auto& wm = WM();
  if (wm.Classes.count(wc.lpszClassName)) return 0;
  auto cls = std::make_shared<TWindowClass>();
  cls->Name = wc.lpszClassName;
  cls->Style = wc.style;
  cls->Proc = wc.lpfnWndProc ? wc.lpfnWndProc : TWindowProc(&DefWindowProc);
  cls->Background = wc.hbrBackground;
  cls->Cursor = wc.hCursor;
  cls->Icon = wc.hIcon;
  cls->IconSm = wc.hIconSm;
  cls->WndExtra = std::max(0, wc.cbWndExtra);
  cls->Instance = wc.hInstance;
  wm.Classes[cls->Name] = cls;
  static ATOM nextAtom = 0xC000;
  return nextAtom++;
}

ATOM RegisterClass(const WNDCLASSEX& wc) { return RegisterClassEx(wc); }

bool UnregisterClass(const char* className, HINSTANCE) {
  if (!className) return false;
  auto& wm = WM();
  auto it = wm.Classes.find(className);
  if (it == wm.Classes.end()) return false;
  for (auto& [id, w] : wm.Windows) {
    if (w->Class == it->second) return false;  // still in use
  }
  wm.Classes.erase(it);
  return true;
}

bool GetClassInfoEx(HINSTANCE, const char* className, WNDCLASSEX* out) {
  auto cls = FindClass(className);
  if (!cls || !out) return false;
  out->style = cls->Style;
  out->lpfnWndProc = cls->Proc;
  out->cbWndExtra = cls->WndExtra;
  out->hInstance = cls->Instance;
  out->hIcon = cls->Icon;
  out->hCursor = cls->Cursor;
  out->hbrBackground = cls->Background;
  out->lpszClassName = cls->Name.c_str();
  out->hIconSm = cls->IconSm;
  return true;
}

std::string GetClassName(HWND window) {
  TWindow* w = FindWindowObject(window);
  return w ? w->Class->Name : std::string();
}

int GetClassName(HWND window, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  std::string name = GetClassName(window);
  int n = std::min(static_cast<int>(name.size()), size - 1);
  std::memcpy(buffer, name.data(), static_cast<std::size_t>(n));
  buffer[n] = '\0';
  return n;
}

LONG_PTR GetClassLongPtr(HWND window, int index) {
  TWindow* w = FindWindowObject(window);
  if (!w) return 0;
  switch (index) {
    case GCL_STYLE: return static_cast<LONG_PTR>(w->Class->Style);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<LONG_PTR>(w->Class->Background);
    case GCLP_HCURSOR: return reinterpret_cast<LONG_PTR>(w->Class->Cursor);
    case GCLP_WNDPROC: return WindowProcHandle(w->Class->Proc);
    default: return 0;
  }
}

LONG_PTR SetClassLongPtr(HWND window, int index, LONG_PTR value) {
  TWindow* w = FindWindowObject(window);
  if (!w) return 0;
  LONG_PTR old = GetClassLongPtr(window, index);
  switch (index) {
    case GCL_STYLE: w->Class->Style = static_cast<UINT>(value); break;
    case GCLP_HBRBACKGROUND: w->Class->Background = reinterpret_cast<HBRUSH>(value); break;
    case GCLP_HCURSOR: w->Class->Cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCLP_WNDPROC: w->Class->Proc = WindowProcFromHandle(value); break;
    default: return 0;
  }
  return old;
}

// --- creation ------------------------------------------------------------------

HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y, int width, int height,
                  HWND parent, HMENU menu, HINSTANCE instance, void* param) {
  return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
  auto& wm = WM();
  auto cls = FindClass(className);
  if (!cls) return nullptr;
  bool child = (style & WS_CHILD) != 0;
  if (child && !wm.Find(parent)) return nullptr;
  HWND owner = nullptr;
  if (!child && parent) {
    if (!wm.Find(parent)) return nullptr;
    owner = TopLevelOf(parent);
  }
  if (!child) {
    DefaultTopLevelRect(x, y, width, height);
    if (!(style & WS_POPUP)) style |= WS_CLIPSIBLINGS | WS_CAPTION;  // overlapped windows always have a caption
  } else {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
  }

  HWND handle = wm.NewHandle();
  auto owned = std::make_unique<TWindow>();
  TWindow* w = owned.get();
  w->Handle = handle;
  w->Class = cls;
  w->Proc = cls->Proc;
  w->Extra.assign(static_cast<std::size_t>(cls->WndExtra), 0);
  w->Instance = instance;
  wm.Windows[IdFromHandle(handle)] = std::move(owned);

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName ? windowName : "";
  cs.lpszClass = cls->Name.c_str();
  cs.dwExStyle = exStyle;

  CBT_CREATEWND cbt{&cs, HWND_TOP};
  if (CallCbtHook(HCBT_CREATEWND, reinterpret_cast<WPARAM>(handle), reinterpret_cast<LPARAM>(&cbt)) != 0) {
    wm.Windows.erase(IdFromHandle(handle));
    return nullptr;
  }
  w = wm.Find(handle);
  if (!w) return nullptr;

  style = static_cast<DWORD>(cs.style);
  w->Style = style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
  w->ExStyle = cs.dwExStyle;
  w->Text = cs.lpszName ? cs.lpszName : "";
  w->Rect = {cs.x, cs.y, cs.x + std::max(0, cs.cx), cs.y + std::max(0, cs.cy)};
  w->Client = {0, 0, w->Rect.Width(), w->Rect.Height()};
  if (child) {
    w->Parent = parent;
    w->Id = reinterpret_cast<LONG_PTR>(menu);
    wm.Require(parent).Children.insert(wm.Require(parent).Children.begin(), handle);
  } else {
    w->Owner = owner;
    InsertTopLevel(handle, (w->ExStyle & WS_EX_TOPMOST) != 0);
  }
  // Overlapped and sizeable windows are asked their limits; a plain popup is not.
  if (!child && ((style & WS_THICKFRAME) || !(style & WS_POPUP))) {
    MINMAXINFO mmi;
    TSize screen = wm.Backend().ScreenSize();
    mmi.ptMaxSize = {screen.cx, screen.cy};
    mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessage(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (!(w = wm.Find(handle))) return nullptr;
  }

  if (!SendMessage(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (wm.Find(handle)) {
      w->Destroying = true;
      FinalDestroy(handle);
    }
    return nullptr;
  }
  if (!(w = wm.Find(handle))) return nullptr;

  TRect calc = w->Rect;
  SendMessage(handle, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&calc));
  if (!(w = wm.Find(handle))) return nullptr;
  w->Client = calc.Offset(-w->Rect.Left, -w->Rect.Top);
  if (!w->Parent) ResizeImage(*w);
  w->NcDirty = true;
  w->Update = TRegion(TRect{0, 0, w->Rect.Width(), w->Rect.Height()});
  w->EraseNeeded = true;

  if (SendMessage(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  if (!(w = wm.Find(handle))) return nullptr;
  w->Created = true;
  if (child && !(w->ExStyle & WS_EX_NOPARENTNOTIFY)) {
    SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(WM_CREATE), static_cast<WORD>(w->Id)),
                reinterpret_cast<LPARAM>(handle));
    if (!(w = wm.Find(handle))) return nullptr;
  }
  SendMessage(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(w->Client.Width()), static_cast<WORD>(w->Client.Height())));
  if (!(w = wm.Find(handle))) return nullptr;
  SendMessage(handle, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(w->Rect.Left + w->Client.Left), static_cast<WORD>(w->Rect.Top + w->Client.Top)));
  if (!wm.Find(handle)) return nullptr;

  if (style & WS_MAXIMIZE) ShowWindow(handle, (style & WS_VISIBLE) ? SW_SHOWMAXIMIZED : SW_MAXIMIZE);
  else if (style & WS_MINIMIZE) ShowWindow(handle, SW_SHOWMINNOACTIVE);
  else if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
  return wm.Find(handle) ? handle : nullptr;
}

bool IsWindow(HWND window) { return FindWindowObject(window) != nullptr; }

bool DestroyWindow(HWND window) {
  auto& wm = WM();
  TWindow* w = wm.Find(window);
  if (!w || w->Destroying) return false;
  if (CallCbtHook(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(window), 0) != 0) return false;
  if (!(w = wm.Find(window)) || w->Destroying) return false;
  w->Destroying = true;

  // Owned windows go first.
  std::vector<HWND> owned;
  for (HWND top : wm.TopLevels) {
    if (TWindow* t = wm.Find(top); t && t->Owner == window) owned.push_back(top);
  }
  for (HWND o : owned) DestroyWindow(o);

  if (!(w = wm.Find(window))) return true;
  if (w->Parent && !(w->ExStyle & WS_EX_NOPARENTNOTIFY)) {
    SendMessage(w->Parent, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(WM_DESTROY), static_cast<WORD>(w->Id)),
                reinterpret_cast<LPARAM>(window));
    if (!(w = wm.Find(window))) return true;
  }
  if (w->Style & WS_VISIBLE) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!wm.Find(window)) return true;
  }
  WindowDestroyedInput(window);
  if (!wm.Find(window)) return true;
  SendDestroyTree(window);
  FinalDestroy(window);
  return true;
}

// --- window longs ----------------------------------------------------------------

LONG_PTR GetWindowLongPtr(HWND window, int index) {
  TWindow* w = FindWindowObject(window);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<std::int32_t>(w->Style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<std::int32_t>(w->ExStyle));
    case GWLP_WNDPROC: return WindowProcHandle(w->Proc);
    case GWLP_USERDATA: return w->UserData;
    case GWLP_ID: return w->Id;
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->Instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->Parent ? w->Parent : w->Owner);
    default:
      if (index >= 0 && static_cast<std::size_t>(index) + sizeof(LONG_PTR) <= w->Extra.size()) {
        LONG_PTR v;
        std::memcpy(&v, w->Extra.data() + index, sizeof v);
        return v;
      }
      return 0;
  }
}

namespace {

void ChangeStyle(HWND window, int index, DWORD newValue) {
  TWindow* w = FindWindowObject(window);
  STYLESTRUCT ss;
  ss.styleOld = index == GWL_STYLE ? w->Style : w->ExStyle;
  ss.styleNew = newValue;
  SendMessage(window, WM_STYLECHANGING, static_cast<WPARAM>(static_cast<std::intptr_t>(index)), reinterpret_cast<LPARAM>(&ss));
  if (!(w = FindWindowObject(window))) return;
  if (index == GWL_STYLE) {
    bool wasVisible = (w->Style & WS_VISIBLE) != 0;
    w->Style = ss.styleNew;
    bool visible = (w->Style & WS_VISIBLE) != 0;
    if (wasVisible != visible) {
      if (w->Parent) InvalidateUncovered(window, w->Rect);
      if (visible) InvalidateWhole(window);
      SyncBackendWindow(TopLevelOf(window));
    }
  } else {
    DWORD old = w->ExStyle;
    const bool held = PaintHeld(*w);
    // Topmost changes only through SetWindowPos.
    w->ExStyle = (ss.styleNew & ~WS_EX_TOPMOST) | (old & WS_EX_TOPMOST);
    if ((old & WS_EX_LAYERED) && !(w->ExStyle & WS_EX_LAYERED)) {
      w->Alpha = 255;
      w->LayeredFlags = 0;
      w->LayeredImage.reset();
      if (!w->Parent) InvalidateWhole(window);
    }
    // A window that showed nothing is painted before it shows anything.
    if (held && !PaintHeld(*w)) {
      PaintHeldWindow(window);
      if (!(w = FindWindowObject(window))) return;
    }
    if (!w->Parent) SyncBackendWindow(window);
  }
  SendMessage(window, WM_STYLECHANGED, static_cast<WPARAM>(static_cast<std::intptr_t>(index)), reinterpret_cast<LPARAM>(&ss));
}

}  // namespace

LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) {
  TWindow* w = FindWindowObject(window);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtr(window, index);
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: ChangeStyle(window, index, static_cast<DWORD>(value)); break;
    case GWLP_WNDPROC: w->Proc = WindowProcFromHandle(value); break;
    case GWLP_USERDATA: w->UserData = value; break;
    case GWLP_ID: w->Id = value; break;
    case GWLP_HINSTANCE: w->Instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWLP_HWNDPARENT:
      if (!w->Parent) w->Owner = TopLevelOf(reinterpret_cast<HWND>(value));
      break;
    default:
      if (index >= 0 && static_cast<std::size_t>(index) + sizeof(LONG_PTR) <= w->Extra.size()) {
        std::memcpy(w->Extra.data() + index, &value, sizeof value);
      } else {
        return 0;
      }
  }
  return old;
}

LONG GetWindowLong(HWND window, int index) { return static_cast<LONG>(GetWindowLongPtr(window, index)); }
LONG SetWindowLong(HWND window, int index, LONG value) {
  LONG_PTR v = value;
  if (index == GWL_STYLE || index == GWL_EXSTYLE) v = static_cast<LONG_PTR>(static_cast<std::uint32_t>(value));
  return static_cast<LONG>(SetWindowLongPtr(window, index, v));
}

// --- properties ------------------------------------------------------------------

bool SetProp(HWND window, const char* name, void* data) {
  TWindow* w = FindWindowObject(window);
  if (!w || !name) return false;
  w->Props[name] = data;
  return true;
}

void* GetProp(HWND window, const char* name) {
  TWindow* w = FindWindowObject(window);
  if (!w || !name) return nullptr;
  auto it = w->Props.find(name);
  return it == w->Props.end() ? nullptr : it->second;
}

void* RemoveProp(HWND window, const char* name) {
  TWindow* w = FindWindowObject(window);
  if (!w || !name) return nullptr;
  auto it = w->Props.find(name);
  if (it == w->Props.end()) return nullptr;
  void* data = it->second;
  w->Props.erase(it);
  return data;
}

// --- text ------------------------------------------------------------------------

bool SetWindowText(HWND window, const std::string& text) {
  if (!IsWindow(window)) return false;
  return SendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

int GetWindowTextLength(HWND window) {
  return static_cast<int>(SendMessage(window, WM_GETTEXTLENGTH, 0, 0));
}

int GetWindowText(HWND window, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  return static_cast<int>(SendMessage(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

std::string GetWindowText(HWND window) {
  int length = GetWindowTextLength(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int n = GetWindowText(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(0, n)));
  return text;
}

// --- tree ------------------------------------------------------------------------

bool IsTopLevel(const TWindow& w) { return w.Parent == nullptr; }

HWND TopLevelOf(HWND window) {
  TWindow* w = FindWindowObject(window);
  while (w && w->Parent) w = FindWindowObject(w->Parent);
  return w ? w->Handle : nullptr;
}

HWND GetParent(HWND window) {
  TWindow* w = FindWindowObject(window);
  if (!w) return nullptr;
  return w->Parent ? w->Parent : w->Owner;
}

HWND GetOwner(HWND window) {
  TWindow* w = FindWindowObject(window);
  return w ? w->Owner : nullptr;
}

HWND SetParent(HWND window, HWND newParent) {
  auto& wm = WM();
  TWindow* w = wm.Find(window);
  if (!w) return nullptr;
  if (newParent && !wm.Find(newParent)) return nullptr;
  for (HWND p = newParent; p; p = GetAncestor(p, GA_PARENT)) {
    if (p == window) return nullptr;  // would make a cycle
  }
  HWND old = w->Parent;
  bool visible = (w->Style & WS_VISIBLE) != 0;
  if (visible) ShowWindow(window, SW_HIDE);
  if (!(w = wm.Find(window))) return nullptr;
  if (old) {
    std::erase(wm.Require(old).Children, window);
  } else {
    std::erase(wm.TopLevels, window);
    wm.Backend().DestroyWindow(window);
    w->Image.reset();
  }
  if (newParent) {
    w->Parent = newParent;
    w->Owner = nullptr;
    w->Style = (w->Style | WS_CHILD) & ~WS_POPUP;
    wm.Require(newParent).Children.insert(wm.Require(newParent).Children.begin(), window);
  } else {
    w->Parent = nullptr;
    w->Style &= ~WS_CHILD;
    InsertTopLevel(window, (w->ExStyle & WS_EX_TOPMOST) != 0);
    ResizeImage(*w);
  }
  if (visible) ShowWindow(window, SW_SHOWNA);
  return old ? old : GetDesktopWindow();
}

HWND GetAncestor(HWND window, UINT flags) {
  TWindow* w = FindWindowObject(window);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->Parent;
    case GA_ROOT: return TopLevelOf(window);
    case GA_ROOTOWNER: {
      HWND h = TopLevelOf(window);
      while (TWindow* t = FindWindowObject(h)) {
        if (!t->Owner) break;
        h = t->Owner;
      }
      return h;
    }
    default: return nullptr;
  }
}

namespace {

const std::vector<HWND>* SiblingList(const TWindow& w) {
  if (w.Parent) {
    TWindow* p = FindWindowObject(w.Parent);
    return p ? &p->Children : nullptr;
  }
  return &WM().TopLevels;
}

}  // namespace

HWND GetWindow(HWND window, UINT relation) {
  TWindow* w = FindWindowObject(window);
  if (!w) return nullptr;
  if (relation == GW_OWNER) return w->Owner;
  if (relation == GW_CHILD) return w->Children.empty() ? nullptr : w->Children.front();
  const std::vector<HWND>* list = SiblingList(*w);
  if (!list || list->empty()) return nullptr;
  auto it = std::find(list->begin(), list->end(), window);
  switch (relation) {
    case GW_HWNDFIRST: return list->front();
    case GW_HWNDLAST: return list->back();
    case GW_HWNDNEXT: return (it == list->end() || it + 1 == list->end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == list->begin() || it == list->end()) ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND window) {
  if (!window) return WM().TopLevels.empty() ? nullptr : WM().TopLevels.front();
  return GetWindow(window, GW_CHILD);
}

HWND GetDesktopWindow() { return nullptr; }

// Top of its z-order band (topmost windows stay above the others); activates a
// top-level window as the classic call does.
bool BringWindowToTop(HWND window) {
  if (!FindWindowObject(window)) return false;
  return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool IsChild(HWND parent, HWND window) {
  TWindow* w = FindWindowObject(window);
  while (w && w->Parent) {
    if (w->Parent == parent) return true;
    w = FindWindowObject(w->Parent);
  }
  return false;
}

namespace {

bool EnumDescendants(HWND parent, const std::function<bool(HWND)>& callback) {
  TWindow* p = FindWindowObject(parent);
  if (!p) return true;
  std::vector<HWND> children = p->Children;
  for (HWND child : children) {
    if (!IsWindow(child)) continue;
    if (!callback(child)) return false;
    if (!EnumDescendants(child, callback)) return false;
  }
  return true;
}

}  // namespace

bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback) {
  if (!parent) return EnumWindows(callback);
  return EnumDescendants(parent, callback);
}

bool EnumWindows(const std::function<bool(HWND)>& callback) {
  std::vector<HWND> tops = WM().TopLevels;
  for (HWND top : tops) {
    if (IsWindow(top) && !callback(top)) return false;
  }
  return true;
}

void SendMessageToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  EnumDescendants(parent, [&](HWND child) {
    SendMessage(child, message, wParam, lParam);
    return true;
  });
}

HWND FindWindow(const char* className, const char* windowName) {
  for (HWND top : WM().TopLevels) {
    TWindow* w = FindWindowObject(top);
    if (!w) continue;
    if (className && w->Class->Name != className) continue;
    if (windowName && w->Text != windowName) continue;
    return top;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND window) {
  TWindow* w = FindWindowObject(window);
  return w && w->Parent ? static_cast<int>(w->Id) : 0;
}

HWND GetDlgItem(HWND parent, int id) {
  TWindow* p = FindWindowObject(parent);
  if (!p) return nullptr;
  for (HWND child : p->Children) {
    if (TWindow* c = FindWindowObject(child); c && c->Id == id) return child;
  }
  return nullptr;
}
