#include "skin/controls/sDBNavigator.h"

#include <algorithm>

#include "data/TDataLink.h"
#include "data/TDataSet.h"
#include "data/TDataSource.h"
#include "forms/Dialogs.h"
#include "forms/DriverProperties.h"
#include "skin/controls/acNavGlyphs.h"
#include "skin/runtime/acCommands.h"

// Tells the navigator when the dataset opens or closes, moves or changes, and
// enters or leaves editing.
class TsNavDataLink : public TDataLink {
public:
  explicit TsNavDataLink(TsDBNavigator& navigator) : Navigator_(navigator) {}

protected:
  void ActiveChanged() override { Navigator_.ActiveChanged(); }
  void EditingChanged() override { Navigator_.EditingChanged(); }
  void DataSetChanged() override { Navigator_.DataChanged(); }
  void DataSetScrolled(int) override { Navigator_.DataChanged(); }

private:
  TsDBNavigator& Navigator_;
};

namespace {
constexpr unsigned kRepeatPause = 400;
constexpr unsigned kRepeatInterval = 100;
constexpr unsigned kTopmost = 0x00040000;  // the message box stays above every window
constexpr int kMinButtonSize = 6;
}  // namespace

// --- TsNavButton -------------------------------------------------------------------------

TsNavButton::TsNavButton(TsDBNavigator& navigator, TNavigateBtn index)
    : TsSpeedButton(nullptr), Navigator_(navigator), Index_(index), Repeat_(index == nbPrior || index == nbNext) {
  static const char* const names[kNavButtonCount] = {"nbFirst", "nbPrior", "nbNext",   "nbLast",   "nbInsert",
                                                     "nbDelete", "nbEdit", "nbPost", "nbCancel", "nbRefresh"};
  // Named, so that scripts reach them as Form.Navigator.nbNext.
  SetName(names[index]);
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
  StopRepeat();
}

void TsNavButton::StopRepeat() {
  if (RepeatTimer_) RepeatTimer_->SetEnabled(false);
}

void TsNavButton::RepeatTick() {
  RepeatTimer_->SetInterval(kRepeatInterval);
  // Repeats only while the button is still held down under the pointer.
  if (State() != bsDown || !Enabled()) return;
  try {
    Navigator_.BtnClick(Index_);
  } catch (...) {
    StopRepeat();
    throw;
  }
}

void TsNavButton::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TsSpeedButton::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  Navigator_.ButtonPressed(Index_);
  if (!Repeat_) return;
  // Prior and Next act at once and then repeat while held.
  if (!RepeatTimer_) {
    RepeatTimer_ = std::make_unique<TTimer>(nullptr);
    RepeatTimer_->OnTimer = [this](TObject*) { RepeatTick(); };
  }
  RepeatTimer_->SetEnabled(false);
  RepeatTimer_->SetInterval(kRepeatPause);
  RepeatTimer_->SetEnabled(true);
  try {
    Navigator_.BtnClick(Index_);
  } catch (...) {
    StopRepeat();
    throw;
  }
}

void TsNavButton::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  // The press of a repeating button already acted: the release shows the face
  // up again without a second action.
  SkipClick_ = Repeating();
  StopRepeat();
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
  if (Navigator_.Focused() && Navigator_.FocusedButton() == Index_ && Canvas().Handle()) {
    TRect r = ClientRect().Inflate(-3, -3);
    Canvas().DrawFocusRect(r);
  }
}

// --- TsDBNavigator ------------------------------------------------------------------------

TsDBNavigator::TsDBNavigator(TComponent* owner)
    : TsPanel(owner), Link_(std::make_unique<TsNavDataLink>(*this)), Hints_(std::make_unique<TStringList>()) {
  ControlStyle_.Exclude(csAcceptsControls);
  ControlStyle_.Exclude(csSetCaption);
  ControlStyle_.Include(csOpaque);
  SetCaption("");
  SkinData()->ControlKind = COC_TsToolBar;
  SkinData()->SetSkinSection("TOOLBAR");
  SetShowHint(false);
  Hints_->OnChange = [this](TObject*) { ApplyHints(); };
  for (int i = 0; i < kNavButtonCount; ++i) {
    const auto index = static_cast<TNavigateBtn>(i);
    auto* button = new TsNavButton(*this, index);
    Buttons_[static_cast<std::size_t>(i)] = button;
    button->SetVisible(VisibleButtons_.Contains(index));
    button->SetParent(this);
  }
  ApplyHints();
  SetBounds(Left(), Top(), 240, 25);
  UpdateButtons();
}

