#include "forms/WinControl.h"

#include <algorithm>
#include <set>
#include <utility>

#include "forms/Canvas.h"
#include "forms/ExceptionHandler.h"
#include "forms/HintWindow.h"
#include "platform/base/Exception.h"
#include "platform/win/Win.h"

namespace {

constexpr const char* kObjectProp = "TWinControl";
// The control whose window is being created: its first messages arrive before
// CreateWindowEx returns.
TWinControl* gCreationControl = nullptr;

}  // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner) { Brush_.SetColor(Color()); }

TWinControl::~TWinControl() {
  Destroying();
  // Owned components go while this object is whole: they unlink from us.
  DestroyComponents();
  std::vector<TControl*> rest = Controls_;
  for (TControl* c : rest) RemoveControl(c);
  DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND window) {
  return window ? static_cast<TWinControl*>(GetProp(window, kObjectProp)) : nullptr;
}

HWND TWinControl::Handle() {
  if (!Handle_) CreateHandle();
  return Handle_;
}

void TWinControl::CreateHandle() {
  if (Handle_) return;
  if (Parent()) Parent()->HandleNeeded();
  CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = Caption();
  params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (Parent()) {
    params.Style |= WS_CHILD;
    params.WndParent = Parent()->Handle();
    if (Visible()) params.Style |= WS_VISIBLE;
  }
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (TabStop_) params.Style |= WS_TABSTOP;
  params.X = Left();
  params.Y = Top();
  params.Width = Width();
  params.Height = Height();
  params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  static std::set<std::string> registered;
  if (!registered.count(params.WinClassName)) {
    WNDCLASSEX wc;
    wc.style = params.ClassStyle;
    wc.lpfnWndProc = &TWinControl::InitWndProc;
    wc.lpszClassName = params.WinClassName.c_str();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassEx(wc);
    registered.insert(params.WinClassName);
  }
  CreateWindowHandle(params);
  if (!Handle_) throw EOutOfResources("Error creating window");
  for (TControl* c : std::vector<TControl*>(Controls_))
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
  Realign();
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
  TWinControl* saved = gCreationControl;
  gCreationControl = this;
  HWND h = CreateWindowEx(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                          params.X, params.Y, params.Width, params.Height, params.WndParent, nullptr, nullptr, this);
  gCreationControl = saved;
  if (h && !Handle_) {
    // No message arrived during creation: attach now.
    Handle_ = h;
    SetProp(h, kObjectProp, this);
    DefWndProc_ = TWindowProc(&DefWindowProc);
    SetWindowProc(h, MakeWindowProc<&TWinControl::MainWndProc>(this));
  }
}

LRESULT TWinControl::InitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* self = gCreationControl;
  if (!self || self->Handle_) return DefWindowProc(window, msg, wParam, lParam);
  self->Handle_ = window;
  SetProp(window, kObjectProp, self);
  self->DefWndProc_ = TWindowProc(&DefWindowProc);
  SetWindowProc(window, MakeWindowProc<&TWinControl::MainWndProc>(self));
  return self->MainWndProc(window, msg, wParam, lParam);
}

LRESULT TWinControl::MainWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (IsDestroying() || !WindowProc) {
    m.Result = CallWindowProc(DefWndProc_, window, msg, wParam, lParam);
  } else {
    try {
      WindowProc(m);
    } catch (...) {
      HandleFrameworkException(std::current_exception());
    }
  }
  if (msg == WM_NCDESTROY && window == Handle_) {
    RemoveProp(window, kObjectProp);
    Handle_ = nullptr;
  }
  return m.Result;
}

void TWinControl::DestroyHandle() {
  if (!Handle_) return;
  DestroyingHandle_ = true;
  HWND h = Handle_;
  DestroyWindow(h);
  if (Handle_ == h) {
    RemoveProp(h, kObjectProp);
    Handle_ = nullptr;
  }
  DestroyingHandle_ = false;
}

