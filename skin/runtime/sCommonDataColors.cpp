// The answers a skin data gives about what lies under and behind its owner: colours
// (command 21), background requests (command 34), whether the background changed,
// copying the finished face without painting over children, the font source of a
// caption, and the kind-code tables.
#include <algorithm>

#include "forms/Form.h"
#include "forms/WinControl.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"
#include "platform/win/Win.h"
#include "skin/core/acMasks.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

namespace {

int ClampPercent(int value) { return std::clamp(value, 0, 100); }

// Channel by channel: round((1 - t/100) * c + t/100 * p), t in 0..100.
TColor MixRounded(TColor c, TColor p, int t) {
  TColor out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int cc = (c >> shift) & 0xFF, pc = (p >> shift) & 0xFF;
    out |= ((cc * (100 - t) + pc * t + 50) / 100) << shift;
  }
  return out;
}

// Channel by channel: clamp((t * (p - c) + c * 256) div 256, 0, 255), as command 21 answers.
TColor MixCommand(TColor c, TColor p, int t) {
  TColor out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int cc = (c >> shift) & 0xFF, pc = (p >> shift) & 0xFF;
    out |= std::clamp((t * (pc - cc) + cc * 256) / 256, 0, 255) << shift;
  }
  return out;
}

// The colour of a control as a child sees it: a skinned one answers command 21.
TColor ParentControlColor(TWinControl* parent) {
  if (TacBroadcast::AnswersHandled(parent)) return static_cast<TColor>(SendAlphaCmd(parent, AC_GETCOLOR, clFuchsia));
  return ColorToRGB(parent->Color());
}

TColor WindowColor(HWND window) {
  if (TWinControl* control = TWinControl::FromHandle(window)) return ColorToRGB(control->Color());
  return ColorToRGB(clBtnFace);
}

TColor DefaultGlobalColor() {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  return manager ? manager->GlobalColor() : ColorToRGB(clBtnFace);
}

}  // namespace

TColor TsCommonData::OwnColor() const {
  if (Control_) return ColorToRGB(Control_->Color());
  if (OwnerSeam_ && OwnerSeam_->ProviderForm()) return ColorToRGB(OwnerSeam_->ProviderForm()->Color());
  return ColorToRGB(clBtnFace);
}

TColor TsCommonData::GetColor(bool hot, HWND window) const {
  const TsGeneralData* section = IsSkinned(false) ? Section() : nullptr;
  if (section) {
    const int t = ClampPercent(hot ? section->HotTransparency : section->Transparency);
    const TColor c = ColorToRGB(hot ? section->HotColor : section->Color);
    if (t == 0 && !CustomColor_) return c;
    if (t > 0) {
      TColor parentColor;
      if (Control_)
        parentColor = Control_->Parent() ? ParentControlColor(Control_->Parent()) : clFuchsia;
      else if (window && GetParent(window))
        parentColor = WindowColor(GetParent(window));
      else
        parentColor = ColorToRGB(clBtnFace);
      if (t == 100) return parentColor;
      if (!Control_) return 0;
      return MixRounded(c, parentColor, t);
    }
  }
  return OwnColor();
}

LRESULT TsCommonData::AnswerGetColor() const {
  const TsGeneralData* section = IsSkinned(false) ? Section() : nullptr;
  if (!section) return ColorToRGB(Control_->Color());
  const int t = ClampPercent(section->Transparency);
  const TColor c = ColorToRGB(section->Color);
  if (t == 0) return c;
  TColor parentColor = ColorToRGB(Control_->Color());
  if (TWinControl* parent = Control_->Parent()) {
    parentColor = ParentControlColor(parent);
    if (parentColor == clFuchsia) parentColor = ColorToRGB(parent->Color());
  }
  if (t == 100) return parentColor;
  return MixCommand(c, parentColor, t);
}

