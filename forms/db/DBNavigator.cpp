#include "forms/db/DBNavigator.h"
#include "forms/DriverProperties.h"

#include <algorithm>

#include "data/TDataLink.h"
#include "data/TDataSet.h"
#include "data/TDataSource.h"
#include "forms/Dialogs.h"

// Tells the navigator when the dataset opens or closes, moves or changes, and
// enters or leaves editing.
class TNavDataLink : public TDataLink {
public:
  explicit TNavDataLink(TDBNavigator& navigator) : Navigator_(navigator) {}

protected:
  void ActiveChanged() override { Navigator_.ActiveChanged(); }
  void EditingChanged() override { Navigator_.EditingChanged(); }
  void DataSetChanged() override { Navigator_.DataChanged(); }
  void DataSetScrolled(int) override { Navigator_.DataChanged(); }

private:
  TDBNavigator& Navigator_;
};

namespace {

constexpr unsigned kRepeatPause = 400;
constexpr unsigned kRepeatInterval = 100;

// A picture drawn on a 13-pixel-high cell; the bottom-left pixel is the transparent colour.
class TGlyphPainter {
public:
  TGlyphPainter(int width, TBitmap& bitmap) : Bitmap_(bitmap) {
    Bitmap_ = TBitmap(width, 13);
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < width; ++x) Put(x, y, kBack);
  }
  void Put(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= Bitmap_.Width() || y >= Bitmap_.Height()) return;
    std::uint8_t* p = Bitmap_.ScanLine(y) + x * 3;
    p[0] = static_cast<std::uint8_t>((color >> 16) & 0xFF);
    p[1] = static_cast<std::uint8_t>((color >> 8) & 0xFF);
    p[2] = static_cast<std::uint8_t>(color & 0xFF);
  }
  void Fill(int x0, int y0, int x1, int y1, TColor color) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Put(x, y, color);
  }
  static constexpr TColor kBack = 0x00808000;  // teal: never part of a picture

private:
  TBitmap& Bitmap_;
};

void MakeGlyph(TNavigateBtn button, TBitmap& bitmap) {
  const TColor ink = 0x00000000;
  switch (button) {
    case nbFirst: {
      TGlyphPainter p(11, bitmap);
      p.Fill(2, 2, 3, 10, ink);
      for (int i = 0; i < 5; ++i) p.Fill(5 + i, 6 - i, 9, 6 + i, ink);
      break;
    }
    case nbPrior: {
      TGlyphPainter p(9, bitmap);
      for (int i = 0; i < 5; ++i) p.Fill(2 + i, 6 - i, 6, 6 + i, ink);
      break;
    }
    case nbNext: {
      TGlyphPainter p(9, bitmap);
      for (int i = 0; i < 5; ++i) p.Fill(2, 6 - i, 6 - i, 6 + i, ink);
      break;
    }
    case nbLast: {
      TGlyphPainter p(11, bitmap);
      for (int i = 0; i < 5; ++i) p.Fill(1, 6 - i, 5 - i, 6 + i, ink);
      p.Fill(7, 2, 8, 10, ink);
      break;
    }
    case nbInsert: {
      TGlyphPainter p(11, bitmap);
      p.Fill(4, 2, 6, 10, ink);
      p.Fill(1, 5, 9, 7, ink);
      break;
    }
    case nbDelete: {
      TGlyphPainter p(11, bitmap);
      p.Fill(1, 5, 9, 7, ink);
      break;
    }
    case nbEdit: {
      TGlyphPainter p(11, bitmap);
      for (int i = 0; i < 5; ++i) p.Fill(5 - i, 3 + i, 5 + i, 3 + i, ink);
      p.Fill(0, 9, 10, 9, ink);
      break;
    }
    case nbPost: {
      TGlyphPainter p(13, bitmap);
      const TColor green = 0x00008000;
      for (int i = 0; i < 4; ++i) p.Fill(1 + i, 6 + i, 2 + i, 7 + i, green);
      for (int i = 0; i < 7; ++i) p.Fill(5 + i, 9 - i - 1, 6 + i, 9 - i, green);
      break;
    }
    case nbCancel: {
      TGlyphPainter p(11, bitmap);
      const TColor red = 0x00000080;
      for (int i = 0; i < 9; ++i) {
        p.Fill(1 + i, 2 + i, 2 + i, 2 + i, red);
        p.Fill(8 - i, 2 + i, 9 - i, 2 + i, red);
      }
      break;
    }
    case nbRefresh: {
      TGlyphPainter p(13, bitmap);
      // An open ring with an arrow head at its upper end.
      for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
          const int dx = 2 * x - 12, dy = 2 * y - 12;
          const int d = dx * dx + dy * dy;
          if (d >= 64 && d <= 144 && !(x > 6 && y < 5)) p.Put(x, y, ink);
        }
      p.Fill(7, 1, 11, 1, ink);
      p.Fill(9, 2, 10, 3, ink);
      p.Fill(10, 4, 10, 4, ink);
      break;
    }
  }
}

}  // namespace