void TWinControl::RecreateWnd() {
  if (!Handle_) return;
  bool focused = Focused();
  DestroyHandle();
  HandleNeeded();
  if (focused) ::SetFocus(Handle_);
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (Handle_) {
    message.Result = CallWindowProc(DefWndProc_, Handle_, message.Msg, message.WParam, message.LParam);
    return;
  }
  TControl::DefaultHandler(message);
}

LRESULT TWinControl::CallDefault(UINT msg, WPARAM w, LPARAM l) {
  TMessage m{msg, w, l, 0};
  DefaultHandler(m);
  return m.Result;
}

// --- children ------------------------------------------------------------------

void TWinControl::InsertControl(TControl* control) {
  if (!control || control->Parent_ == this) return;
  control->Parent_ = this;
  Controls_.push_back(control);
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win) TabList_.push_back(win);
  if (control->ParentFont_) control->ParentFontChanged();
  if (control->ParentColor_) control->ParentColorChanged();
  if (control->ParentShowHint_) control->ShowHint_ = ShowHint();
  if (win && Handle_) {
    if (win->Handle_) {
      ::SetParent(win->Handle_, Handle_);
    } else {
      win->HandleNeeded();
    }
  }
  control->UpdateAnchorRules();
  if (control->Align() != alNone) Realign();
  control->Invalidate();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(Controls_.begin(), Controls_.end(), control);
  if (it == Controls_.end()) return;
  control->Invalidate();
  if (CaptureControl_ == control) CaptureControl_ = nullptr;
  Controls_.erase(it);
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win) {
    TabList_.erase(std::remove(TabList_.begin(), TabList_.end(), win), TabList_.end());
    if (!win->IsDestroying()) win->DestroyHandle();
  }
  control->Parent_ = nullptr;
  if (!IsDestroying()) {
    if (control->Align() != alNone) Realign();
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
  }
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) const {
  for (auto it = Controls_.rbegin(); it != Controls_.rend(); ++it) {
    TControl* c = *it;
    if (!allowWinControls && dynamic_cast<TWinControl*>(c)) continue;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    if (!c->BoundsRect().Contains(pos)) continue;
    TPoint local{pos.X - c->Left(), pos.Y - c->Top()};
    if (c->Perform(CM_HITTEST, 0, PointToLParam(local)) != 0) return c;
  }
  return nullptr;
}

void TWinControl::SetChildOrder(TControl* child, int order) {
  auto it = std::find(Controls_.begin(), Controls_.end(), child);
  if (it == Controls_.end()) return;
  Controls_.erase(it);
  order = std::clamp(order, 0, static_cast<int>(Controls_.size()));
  Controls_.insert(Controls_.begin() + order, child);
  if (auto* w = dynamic_cast<TWinControl*>(child); w && w->Handle_) {
    // Windowed children keep the same relative order in the window system.
    HWND after = HWND_TOP;
    for (auto r = Controls_.rbegin(); r != Controls_.rend(); ++r) {
      auto* rw = dynamic_cast<TWinControl*>(*r);
      if (!rw || !rw->Handle_) continue;
      if (rw == w) break;
      after = rw->Handle_;
    }
    SetWindowPos(w->Handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  child->Invalidate();
}

void TWinControl::EnableAlign() {
  if (AlignDisabled_ > 0 && --AlignDisabled_ == 0 && AlignPending_) Realign();
}

void TWinControl::Realign() {
  if (AlignDisabled_ > 0 || Aligning_) {
    AlignPending_ = true;
    return;
  }
  AlignPending_ = false;
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  AlignControls(nullptr, rect);
}

void TWinControl::AlignControl(TControl* control) {
  AlignPriority_ = control;
  Realign();
  AlignPriority_ = nullptr;
}

void TWinControl::AdjustClientRect(TRect&) const {}

void TWinControl::DoAlign(TAlign align, TRect& rect) {
  std::vector<TControl*> list;
  for (TControl* c : Controls_)
    if (c->Align() == align && c->Visible()) list.push_back(c);
  auto key = [align](const TControl* c) {
    switch (align) {
      case alTop: return c->Top();
      case alBottom: return -(c->Top() + c->Height());
      case alLeft: return c->Left();
      case alRight: return -(c->Left() + c->Width());
      case alNone:
      case alClient:
      case alCustom: return 0;
    }
    return 0;
  };
  // On equal positions the control just placed goes first, as classically.
  std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
    if (key(a) != key(b)) return key(a) < key(b);
    return a == AlignPriority_ && b != AlignPriority_;
  });
  for (TControl* c : list) {
    int w = c->Width(), h = c->Height();
    switch (align) {
      case alTop:
        c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
        rect.Top += c->Height();
        break;
      case alBottom:
        c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
        rect.Bottom -= c->Height();
        break;
      case alLeft:
        c->SetBounds(rect.Left, rect.Top, w, rect.Height());
        rect.Left += c->Width();
        break;
      case alRight:
        c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
        rect.Right -= c->Width();
        break;
      case alClient: c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); break;
      case alNone:
      case alCustom: break;
    }
  }
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
  Aligning_ = true;
  DoAlign(alTop, rect);
  DoAlign(alBottom, rect);
  DoAlign(alLeft, rect);
  DoAlign(alRight, rect);
  DoAlign(alClient, rect);
  ApplyAnchors();
  Aligning_ = false;
}

