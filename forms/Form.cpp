#include "forms/Form.h"

#include <algorithm>

#include "forms/Application.h"
#include "platform/base/Exception.h"
#include "platform/win/Win.h"

namespace {
TScreen gScreen;
}

TScreen* Screen() { return &gScreen; }

TForm* TScreen::FindForm(const std::string& name) const {
  for (TForm* f : Forms_)
    if (f->Name() == name) return f;
  return nullptr;
}

TForm* TScreen::ActiveForm() const {
  HWND active = GetActiveWindow();
  for (TForm* f : Forms_)
    if (f->HandleAllocated() && f->Handle() == active) return f;
  return nullptr;
}

int TScreen::Width() const { return DisplayBackend().ScreenSize().cx; }
int TScreen::Height() const { return DisplayBackend().ScreenSize().cy; }

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  BeginLoading();
  SetVisibleFlag(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  ControlStyle_.Include(csAcceptsControls);
  SetBounds(0, 0, 320, 240);
  gScreen.Forms_.push_back(this);
}

TForm::~TForm() {
  Destroying();
  if (Created_ && OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
    }
  }
  auto& forms = gScreen.Forms_;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (Application && Application->MainForm() == this) Application->ForgetMainForm();
}

void TForm::LoadedAll(TComponent* root) {
  for (int i = 0; i < root->ComponentCount(); ++i) {
    TComponent* c = root->Components(i);
    if (c->IsLoading()) c->Loaded();
    LoadedAll(c);
  }
}

void TForm::AfterConstruction() {
  if (IsLoading()) {
    LoadedAll(this);
    Loaded();
  }
  Created_ = true;
  DoCreate();
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style &= ~(WS_CHILD | WS_VISIBLE);
  params.WndParent = nullptr;
  DWORD style = 0, ex = 0;
  switch (BorderStyle_) {
    case bsNone: style = WS_POPUP; break;
    case bsSingle: style = WS_CAPTION | WS_BORDER; break;
    case bsSizeable: style = WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      style = WS_POPUP | WS_CAPTION | WS_DLGFRAME;
      ex = WS_EX_DLGMODALFRAME;
      break;
    case bsToolWindow:
      style = WS_CAPTION | WS_BORDER;
      ex = WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      style = WS_CAPTION | WS_THICKFRAME;
      ex = WS_EX_TOOLWINDOW;
      break;
  }
  if (BorderStyle_ != bsNone) {
    if (BorderIcons_.Contains(biSystemMenu)) style |= WS_SYSMENU;
    bool boxes = BorderStyle_ == bsSingle || BorderStyle_ == bsSizeable;
    if (boxes && BorderIcons_.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
    if (boxes && BorderIcons_.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
  }
  if (FormStyle_ == fsStayOnTop) ex |= WS_EX_TOPMOST;
  if (AlphaBlend_) ex |= WS_EX_LAYERED;
  if (Application && Application->MainForm() && Application->MainForm() != this) ex |= 0;
  params.Style |= style;
  params.ExStyle |= ex;
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == BorderStyle_) return;
  // Keep the client size: the frame changes around it.
  TRect client = ClientRect();
  BorderStyle_ = style;
  RecreateFrame();
  SetClientSize(client.Width(), client.Height());
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == BorderIcons_) return;
  BorderIcons_ = icons;
  RecreateFrame();
}

void TForm::RecreateFrame() {
  const bool shown = HandleAllocated() && IsWindowVisible(Handle());
  const bool active = shown && Active();
  RecreateWnd();
  if (!shown) return;
  ApplyAlpha();
  int cmd = SW_SHOWNA;
  if (WindowState_ == wsMaximized) cmd = SW_SHOWMAXIMIZED;
  else if (WindowState_ == wsMinimized) cmd = SW_SHOWMINIMIZED;
  ShowWindow(Handle(), cmd);
  if (active) SetActiveWindow(Handle());
}

void TForm::SetWindowState(TWindowState state) {
  if (state == WindowState_) return;
  WindowState_ = state;
  if (HandleAllocated() && Visible()) {
    switch (state) {
      case wsNormal: ShowWindow(Handle(), SW_RESTORE); break;
      case wsMinimized: ShowWindow(Handle(), SW_MINIMIZE); break;
      case wsMaximized: ShowWindow(Handle(), SW_MAXIMIZE); break;
    }
  }
}