const std::string& DefaultNavHint(TNavigateBtn button) {
  static const std::string hints[kNavButtonCount] = {
      "First record", "Prior record", "Next record", "Last record",  "Insert record",
      "Delete record", "Edit record", "Post edit",   "Cancel edit", "Refresh data"};
  return hints[button];
}

// --- TNavButton ----------------------------------------------------------------------

TNavButton::TNavButton(TDBNavigator& navigator, TNavigateBtn index)
    : TSpeedButton(nullptr), Navigator_(navigator), Index_(index), Repeat_(index == nbPrior || index == nbNext) {
  static const char* const names[kNavButtonCount] = {"nbFirst", "nbPrior", "nbNext",   "nbLast",   "nbInsert",
                                                     "nbDelete", "nbEdit", "nbPost", "nbCancel", "nbRefresh"};
  // Named, so that scripts reach them as Form.Navigator.nbNext.
  SetName(names[index]);
  SetFlat(true);
  SetGlyph(TDBNavigator::DefaultGlyph(index));
  SetNumGlyphs(1);
  SetParentShowHint(true);
}

TNavButton::~TNavButton() {
  Destroying();
  StopRepeat();
}

void TNavButton::StopRepeat() {
  if (RepeatTimer_) RepeatTimer_->SetEnabled(false);
}

void TNavButton::RepeatTick() {
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

void TNavButton::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TSpeedButton::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  Navigator_.ButtonPressed(Index_);
  if (Repeat_) {
    // Prior and Next act at once and then repeat while held.
    if (!RepeatTimer_) {
      RepeatTimer_ = std::make_unique<TTimer>(nullptr);
      RepeatTimer_->OnTimer = [this](TObject*) { RepeatTick(); };
    }
    RepeatTimer_->SetEnabled(false);
    RepeatTimer_->SetInterval(kRepeatPause);
    RepeatTimer_->SetEnabled(true);
    RepeatTimer_->UpdateTimer();
    Navigator_.BtnClick(Index_);
  }
}

void TNavButton::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  const bool repeating = Repeat_ && RepeatTimer_ && RepeatTimer_->Enabled();
  StopRepeat();
  if (repeating) {
    // The press already acted: release the face without a second click.
    TGraphicControl::MouseUp(button, shift, x, y);
    SetState(bsUp);
    Invalidate();
    return;
  }
  TSpeedButton::MouseUp(button, shift, x, y);
}

void TNavButton::Paint() {
  TSpeedButton::Paint();
  if (Navigator_.Focused() && Navigator_.FocusedButton() == Index_) {
    TRect r = ClientRect().Inflate(-3, -3);
    Canvas().DrawFocusRect(r);
  }
}

void TNavButton::Click() {
  TSpeedButton::Click();
  Navigator_.BtnClick(Index_);
}

void TNavButton::WndProc(TMessage& message) { TSpeedButton::WndProc(message); }

// --- TDBNavigator ----------------------------------------------------------------------

TDBNavigator::TDBNavigator(TComponent* owner)
    : TCustomPanel(owner), Link_(std::make_unique<TNavDataLink>(*this)), Hints_(std::make_unique<TStringList>()) {
  ControlStyle_.Exclude(csAcceptsControls);
  ControlStyle_.Exclude(csSetCaption);
  ControlStyle_.Include(csOpaque);
  SetShowHint(false);
  Hints_->OnChange = [this](TObject*) { ApplyHints(); };
  RebuildButtons();
  SetBounds(Left(), Top(), 240, 25);
}

TDBNavigator::~TDBNavigator() {
  Destroying();
  Link_.reset();
  Hints_->OnChange = nullptr;
  for (TNavButton*& button : Buttons_) {
    delete button;
    button = nullptr;
  }
}

TNavButton* TDBNavigator::CreateButton(TNavigateBtn index) { return new TNavButton(*this, index); }

void TDBNavigator::RebuildButtons() {
  for (int i = 0; i < kNavButtonCount; ++i) {
    delete Buttons_[static_cast<size_t>(i)];
    Buttons_[static_cast<size_t>(i)] = nullptr;
  }
  for (int i = 0; i < kNavButtonCount; ++i) {
    const auto index = static_cast<TNavigateBtn>(i);
    TNavButton* button = CreateButton(index);
    Buttons_[static_cast<size_t>(i)] = button;
    button->SetVisible(VisibleButtons_.Contains(index));
    button->SetParent(this);
  }
  ApplyHints();
  LayoutButtons();
  UpdateButtons();
}

const TBitmap& TDBNavigator::DefaultGlyph(TNavigateBtn button) {
  static TBitmap glyphs[kNavButtonCount];
  static bool made = false;
  if (!made) {
    for (int i = 0; i < kNavButtonCount; ++i) MakeGlyph(static_cast<TNavigateBtn>(i), glyphs[i]);
    made = true;
  }
  return glyphs[button];
}

