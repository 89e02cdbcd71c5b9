#include "skin/controls/sButton.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "forms/DriverProperties.h"
#include "platform/base/TextHelpers.h"
#include "platform/gfx/DeviceContext.h"
#include "skin/controls/acButtonLogic.h"
#include "skin/paint/acParentBg.h"
#include "skin/runtime/sSkinManager.h"

TsButton::TsButton(TComponent* owner)
    : TButton(owner), SkinData_(std::make_unique<TsCommonData>(this, true)) {
  SkinData_->SetControlKind(TacControlKind::Button);
  SkinData_->InitSection();  // "BUTTON"
  ControlStyle_.Exclude(csOpaque);
  ControlStyle_.Exclude(csDoubleClicks);
  SetWordWrap(true);
  Logic_ = std::make_unique<TacButtonLogic>(*this, *SkinData_, Look_, [this](TacPaintState state) { RenderFace(state); },
                                            [this] { return IsActiveDefault(); });
}

TsButton::~TsButton() {
  Destroying();
  Logic_.reset();
}

void TsButton::ButtonLookChanged(bool) { SkinData_->Invalidate(); }

void TsButton::Loaded() {
  TButton::Loaded();
  SkinData_->Loaded();
}

void TsButton::Paint() {
  TsCommonData& d = *SkinData_;
  if (d.SkinIndex() < 0 && d.GetManager() && d.GetManager()->SkinData.SkinReady && d.SkinSection() != "UNKNOWN")
    d.ResolveSection();
  if (!Logic_->PaintWindow(Canvas().Handle())) TButton::Paint();
}

void TsButton::RenderFace(TacPaintState state) {
  TsCommonData& d = *SkinData_;
  const BackgroundInfo bg = acButtonFace::PaintBackgroundAndBorder(d, *this, state, true);
  TBitmap& cache = *d.Cache();
  const int w = Width(), h = Height();
  TCanvas canvas;
  canvas.SetHandle(&cache.Canvas());
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(bsClear);
  const unsigned wrap = WordWrap() ? DT_WORDBREAK : DT_SINGLELINE;
  TRect text{0, 0, 0, 0};
  if (!Caption().empty()) {
    text = {0, 0, w - 2, 0};
    canvas.DrawText(Caption(), text, DT_CALCRECT | DT_CENTER | DT_EXPANDTABS | wrap);
  }
  const int tw = text.Width(), th = text.Height();
  TRect r{(w - tw) / 2 - 1, (h - th) / 2, w - (w - tw) / 2 + 2, h - (h - th) / 2};
  if (state == TacPaintState::Pressed) r = r.Offset(1, 1);
  if (!Caption().empty()) {
    DrawSectionText(cache.Canvas(), Caption(), true, d.GetManager(), state, d.SkinIndex(),
                    DT_CENTER | DT_EXPANDTABS | wrap, r);
    const TsGeneralData* s = d.Section();
    if (Enabled() && Focused() && s && s->ShowFocus && Logic_->ShowFocus)
      cache.Canvas().DrawFocusRect(r.Inflate(Logic_->FocusMargin, Logic_->FocusMargin));
  }
  canvas.SetHandle(nullptr);
  if (!Enabled()) PaintDisabledLook(cache, DisabledFlags(Look_.DisabledKind), this, {Left(), Top()}, bg);
}

void TsButton::WndProc(TMessage& message) {
  if (Logic_->BeforeMessage(message)) return;
  TButton::WndProc(message);
  Logic_->AfterMessage(message);
}

void TsButton::RegisterDriverProperties() {
  TDriverProperties::Register<TsButton>("PaintState", [](TsButton& b) { return std::to_string(StateNumber(b.PaintState())); });
  TDriverProperties::Register<TsButton>("Down", [](TsButton& b) { return BoolText(b.Down()); });
}

