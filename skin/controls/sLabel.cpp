#include "skin/controls/sLabel.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "forms/WinControl.h"
#include "platform/base/Cp1251.h"
#include "platform/gfx/DeviceContext.h"
#include "skin/paint/acParentBg.h"
#include "skin/paint/sStyleSimply.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

namespace {

// One colour update at a time in the process: setting Font.Color sends a font
// change, which must not start another update (nor a re-size).
bool gUpdatingColor = false;

TsSkinManager* ActiveManager() {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  return manager && manager->Active() && manager->SkinData.SkinReady ? manager : nullptr;
}

bool IsColorGiven(TColor color) { return color != clFuchsia && color != static_cast<TColor>(-1); }

// The driver's report of a label: the section painted behind its text.
bool ReportLabel(TControl* control, std::string& section, int& index) {
  auto* label = dynamic_cast<TsCustomLabel*>(control);
  if (!label) return false;
  section = label->SkinSection();
  index = label->SectionIndex();
  return true;
}

}  // namespace

void TsCustomLabel::RegisterSkinReporter() { AddSkinReporter(ReportLabel); }

TsCustomLabel::TsCustomLabel(TComponent* owner) : TCustomLabel(owner) {}

void TsCustomLabel::SetSkinSection(const std::string& value) {
  const std::string stored = UpperCaseUtf8(value);
  if (stored == SkinSection_) return;
  SkinSection_ = stored;
  Invalidate();
}

void TsCustomLabel::SetUseSkinColor(bool value) {
  if (value == UseSkinColor_) return;
  UseSkinColor_ = value;
  Invalidate();
}

int TsCustomLabel::SectionIndex() const {
  TsSkinManager* manager = ActiveManager();
  return manager && !SkinSection_.empty() ? manager->SectionIndexOf(SkinSection_) : -1;
}

void TsCustomLabel::UpdateSkinColor() {
  TsSkinManager* manager = ActiveManager();
  if (gUpdatingColor || !manager) return;
  gUpdatingColor = true;
  if (UseSkinColor_) {
    TColor color = clFuchsia;
    for (TWinControl* p = Parent(); p; p = p->Parent()) {
      const int index = static_cast<int>(SendAlphaCmd(p, AC_GETSKININDEX)) - 1;
      if (!manager->IsValidSection(index)) {
        color = manager->GlobalFontColor();
        break;
      }
      const TsGeneralData& section = *manager->Section(index);
      if (section.Transparency > 50 && p->Parent()) continue;
      color = section.GiveOwnFont ? section.FontColor[0] : manager->GlobalFontColor();
      break;
    }
    if (IsColorGiven(color)) Font().SetColor(color);
  }
  const int own = SectionIndex();
  if (own >= 0 && IsColorGiven(manager->Section(own)->FontColor[0]))
    Font().SetColor(manager->Section(own)->FontColor[0]);
  gUpdatingColor = false;
}

void TsCustomLabel::Paint() {
  UpdateSkinColor();
  const int own = SectionIndex();
  TCanvas& c = Canvas();
  if (own < 0 || !c.Handle() || Width() <= 0 || Height() <= 0) {
    TCustomLabel::Paint();
    return;
  }
  // The section over what lies behind the label, then the text over it.
  TsSkinManager* manager = ActiveManager();
  TBitmap face(Width(), Height(), TPixelFormat::pf24bit);
  TacBGInfo request;
  GetParentBackground(request, this, false);
  TacPaintSource source;
  source.Manager = manager;
  source.SkinIndex = own;
  source.BorderIndex = manager->Section(own)->BorderIndex;
  PaintSection(source, BackgroundFromRequest(request), true, TacPaintState::Normal, {0, 0, Width(), Height()}, {Left(), Top()}, &face,
               true);
  BitBlt(c.Handle(), 0, 0, Width(), Height(), &face.Canvas(), 0, 0, SRCCOPY);
  TRect rect = ClientRect();
  const unsigned flags = TextFlags();
  if (Layout() != tlTop) {
    TRect calc = rect;
    DoDrawText(calc, flags | DT_CALCRECT);
    int offset = rect.Height() - calc.Height();
    if (Layout() == tlCenter) offset /= 2;
    rect.Top += offset;
  }
  DoDrawText(rect, flags);
}

void TsCustomLabel::DoDrawText(TRect& rect, unsigned flags) {
  TsSkinManager* manager = ActiveManager();
  if (Enabled() || (flags & DT_CALCRECT) || !manager) {
    TCustomLabel::DoDrawText(rect, flags);
    return;
  }
  // Disabled under a skin: the text once, 40 % of its colour over 60 % of the parent's.
  TCanvas& c = Canvas();
  c.Font().Assign(Font());
  c.Font().SetColor(DisabledMix(Font().Color(), ControlColor(Parent())));
  c.Brush().SetStyle(bsClear);
  c.DrawText(Caption(), rect, flags);
}

