#pragma once
// The skinned record navigator (section "TOOLBAR") and its ten buttons (skinned
// speed buttons, section "TOOLBUTTON"): first, prior, next, last, insert, delete,
// edit, post, cancel and refresh of the dataset of DataSource, each with its glyph
// and hint, enabled as the dataset's position and state allow. Delete asks
// "Delete record?" (caption "Confirm") first when ConfirmDelete is set; Prior and
// Next repeat while held (400 ms, then every 100 ms).
#include <array>
#include <memory>
#include <string>

#include "forms/StringList.h"
#include "forms/Timer.h"
#include "forms/db/DBNavigator.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpeedButton.h"

class TDataSource;
class TsDBNavigator;
class TsNavDataLink;

class TsNavButton : public TsSpeedButton {
public:
  TsNavButton(TsDBNavigator& navigator, TNavigateBtn index);
  ~TsNavButton() override;
  std::string ClassName() const override { return "TsNavButton"; }
  TNavigateBtn Index() const { return Index_; }
  TsDBNavigator& Navigator() const { return Navigator_; }
  // Prior and Next repeat while held.
  bool NavStyleRepeat() const { return Repeat_; }
  // The repeat timer runs (between a press of Prior or Next and its release).
  bool Repeating() const { return RepeatTimer_ && RepeatTimer_->Enabled(); }
  void Click() override;

protected:
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void Paint() override;

private:
  void StopRepeat();
  void RepeatTick();

  TsDBNavigator& Navigator_;
  TNavigateBtn Index_;
  bool Repeat_ = false;
  bool SkipClick_ = false;
  std::unique_ptr<TTimer> RepeatTimer_;
};

class TsDBNavigator : public TsPanel {
public:
  explicit TsDBNavigator(TComponent* owner);
  ~TsDBNavigator() override;
  std::string ClassName() const override { return "TsDBNavigator"; }

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  TNavButtonSet VisibleButtons() const { return VisibleButtons_; }
  void SetVisibleButtons(TNavButtonSet buttons);
  // Hint texts overriding the defaults line by line (an empty line keeps the default).
  TStrings& Hints() { return *Hints_; }
  bool ConfirmDelete() const { return ConfirmDelete_; }
  void SetConfirmDelete(bool value) { ConfirmDelete_ = value; }
  TsNavButton* Buttons(TNavigateBtn button) const { return Buttons_[button]; }
  int FocusedButton() const { return FocusedButton_; }

  // Performs the button's action on the dataset (Delete asks first), then OnClick.
  void BtnClick(TNavigateBtn button);
  // Recomputes which buttons are enabled.
  void UpdateButtons();
  // A button was pressed: it becomes the focused one.
  void ButtonPressed(TNavigateBtn button);
  // Border width the buttons sit inside.
  int BorderSize() const;

  ENavClick BeforeAction;
  // Hides the inherited OnClick: the navigator's click names the button.
  ENavClick OnClick;

  void SetEnabled(bool enabled) override;
  void SetBounds(int left, int top, int width, int height) override;
  void WndProc(TMessage& message) override;

protected:
  friend class TsNavDataLink;
  void Loaded() override;
  void Resize() override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  LRESULT DialogCode() const override { return DLGC_WANTARROWS; }

private:
  void LayoutButtons();
  void ApplyHints();
  void ActiveChanged();
  void DataChanged();
  void EditingChanged();
  int VisibleCount() const;

  std::unique_ptr<TsNavDataLink> Link_;
  std::array<TsNavButton*, kNavButtonCount> Buttons_{};
  std::unique_ptr<TStringList> Hints_;
  TNavButtonSet VisibleButtons_ = kAllNavButtons;
  bool ConfirmDelete_ = true;
  int FocusedButton_ = 0;
  bool Laying_ = false;
};
