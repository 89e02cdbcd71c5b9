#include "skin/controls/sBitBtn.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "forms/DriverProperties.h"
#include "platform/gfx/DeviceContext.h"
#include "skin/controls/acButtonLogic.h"
#include "skin/paint/acParentBg.h"
#include "skin/runtime/sSkinManager.h"

TsBitBtn::TsBitBtn(TComponent* owner)
    : TBitBtn(owner), SkinData_(std::make_unique<TsCommonData>(this, true)) {
  SkinData_->SetControlKind(TacControlKind::BitBtn);
  SkinData_->InitSection();  // "BUTTON"
  ControlStyle_.Exclude(csOpaque);
  SetWordWrap(true);
  Logic_ = std::make_unique<TacButtonLogic>(*this, *SkinData_, Look_, [this](TacPaintState state) { RenderFace(state); },
                                            [this] { return IsActiveDefault(); });
}

TsBitBtn::~TsBitBtn() {
  Destroying();
  Logic_.reset();
}

void TsBitBtn::ButtonLookChanged(bool) { SkinData_->Invalidate(); }

void TsBitBtn::Loaded() {
  TBitBtn::Loaded();
  SkinData_->Loaded();
}

void TsBitBtn::Paint() {
  TsCommonData& d = *SkinData_;
  if (d.SkinIndex() < 0 && d.GetManager() && d.GetManager()->SkinData.SkinReady && d.SkinSection() != "UNKNOWN")
    d.ResolveSection();
  if (!Logic_->PaintWindow(Canvas().Handle())) TBitBtn::Paint();
}

void TsBitBtn::RenderFace(TacPaintState state) {
  TsCommonData& d = *SkinData_;
  const BackgroundInfo bg = acButtonFace::PaintBackgroundAndBorder(d, *this, state, false);
  if (Look_.DrawOverBorder) acButtonFace::PaintBorder(d, *this, state, bg);
  TBitmap& cache = *d.Cache();
  const int w = Width(), h = Height();
  const bool hasGlyph = !Glyph().Empty();
  const int gw = hasGlyph ? Glyph().Width() / std::max(1, NumGlyphs()) : 0;
  const int gh = hasGlyph ? Glyph().Height() : 0;
  const bool captionShown = Look_.ShowCaption && !Caption().empty();
  const unsigned wrap = WordWrap() ? DT_WORDBREAK : 0;
  const unsigned flags = AlignmentFlags(Look_.TextAlignment) | DT_EXPANDTABS | wrap;

  TCanvas canvas;
  canvas.SetHandle(&cache.Canvas());
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(bsClear);
  TSize text{0, 0};
  if (captionShown) {
    int widest = w - 2 * Margin();
    if ((Layout() == blGlyphLeft || Layout() == blGlyphRight) && gw > 0) widest -= gw + Spacing();
    TRect calc{0, 0, std::max(widest, 0), 0};
    canvas.DrawText(Caption(), calc, DT_CALCRECT | flags);
    text = {calc.Width(), calc.Height()};
  }
  const TacGlyphTextLayout layout = LayoutGlyphAndText({0, 0, w, h}, {gw, gh}, text, Layout(), Look_.Alignment, Margin(),
                                                        Spacing(), false);
  TRect captionRect = layout.TextRect.Offset(Look_.TextOffset, 0);
  if (state == TacPaintState::Pressed) captionRect = captionRect.Offset(1, 1);
  LastCaptionRect_ = captionRect;
  if (captionShown) {
    DrawSectionText(cache.Canvas(), Caption(), true, d.GetManager(), state, d.SkinIndex(),
                    flags | DT_VCENTER, captionRect);
    const TsGeneralData* s = d.Section();
    if (Enabled() && Focused() && s && s->ShowFocus && Logic_->ShowFocus)
      cache.Canvas().DrawFocusRect(captionRect.Inflate(Logic_->FocusMargin, Logic_->FocusMargin));
  }
  canvas.SetHandle(nullptr);

  if (hasGlyph) {
    TacGlyphBoundsInput in;
    in.Width = w;
    in.Height = h;
    in.GlyphWidth = gw;
    in.GlyphHeight = gh;
    in.TextWidth = text.cx;
    in.TextHeight = text.cy;
    in.Layout = Layout();
    in.Alignment = Look_.Alignment;
    in.Margin = Margin();
    in.Spacing = Spacing();
    in.HasCaption = captionShown;
    in.Pressed = state == TacPaintState::Pressed;
    in.Reflected = Look_.Reflected;
    TacGlyphInfo info;
    info.Glyph = &Glyph();
    info.NumGlyphs = NumGlyphs();
    info.Bounds = ButtonGlyphBounds(in);
    info.Enabled = Enabled();
    info.Blend = Look_.Blend;
    info.Down = Logic_->Down;
    info.Grayed = Look_.Grayed;
    info.State = state;
    info.DisabledGlyphKind = Look_.DisabledGlyphKind;
    info.Reflected = Look_.Reflected;
    LastGlyphRect_ = info.Bounds;
    PaintButtonGlyph(cache, info);
  } else {
    LastGlyphRect_ = {};
  }
  if (!Look_.DrawOverBorder) acButtonFace::PaintBorder(d, *this, state, bg);
  if (!Enabled()) PaintDisabledLook(cache, DisabledFlags(Look_.DisabledKind), this, {Left(), Top()}, bg);
  if (OnPaint) OnPaint(this, cache);
}

void TsBitBtn::WndProc(TMessage& message) {
  if (Logic_->BeforeMessage(message)) return;
  TBitBtn::WndProc(message);
  Logic_->AfterMessage(message);
}

void TsBitBtn::RegisterDriverProperties() {
  TDriverProperties::Register<TsBitBtn>("PaintState", [](TsBitBtn& b) { return std::to_string(StateNumber(b.PaintState())); });
  TDriverProperties::Register<TsBitBtn>("Kind", [](TsBitBtn& b) { return std::to_string(static_cast<int>(b.Kind())); });
}