void TsCustomLabel::ShowSkinChange(TacCommand command) {
  if (command == AC_REMOVESKIN) {
    if (!UseSkinColor_) return;
    gUpdatingColor = true;
    Font().SetColor(clWindowText);
    gUpdatingColor = false;
  }
  Invalidate();
}

void TsCustomLabel::WndProc(TMessage& message) {
  switch (message.Msg) {
    case SM_ALPHACMD:
      RunSkinCommand(nullptr, message, TsSkinManager::DefaultManager());
      return;
    case CM_FONTCHANGED:
      if (gUpdatingColor) return;  // a colour taken from the skin: the paint under way shows it
      AdjustSize();
      Invalidate();
      return;
    default: break;
  }
  TCustomLabel::WndProc(message);
}

// --- The edit's caption label -----------------------------------------------------------

TsEditLabel::~TsEditLabel() {
  if (BoundLabel) BoundLabel->LabelDestroyed();
}

TsBoundLabel::TsBoundLabel(TWinControl* edit) : Edit_(edit) {}

TsBoundLabel::~TsBoundLabel() {
  if (Label_) {
    Label_->BoundLabel = nullptr;
    delete Label_;
  }
}

void TsBoundLabel::LabelDestroyed() {
  Label_ = nullptr;
  Active_ = false;
}

void TsBoundLabel::SetActive(bool value) {
  if (value == Active_) return;
  Active_ = value;
  if (!value) {
    if (Label_) {
      Label_->BoundLabel = nullptr;
      delete Label_;
      Label_ = nullptr;
    }
    return;
  }
  if (!Edit_) return;
  Label_ = new TsEditLabel(Edit_);
  Label_->BoundLabel = this;
  Label_->SetVisible(false);
  if (!Edit_->Name().empty()) Label_->SetName(Edit_->Name() + "Label");
  Label_->SetParent(Edit_->Parent());
  Label_->SetFocusControl(Edit_);
  Apply();
}

void TsBoundLabel::SetCaption(const std::string& value) {
  Caption_ = value;
  Apply();
}

void TsBoundLabel::SetIndent(int value) {
  Indent_ = value;
  Apply();
}

void TsBoundLabel::SetLayout(TsLabelLayout value) {
  Layout_ = value;
  Apply();
}

void TsBoundLabel::SetMaxWidth(int value) {
  MaxWidth_ = value;
  Apply();
}

void TsBoundLabel::SetUseSkinColor(bool value) {
  UseSkinColor_ = value;
  Apply();
}

void TsBoundLabel::Apply() {
  if (!Label_ || !Edit_) return;
  Label_->SetUseSkinColor(UseSkinColor_);
  Label_->SetCaption(Caption_.empty() ? Edit_->Name() : Caption_);
  switch (Layout_) {
    case sclLeft: Label_->SetAlignment(taRightJustify); break;
    case sclTopLeft: Label_->SetAlignment(taLeftJustify); break;
    case sclTopCenter: Label_->SetAlignment(taCenter); break;
    case sclTopRight: Label_->SetAlignment(taRightJustify); break;
  }
  if (MaxWidth_ > 0) {
    Label_->SetAutoSize(false);
    Label_->SetWordWrap(true);
    Label_->SetBounds(Label_->Left(), Label_->Top(), MaxWidth_, std::max(Label_->Height(), Edit_->Height()));
  } else {
    Label_->SetWordWrap(false);
    Label_->SetAutoSize(true);
  }
  Label_->SetEnabled(Edit_->Enabled());
  UpdatePosition();
  Label_->SetVisible(Edit_->Visible());
}

void TsBoundLabel::UpdatePosition() {
  if (!Label_ || !Edit_) return;
  const int w = Label_->Width(), h = Label_->Height();
  int left = Edit_->Left(), top = Edit_->Top() - h - Indent_;
  switch (Layout_) {
    case sclLeft:
      left = Edit_->Left() - w - Indent_ - 4;
      top = Edit_->Top() + (Edit_->Height() - h) / 2;
      break;
    case sclTopLeft: break;
    case sclTopCenter: left = Edit_->Left() + (Edit_->Width() - w) / 2; break;
    case sclTopRight: left = Edit_->Left() + Edit_->Width() - w; break;
  }
  Label_->SetBounds(left, top, w, h);
}