void TForm::SetFormStyle(TFormStyle style) {
  if (style == FormStyle_) return;
  FormStyle_ = style;
  if (HandleAllocated())
    SetWindowPos(Handle(), style == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetAlphaBlend(bool value) {
  if (value == AlphaBlend_) return;
  AlphaBlend_ = value;
  ApplyAlpha();
}

void TForm::SetAlphaBlendValue(std::uint8_t value) {
  if (value == AlphaBlendValue_) return;
  AlphaBlendValue_ = value;
  ApplyAlpha();
}

void TForm::ApplyAlpha() {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  LONG ex = GetWindowLong(h, GWL_EXSTYLE);
  if (AlphaBlend_) {
    if (!(ex & static_cast<LONG>(WS_EX_LAYERED))) SetWindowLong(h, GWL_EXSTYLE, ex | static_cast<LONG>(WS_EX_LAYERED));
    SetLayeredWindowAttributes(h, 0, AlphaBlendValue_, LWA_ALPHA);
  } else if (ex & static_cast<LONG>(WS_EX_LAYERED)) {
    SetWindowLong(h, GWL_EXSTYLE, ex & ~static_cast<LONG>(WS_EX_LAYERED));
  }
}

void TForm::SetBounds(int left, int top, int width, int height) { TWinControl::SetBounds(left, top, width, height); }

void TForm::ApplyPosition() {
  switch (Position_) {
    case poScreenCenter:
    case poDesktopCenter: {
      TSize screen = DisplayBackend().ScreenSize();
      SetBounds((screen.cx - Width()) / 2, (screen.cy - Height()) / 2, Width(), Height());
      break;
    }
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TForm* main = Application ? Application->MainForm() : nullptr;
      if (main && main != this && main->Visible()) {
        SetBounds(main->Left() + (main->Width() - Width()) / 2, main->Top() + (main->Height() - Height()) / 2,
                  Width(), Height());
      } else {
        TSize screen = DisplayBackend().ScreenSize();
        SetBounds((screen.cx - Width()) / 2, (screen.cy - Height()) / 2, Width(), Height());
      }
      break;
    }
    case poDesigned:
    case poDefault:
    case poDefaultPosOnly:
    case poDefaultSizeOnly: break;
  }
}

bool TForm::Showing() const {
  return Visible() && HandleAllocated() && IsWindowVisible(const_cast<TForm*>(this)->Handle());
}

bool TForm::Active() const { return HandleAllocated() && GetActiveWindow() == const_cast<TForm*>(this)->Handle(); }

void TForm::SetActiveControl(TWinControl* control) {
  ActiveControl_ = control;
  if (control && Visible() && HandleAllocated() && control->CanFocus() && !control->Focused()) control->SetFocus();
}

void TForm::ShowingChanged() {
  if (Visible()) {
    HandleNeeded();
    if (!ShownOnce_) {
      ShownOnce_ = true;
      ApplyPosition();
    }
    // OnShow runs before the window appears, so it may still change it.
    DoShow();
    if (!Visible()) return;
    ApplyAlpha();
    int cmd = SW_SHOW;
    if (WindowState_ == wsMaximized) cmd = SW_SHOWMAXIMIZED;
    else if (WindowState_ == wsMinimized) cmd = SW_SHOWMINIMIZED;
    ShowWindow(Handle(), cmd);
    SetActiveWindow(Handle());
    TWinControl* target = ActiveControl_;
    if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true, true, false);
    if (target && target->CanFocus()) ::SetFocus(target->Handle());
    else if (GetFocus() == nullptr || !IsChild(Handle(), GetFocus())) ::SetFocus(Handle());
  } else {
    DoHide();
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  }
}

void TForm::Show() {
  if (Visible()) {
    if (HandleAllocated()) {
      // A minimised window shown again comes back as it was.
      if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
      BringWindowToTop(Handle());
      SetActiveWindow(Handle());
    }
    return;
  }
  SetVisible(true);
}