void TWinControl::ApplyAnchors() {
  TRect pc = ClientRect();
  AdjustClientRect(pc);
  for (TControl* c : Controls_) {
    if (c->Align() != alNone || !c->AnchorRulesValid_ || c->IsLoading()) continue;
    if (c->AnchorParentSize_ == TSize{pc.Width(), pc.Height()}) continue;
    TAnchors a = c->Anchors();
    int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
    if (a.Contains(akRight)) {
      if (a.Contains(akLeft)) w = pc.Right - c->AnchorRight_ - l;
      else l = pc.Right - c->AnchorRight_ - w;
    }
    if (a.Contains(akBottom)) {
      if (a.Contains(akTop)) h = pc.Bottom - c->AnchorBottom_ - t;
      else t = pc.Bottom - c->AnchorBottom_ - h;
    }
    c->SetBounds(l, t, w, h);
    c->AnchorParentSize_ = {pc.Width(), pc.Height()};
  }
}

// --- focus -----------------------------------------------------------------------

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->TabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->TabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return Handle_ && GetFocus() == Handle_; }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : TabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  const int n = static_cast<int>(list.size());
  if (n == 0) return nullptr;
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (list[static_cast<size_t>(i)] == current) start = i;
  int i = start;
  for (int step = 0; step < n; ++step) {
    if (goForward) i = (i + 1) % n;
    else i = (i <= 0 ? n : i) - 1;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c == current) break;
    if (!c->CanFocus()) continue;
    if (checkTabStop && !c->TabStop_) continue;
    if (checkParent && c->Parent() != this) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* c = FindNextControl(current, goForward, checkTabStop, false)) c->SetFocus();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// --- geometry ----------------------------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height) {
  bool sized = width != Width() || height != Height();
  bool moved = left != Left() || top != Top();
  if (!sized && !moved) return;
  TControl::SetBounds(left, top, width, height);
  if (Handle_) {
    SettingBounds_ = true;
    SetWindowPos(Handle_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    SettingBounds_ = false;
  }
  if (sized) Realign();
}

void TWinControl::UpdateBoundsFromWindow() {
  if (!Handle_ || SettingBounds_) return;
  TRect r = WindowRect(Handle_);
  if (Parent()) MapWindowPoints(nullptr, Parent()->Handle(), &r);
  bool sized = r.Width() != Width() || r.Height() != Height();
  if (r.Left == Left() && r.Top == Top() && !sized) return;
  Left_ = r.Left;
  Top_ = r.Top;
  Width_ = r.Width();
  Height_ = r.Height();
  if (sized) {
    Realign();
    Resize();
  }
}

TRect TWinControl::ClientRect() const {
  if (Handle_) return ::ClientRect(Handle_);
  TCreateParams p;
  const_cast<TWinControl*>(this)->CreateParamsForMeasure(p);
  TRect frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, p.Style, false, p.ExStyle);
  return {0, 0, std::max(0, Width() - frame.Width()), std::max(0, Height() - frame.Height())};
}