TsDBNavigator::~TsDBNavigator() {
  Destroying();
  Link_.reset();
  Hints_->OnChange = nullptr;
  for (TsNavButton*& button : Buttons_) {
    delete button;
    button = nullptr;
  }
}

TDataSource* TsDBNavigator::DataSource() const { return Link_->DataSource(); }

void TsDBNavigator::SetDataSource(TDataSource* source) {
  Link_->SetDataSource(source);
  UpdateButtons();
}

void TsDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
  VisibleButtons_ = buttons;
  for (int i = 0; i < kNavButtonCount; ++i)
    if (TsNavButton* button = Buttons_[static_cast<std::size_t>(i)])
      button->SetVisible(buttons.Contains(static_cast<TNavigateBtn>(i)));
  LayoutButtons();
  Invalidate();
}

void TsDBNavigator::ApplyHints() {
  for (int i = 0; i < kNavButtonCount; ++i) {
    TsNavButton* button = Buttons_[static_cast<std::size_t>(i)];
    if (!button) continue;
    const std::string own = i < Hints_->Count() ? Hints_->Get(i) : std::string();
    button->SetHint(own.empty() ? DefaultNavHint(static_cast<TNavigateBtn>(i)) : own);
  }
}

int TsDBNavigator::BorderSize() const {
  const int single = BorderStyle() == bsSingle ? 3 + 1 : 0;  // Ctl3D: 3, plus one
  const int bevels = (BevelInner() != bvNone ? 1 : 0) + (BevelOuter() != bvNone ? 1 : 0);
  return single + BorderWidth() + BevelWidth() * bevels;
}

int TsDBNavigator::VisibleCount() const {
  int n = 0;
  for (int i = 0; i < kNavButtonCount; ++i)
    if (VisibleButtons_.Contains(static_cast<TNavigateBtn>(i))) ++n;
  return std::max(n, 1);
}

void TsDBNavigator::LayoutButtons() {
  if (IsLoading() || !Parent() || !Buttons_[0] || Laying_) return;
  Laying_ = true;
  const int b = BorderSize();
  const int n = VisibleCount();
  const int w = std::max(0, (Width() - 2 * b) / n);
  const int leftover = Width() - 2 * b - n * w;
  const int h = std::max(0, Height() - 2 * b - 1);
  // The leftover pixels go one each to buttons spread along the row.
  int counter = n / 2;
  int x = b;
  for (int i = 0; i < kNavButtonCount; ++i) {
    TsNavButton* button = Buttons_[static_cast<std::size_t>(i)];
    if (!VisibleButtons_.Contains(static_cast<TNavigateBtn>(i))) {
      button->SetBounds(Width() + 1, b, w, h);
      continue;
    }
    int width = w;
    counter -= leftover;
    if (counter < 0) {
      counter += n;
      ++width;
    }
    button->SetBounds(x, b, width, h);
    x += width;
  }
  Laying_ = false;
}

