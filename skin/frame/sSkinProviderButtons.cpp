// Caption buttons: their images and places, hit testing, the mouse, the 12 ms
// hover animation and the glows of the close, maximize and minimize buttons.
#include <algorithm>

#include "forms/Form.h"
#include "platform/win/HitTest.h"
#include "platform/win/SysCommands.h"
#include "platform/win/Timer.h"
#include "platform/win/Win.h"
#include "skin/frame/acGlowEffect.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/runtime/sSkinManager.h"

namespace {

constexpr UINT kAnimationInterval = 12;
constexpr int kHotSteps = 10;

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtr(window, GWL_STYLE)); }
DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtr(window, GWL_EXSTYLE)); }

// The GLOBALINFO key of a button's glow ("" for buttons without one).
const char* GlowKey(int hitCode) {
  switch (hitCode) {
    case HTCLOSE: return "BICONCLOSE";
    case HTMAXBUTTON: return "BICONMAX";
    case HTMINBUTTON: return "BICONMIN";
    default: return "";
  }
}

}  // namespace

// The images of the buttons for the current skin and window style.
void TsSkinProvider::InitButtons() {
  for (TsCaptionButton& b : Buttons_) {
    HideButtonGlow(b);
    b.ImageIndex = -1;
    b.Rect = {};
  }
  TsSkinManager* manager = SkinData_.GetManager();
  if (!manager || !SkinData_.IsSkinned(false) || !Form_->HandleAllocated()) return;
  const bool tool = (ExStyleOf(Form_->Handle()) & WS_EX_TOOLWINDOW) != 0;
  const bool small = tool && manager->MaskIndexOf("GLOBALINFO", "SICONCLOSE") >= 0;
  auto image = [&](const char* key) {
    const std::string name = std::string(small ? "S" : "B") + key;
    int index = manager->MaskIndexOf("GLOBALINFO", name);
    if (index < 0 && small && std::string(key) == "ICONHELP") index = manager->MaskIndexOf("GLOBALINFO", "BICONHELP");
    return index;
  };
  const bool maximized = IsZoomed(Form_->Handle());
  const bool minimized = IsIconic(Form_->Handle());
  Buttons_[0].ImageIndex = image(minimized ? "ICONNORM" : "ICONMIN");
  Buttons_[1].ImageIndex = image(maximized ? "ICONNORM" : "ICONMAX");
  Buttons_[2].ImageIndex = image("ICONCLOSE");
  Buttons_[3].ImageIndex = image("ICONHELP");
  for (TsCaptionButton& b : Buttons_) b.Large = !small;
  LayoutButtons();
}

void TsSkinProvider::LayoutButtons() {
  for (TsCaptionButton& b : Buttons_) b.Rect = {};
  TsSkinManager* manager = SkinData_.GetManager();
  if (!manager || !HasCaption()) return;
  HWND window = Form_->Handle();
  const DWORD style = StyleOf(window);
  const bool maximized = IsZoomed(window);
  // The restore image follows the show state.
  const bool small = !Buttons_[2].Large;
  const int maxImage = manager->MaskIndexOf("GLOBALINFO", std::string(small ? "S" : "B") + (maximized ? "ICONNORM" : "ICONMAX"));
  if (maxImage >= 0) Buttons_[1].ImageIndex = maxImage;
  const bool boxes = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0 && !(ExStyleOf(window) & WS_EX_TOOLWINDOW);
  const bool present[4] = {boxes, boxes, (style & WS_SYSMENU) != 0, Form_->BorderIcons().Contains(biHelp)};
  Buttons_[0].Enabled = (style & WS_MINIMIZEBOX) != 0;
  Buttons_[1].Enabled = (style & WS_MAXIMIZEBOX) != 0;
  Buttons_[2].Enabled = Buttons_[3].Enabled = true;
  const int closeIndex = Buttons_[2].ImageIndex;
  const int height = closeIndex >= 0 ? StateImageSize(*manager->Mask(closeIndex)).cy : 21;
  const int border = BorderWidth();
  const TRect band = CaptionBand();
  TRect bounds;
  GetWindowRect(window, &bounds);
  int x = bounds.Width() - manager->SkinData.BIRight - border;
  // Right to left: close, maximize/restore, minimize, help.
  for (int slot : {2, 1, 0, 3}) {
    TsCaptionButton& b = Buttons_[static_cast<std::size_t>(slot)];
    if (!present[slot] || b.ImageIndex < 0) continue;
    const TsMaskData& mask = *manager->Mask(b.ImageIndex);
    const int width = StateImageSize(mask).cx;
    int top;
    if (manager->SkinData.BIVAlign == 1 && b.Large) {
      top = maximized ? border - 1 : 0;
    } else {
      top = (band.Bottom - height) / 2;
      if (b.Large && height < 16) top += 2;
    }
    b.Rect = {x - width, top, x, top + height};
    x = b.Rect.Left - (b.Large ? manager->SkinData.BISpace : 0);
  }
}