TPoint TWinControl::ClientOrigin() const {
  if (Handle_) {
    TPoint p{0, 0};
    ::ClientToScreen(Handle_, &p);
    return p;
  }
  TCreateParams p;
  const_cast<TWinControl*>(this)->CreateParamsForMeasure(p);
  TRect frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, p.Style, false, p.ExStyle);
  TPoint o = TControl::ClientOrigin();
  return {o.X - frame.Left, o.Y - frame.Top};
}

void TWinControl::CreateParamsForMeasure(TCreateParams& params) {
  // Style bits only: no parent handle may be created just to measure.
  TWinControl* parent = Parent_;
  Parent_ = nullptr;
  CreateParams(params);
  Parent_ = parent;
  if (parent) params.Style |= WS_CHILD;
}

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  if (Parent()) return Parent()->Showing();
  return Handle_ && IsWindowVisible(Handle_);
}

void TWinControl::SetEnabled(bool enabled) { TControl::SetEnabled(enabled); }

void TWinControl::SetText(const std::string& text) {
  if (text == Text_) return;
  Text_ = text;
  if (Handle_) SetWindowText(Handle_, text);
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TWinControl::ShowingChanged() {
  if (!Handle_) {
    if (Visible() && Parent() && Parent()->HandleAllocated()) HandleNeeded();
    return;
  }
  ShowWindow(Handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetParentBackground(bool value) {
  if (value == ParentBackground()) return;
  ControlStyle_.Set(csParentBackground, value);
  Invalidate();
}

// --- painting ------------------------------------------------------------------

void TWinControl::Invalidate() {
  if (Handle_) InvalidateRect(Handle_, nullptr, !ControlStyle_.Contains(csOpaque));
}

void TWinControl::Update() {
  if (Handle_) UpdateWindow(Handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::EraseBackground(HDC dc) {
  if (!dc || ControlStyle_.Contains(csOpaque)) return;
  TColor color = Color();
  if (ParentBackground() && Parent()) color = Parent()->Color();
  dc->FillRect(ClientRect(), ColorToRGB(color));
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  if (!dc) return;
  auto it = Controls_.begin();
  if (first) it = std::find(Controls_.begin(), Controls_.end(), first);
  TRect clip;
  dc->ClipBox(clip);
  std::vector<TControl*> list(it, Controls_.end());
  for (TControl* c : list) {
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    TRect r = c->BoundsRect();
    if (r.Intersect(clip).IsEmpty()) continue;
    int saved = dc->Save();
    TPoint org = dc->UserViewportOrg();
    dc->SetUserViewportOrg({org.X + r.Left, org.Y + r.Top});
    dc->IntersectClip({0, 0, r.Width(), r.Height()});
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    dc->Restore(saved);
  }
}

void TWinControl::PaintHandler(TMessage& message) {
  if (message.WParam) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    PaintWindow(dc);
    PaintControls(dc, nullptr);
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle_, &ps);
  if (dc) {
    PaintWindow(dc);
    PaintControls(dc, nullptr);
  }
  EndPaint(Handle_, &ps);
}

// --- messages ----------------------------------------------------------------------

void TWinControl::SetCaptureControl(TControl* control) {
  CaptureControl_ = control;
  if (!Handle_) return;
  if (control) ::SetCapture(Handle_);
  else if (GetCapture() == Handle_) ReleaseCapture();
}

bool TWinControl::IsControlMouseMsg(TMessage& message) {
  TPoint pos{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  TControl* target = nullptr;
  if (CaptureControl_) target = CaptureControl_;
  else if (!(Handle_ && GetCapture() == Handle_)) target = ControlAtPos(pos, false);
  if (message.Msg == WM_MOUSEMOVE) {
    if (!CaptureControl_) SetMouseControl(target ? target : this);
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = Handle_;
    TrackMouseEvent(&tme);
  }
  if (!target) return false;
  TPoint local{pos.X - target->Left(), pos.Y - target->Top()};
  message.Result = target->Perform(message.Msg, message.WParam, PointToLParam(local));
  return true;
}

void TWinControl::Broadcast(TMessage& message) {
  std::vector<TControl*> list = Controls_;
  for (TControl* c : list) {
    if (std::find(Controls_.begin(), Controls_.end(), c) == Controls_.end()) continue;
    c->WindowProc(message);
    if (message.Result != 0) return;
  }
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::CharMessage(char32_t ch) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && form->KeyPreviewWanted()) form->KeyPress(ch);
  if (ch) KeyPress(ch);
  if (ch) ControlKeyPress(ch);
}

void TWinControl::KeyPress(char32_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

bool TWinControl::DoKeyDown(TMessage& message) {
  WORD key = static_cast<WORD>(message.WParam);
  TShiftState shift = KeyboardShiftState();
  TWinControl* form = GetParentForm(this);
  if (form && form != this && form->KeyPreviewWanted()) {
    form->KeyDown(key, shift);
    if (key == 0) return true;
  }
  KeyDown(key, shift);
  message.WParam = key;
  if (key == 0) return true;
  LRESULT codes = DialogCode();
  bool dialogKey = false;
  switch (key) {
    case VK_TAB: dialogKey = !(codes & DLGC_WANTTAB) || shift.Contains(ssCtrl); break;
    case VK_RETURN:
    case VK_ESCAPE: dialogKey = !(codes & DLGC_WANTALLKEYS); break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: dialogKey = !(codes & DLGC_WANTARROWS); break;
    default: break;
  }
  if (dialogKey && form && form->Perform(CM_DIALOGKEY, key, 0) != 0) return true;
  return false;
}

void TWinControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: PaintHandler(message); return;
    case WM_CONTEXTMENU:
      if (WmContextMenu(message)) return;
      break;
    case WM_PRINTCLIENT: WmPrintClient(message); return;
    case WM_ERASEBKGND: WmEraseBkgnd(message); return;
    case WM_MOUSELEAVE: WmMouseLeave(message); return;
    case WM_SETCURSOR: WmSetCursor(message); return;
    case WM_SETFOCUS: WmSetFocus(message); return;
    case WM_KILLFOCUS: WmKillFocus(message); return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WmKeyDown(message); return;
    case WM_KEYUP:
    case WM_SYSKEYUP: WmKeyUp(message); return;
    case WM_CHAR: WmChar(message); return;
    case WM_GETDLGCODE: message.Result = DialogCode(); return;
    case WM_SIZE:
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED: WmBoundsChanged(message); return;
    case WM_SETTEXT:
      if (WmSetText(message)) return;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      if (WmMouseButton(message)) return;
      break;
    case CM_COLORCHANGED: CmColorChanged(); return;
    case CM_FONTCHANGED: CmFontChanged(); return;
    case CM_SHOWHINTCHANGED: CmShowHintChanged(); return;
    case CM_ENABLEDCHANGED: CmEnabledChanged(); return;
    case CM_VISIBLECHANGED: CmVisibleChanged(message); return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: Broadcast(message); return;
    default: break;
  }
  TControl::WndProc(message);
}

bool TWinControl::WmContextMenu(TMessage& message) {
  // A windowless child under the pointer opens its own menu first.
  if (message.LParam == -1) return false;
  const TPoint at = ScreenToClient({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
  TControl* child = ControlAtPos(at, false);
  return child && child->Perform(WM_CONTEXTMENU, message.WParam, message.LParam);
}

void TWinControl::WmPrintClient(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  EraseBackground(dc);
  PaintWindow(dc);
  PaintControls(dc, nullptr);
}

void TWinControl::WmEraseBkgnd(TMessage& message) {
  EraseBackground(reinterpret_cast<HDC>(message.WParam));
  message.Result = 1;
}

void TWinControl::WmMouseLeave(TMessage& message) {
  TControl* mc = MouseControl();
  if (mc && (mc == this || (mc->Parent() == this && !dynamic_cast<TWinControl*>(mc)))) SetMouseControl(nullptr);
  DefaultHandler(message);
}

void TWinControl::WmSetCursor(TMessage& message) {
  if (LOWORD(static_cast<std::uintptr_t>(message.LParam)) == HTCLIENT && Handle_) {
    TPoint pt;
    GetCursorPos(&pt);
    ::ScreenToClient(Handle_, &pt);
    TControl* c = ControlAtPos(pt, false);
    TCursor cur = c && c->Cursor() != crDefault ? c->Cursor() : Cursor();
    if (cur != crDefault) {
      ::SetCursor(CursorHandle(cur));
      message.Result = 1;
      return;
    }
  }
  DefaultHandler(message);
}

void TWinControl::WmSetFocus(TMessage& message) {
  if (TWinControl* form = GetParentForm(this)) form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
  DoEnter();
  Invalidate();
  DefaultHandler(message);
}

void TWinControl::WmKillFocus(TMessage& message) {
  DoExit();
  Invalidate();
  DefaultHandler(message);
}

void TWinControl::WmKeyDown(TMessage& message) {
  HintManager().MouseActivity(this, message.Msg);
  if (DoKeyDown(message)) return;
  ControlKeyDown(static_cast<WORD>(message.WParam), KeyboardShiftState());
  // The window's default procedure makes system commands and the context-menu request.
  if (message.Msg == WM_SYSKEYDOWN || message.WParam == VK_APPS || message.WParam == VK_F10) DefaultHandler(message);
}

void TWinControl::WmKeyUp(TMessage& message) {
  WORD key = static_cast<WORD>(message.WParam);
  TShiftState shift = KeyboardShiftState();
  TWinControl* form = GetParentForm(this);
  if (form && form != this && form->KeyPreviewWanted()) form->KeyUp(key, shift);
  if (key) KeyUp(key, shift);
  if (key) ControlKeyUp(key, shift);
}

void TWinControl::WmChar(TMessage& message) {
  // Characters past U+FFFF come as two halves; a half without its partner
  // is no character and becomes U+FFFD, as is anything past U+10FFFF.
  char32_t ch = static_cast<char32_t>(message.WParam);
  const char32_t pending = std::exchange(PendingHighSurrogate_, 0);
  if (ch >= 0xDC00 && ch < 0xE000 && pending) {
    ch = 0x10000 + ((pending - 0xD800) << 10) + (ch - 0xDC00);
  } else {
    if (pending) CharMessage(0xFFFD);
    if (ch >= 0xD800 && ch < 0xDC00) {
      PendingHighSurrogate_ = ch;
      return;
    }
    if ((ch >= 0xDC00 && ch < 0xE000) || ch > 0x10FFFF) ch = 0xFFFD;
  }
  CharMessage(ch);
}

void TWinControl::WmBoundsChanged(TMessage& message) {
  DefaultHandler(message);
  UpdateBoundsFromWindow();
}

bool TWinControl::WmSetText(TMessage& message) {
  if (!message.LParam) return false;
  std::string text = reinterpret_cast<const char*>(message.LParam);
  DefaultHandler(message);
  if (text != Text_) {
    Text_ = text;
    Perform(CM_TEXTCHANGED, 0, 0);
  }
  return true;
}

bool TWinControl::WmMouseButton(TMessage& message) {
  if (IsControlMouseMsg(message)) return true;
  if ((message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) && TabStop_ && CanFocus() && !Focused())
    SetFocus();
  return false;
}

void TWinControl::CmColorChanged() {
  Brush_.SetColor(Color());
  Invalidate();
  TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::CmFontChanged() {
  Invalidate();
  TMessage m{CM_PARENTFONTCHANGED, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::CmShowHintChanged() {
  TMessage m{CM_PARENTSHOWHINTCHANGED, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::CmEnabledChanged() {
  if (Handle_) EnableWindow(Handle_, Enabled());
  Invalidate();
}

void TWinControl::CmVisibleChanged(TMessage& message) {
  TControl::WndProc(message);
  ShowingChanged();
}
