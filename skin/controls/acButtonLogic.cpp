#include "skin/controls/acButtonLogic.h"

#include <vector>

#include "forms/Button.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"
#include "skin/controls/acButtonLook.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acParentBg.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

// Paints the section's background, border mask, caption, focus rectangle and the
// disabled look of a push button into its cache; shared with the bit button.
namespace acButtonFace {

void PaintBorder(TsCommonData& data, TControl& control, TacPaintState state, const BackgroundInfo& bg);

BackgroundInfo PaintBackgroundAndBorder(TsCommonData& data, TControl& control, TacPaintState state, bool border) {
  TacBGInfo request;
  GetParentBackground(request, &control, false);
  const BackgroundInfo bg = BackgroundFromRequest(request);
  data.EnsureCache();
  TBitmap& cache = *data.Cache();
  const TRect whole{0, 0, cache.Width(), cache.Height()};
  PaintSectionBackground(data, bg, state, whole, {control.Left(), control.Top()}, cache);
  if (border) PaintBorder(data, control, state, bg);
  return bg;
}

void PaintBorder(TsCommonData& data, TControl& control, TacPaintState state, const BackgroundInfo& bg) {
  TsSkinManager* manager = data.GetManager();
  if (!manager || !manager->Mask(data.BorderIndex())) return;
  const TsMaskData& mask = *manager->Mask(data.BorderIndex());
  if (state == TacPaintState::Normal && (mask.StretchMode & 2) != 0) return;
  BackgroundInfo shifted = bg;
  shifted.OffsetX += control.Left();
  shifted.OffsetY += control.Top();
  TBitmap& cache = *data.Cache();
  DrawBorderMask(cache, {0, 0, cache.Width(), cache.Height()}, true, shifted, mask, state, true);
}

TRegion VisibleRegion(TsCommonData& data, int width, int height, TacPaintState state) {
  TRegion visible(0, 0, width, height);
  TsSkinManager* manager = data.GetManager();
  if (!manager || !manager->Mask(data.BorderIndex())) return visible;
  const TsMaskData& mask = *manager->Mask(data.BorderIndex());
  TacBorderSlices s;
  const TBitmap* picture = MaskPicture(mask);
  if (!picture || !ComputeBorderSlices(mask, {0, 0, width, height}, state, s)) return visible;
  std::vector<TRect> holes;
  // Each corner: where it lies in the picture and on the face, and its size.
  const struct {
    int PicX, PicY, X, Y, W, H;
  } corners[4] = {{s.X0, s.Y0, 0, 0, s.L, s.T},
                  {s.X0 + s.W - s.R, s.Y0, width - s.R, 0, s.R, s.T},
                  {s.X0, s.Y0 + s.H - s.B, 0, height - s.B, s.L, s.B},
                  {s.X0 + s.W - s.R, s.Y0 + s.H - s.B, width - s.R, height - s.B, s.R, s.B}};
  for (const auto& c : corners)
    for (int y = 0; y < c.H; ++y) {
      int run = -1;
      for (int x = 0; x <= c.W; ++x) {
        const int px = c.PicX + x, py = c.PicY + y;
        const bool key = x < c.W && px >= 0 && py >= 0 && px < picture->Width() && py < picture->Height() &&
                         picture->Pixel(px, py) == kTransparentKey;
        if (key && run < 0) run = x;
        if (!key && run >= 0) {
          holes.push_back({c.X + run, c.Y + y, c.X + x, c.Y + y + 1});
          run = -1;
        }
      }
    }
  if (holes.empty()) return visible;
  return visible.Subtract(TRegion::FromRects(holes));
}

}  // namespace acButtonFace

TacButtonLogic::TacButtonLogic(TButton& button, TsCommonData& data, const TacButtonLook& look,
                               std::function<void(TacPaintState)> rebuild, std::function<bool()> activeDefault)
    : Button_(button), Data_(data), Look_(look), Rebuild_(std::move(rebuild)), ActiveDefault_(std::move(activeDefault)) {}

TacButtonLogic::~TacButtonLogic() { EndFade(Fade, Data_); }

void TacButtonLogic::LookChanged() { Data_.Invalidate(); }

TacPaintState TacButtonLogic::PaintState() const {
  if ((Button_.Pressed() && !Releasing_) || ForcedPressed || Down) return TacPaintState::Pressed;
  if (DefaultLook || (Button_.Enabled() && ActiveDefault_ && ActiveDefault_() && Button_.Default()))
    return TacPaintState::Hot;
  return HotIf(Data_.IsHot());
}