LRESULT TsSkinProvider::HitTest(TPoint screen) {
  HWND window = Form_->Handle();
  TRect bounds;
  GetWindowRect(window, &bounds);
  const TPoint p{screen.X - bounds.Left, screen.Y - bounds.Top};
  LRESULT result = HTNOWHERE;
  if (!TRect{0, 0, bounds.Width(), bounds.Height()}.Contains(p)) {
    SetHotButton(-1);
    return HTNOWHERE;
  }
  for (const TsCaptionButton& b : Buttons_) {
    if (b.Rect.IsEmpty() || b.ImageIndex < 0 || !b.Rect.Contains(p)) continue;
    result = b.Enabled ? b.HitCode : HTCAPTION;
    break;
  }
  if (result == HTNOWHERE) {
    const int border = BorderWidth();
    const bool sizable = (StyleOf(window) & WS_THICKFRAME) && !IsZoomed(window) && !IsIconic(window);
    const int w = bounds.Width(), h = bounds.Height();
    if (sizable && (p.X < border || p.Y < border || p.X >= w - border || p.Y >= h - border)) {
      // Only the border itself sizes; a corner is where two edges' borders meet.
      const bool left = p.X < border, right = p.X >= w - border, top = p.Y < border, bottom = p.Y >= h - border;
      if (top) result = left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
      else if (bottom) result = left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
      else result = left ? HTLEFT : HTRIGHT;
    } else if (CaptionBand().Contains(p) || (p.Y < CaptionBand().Bottom && p.Y >= 0 && p.X >= 0 && p.X < w)) {
      result = IconRect().Contains(p) ? HTSYSMENU : HTCAPTION;
    } else if (InGrip(p)) {
      result = HTBOTTOMRIGHT;
    }
  }
  SetHotButton(ButtonAt(static_cast<int>(result)) ? static_cast<int>(result) : -1);
  return result;
}

bool TsSkinProvider::InGrip(TPoint p) {
  HWND window = Form_->Handle();
  TRect bounds;
  GetWindowRect(window, &bounds);
  const int border = BorderWidth(), w = bounds.Width(), h = bounds.Height();
  if (GripMode_ == gmRightBottom) {
    TsSkinManager* manager = SkinData_.GetManager();
    const int grip = manager ? manager->MaskIndexOf("GLOBALINFO", "GRIPIMAGE") : -1;
    if (grip >= 0) {
      const TSize size = StateImageSize(*manager->Mask(grip));
      if (Bounds(w - border - size.cx, h - border - size.cy, size.cx, size.cy).Contains(p)) return true;
    }
  }
  // The box where a visible horizontal and a visible vertical scroll bar meet.
  const DWORD style = StyleOf(window);
  if ((style & WS_HSCROLL) == 0 || (style & WS_VSCROLL) == 0) return false;
  TRect client;
  GetClientRect(window, &client);
  const TPoint origin = ClientOffset();
  const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
  const int right = origin.X + client.Right, bottom = origin.Y + client.Bottom;
  return Bounds(right, bottom, cx, cy).Contains(p);
}

void TsSkinProvider::SetHotButton(int hitCode) {
  if (hitCode == HotButton_) return;
  const int previous = HotButton_;
  HotButton_ = hitCode;
  TsSkinManager* manager = SkinData_.GetManager();
  const bool animate = manager && manager->AllowGlowing();
  if (TsCaptionButton* old = ButtonAt(previous)) {
    old->State = TacPaintState::Normal;
    HideButtonGlow(*old);
    if (animate && old->Level > 0)
      StartAnimation(*old, 0, kHotSteps);
    else
      old->Level = old->Target = 0;
    RepaintButton(previous);
  }
  if (TsCaptionButton* now = ButtonAt(hitCode)) {
    now->State = PressedButton_ == hitCode ? TacPaintState::Pressed : TacPaintState::Hot;
    if (animate && now->Enabled) {
      StartAnimation(*now, 255, kHotSteps);
      ShowButtonGlow(*now);
    } else {
      now->Level = now->Target = 255;
    }
    RepaintButton(hitCode);
  }
}

void TsSkinProvider::StartAnimation(TsCaptionButton& button, int target, int steps) {
  button.Target = target;
  button.Step = std::max(1, 255 / std::max(1, steps));
  if (!button.Animating() || !Form_->HandleAllocated()) return;
  if (!TimerOn_) {
    SetTimer(Form_->Handle(), kCaptionAnimationTimer, kAnimationInterval, nullptr);
    TimerOn_ = true;
  }
}