void TForm::SetFocus() {
  if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
  if (HandleAllocated()) SetActiveWindow(Handle());
  ::SetFocus(ActiveControl_ && ActiveControl_->CanFocus() ? ActiveControl_->Handle() : Handle());
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (InModal_) {
    ModalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  if (action == caMinimize) {
    SetWindowState(wsMinimized);
    return;
  }
  Hide();
}

TModalResult TForm::ShowModal() {
  if (Visible() || !Enabled() || InModal_) throw Exception("Cannot make a visible window modal");
  HWND previous = GetActiveWindow();
  // Every other visible form is disabled while the dialog runs.
  std::vector<TForm*> disabled;
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TForm* f = Screen()->Forms(i);
    if (f != this && f->Visible() && f->HandleAllocated() && IsWindowEnabled(f->Handle())) {
      EnableWindow(f->Handle(), false);
      disabled.push_back(f);
    }
  }
  InModal_ = true;
  ModalResult_ = mrNone;
  TModalResult result = mrCancel;
  // A dialog stays above every window it holds up, stay-on-top ones included.
  bool raisedTopmost = false;
  if (FormStyle_ != fsStayOnTop) {
    for (TForm* f : disabled)
      if (GetWindowLongPtr(f->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) raisedTopmost = true;
    if (raisedTopmost) SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // The dialog belongs to the window it holds up and stays above every window of
  // the program (the display keeps it above its owner too).
  HandleNeeded();
  const HWND owner = previous && previous != Handle() && IsWindow(previous) ? previous : nullptr;
  SetWindowLongPtr(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  SetWindowModal(Handle(), true);
  auto release = [&] {
    InModal_ = false;
    for (TForm* f : disabled)
      if (f->HandleAllocated()) EnableWindow(f->Handle(), true);
    Hide();
    if (HandleAllocated()) {
      SetWindowModal(Handle(), false);
      SetWindowLongPtr(Handle(), GWLP_HWNDPARENT, 0);
    }
    if (raisedTopmost && HandleAllocated())
      SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  };
  try {
    Show();
    for (;;) {
      bool ended = RunModalLoop([this] { return ModalResult_ != mrNone || !Visible(); });
      if (!ended) {
        // The program is ending: leave the dialog as cancelled.
        if (ModalResult_ == mrNone) ModalResult_ = mrCancel;
        break;
      }
      if (ModalResult_ == mrNone) ModalResult_ = mrCancel;  // hidden from outside
      // Closing may be refused: then the dialog goes on.
      bool canClose = CloseQuery();
      TCloseAction action = caHide;
      if (canClose && OnClose) OnClose(this, action);
      if (canClose && action != caNone) break;
      ModalResult_ = mrNone;
      if (!Visible()) break;
    }
    result = ModalResult_;
  } catch (...) {
    release();
    throw;
  }
  release();
  if (previous && IsWindow(previous)) SetActiveWindow(previous);
  return result;
}

void TForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_CLOSE: Close(); return;
    case CM_FOCUSCHANGED: {
      auto* c = reinterpret_cast<TWinControl*>(message.LParam);
      if (c && c != this && ContainsControl(c)) ActiveControl_ = c;
      return;
    }
    case CM_DIALOGKEY:
      if (message.WParam == VK_TAB) {
        TShiftState shift = KeyboardShiftState();
        if (!shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
          SelectNext(ActiveControl_, !shift.Contains(ssShift), true);
          message.Result = 1;
        }
        return;
      }
      break;
    case WM_ACTIVATE:
      DefaultHandler(message);
      if (LOWORD(message.WParam) != WA_INACTIVE) {
        if (ActiveControl_ && ActiveControl_->CanFocus() && !ActiveControl_->Focused())
          ::SetFocus(ActiveControl_->Handle());
        if (OnActivate) OnActivate(this);
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      return;
    case WM_SIZE:
      TWinControl::WndProc(message);
      // A hidden window's sizes (the one sent while it is made, for one) say nothing
      // of the state it is designed to show in.
      if (HandleAllocated() && IsWindowVisible(Handle())) {
        if (message.WParam == SIZE_MAXIMIZED) WindowState_ = wsMaximized;
        else if (message.WParam == SIZE_MINIMIZED) WindowState_ = wsMinimized;
        else if (message.WParam == SIZE_RESTORED) WindowState_ = wsNormal;
      }
      return;
    default: break;
  }
  TWinControl::WndProc(message);
}