TDataSource* TDBNavigator::DataSource() const { return Link_->DataSource(); }

void TDBNavigator::SetDataSource(TDataSource* source) {
  Link_->SetDataSource(source);
  UpdateButtons();
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
  VisibleButtons_ = buttons;
  for (int i = 0; i < kNavButtonCount; ++i)
    if (Buttons_[static_cast<size_t>(i)])
      Buttons_[static_cast<size_t>(i)]->SetVisible(buttons.Contains(static_cast<TNavigateBtn>(i)));
  LayoutButtons();
  Invalidate();
}

void TDBNavigator::ApplyHints() {
  for (int i = 0; i < kNavButtonCount; ++i) {
    TNavButton* button = Buttons_[static_cast<size_t>(i)];
    if (!button) continue;
    const std::string own = i < Hints_->Count() ? Hints_->Get(i) : std::string();
    button->SetHint(own.empty() ? DefaultNavHint(static_cast<TNavigateBtn>(i)) : own);
  }
}

void TDBNavigator::LayoutButtons() {
  if (IsLoading() || !Buttons_[0]) return;
  const int b = FrameWidth() + (BorderStyle() == bsSingle ? 1 : 0);
  int n = 0;
  for (int i = 0; i < kNavButtonCount; ++i)
    if (VisibleButtons_.Contains(static_cast<TNavigateBtn>(i))) ++n;
  n = std::max(n, 1);
  const int w = std::max(0, (Width() - 2 * b) / n);
  const int leftover = Width() - 2 * b - n * w;
  const int h = std::max(0, Height() - 2 * b - 1);
  // The leftover pixels go one each to buttons spread along the row.
  int counter = n / 2;
  int x = b;
  for (int i = 0; i < kNavButtonCount; ++i) {
    TNavButton* button = Buttons_[static_cast<size_t>(i)];
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
}

void TDBNavigator::SetBounds(int left, int top, int width, int height) {
  TCustomPanel::SetBounds(left, top, width, height);
  LayoutButtons();
}

void TDBNavigator::Resize() {
  TCustomPanel::Resize();
  LayoutButtons();
}

void TDBNavigator::Loaded() {
  TCustomPanel::Loaded();
  ApplyHints();
  LayoutButtons();
  UpdateButtons();
}

void TDBNavigator::SetEnabled(bool enabled) {
  TCustomPanel::SetEnabled(enabled);
  UpdateButtons();
}

void TDBNavigator::UpdateButtons() {
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
  for (int i = 0; i < kNavButtonCount; ++i) Buttons_[static_cast<size_t>(i)]->SetEnabled(enable[i]);
}

void TDBNavigator::ActiveChanged() { UpdateButtons(); }
void TDBNavigator::DataChanged() { UpdateButtons(); }
void TDBNavigator::EditingChanged() { UpdateButtons(); }

void TDBNavigator::ButtonPressed(TNavigateBtn button) {
  const int old = FocusedButton_;
  FocusedButton_ = button;
  if (TabStop() && CanFocus() && !Focused()) SetFocus();
  if (old != FocusedButton_ && Buttons_[static_cast<size_t>(old)]) Buttons_[static_cast<size_t>(old)]->Invalidate();
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
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
        if (!ConfirmDelete_ || MessageBox("Delete record?", "Confirm", MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
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

void TDBNavigator::ControlKeyDown(WORD key, TShiftState shift) {
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
      if (Buttons_[static_cast<size_t>(FocusedButton_)]->Enabled())
        BtnClick(static_cast<TNavigateBtn>(FocusedButton_));
      return;
    default: TCustomPanel::ControlKeyDown(key, shift); return;
  }
  if (old != FocusedButton_) {
    Buttons_[static_cast<size_t>(old)]->Invalidate();
    Buttons_[static_cast<size_t>(FocusedButton_)]->Invalidate();
  }
}

void TDBNavigator::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomPanel::WndProc(message);
      if (TNavButton* button = Buttons_[static_cast<size_t>(FocusedButton_)]) button->Invalidate();
      return;
    default: break;
  }
  TCustomPanel::WndProc(message);
}

namespace {

[[maybe_unused]] const bool kDriverRegistered = [] {
  using P = TDriverProperties;
  P::Register<TDBNavigator>("ConfirmDelete", [](TDBNavigator& n) { return std::string(n.ConfirmDelete() ? "true" : "false"); });
  // Which buttons are enabled, as "1" or "0" from first to refresh.
  P::Register<TDBNavigator>("EnabledButtons", [](TDBNavigator& n) {
    std::string out;
    for (int i = 0; i < kNavButtonCount; ++i) out += n.Buttons(static_cast<TNavigateBtn>(i))->Enabled() ? '1' : '0';
    return out;
  }, TDumpAs::Text, "enabledButtons");
  return true;
}();

}  // namespace
