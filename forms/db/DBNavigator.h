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
#include <string>

#include "data/Forward.h"
#include "forms/CustomPanel.h"
#include "forms/SpeedButton.h"
#include "forms/StringList.h"
#include "forms/db/NavRepeat.h"
#include "forms/db/NavigatorLogic.h"
#include "platform/win/Messages.h"

class TDBNavigator;

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
  bool NavStyleRepeat() const { return NavButtonRepeats(Index_); }
  // A click is the navigator's action for this button.
  void Click() override;
  void WndProc(TMessage& message) override;

protected:
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void Paint() override;

private:
  TDBNavigator& Navigator_;
  TNavigateBtn Index_;
  TNavRepeat Repeat_;
};

class TDBNavigator : public TCustomPanel {
public:
  explicit TDBNavigator(TComponent* owner);
  ~TDBNavigator() override;
  std::string ClassName() const override { return "TDBNavigator"; }

  TDataSource* DataSource() const { return Logic_.DataSource(); }
  void SetDataSource(TDataSource* source) { Logic_.SetDataSource(source); }
  TNavButtonSet VisibleButtons() const { return Logic_.VisibleButtons(); }
  void SetVisibleButtons(TNavButtonSet buttons);
  // Hint texts overriding the defaults line by line (an empty line keeps the default).
  TStrings& Hints() { return Logic_.Hints(); }
  bool ConfirmDelete() const { return Logic_.ConfirmDelete(); }
  void SetConfirmDelete(bool value) { Logic_.SetConfirmDelete(value); }
  TNavButton* Buttons(TNavigateBtn button) const { return static_cast<TNavButton*>(Logic_.Button(button)); }

  // Performs the button's action on the dataset (Delete asks first), then OnClick.
  virtual void BtnClick(TNavigateBtn button);
  // Recomputes which buttons are enabled.
  void UpdateButtons() { Logic_.UpdateButtons(); }

  ENavClick BeforeAction;
  // Hides the inherited OnClick: the navigator's click names the button.
  ENavClick OnClick;

  void SetEnabled(bool enabled) override;
  void SetBounds(int left, int top, int width, int height) override;
  void WndProc(TMessage& message) override;

protected:
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
  void ApplyHints() { Logic_.ApplyHints(); }
  // The built-in picture of a button (made once per process).
  static const TBitmap& DefaultGlyph(TNavigateBtn button);
  int FocusedButton() const { return Logic_.FocusedButton(); }
  // A button was pressed: it becomes the focused one.
  void ButtonPressed(TNavigateBtn button) { Logic_.ButtonPressed(button); }

private:
  TNavigatorLogic Logic_;
};