void TacButtonLogic::RebuildNow() {
  Data_.EnsureCache();
  if (Data_.Cache()->Empty()) return;
  const TacPaintState state = PaintState();
  Rebuild_(state);
  if (FaceChanged) PendingRegion_ = acButtonFace::VisibleRegion(Data_, Button_.Width(), Button_.Height(), state);
  Data_.SetDirty(false);
  ++RenderCount;
}

void TacButtonLogic::ApplyRegion() {
  if (!PendingRegion_ || !Button_.HandleAllocated()) return;
  TRegion region = std::move(*PendingRegion_);
  PendingRegion_.reset();
  const bool same = AppliedRegion_ && AppliedRegion_->Rects() == region.Rects();
  if (!same) {
    SetWindowRgn(Button_.Handle(), CreateRegionFrom(region), false);
    AppliedRegion_ = std::move(region);
  }
  const TRect bounds = Button_.BoundsRect();
  TWinControl* parent = Button_.Parent();
  if (parent && parent->HandleAllocated() && !LastBounds_.IsEmpty() &&
      (bounds.Width() < LastBounds_.Width() || bounds.Height() < LastBounds_.Height())) {
    // What the old corners covered along the old right and bottom edges shows the parent again.
    int cw = 0, ch = 0;
    if (TsSkinManager* manager = Data_.GetManager();
        manager && manager->Mask(Data_.BorderIndex())) {
      cw = manager->Mask(Data_.BorderIndex())->WR;
      ch = manager->Mask(Data_.BorderIndex())->WB;
    }
    const TRect right{LastBounds_.Right - cw, LastBounds_.Top, LastBounds_.Right, LastBounds_.Bottom};
    const TRect bottom{LastBounds_.Left, LastBounds_.Bottom - ch, LastBounds_.Right, LastBounds_.Bottom};
    InvalidateRect(parent->Handle(), &right, true);
    InvalidateRect(parent->Handle(), &bottom, true);
  }
  LastBounds_ = bounds;
}

void TacButtonLogic::DropRegion() {
  PendingRegion_.reset();
  if (AppliedRegion_ && Button_.HandleAllocated()) SetWindowRgn(Button_.Handle(), nullptr, true);
  AppliedRegion_.reset();
}

void TacButtonLogic::Repaint() {
  if (Button_.IsDestroying() || !Button_.HandleAllocated()) return;
  Button_.Invalidate();
}

bool TacButtonLogic::PaintWindow(HDC dc) {
  if (!Data_.IsSkinned()) return false;
  if (!dc || Button_.Width() < 1 || Button_.Height() < 1) return true;
  if (Data_.IsSuspended()) return true;  // the parent's command 6 repaints it
  if (Fade && Fade->Enabled()) return true;  // the timer draws the frames
  RebuildNow();
  if (!Data_.HasCache()) return true;
  RefreshCorners(Data_, PaintState());
  ApplyRegion();
  dc->DrawBitmap(0, 0, *Data_.Cache(), {0, 0, Button_.Width(), Button_.Height()});
  return true;
}

void TacButtonLogic::ReleaseFade() { EndFade(Fade, Data_); }

void TacButtonLogic::Change(bool half, TacAnimatEvent event) {
  Data_.SetDirty(false);
  FadeOrRepaint(Fade, Data_, half, 1, AnimationWanted(event, Look_.AnimatEvents, Data_.GetManager()));
}

void TacButtonLogic::SkinChanging(TacCommand) { ReleaseFade(); }

void TacButtonLogic::SkinChanged(TacCommand command) {
  if (command == AC_REMOVESKIN)
    DropRegion();
  else
    FaceChanged = true;
  Repaint();
}

void TacButtonLogic::ParentPainted() {
  if (!Data_.Suspended()) return;
  Data_.SetSuspended(false);
  Repaint();
}

bool TacButtonLogic::OwnCommand(TacCommand command, TMessage& message) {
  if (command == AC_LOCKBACKGROUND) {
    if (CommandArgument(message.WParam) == 1) RebuildNow();
    return false;
  }
  if (command == AC_STOPFADING) {
    ReleaseFade();
    Data_.SetDirty(true);
    Repaint();
    return true;
  }
  if (command == AC_PREPARING) {
    RebuildNow();
    return true;
  }
  if (command == AC_SCROLLS) {  // a fade frame: the timer draws it
    PendingRegion_.reset();
    message.Result = 0;
    return true;
  }
  return false;
}

