#include "forms/db/NavigatorLogic.h"

#include <algorithm>

#include "data/TDataLink.h"
#include "data/TDataSet.h"
#include "data/TDataSource.h"
#include "forms/Dialogs.h"
#include "forms/SpeedButton.h"
#include "platform/win/VirtualKeys.h"

// Tells the navigator when the dataset opens or closes, moves or changes, and
// enters or leaves editing: each of these may change which buttons are enabled.
class TNavLogicLink : public TDataLink {
public:
  explicit TNavLogicLink(TNavigatorLogic& logic) : Logic_(logic) {}

protected:
  void ActiveChanged() override { Logic_.UpdateButtons(); }
  void EditingChanged() override { Logic_.UpdateButtons(); }
  void DataSetChanged() override { Logic_.UpdateButtons(); }
  void DataSetScrolled(int) override { Logic_.UpdateButtons(); }

private:
  TNavigatorLogic& Logic_;
};

const std::string& DefaultNavHint(TNavigateBtn button) {
  static const std::string hints[kNavButtonCount] = {
      "First record", "Prior record", "Next record", "Last record",  "Insert record",
      "Delete record", "Edit record", "Post edit",   "Cancel edit", "Refresh data"};
  return hints[button];
}

const char* NavButtonName(TNavigateBtn button) {
  static const char* const names[kNavButtonCount] = {"nbFirst", "nbPrior", "nbNext",   "nbLast",   "nbInsert",
                                                     "nbDelete", "nbEdit", "nbPost", "nbCancel", "nbRefresh"};
  return names[button];
}

TNavigatorLogic::TNavigatorLogic(TCustomPanel& navigator, unsigned extraConfirmFlags)
    : Navigator_(navigator),
      ExtraConfirmFlags_(extraConfirmFlags),
      Link_(std::make_unique<TNavLogicLink>(*this)),
      Hints_(std::make_unique<TStringList>()) {
  Hints_->OnChange = [this](TObject*) { ApplyHints(); };
}

TNavigatorLogic::~TNavigatorLogic() { Release(); }

void TNavigatorLogic::Release() {
  Link_.reset();
  Hints_->OnChange = nullptr;
  for (TSpeedButton*& button : Buttons_) {
    delete button;
    button = nullptr;
  }
}

void TNavigatorLogic::MakeButtons(const std::function<TSpeedButton*(TNavigateBtn)>& make) {
  for (TSpeedButton*& button : Buttons_) {
    delete button;
    button = nullptr;
  }
  for (int i = 0; i < kNavButtonCount; ++i) {
    const auto index = static_cast<TNavigateBtn>(i);
    TSpeedButton* button = make(index);
    Buttons_[static_cast<std::size_t>(i)] = button;
    button->SetVisible(VisibleButtons_.Contains(index));
    button->SetParent(&Navigator_);
  }
}

TDataSource* TNavigatorLogic::DataSource() const { return Link_->DataSource(); }

void TNavigatorLogic::SetDataSource(TDataSource* source) {
  Link_->SetDataSource(source);
  UpdateButtons();
}

void TNavigatorLogic::SetVisibleButtons(TNavButtonSet buttons) {
  VisibleButtons_ = buttons;
  for (int i = 0; i < kNavButtonCount; ++i)
    if (TSpeedButton* button = Button(i)) button->SetVisible(buttons.Contains(static_cast<TNavigateBtn>(i)));
}

int TNavigatorLogic::VisibleCount() const {
  int n = 0;
  for (int i = 0; i < kNavButtonCount; ++i)
    if (VisibleButtons_.Contains(static_cast<TNavigateBtn>(i))) ++n;
  return std::max(n, 1);
}

void TNavigatorLogic::ApplyHints() {
  for (int i = 0; i < kNavButtonCount; ++i) {
    TSpeedButton* button = Button(i);
    if (!button) continue;
    const std::string own = i < Hints_->Count() ? Hints_->Get(i) : std::string();
    button->SetHint(own.empty() ? DefaultNavHint(static_cast<TNavigateBtn>(i)) : own);
  }
}

void TNavigatorLogic::UpdateButtons() {
  if (!Buttons_[0]) return;
  TDataSet* dataSet = Link_->Active() ? Link_->DataSet() : nullptr;
  bool enable[kNavButtonCount] = {};
  if (Navigator_.Enabled() && dataSet) {
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
  for (int i = 0; i < kNavButtonCount; ++i) Button(i)->SetEnabled(enable[i]);
}

void TNavigatorLogic::BtnClick(TNavigateBtn button, TObject* sender, const ENavClick& before,
                               const ENavClick& after) {
  TDataSet* dataSet = Link_->Active() ? Link_->DataSet() : nullptr;
  if (dataSet) {
    if (before) before(sender, button);
    switch (button) {
      case nbFirst: dataSet->First(); break;
      case nbPrior: dataSet->Prior(); break;
      case nbNext: dataSet->Next(); break;
      case nbLast: dataSet->Last(); break;
      case nbInsert: dataSet->Insert(); break;
      case nbDelete:
        if (!ConfirmDelete_ ||
            MessageBox("Delete record?", "Confirm", MB_OKCANCEL | MB_ICONQUESTION | ExtraConfirmFlags_) == IDOK)
          dataSet->Delete();
        break;
      case nbEdit: dataSet->Edit(); break;
      case nbPost: dataSet->Post(); break;
      case nbCancel: dataSet->Cancel(); break;
      case nbRefresh: dataSet->Refresh(); break;
    }
  }
  if (after) after(sender, button);
}

void TNavigatorLogic::InvalidateButton(int index) {
  if (TSpeedButton* button = Button(index)) button->Invalidate();
}

void TNavigatorLogic::InvalidateFocused() { InvalidateButton(FocusedButton_); }

bool TNavigatorLogic::ShowsFocus(TNavigateBtn button) const {
  return Navigator_.Focused() && FocusedButton_ == button;
}

void TNavigatorLogic::ButtonPressed(TNavigateBtn button) {
  const int old = FocusedButton_;
  FocusedButton_ = button;
  if (Navigator_.TabStop() && Navigator_.CanFocus() && !Navigator_.Focused()) Navigator_.SetFocus();
  if (old != FocusedButton_) {
    InvalidateButton(old);
    InvalidateButton(FocusedButton_);
  }
}

bool TNavigatorLogic::KeyDown(WORD key) {
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
      if (Button(FocusedButton_)->Enabled() && Click) Click(static_cast<TNavigateBtn>(FocusedButton_));
      return true;
    default: return false;
  }
  if (old != FocusedButton_) {
    InvalidateButton(old);
    InvalidateButton(FocusedButton_);
  }
  return true;
}

void TNavigatorLogic::LayoutRow(int border) {
  const int b = border;
  const int n = VisibleCount();
  const int width = Navigator_.Width();
  const int w = std::max(0, (width - 2 * b) / n);
  const int leftover = width - 2 * b - n * w;
  const int h = std::max(0, Navigator_.Height() - 2 * b - 1);
  // The leftover pixels go one each to buttons spread along the row.
  int counter = n / 2;
  int x = b;
  for (int i = 0; i < kNavButtonCount; ++i) {
    TSpeedButton* button = Button(i);
    if (!VisibleButtons_.Contains(static_cast<TNavigateBtn>(i))) {
      button->SetBounds(width + 1, b, w, h);
      continue;
    }
    int bw = w;
    counter -= leftover;
    if (counter < 0) {
      counter += n;
      ++bw;
    }
    button->SetBounds(x, b, bw, h);
    x += bw;
  }
}