void TsDBNavigator::SetBounds(int left, int top, int width, int height) {
  if (!IsLoading() && Parent() && Buttons_[0]) {
    const int b = BorderSize();
    const int n = VisibleCount();
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
  for (TsNavButton* button : Buttons_) button->SkinData()->SetSkinManager(SkinData()->SkinManager());
  LayoutButtons();
  ApplyHints();
  UpdateButtons();
}

void TsDBNavigator::SetEnabled(bool enabled) {
  TsPanel::SetEnabled(enabled);
  UpdateButtons();
}

void TsDBNavigator::UpdateButtons() {
  if (!Buttons_[0]) return;
  TDataSet* dataSet = Link_->Active() ? Link_->DataSet() : nullptr;
  bool enable[kNavButtonCount] = {};
  if (Enabled() && dataSet) {
    const bool bof = dataSet->Bof();
    const bool eof = dataSet->Eof();
    const bool canModify = dataSet->CanModify();
    const bool editing = Link_->Editing();
    enable[nbFirst] = enable[nbPrior] = !bof;
    enable[nbNext] = enable[nbLast] = !eof;
    enable[nbDelete] = canModify && !(bof && eof);
    enable[nbInsert] = enable[nbRefresh] = canModify;
    enable[nbEdit] = canModify && !editing;
    enable[nbPost] = enable[nbCancel] = canModify && editing;
  }
  for (int i = 0; i < kNavButtonCount; ++i) {
    TsNavButton* button = Buttons_[static_cast<std::size_t>(i)];
    if (button->Enabled() != enable[i]) button->SetEnabled(enable[i]);
  }
}

void TsDBNavigator::ActiveChanged() { UpdateButtons(); }
void TsDBNavigator::DataChanged() { UpdateButtons(); }
void TsDBNavigator::EditingChanged() { UpdateButtons(); }

void TsDBNavigator::ButtonPressed(TNavigateBtn button) {
  const int old = FocusedButton_;
  FocusedButton_ = button;
  if (TabStop() && CanFocus() && !Focused()) SetFocus();
  if (old != FocusedButton_) {
    Buttons_[static_cast<std::size_t>(old)]->Invalidate();
    Buttons_[static_cast<std::size_t>(FocusedButton_)]->Invalidate();
  }
}

void TsDBNavigator::BtnClick(TNavigateBtn button) {
  TDataSet* dataSet = Link_->Active() ? Link_->DataSet() : nullptr;
  if (dataSet) {
    if (BeforeAction) BeforeAction(this, button);
    switch (button) {
      case nbFirst: dataSet->First(); break;
      case nbPrior: dataSet->Prior(); break;
      case nbNext: dataSet->Next(); break;
      case nbLast: dataSet->Last(); break;
      case nbInsert: dataSet->Insert(); break;
      case nbDelete:
        if (!ConfirmDelete_ ||
            MessageBox("Delete record?", "Confirm", MB_OKCANCEL | MB_ICONQUESTION | kTopmost) == IDOK)
          dataSet->Delete();
        break;
      case nbEdit: dataSet->Edit(); break;
      case nbPost: dataSet->Post(); break;
      case nbCancel: dataSet->Cancel(); break;
      case nbRefresh: dataSet->Refresh(); break;
    }
  }
  if (OnClick) OnClick(this, button);
}

void TsDBNavigator::ControlKeyDown(WORD key, TShiftState shift) {
  const int old = FocusedButton_;
  switch (key) {
    case VK_LEFT:
      for (int i = FocusedButton_ - 1; i >= 0; --i)
        if (VisibleButtons_.Contains(static_cast<TNavigateBtn>(i))) {
          FocusedButton_ = i;
          break;
        }
      break;
    case VK_RIGHT:
      for (int i = FocusedButton_ + 1; i < kNavButtonCount; ++i)
        if (VisibleButtons_.Contains(static_cast<TNavigateBtn>(i))) {
          FocusedButton_ = i;
          break;
        }
      break;
    case VK_SPACE:
      if (Buttons_[static_cast<std::size_t>(FocusedButton_)]->Enabled())
        BtnClick(static_cast<TNavigateBtn>(FocusedButton_));
      return;
    default: TsPanel::ControlKeyDown(key, shift); return;
  }
  if (old != FocusedButton_) {
    Buttons_[static_cast<std::size_t>(old)]->Invalidate();
    Buttons_[static_cast<std::size_t>(FocusedButton_)]->Invalidate();
  }
}

void TsDBNavigator::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TsPanel::WndProc(message);
      if (TsNavButton* button = Buttons_[static_cast<std::size_t>(FocusedButton_)]) button->Invalidate();
      return;
    case CM_ENABLEDCHANGED:
      TsPanel::WndProc(message);
      UpdateButtons();
      return;
    default: break;
  }
  TsPanel::WndProc(message);
}

namespace {

[[maybe_unused]] const bool kDriverRegistered = [] {
  using P = TDriverProperties;
  P::Register<TsDBNavigator>("ConfirmDelete", [](TsDBNavigator& n) { return std::string(n.ConfirmDelete() ? "true" : "false"); });
  // Which buttons are enabled, as "1" or "0" from first to refresh.
  P::Register<TsDBNavigator>("EnabledButtons", [](TsDBNavigator& n) {
    std::string out;
    for (int i = 0; i < kNavButtonCount; ++i) out += n.Buttons(static_cast<TNavigateBtn>(i))->Enabled() ? '1' : '0';
    return out;
  }, TDumpAs::Text, "enabledButtons");
  return true;
}();

}  // namespace