bool TacButtonLogic::BeforeMessage(TMessage& message) {
  const bool own = message.LParam == 0 || message.LParam == reinterpret_cast<LPARAM>(&Button_);
  switch (message.Msg) {
    case SM_ALPHACMD:
      RunSkinCommand(Data_, message);
      return true;
    case WM_ERASEBKGND:
      if (!Data_.IsSkinned()) return false;
      message.Result = 1;
      return true;
    case WM_UPDATEUISTATE:
      if (!Data_.IsSkinned()) return false;
      message.Result = 1;
      return true;
    case CM_MOUSEENTER:
      // The framework fires OnMouseEnter first; the new look follows (AfterMessage).
      PendingEnter_ = own && Button_.Enabled() && !Data_.MouseAbove();
      return false;
    case CM_MOUSELEAVE:
      PendingLeave_ = own && Data_.MouseAbove();
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Data_.IsSkinned() || !Button_.Enabled()) return false;
      Data_.SetSuspended(false);
      PressedByMouse = true;
      if (!Down) {
        FaceChanged = true;
        // The new face is built before the framework repaints, so the fade starts from the old one.
        ForcedPressed = true;
        Change(true, aeMouseDown);
      }
      return false;
    case WM_LBUTTONUP:
      if (!PressedByMouse || !Data_.IsSkinned()) return false;
      if (Fade && Fade->Enabled() && Fade->Half && Fade->Level <= Fade->Iterations) {
        // A click quicker than the press fade: show the pressed face at once and keep it a moment.
        // (A hover fade still running, as the pointer's leave and return under the capture
        // start one, is no reason to wait: the face fades back from where it stands.)
        ReleaseFade();
        Data_.SetDirty(true);
        ForcedPressed = true;
        if (Button_.HandleAllocated())
          RedrawWindow(Button_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        if (!Hold_) {
          Hold_ = std::make_unique<TTimer>(nullptr);
          Hold_->SetEnabled(false);
          Hold_->SetInterval(kPressedHold);
          Hold_->OnTimer = [this](TObject*) {
            Hold_->SetEnabled(false);
            ForcedPressed = false;
            if (Button_.IsDestroying()) return;
            Data_.SetSuspended(false);
            FaceChanged = true;
            Change(true, aeMouseUp);
          };
        }
        Hold_->SetEnabled(true);
        return false;
      }
      // The face fades back before the framework fires the click (whose handler may
      // open a modal window): the released face is built while the framework still
      // reports the button pushed.
      Releasing_ = true;
      ForcedPressed = false;
      Data_.SetSuspended(false);
      FaceChanged = true;
      Change(true, aeMouseUp);
      return false;
    case WM_SIZE:
      FaceChanged = true;
      Data_.HideGlow();
      return Data_.HandleMessage(message);
    case WM_MOVE:
      if (const TsGeneralData* s = Data_.IsSkinned() ? Data_.Section() : nullptr;
          s && (s->Transparency > 0 || (s->HotTransparency > 0 && Data_.IsHot()))) {
        Data_.SetDirty(true);
        Repaint();
      }
      return Data_.HandleMessage(message);
    case WM_KILLFOCUS:
      ReleaseFade();
      return Data_.HandleMessage(message);
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
      Data_.SetSuspended(false);
      Data_.SetDirty(true);
      Data_.HandleMessage(message);
      return false;
    default:
      return Data_.HandleMessage(message);
  }
}

void TacButtonLogic::AfterMessage(const TMessage& message) {
  if (Button_.IsDestroying()) return;
  switch (message.Msg) {
    case CM_MOUSEENTER:
      if (!PendingEnter_) break;
      PendingEnter_ = false;
      Data_.SetMouseAbove(true);
      if (Data_.IsSkinned()) Change(false, aeMouseEnter);
      break;
    case CM_MOUSELEAVE:
      if (!PendingLeave_) break;
      PendingLeave_ = false;
      Data_.SetMouseAbove(false);
      if (Data_.IsSkinned()) Change(false, aeMouseLeave);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Holding()) ForcedPressed = false;
      break;
    case WM_LBUTTONUP:
      PressedByMouse = false;
      Releasing_ = false;
      break;
    case WM_KEYUP:
      if (message.WParam == VK_SPACE && Data_.IsSkinned()) {
        FaceChanged = true;
        Data_.SetDirty(true);
        Repaint();
      }
      break;
    case WM_SETFOCUS:
      if (!Button_.Enabled() || !Button_.Visible()) break;
      if (Fade && Fade->Enabled())
        Fade->Step();
      else
        Repaint();
      break;
    case WM_KILLFOCUS:
      Data_.SetFocused(false);
      FaceChanged = true;
      Repaint();
      break;
    default: break;
  }
}