void TsCommonData::AnswerBackground(TacBGInfo& request, bool hot, HWND window) const {
  const TsGeneralData* section = IsSkinned(false) ? Section() : nullptr;
  if (!section || CustomColor_) {
    request.BgType = btFill;
    request.Color = OwnColor();
    return;
  }
  const int t = hot ? section->HotTransparency : section->Transparency;
  const int g = hot ? section->HotGradientPercent : section->GradientPercent;
  const int i = hot ? section->HotImagePercent : section->ImagePercent;

  auto answerWithCache = [&] {
    request.BgType = btCache;
    if (request.PleaseDraw && request.DrawDC) {
      BitBlt(request.DrawDC, request.R.Left, request.R.Top, request.R.Width(), request.R.Height(), &Cache_->Canvas(),
             request.R.Left + request.OffsetX, request.R.Top + request.OffsetY, SRCCOPY);
    } else {
      request.Bmp = Cache_.get();
      request.OffsetX = 0;
      request.OffsetY = 0;
    }
  };

  if (t <= 0 && g <= 0 && i < 1) {
    request.BgType = btFill;
    request.Color = GetColor(hot, window);
    if (request.PleaseDraw && request.DrawDC) request.DrawDC->FillRect(request.R, request.Color);
    return;
  }
  if (t < 100) {
    if (!HasCache()) {
      request.BgType = btFill;
      request.Color = clFuchsia;
      return;
    }
    answerWithCache();
    return;
  }
  // Fully see-through: a thin border lets the parent answer for it.
  TsSkinManager* manager = GetManager();
  bool thin = true;
  if (manager && manager->Mask(BorderIndex_)) {
    const TsMaskData& mask = *manager->Mask(BorderIndex_);
    thin = mask.WL + mask.WR <= 24 && mask.WT + mask.WB < 25;
  }
  if (thin) {
    // The parent answers in its own coordinates: a request to draw is drawn there at
    // once, so it needs the asker's place moved by ours before it goes; a cache answer
    // gets our place added afterwards.
    auto forward = [&](TPoint place, auto&& send) {
      const bool drawn = request.PleaseDraw && request.DrawDC;
      const TPoint asked{request.OffsetX, request.OffsetY};
      if (drawn) {
        request.OffsetX += place.X;
        request.OffsetY += place.Y;
      }
      send();
      if (drawn) {
        request.OffsetX = asked.X;
        request.OffsetY = asked.Y;
      } else if (request.BgType == btCache) {
        request.OffsetX += place.X;
        request.OffsetY += place.Y;
      }
    };
    if (Control_ && Control_->Parent()) {
      forward(TPoint{Control_->Left(), Control_->Top()},
              [&] { SendAlphaCmd(Control_->Parent(), AC_GETCACHE, reinterpret_cast<LPARAM>(&request)); });
    } else if (!Control_ && window && GetParent(window)) {
      HWND parent = GetParent(window);
      TRect r = WindowRect(window);
      MapWindowPoints(nullptr, parent, &r);
      forward(TPoint{r.Left, r.Top}, [&] {
        SendMessage(parent, SM_ALPHACMD, MakeCommandWParam(AC_GETCACHE), reinterpret_cast<LPARAM>(&request));
      });
    } else {
      request.BgType = btFill;
      request.Color = DefaultGlobalColor();
    }
    return;
  }
  if (!HasCache()) {
    request.BgType = btFill;
    request.Color = Control_ && Control_->Parent() ? ParentControlColor(Control_->Parent()) : DefaultGlobalColor();
    return;
  }
  answerWithCache();
}

bool TsCommonData::BackgroundChanged() const {
  if (BackgroundLocked_) return true;
  TsSkinManager* manager = GetManager();
  if (!manager || SkinIndex_ < 0 || manager->IsDestroying()) return true;
  if (!Control_ || Control_->ControlState().Contains(csCreating) || !Control_->Visible()) return true;
  if (!manager->IsValidSection(SkinIndex_)) return false;
  const TsGeneralData& section = *manager->Section(SkinIndex_);
  bool changed = !Control_->Enabled() || section.Transparency > 0;
  if (changed) {
    TWinControl* parent = Control_->Parent();
    if (parent && parent->HandleAllocated()) changed = SendAlphaCmd(parent, AC_GETBGCHANGED) != 0;
  }
  return changed;
}

// --- Copying the cache --------------------------------------------------------------------------

