#pragma once
// The skinned record navigator (section "TOOLBAR") and its ten buttons (skinned
// speed buttons, section "TOOLBUTTON"): first, prior, next, last, insert, delete,
// edit, post, cancel and refresh of the dataset of DataSource, each with its glyph
// and hint, enabled as the dataset's position and state allow. Delete asks
// "Delete record?" (caption "Confirm") first when ConfirmDelete is set; Prior and
// Next repeat while held (400 ms, then every 100 ms).
#include <string>

#include "data/Forward.h"
#include "forms/db/NavRepeat.h"
#include "forms/db/NavigatorLogic.h"
#include "platform/win/Messages.h"
#include "skin/controls/Forward.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpeedButton.h"

class TsNavButton : public TsSpeedButton {
public:
  TsNavButton(TsDBNavigator& navigator, TNavigateBtn index);
  ~TsNavButton() override;
  std::string ClassName() const override { return "TsNavButton"; }
  TNavigateBtn Index() const { return Index_; }
  TsDBNavigator& Navigator() const { return Navigator_; }
  // Prior and Next repeat while held.
  bool NavStyleRepeat() const { return NavButtonRepeats(Index_); }
  // The repeat timer runs (between a press of Prior or Next and its release).
  bool Repeating() const { return Repeat_.Running(); }
  void Click() override;

protected:
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void Paint() override;

private:
  TsDBNavigator& Navigator_;
  TNavigateBtn Index_;
  TNavRepeat Repeat_;
  bool SkipClick_ = false;
};

class TsDBNavigator : public TsPanel {
public:
  explicit TsDBNavigator(TComponent* owner);
  ~TsDBNavigator() override;
  std::string ClassName() const override { return "TsDBNavigator"; }

  TDataSource* DataSource() const { return Logic_.DataSource(); }
  void SetDataSource(TDataSource* source) { Logic_.SetDataSource(source); }
  TNavButtonSet VisibleButtons() const { return Logic_.VisibleButtons(); }
  void SetVisibleButtons(TNavButtonSet buttons);
  // Hint texts overriding the defaults line by line (an empty line keeps the default).
  TStrings& Hints() { return Logic_.Hints(); }
  bool ConfirmDelete() const { return Logic_.ConfirmDelete(); }
  void SetConfirmDelete(bool value) { Logic_.SetConfirmDelete(value); }
  TsNavButton* Buttons(TNavigateBtn button) const { return static_cast<TsNavButton*>(Logic_.Button(button)); }
  int FocusedButton() const { return Logic_.FocusedButton(); }

  // Performs the button's action on the dataset (Delete asks first), then OnClick.
  void BtnClick(TNavigateBtn button);
  // Recomputes which buttons are enabled.
  void UpdateButtons() { Logic_.UpdateButtons(); }
  // A button was pressed: it becomes the focused one.
  void ButtonPressed(TNavigateBtn button) { Logic_.ButtonPressed(button); }
  // Whether the button draws the focus rectangle.
  bool ShowsFocus(TNavigateBtn button) const { return Logic_.ShowsFocus(button); }
  // Border width the buttons sit inside.
  int BorderSize() const;
  // A single border is three pixels thicker with the 3D look.
  bool Ctl3D() const { return Ctl3D_; }
  void SetCtl3D(bool value);

  ENavClick BeforeAction;
  // Hides the inherited OnClick: the navigator's click names the button.
  ENavClick OnClick;

  void SetEnabled(bool enabled) override;
  void SetBounds(int left, int top, int width, int height) override;
  void WndProc(TMessage& message) override;

protected:
  void Loaded() override;
  void Resize() override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  LRESULT DialogCode() const override { return DLGC_WANTARROWS; }

private:
  void LayoutButtons();

  TNavigatorLogic Logic_;
  bool Laying_ = false;
  bool Ctl3D_ = true;
};
