#pragma once
// What the plain and the skinned record navigator have in common, apart from
// how they look: the link to the dataset, the ten buttons with their names,
// hints and visibility, the enabling rules, the actions with the "Delete
// record?" confirmation, the focused button and its keyboard moves, and the
// spreading of the buttons along the row. Each navigator owns one and
// forwards to it.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "data/Forward.h"
#include "forms/CustomPanel.h"
#include "forms/DriverProperties.h"
#include "forms/Forward.h"
#include "forms/StringList.h"

class TNavLogicLink;

enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
using TNavButtonSet = TSet<TNavigateBtn>;
constexpr int kNavButtonCount = 10;
constexpr TNavButtonSet kAllNavButtons{nbFirst, nbPrior, nbNext, nbLast, nbInsert,
                                       nbDelete, nbEdit, nbPost, nbCancel, nbRefresh};

using ENavClick = std::function<void(TObject* sender, TNavigateBtn button)>;

// The default hint of each button ("First record" ... "Refresh data").
const std::string& DefaultNavHint(TNavigateBtn button);
// The component name of each button ("nbFirst" ... "nbRefresh"), so that
// scripts reach them as Form.Navigator.nbNext.
const char* NavButtonName(TNavigateBtn button);
// Prior and Next repeat while held.
inline bool NavButtonRepeats(TNavigateBtn button) { return button == nbPrior || button == nbNext; }

class TNavigatorLogic {
public:
  // `extraConfirmFlags` are added to the confirmation box's style flags.
  TNavigatorLogic(TCustomPanel& navigator, unsigned extraConfirmFlags);
  ~TNavigatorLogic();

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  TNavButtonSet VisibleButtons() const { return VisibleButtons_; }
  // Shows the visible buttons and hides the others (the caller lays them out).
  void SetVisibleButtons(TNavButtonSet buttons);
  TStrings& Hints() { return *Hints_; }
  bool ConfirmDelete() const { return ConfirmDelete_; }
  void SetConfirmDelete(bool value) { ConfirmDelete_ = value; }
  int FocusedButton() const { return FocusedButton_; }
  TSpeedButton* Button(int index) const { return Buttons_[static_cast<std::size_t>(index)]; }

  // The navigator's BtnClick (derived navigators may override it), for the Space key.
  std::function<void(TNavigateBtn)> Click;

  // Destroys the buttons and makes all ten again, each shown as the visible
  // set says and placed on the navigator.
  void MakeButtons(const std::function<TSpeedButton*(TNavigateBtn)>& make);
  // Unhooks the dataset and the hints and destroys the buttons (for the navigator's destructor).
  void Release();
  int VisibleCount() const;
  void ApplyHints();
  // Enables each button as the dataset's position and state allow.
  void UpdateButtons();
  // Performs the button's action on the dataset (Delete asks first): `before`
  // ahead of the action when there is a dataset, `after` in any case.
  void BtnClick(TNavigateBtn button, TObject* sender, const ENavClick& before, const ENavClick& after);
  // A button was pressed: it becomes the focused one and the navigator takes the focus.
  void ButtonPressed(TNavigateBtn button);
  // Left, Right and Space; false for any other key.
  bool KeyDown(WORD key);
  void InvalidateFocused();
  // Whether the button draws the focus rectangle.
  bool ShowsFocus(TNavigateBtn button) const;
  // Spreads the visible buttons along the row inside a border of `border` pixels.
  void LayoutRow(int border);

  // Script-readable properties of a navigator class: ConfirmDelete and EnabledButtons.
  template <class TNav>
  static void RegisterDriverProperties() {
    using P = TDriverProperties;
    P::Register<TNav>("ConfirmDelete", [](TNav& n) { return std::string(n.ConfirmDelete() ? "true" : "false"); });
    // Which buttons are enabled, as "1" or "0" from first to refresh.
    P::Register<TNav>("EnabledButtons", [](TNav& n) {
      std::string out;
      for (int i = 0; i < kNavButtonCount; ++i) out += n.Buttons(static_cast<TNavigateBtn>(i))->Enabled() ? '1' : '0';
      return out;
    }, TDumpAs::Text, "enabledButtons");
  }

private:
  void InvalidateButton(int index);

  TCustomPanel& Navigator_;
  unsigned ExtraConfirmFlags_;
  std::unique_ptr<TNavLogicLink> Link_;
  std::array<TSpeedButton*, kNavButtonCount> Buttons_{};
  std::unique_ptr<TStringList> Hints_;
  TNavButtonSet VisibleButtons_ = kAllNavButtons;
  bool ConfirmDelete_ = true;
  int FocusedButton_ = 0;
};