namespace {

void CopyCache(TBitmap& cache, HDC dc, const TRect& source, const TRect& destination) {
  BitBlt(dc, destination.Left, destination.Top, destination.Width(), destination.Height(), &cache.Canvas(), source.Left,
         source.Top, SRCCOPY);
}

}  // namespace

void TsCommonData::CopyCacheToControls(TWinControl* control, const TRect& source, bool refreshCorners, HDC dc,
                                       const TRect& destination) {
  if (!HasCache() || !dc) return;
  if (refreshCorners && RefreshCornersHook()) RefreshCornersHook()(*this, TacPaintState::Normal);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, destination.Left, destination.Top, destination.Right, destination.Bottom);
  if (control) {
    for (int i = 0; i < control->ControlCount(); ++i) {
      TControl* child = control->Controls(i);
      if (!child->Visible()) continue;
      const TRect r = child->BoundsRect();
      if (r.Intersect(destination).IsEmpty()) continue;
      const bool windowless = dynamic_cast<TWinControl*>(child) == nullptr;
      if (windowless || child->ControlStyle().Contains(csOpaque)) ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    }
  }
  CopyCache(*Cache_, dc, source, destination);
  RestoreDC(dc, saved);
}

void TsCommonData::CopyCacheToWindows(HWND window, const TRect& source, bool refreshCorners, HDC dc,
                                      const TRect& destination) {
  if (!HasCache() || !dc) return;
  if (refreshCorners && RefreshCornersHook()) RefreshCornersHook()(*this, TacPaintState::Normal);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, destination.Left, destination.Top, destination.Right, destination.Bottom);
  if (window) {
    const TRect own = WindowRect(window);
    TsSkinManager* manager = TsSkinManager::DefaultManager();
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if ((GetWindowLongPtr(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
      const TRect r = WindowRect(child).Offset(-own.Left, -own.Top);
      const LONG_PTR style = GetWindowLongPtr(child, GWL_STYLE);
      const LONG_PTR exStyle = GetWindowLongPtr(child, GWL_EXSTYLE);
      if ((style & 7) == 7 && (exStyle & WS_EX_CLIENTEDGE) == 0) {
        // A group box: only its frame hides what is behind; its inside shows the face.
        if (!manager) continue;
        const int top = static_cast<int>(SendMessage(child, SM_ALPHACMD, MakeCommandWParam(AC_ADAPTERQUERY), 0));
        int left = 0, right = 0, bottom = 0;
        const int section = manager->SectionIndexOf("GROUPBOX");
        const int mask = section >= 0 ? manager->InheritedMaskIndexOf(section, "GROUPBOX", "BORDERSMASK") : -1;
        if (manager->Mask(mask)) {
          TsMaskData& m = *manager->Mask(mask);
          left = MaskLeft(m);
          right = MaskRight(m);
          bottom = MaskBottom(m);
        }
        ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Top + top);
        ExcludeClipRect(dc, r.Left, r.Top, r.Left + left, r.Bottom);
        ExcludeClipRect(dc, r.Right - right, r.Top, r.Right, r.Bottom);
        ExcludeClipRect(dc, r.Left, r.Bottom - bottom, r.Right, r.Bottom);
        continue;
      }
      ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    }
  }
  CopyCache(*Cache_, dc, source, destination);
  RestoreDC(dc, saved);
}

// --- Font source ----------------------------------------------------------------------------------

int FontSourceIndex(TControl* control, int index) {
  TControl* current = control;
  while (current) {
    TWinControl* parent = current->Parent();
    if (!parent) return index;
    const int parentIndex = static_cast<int>(SendAlphaCmd(parent, AC_GETSKININDEX)) - 1;
    if (parentIndex < 0) return index;
    TsCommonData* data = SkinDataOf(parent);
    TsSkinManager* manager = data ? data->GetManager() : TsSkinManager::DefaultManager();
    if (!manager || !manager->IsValidSection(parentIndex)) return index;
    const TsGeneralData& section = *manager->Section(parentIndex);
    if (section.Transparency > 50 && parent->Parent()) {
      current = parent;
      continue;
    }
    return section.GiveOwnFont ? parentIndex : index;
  }
  return index;
}
