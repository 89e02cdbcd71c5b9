#include "skin/controls/sDBNavigator.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "skin/controls/acNavGlyphs.h"
#include "skin/runtime/acCommands.h"

namespace {
constexpr unsigned kTopmost = 0x00040000;  // the message box stays above every window
constexpr int kMinButtonSize = 6;
}  // namespace

// --- TsNavButton -------------------------------------------------------------------------

TsNavButton::TsNavButton(TsDBNavigator& navigator, TNavigateBtn index)
    : TsSpeedButton(nullptr), Navigator_(navigator), Index_(index), Repeat_(*this, [this] { Navigator_.BtnClick(Index_); }) {
  SetName(NavButtonName(index));
  SetFlat(true);
  SetShowCaption(false);
  SkinData()->SetSkinSection("TOOLBUTTON");
  SetDisabledKind(DisabledKind() + dkBlended);
  SetDisabledGlyphKind(DisabledGlyphKind() + dgBlended);
  SetGlyph(NavGlyph(index));
  SetNumGlyphs(1);
  SetParentShowHint(true);
}

TsNavButton::~TsNavButton() {
  Destroying();
  Repeat_.Stop();
}

void TsNavButton::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TsSpeedButton::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  Navigator_.ButtonPressed(Index_);
  // Prior and Next act at once and then repeat while held.
  if (NavStyleRepeat()) Repeat_.Start();
}

void TsNavButton::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  // The press of a repeating button already acted: the release shows the face
  // up again without a second action.
  SkipClick_ = Repeating();
  Repeat_.Stop();
  TsSpeedButton::MouseUp(button, shift, x, y);
  SkipClick_ = false;
}

void TsNavButton::Click() {
  if (SkipClick_) return;
  TsSpeedButton::Click();
  Navigator_.BtnClick(Index_);
}

void TsNavButton::Paint() {
  TsSpeedButton::Paint();
  if (Navigator_.ShowsFocus(Index_) && Canvas().Handle()) {
    TRect r = ClientRect().Inflate(-3, -3);
    Canvas().DrawFocusRect(r);
  }
}

// --- TsDBNavigator ------------------------------------------------------------------------

TsDBNavigator::TsDBNavigator(TComponent* owner) : TsPanel(owner), Logic_(*this, kTopmost) {
  ControlStyle_.Exclude(csAcceptsControls);
  ControlStyle_.Exclude(csSetCaption);
  ControlStyle_.Include(csOpaque);
  SetCaption("");
  SkinData()->SetControlKind(TacControlKind::ToolBar);
  SkinData()->SetSkinSection("TOOLBAR");
  SetShowHint(false);
  Logic_.Click = [this](TNavigateBtn button) { BtnClick(button); };
  Logic_.MakeButtons([this](TNavigateBtn index) { return new TsNavButton(*this, index); });
  Logic_.ApplyHints();
  SetBounds(Left(), Top(), 240, 25);
  UpdateButtons();
}

TsDBNavigator::~TsDBNavigator() {
  Destroying();
  Logic_.Release();
}

void TsDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
  Logic_.SetVisibleButtons(buttons);
  LayoutButtons();
  Invalidate();
}

void TsDBNavigator::SetCtl3D(bool value) {
  if (value == Ctl3D_) return;
  Ctl3D_ = value;
  LayoutButtons();
  Invalidate();
}

int TsDBNavigator::BorderSize() const {
  const int single = BorderStyle() == bsSingle ? (Ctl3D_ ? 3 : 0) + 1 : 0;
  const int bevels = (BevelInner() != bvNone ? 1 : 0) + (BevelOuter() != bvNone ? 1 : 0);
  return single + BorderWidth() + BevelWidth() * bevels;
}

void TsDBNavigator::LayoutButtons() {
  if (IsLoading() || !Parent() || !Logic_.Button(0) || Laying_) return;
  Laying_ = true;
  Logic_.LayoutRow(BorderSize());
  Laying_ = false;
}

void TsDBNavigator::SetBounds(int left, int top, int width, int height) {
  if (!IsLoading() && Parent() && Logic_.Button(0)) {
    const int b = BorderSize();
    const int n = Logic_.VisibleCount();
    if (!HandleAllocated()) {
      // Before the window exists the width is made a whole number of buttons.
      if (Align() == alNone) width = n * std::max(0, (width - 2 * b) / n) + 2 * b;
    } else {
      width = std::max(width, n * kMinButtonSize + 2 * b);
      height = std::max(height, 2 * b + kMinButtonSize);
    }
  }
  TsPanel::SetBounds(left, top, width, height);
  LayoutButtons();
}

void TsDBNavigator::Resize() {
  TsPanel::Resize();
  LayoutButtons();
}

void TsDBNavigator::Loaded() {
  TsPanel::Loaded();
  for (int i = 0; i < kNavButtonCount; ++i)
    Buttons(static_cast<TNavigateBtn>(i))->SkinData()->SetSkinManager(SkinData()->SkinManager());
  LayoutButtons();
  Logic_.ApplyHints();
  UpdateButtons();
}

void TsDBNavigator::SetEnabled(bool enabled) {
  TsPanel::SetEnabled(enabled);
  UpdateButtons();
}

void TsDBNavigator::BtnClick(TNavigateBtn button) { Logic_.BtnClick(button, this, BeforeAction, OnClick); }

void TsDBNavigator::ControlKeyDown(WORD key, TShiftState shift) {
  if (!Logic_.KeyDown(key)) TsPanel::ControlKeyDown(key, shift);
}

void TsDBNavigator::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TsPanel::WndProc(message);
      Logic_.InvalidateFocused();
      return;
    case CM_ENABLEDCHANGED:
      TsPanel::WndProc(message);
      UpdateButtons();
      return;
    default: break;
  }
  TsPanel::WndProc(message);
}
