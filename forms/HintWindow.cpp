#include "forms/HintWindow.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "platform/gfx/SystemColors.h"
#include "platform/win/Win.h"

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kHideTimer = 2;

// The timers run on a hidden window of their own so that they do not depend on
// the hint window existing.
LRESULT HintTimerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    HintManager().TimerFired(static_cast<UINT_PTR>(wParam));
    return 0;
  }
  return DefWindowProc(window, msg, wParam, lParam);
}

}  // namespace

// --- THintWindow ------------------------------------------------------------------------------

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetColor(clInfoBk);
  Font().SetColor(clInfoText);
  SetVisibleFlag(false);
}

void THintWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style = WS_POPUP | WS_BORDER;
  params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  params.WndParent = nullptr;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
  TCanvas measure;
  measure.Font().Assign(Font());
  TRect r{0, 0, maxWidth, 0};
  measure.DrawText(hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  // Room for the border and a little air around the text.
  return {0, 0, r.Right + 8, r.Bottom + 4};
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& hint) {
  SetCaption(hint);
  // Keep the window on the screen.
  TRect r = rect;
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  if (r.Right > screenW) r = r.Offset(screenW - r.Right, 0);
  if (r.Bottom > screenH) r = r.Offset(0, screenH - r.Bottom);
  if (r.Left < 0) r = r.Offset(-r.Left, 0);
  if (r.Top < 0) r = r.Offset(0, -r.Top);
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Active_ = true;
  Invalidate();
}

void THintWindow::ReleaseHandle() {
  Active_ = false;
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

void THintWindow::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  c.Brush().SetColor(Color());
  c.FillRect(r);
  c.Font().Assign(Font());
  TRect text{r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom - 1};
  c.Brush().SetStyle(bsClear);
  c.DrawText(Caption(), text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  c.Brush().SetStyle(bsSolid);
}

// --- THintManager ------------------------------------------------------------------------------

THintManager::THintManager() = default;

// The window system may be gone when the process ends: leave its windows alone.
THintManager::~THintManager() = default;

THintManager& HintManager() {
  static THintManager manager;
  return manager;
}

bool ControlWantsHint(const TControl* control) {
  return control && control->ShowHint() && !control->Hint().empty();
}

HWND THintManager::TimerWindow() {
  if (TimerWindow_ && IsWindow(TimerWindow_)) return TimerWindow_;
  WNDCLASSEX wc;
  if (!GetClassInfoEx(nullptr, "THintTimer", &wc)) {
    wc = WNDCLASSEX();
    wc.lpfnWndProc = &HintTimerProc;
    wc.lpszClassName = "THintTimer";
    RegisterClassEx(wc);
  }
  TimerWindow_ = CreateWindowEx(0, "THintTimer", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  return TimerWindow_;
}

void THintManager::StartTimer(UINT_PTR id, int ms) {
  if (HWND window = TimerWindow()) SetTimer(window, id, static_cast<UINT>(std::max(1, ms)), nullptr);
}

void THintManager::StopTimers() {
  if (TimerWindow_ && IsWindow(TimerWindow_)) {
    KillTimer(TimerWindow_, kShowTimer);
    KillTimer(TimerWindow_, kHideTimer);
  }
}

THintWindow* THintManager::HintWindow() const { return HintShowing() ? Window_.get() : nullptr; }

bool THintManager::HintShowing() const { return Window_ && Window_->Active(); }

void THintManager::SetShowHint(bool value) {
  if (value == ShowHint_) return;
  ShowHint_ = value;
  if (!value) CancelHint();
}

void THintManager::CancelHint() {
  StopTimers();
  if (Window_) Window_->ReleaseHandle();
  Control_ = nullptr;
  Text_.clear();
}

void THintManager::MouseActivity(TControl* control, UINT msg) {
  switch (msg) {
    case CM_MOUSEENTER: {
      // Straight from one shown hint to the next (the leave came just before).
      const bool wasShowing = HintShowing() || (LeftShownAt_ && GetTickCount64() - *LeftShownAt_ <= 50);
      LeftShownAt_.reset();
      StopTimers();
      if (Window_) Window_->ReleaseHandle();
      Control_ = nullptr;
      Text_.clear();
      if (!ShowHint_ || !ControlWantsHint(control)) return;
      Control_ = control;
      Text_ = control->Hint();
      // From one shown hint to the next the pause is short.
      StartTimer(kShowTimer, wasShowing ? HintShortPause_ : HintPause_);
      return;
    }
    case CM_MOUSELEAVE:
      if (control != Control_) return;
      if (HintShowing()) LeftShownAt_ = GetTickCount64();
      CancelHint();
      return;
    default:
      // A button or a key: the hint goes and does not come back until the pointer enters again.
      LeftShownAt_.reset();
      CancelHint();
      return;
  }
}

void THintManager::TimerFired(UINT_PTR id) {
  if (TimerWindow_) KillTimer(TimerWindow_, id);
  if (id == kHideTimer) {
    if (Window_) Window_->ReleaseHandle();
    return;
  }
  if (id == kShowTimer) ShowNow();
}

void THintManager::ShowNow() {
  if (!Control_ || !ShowHint_ || Text_.empty()) return;
  if (!Window_) Window_ = HintWindowClass ? HintWindowClass() : std::make_unique<THintWindow>(nullptr);
  TPoint cursor;
  GetCursorPos(&cursor);
  TRect size = Window_->CalcHintRect(300, Text_);
  // Below the pointer, as far down as a cursor is high.
  const int top = cursor.Y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
  Window_->ActivateHint(Bounds(cursor.X, top, size.Width(), size.Height()), Text_);
  if (HintHidePause_ > 0) StartTimer(kHideTimer, HintHidePause_);
}
