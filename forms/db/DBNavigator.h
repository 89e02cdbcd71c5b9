#pragma once
// The record navigator: ten picture buttons driving the dataset of DataSource
// (first, prior, next, last, insert, delete, edit, post, cancel, refresh), each
// a separate child control with its hint, enabled as the dataset's position
// and state allow. Delete asks "Delete record?" (caption "Confirm") first when
// ConfirmDelete is set. Prior and Next repeat while held (400 ms, then 100 ms).
//
// Derived navigators replace the buttons: override CreateButton and call
// RebuildButtons from their constructor (the base constructor can only make
// the base kind).
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "forms/CustomPanel.h"
#include "forms/SpeedButton.h"
#include "forms/StringList.h"
#include "forms/Timer.h"

class TDataSource;
class TDBNavigator;
class TNavDataLink;

enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
using TNavButtonSet = TSet<TNavigateBtn>;
constexpr int kNavButtonCount = 10;
constexpr TNavButtonSet kAllNavButtons{nbFirst, nbPrior, nbNext, nbLast, nbInsert,
                                       nbDelete, nbEdit, nbPost, nbCancel, nbRefresh};

using ENavClick = std::function<void(TObject* sender, TNavigateBtn button)>;

// The default hint of each button ("First record" ... "Refresh data").
const std::string& DefaultNavHint(TNavigateBtn button);

// One button of the navigator: a flat speed button without caption that routes
// its clicks to the navigator.
class TNavButton : public TSpeedButton {
public:
  TNavButton(TDBNavigator& navigator, TNavigateBtn index);
  ~TNavButton() override;
  std::string ClassName() const override { return "TNavButton"; }
  TNavigateBtn Index() const { return Index_; }
  TDBNavigator& Navigator() const { return Navigator_; }
  // Prior and Next repeat while held.
  bool NavStyleRepeat() const { return Repeat_; }
  // A click is the navigator's action for this button.
  void Click() override;
  void WndProc(TMessage& message) override;

protected:
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void Paint() override;

private:
  void StopRepeat();
  void RepeatTick();
  TDBNavigator& Navigator_;
  TNavigateBtn Index_;
  bool Repeat_ = false;
  std::unique_ptr<TTimer> RepeatTimer_;
};

class TDBNavigator : public TCustomPanel {
public:
  explicit TDBNavigator(TComponent* owner);
  ~TDBNavigator() override;
  std::string ClassName() const override { return "TDBNavigator"; }

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  TNavButtonSet VisibleButtons() const { return VisibleButtons_; }
  void SetVisibleButtons(TNavButtonSet buttons);
  // Hint texts overriding the defaults line by line (an empty line keeps the default).
  TStrings& Hints() { return *Hints_; }
  bool ConfirmDelete() const { return ConfirmDelete_; }
  void SetConfirmDelete(bool value) { ConfirmDelete_ = value; }
  TNavButton* Buttons(TNavigateBtn button) const { return Buttons_[button]; }

  // Performs the button's action on the dataset (Delete asks first), then OnClick.
  virtual void BtnClick(TNavigateBtn button);
  // Recomputes which buttons are enabled.
  void UpdateButtons();

  ENavClick BeforeAction;
  // Hides the inherited OnClick: the navigator's click names the button.
  ENavClick OnClick;

  void SetEnabled(bool enabled) override;
  void SetBounds(int left, int top, int width, int height) override;
  void WndProc(TMessage& message) override;

protected:
  friend class TNavDataLink;
  friend class TNavButton;
  // Makes the button of an index; derived navigators make their own kind.
  virtual TNavButton* CreateButton(TNavigateBtn index);
  // Destroys the buttons and makes them again through CreateButton.
  void RebuildButtons();
  // Places the visible buttons side by side inside the border.
  virtual void LayoutButtons();
  void Loaded() override;
  void Resize() override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  LRESULT DialogCode() const override { return DLGC_WANTARROWS; }
  void ApplyHints();
  // The built-in picture of a button (made once per process).
  static const TBitmap& DefaultGlyph(TNavigateBtn button);
  int FocusedButton() const { return FocusedButton_; }
  // A button was pressed: it becomes the focused one.
  void ButtonPressed(TNavigateBtn button);

private:
  void ActiveChanged();
  void DataChanged();
  void EditingChanged();
  std::unique_ptr<TNavDataLink> Link_;
  std::array<TNavButton*, kNavButtonCount> Buttons_{};
  std::unique_ptr<TStringList> Hints_;
  TNavButtonSet VisibleButtons_ = kAllNavButtons;
  bool ConfirmDelete_ = true;
  int FocusedButton_ = 0;
};