void TsSkinProvider::AnimationStep() {
  bool running = false;
  for (TsCaptionButton& b : Buttons_) {
    if (!b.Animating()) continue;
    // Step n shows min(k * n, 255); the last step lands on the target exactly.
    if (b.Level < b.Target) {
      b.Level = b.Level + b.Step >= 255 - b.Step / 2 ? b.Target : std::min(b.Target, b.Level + b.Step);
    } else {
      b.Level = std::max(b.Target, b.Level - b.Step);
    }
    RepaintButton(b.HitCode);
    running = running || b.Animating();
  }
  // A pointer found outside the hot button ends the hover.
  if (TsCaptionButton* hot = ButtonAt(HotButton_)) {
    TPoint cursor;
    GetCursorPos(&cursor);
    TRect bounds;
    GetWindowRect(Form_->Handle(), &bounds);
    if (!hot->Rect.Offset(bounds.Left, bounds.Top).Contains(cursor)) {
      SendMessage(Form_->Handle(), WM_NCMOUSELEAVE, 0, 0);
      running = std::any_of(Buttons_.begin(), Buttons_.end(), [](const TsCaptionButton& b) { return b.Animating(); });
    }
  }
  if (!running && TimerOn_) {
    KillTimer(Form_->Handle(), kCaptionAnimationTimer);
    TimerOn_ = false;
  }
}

void TsSkinProvider::ShowButtonGlow(TsCaptionButton& button) {
  TsSkinManager* manager = SkinData_.GetManager();
  const std::string key = GlowKey(button.HitCode);
  if (!manager || key.empty() || button.GlowId >= 0 || button.Rect.IsEmpty()) return;
  const TsSkinData& g = manager->SkinData;
  const int on = button.HitCode == HTCLOSE ? g.BICloseGlow : button.HitCode == HTMAXBUTTON ? g.BIMaxGlow : g.BIMinGlow;
  const int margin = button.HitCode == HTCLOSE       ? g.BICloseGlowMargin
                     : button.HitCode == HTMAXBUTTON ? g.BIMaxGlowMargin
                                                     : g.BIMinGlowMargin;
  if (on <= 0) return;
  TRect bounds;
  GetWindowRect(Form_->Handle(), &bounds);
  button.GlowId = ShowGlowEffect(button.Rect.Offset(bounds.Left, bounds.Top), "GLOBALINFO", manager, Form_->Handle(),
                                 255, margin, key + "GLOW");
}

void TsSkinProvider::HideButtonGlow(TsCaptionButton& button) {
  if (button.GlowId < 0) return;
  HideGlowEffect(button.GlowId);
  button.GlowId = -1;
}

bool TsSkinProvider::NcButtonDown(int hitCode) {
  TsCaptionButton* button = ButtonAt(hitCode);
  if (!button || button->Rect.IsEmpty()) return false;
  if (!button->Enabled) return true;
  PressedButton_ = hitCode;
  HotButton_ = hitCode;
  button->State = TacPaintState::Pressed;
  HideButtonGlow(*button);
  StartAnimation(*button, 255, 1);
  button->Level = button->Target = 255;
  RepaintButton(hitCode);
  return true;
}

bool TsSkinProvider::NcButtonUp(int hitCode) {
  TsCaptionButton* button = ButtonAt(hitCode);
  if (!button || button->Rect.IsEmpty()) {
    if (PressedButton_ >= 0) {
      const int pressed = PressedButton_;
      PressedButton_ = -1;
      if (TsCaptionButton* b = ButtonAt(pressed)) b->State = TacPaintState::Normal;
      RepaintButton(pressed);
    }
    return false;
  }
  const bool wasPressed = PressedButton_ == hitCode && button->State == TacPaintState::Pressed;
  PressedButton_ = -1;
  if (!wasPressed) return true;
  button->State = TacPaintState::Hot;
  RepaintButton(hitCode);
  WPARAM command = 0;
  switch (hitCode) {
    case HTMINBUTTON: command = IsIconic(Form_->Handle()) ? SC_RESTORE : SC_MINIMIZE; break;
    case HTMAXBUTTON: command = IsZoomed(Form_->Handle()) ? SC_RESTORE : SC_MAXIMIZE; break;
    case HTCLOSE: command = SC_CLOSE; break;
    case HTHELP: command = SC_CONTEXTHELP; break;
    default: return true;
  }
  // The button is left normal: the command may hide, resize or close the window.
  button->State = TacPaintState::Normal;
  button->Level = button->Target = 0;
  HotButton_ = -1;
  SendMessage(Form_->Handle(), WM_SYSCOMMAND, command, 0);
  return true;
}
